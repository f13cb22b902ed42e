#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm5: "BMP to Sprite converter".
class BitmapConverterWindow : public VekWindow {
    Q_OBJECT
public:
    explicit BitmapConverterWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
