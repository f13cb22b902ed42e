#pragma once

#include "app/ui/vek_window.h"

namespace vek::ui {

// TForm2: "COB-Compiler".
class ObjectCompilerWindow : public VekWindow {
    Q_OBJECT
public:
    explicit ObjectCompilerWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
};

}  // namespace vek::ui
