#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm7: "COB Assistent".
class ObjectAssistantWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit ObjectAssistantWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
