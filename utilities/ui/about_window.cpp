#include "utilities/ui/about_window.h"

#include "app/ui/main_window.h"

namespace vek::ui {

AboutWindow::AboutWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm9"), QStringLiteral("About VEK....")) {}

void AboutWindow::FormCreate() {
    context().trace(QStringLiteral("About setup..."));
    // The last step of the start-up trace: the main window shows its own title again.
    context().windows.main->restoreSavedTitle();
}

}  // namespace vek::ui
