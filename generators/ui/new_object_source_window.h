#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm11: "New Object Source".
class NewObjectSourceWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit NewObjectSourceWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
