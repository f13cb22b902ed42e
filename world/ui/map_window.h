#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm6: "Draw a Map of Albia".
class MapWindow : public VekWindow {
    Q_OBJECT
public:
    explicit MapWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
