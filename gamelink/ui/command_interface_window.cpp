#include "gamelink/ui/command_interface_window.h"

namespace vek::ui {

CommandInterfaceWindow::CommandInterfaceWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm10"), QStringLiteral("Creatures Online Command Interface")) {}

void CommandInterfaceWindow::FormCreate() {
}

}  // namespace vek::ui
