#include "app/ui/app_context.h"

#include "app/ui/qt_convert.h"

namespace vek::ui {

QString AppContext::text(const Bilingual& message) const { return toQString(message.in(language)); }

Answer AppContext::ask(const BilingualBox& box, Buttons buttons) const {
    return dialogs.message(text(box.text), text(box.caption), buttons);
}

QString AppContext::gameDirectory(const std::string& gamePath) const { return toQString(gamePath); }

}  // namespace vek::ui
