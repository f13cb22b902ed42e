#include "world/ui/map_window.h"

namespace vek::ui {

MapWindow::MapWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm6"), QStringLiteral("Draw a Map of Albia")) {}

void MapWindow::FormCreate() {
    context().trace(QStringLiteral("Albia Map setup (loading map if possible)..."));
}

}  // namespace vek::ui
