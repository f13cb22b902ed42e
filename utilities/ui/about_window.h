#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm9: "About VEK....".
class AboutWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit AboutWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
