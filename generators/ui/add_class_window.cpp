#include "generators/ui/add_class_window.h"

namespace vek::ui {

AddClassWindow::AddClassWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm12"), QStringLiteral("Add")) {}

void AddClassWindow::FormCreate() {}

}  // namespace vek::ui
