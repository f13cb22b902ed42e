#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm12: "Add".
class AddClassWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit AddClassWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
