#include "generators/ui/new_object_source_window.h"

namespace vek::ui {

NewObjectSourceWindow::NewObjectSourceWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm11"), QStringLiteral("New Object Source")) {}

void NewObjectSourceWindow::FormCreate() {
    context().trace(QStringLiteral("COB Source Creator init macpath..."));
    context().trace(QStringLiteral("COB Source Creator init scripts..."));
    context().trace(QStringLiteral("COB Source Creator init tree..."));
}

}  // namespace vek::ui
