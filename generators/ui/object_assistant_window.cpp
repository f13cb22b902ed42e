#include "generators/ui/object_assistant_window.h"

namespace vek::ui {

ObjectAssistantWindow::ObjectAssistantWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm7"), QStringLiteral("COB Assistent")) {}

void ObjectAssistantWindow::FormCreate() {}

}  // namespace vek::ui
