#pragma once

#include <array>
#include <vector>

#include "app/ui/vek_window.h"
#include "generators/object_assistant.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;

namespace vek::ui {

// TForm7: "COB Assistent". Writes the source of a creature bred from two genetics files, of a
// clone or of an infusion, and has the object compiler compile it and offer to save it.
class ObjectAssistantWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit ObjectAssistantWindow(AppContext& context);

    // The creation step, run once at start-up after the window exists: the genetics lists and
    // the chemical names.
    void FormCreate();

  public Q_SLOTS:
    void Button1Click();  // creature from parents
    void Button4Click();  // clone
    void Button2Click();  // infusion

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The radio buttons of one page: sex (male, female, random) and form (egg, creature).
    struct Choices {
        std::array<QRadioButton*, 3> sex{};
        std::array<QRadioButton*, 2> form{};
        CreatureSex chosenSex() const;
        ArrivalForm chosenForm() const;
    };

    QWidget* createCreaturePage();
    QWidget* createClonePage();
    QWidget* createInfusionPage();
    QWidget* createChoices(Choices& choices, const char* sexBox, const char* formBox,
                           int firstRadio);
    std::string selectedToken(const QListWidget* list) const;
    void generate(const std::vector<std::string>& lines);

    QTabWidget* PageControl1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QListWidget* FileListBox2 = nullptr;
    QListWidget* FileListBox3 = nullptr;
    Choices m_creatureChoices;
    Choices m_cloneChoices;
    std::array<QComboBox*, kInfusionChemicals> m_chemicals{};  // ComboBox1 to ComboBox4
    std::array<QLineEdit*, kInfusionChemicals> m_amounts{};    // Edit1 to Edit4
};

}  // namespace vek::ui
