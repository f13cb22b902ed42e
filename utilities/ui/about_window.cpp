#include "utilities/ui/about_window.h"

namespace vek::ui {

AboutWindow::AboutWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm9"), QStringLiteral("About VEK....")) {}

void AboutWindow::FormCreate() {
    context().trace(QStringLiteral("About setup..."));
    context().endTrace();
}

}  // namespace vek::ui
