#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm4: "Sprite File Creator".
class SpriteFileCreatorWindow : public VekWindow {
    Q_OBJECT
public:
    explicit SpriteFileCreatorWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
