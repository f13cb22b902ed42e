#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

SpriteEditorWindow::SpriteEditorWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm1"), QStringLiteral("Sprite Editor")) {}

void SpriteEditorWindow::FormCreate() {
}

}  // namespace vek::ui
