#include "utilities/ui/sound_player_window.h"

namespace vek::ui {

namespace {
// The sound player keeps its own place; by design it starts clear of the button bar.
constexpr QPoint kDesignedPosition{40, 120};
}  // namespace

SoundPlayerWindow::SoundPlayerWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm3"), QStringLiteral("Sound Player")) {
    move(kDesignedPosition);
}

void SoundPlayerWindow::FormCreate() {}

}  // namespace vek::ui
