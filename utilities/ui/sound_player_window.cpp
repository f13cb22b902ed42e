#include "utilities/ui/sound_player_window.h"

namespace vek::ui {

SoundPlayerWindow::SoundPlayerWindow(AppContext& context) : VekWindow(context, QStringLiteral("TForm3"), QStringLiteral("Sound Player")) {}

void SoundPlayerWindow::FormCreate() {
}

}  // namespace vek::ui
