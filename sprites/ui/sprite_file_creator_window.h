#pragma once

#include "app/ui/vek_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vek::ui {

class ArrowStepper;

// TForm4: "Sprite File Creator". Writes a new file of N empty sprites of one size; the three
// fields keep their values between uses.
class SpriteFileCreatorWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit SpriteFileCreatorWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // "Create Sprite File".
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    ArrowStepper* UpDown1 = nullptr;
    ArrowStepper* UpDown2 = nullptr;
    ArrowStepper* UpDown3 = nullptr;
    QPushButton* Button1 = nullptr;
};

}  // namespace vek::ui
