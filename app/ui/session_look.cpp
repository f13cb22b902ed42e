#include "app/ui/session_look.h"

#include "app/ui/qt_convert.h"

namespace vek::ui {

QString SessionLook::text(const Bilingual& message) const {
    return toQString(message.in(m_language));
}

}  // namespace vek::ui
