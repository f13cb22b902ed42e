#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm3: "Sound Player".
class SoundPlayerWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit SoundPlayerWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
