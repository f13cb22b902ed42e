#include "app/ui/error_report.h"

#include <exception>

#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"
#include "app/vek_error.h"

namespace vek::ui {

bool runGuarded(const AppContext& context, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        context.dialogs.errorReport(toQString(errorMessage(error, context.language)));
    }
    return false;
}

}  // namespace vek::ui
