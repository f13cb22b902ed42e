#include "sprites/ui/sprite_file_creator_window.h"

namespace vek::ui {

SpriteFileCreatorWindow::SpriteFileCreatorWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm4"), QStringLiteral("Sprite File Creator")) {}

void SpriteFileCreatorWindow::FormCreate() {
}

}  // namespace vek::ui
