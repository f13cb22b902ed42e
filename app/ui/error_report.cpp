#include "app/ui/error_report.h"

#include <exception>

#include "app/ui/qt_convert.h"
#include "app/ui/user_dialogs.h"

namespace vek::ui {

bool runGuarded(UserDialogs& dialogs, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        dialogs.errorReport(toQString(error.what()));
    }
    return false;
}

}  // namespace vek::ui
