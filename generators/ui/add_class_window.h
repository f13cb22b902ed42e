#pragma once

#include "app/ui/vek_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vek {
class ClassCatalogueDocument;
}

namespace vek::ui {

class ArrowStepper;

// TForm12: "Add". Appends a genus to the family, or a species to the genus, picked in the class
// catalogue; it stays open for further entries until the user closes it.
class AddClassWindow : public VekWindow {
    Q_OBJECT
  public:
    AddClassWindow(AppContext& context, ClassCatalogueDocument& catalogue);

    // The creation step, run once at start-up after the window exists.
    void FormCreate();
    // Prepares the fields for the picked entry as "New" does and shows the window modally;
    // does nothing while no family or genus is picked.
    void showForSelection();

  public Q_SLOTS:
    void Button1Click();  // Add

  private:
    ClassCatalogueDocument& m_catalogue;
    bool m_addingGenus = true;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    ArrowStepper* UpDown2 = nullptr;
    ArrowStepper* UpDown3 = nullptr;
    QLabel* Label3 = nullptr;
};

}  // namespace vek::ui
