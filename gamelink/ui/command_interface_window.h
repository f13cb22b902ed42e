#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm10: "Creatures Online Command Interface".
class CommandInterfaceWindow : public VekWindow {
    Q_OBJECT
public:
    explicit CommandInterfaceWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
