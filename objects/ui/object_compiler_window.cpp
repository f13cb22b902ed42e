#include "objects/ui/object_compiler_window.h"

namespace vek::ui {

ObjectCompilerWindow::ObjectCompilerWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm2"), QStringLiteral("COB-Compiler")) {}

void ObjectCompilerWindow::FormCreate() {
    context().trace(QStringLiteral("Compiler setup..."));
}

}  // namespace vek::ui
