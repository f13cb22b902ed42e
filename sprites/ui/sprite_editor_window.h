#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm1: "Sprite Editor".
class SpriteEditorWindow : public VekWindow {
    Q_OBJECT
public:
    explicit SpriteEditorWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
