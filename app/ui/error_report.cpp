#include "app/ui/error_report.h"

#include <exception>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/qt_convert.h"
#include "app/vek_error.h"

namespace vek::ui {

bool runGuarded(const AppContext& context, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        context.dialogs.errorReport(toQString(errorMessage(error, context.look.language())));
    }
    return false;
}

void installWriteNotices(const AppContext& context) {
    setWriteNoticeSink([&context](const BilingualText& notice, const std::filesystem::path& file) {
        const std::string english = notice.english + "\n" + pathToUtf8(file);
        const std::string german = notice.german + "\n" + pathToUtf8(file);
        context.ask({{english, german}, Msg::NoteCaption}, Buttons::Ok);
    });
}

void uninstallWriteNotices() { setWriteNoticeSink({}); }

}  // namespace vek::ui
