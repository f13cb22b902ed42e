#pragma once

#include <vector>

#include "app/observers.h"
#include "app/ui/vek_window.h"
#include "generators/class_catalogue_document.h"
#include "generators/simple_object_source.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vek::ui {

// TForm11: "New Object Source". The class catalogue on the left; on the right the form of the
// simple object source, which "Create Source" writes into the object compiler.
class NewObjectSourceWindow : public VekWindow {
    Q_OBJECT
  public:
    NewObjectSourceWindow(AppContext& context, ClassCatalogueDocument& catalogue);

    // The creation step, run once at start-up after the window exists: the macro folder, the
    // event list and the tree from classes.vek.
    void FormCreate();

  public Q_SLOTS:
    void TreeView1Click();
    void Button1Click();  // Create Source
    void Button2Click();  // collapse every entry
    void Button3Click();  // expand every entry
    void Button4Click();  // New
    void Button5Click();  // Import
    void Button6Click();  // Delete
    void CheckBox7Click();
    void CheckBox8Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* createCatalogueHalf();
    QWidget* createSimpleObjectPage();
    QWidget* createMessagePage();
    void catalogueChanged(const ClassCatalogueEvent& event);
    void enableNewAndDelete();
    QTreeWidgetItem* itemAt(const EntryPath& path) const;
    EntryPath pathOf(const QTreeWidgetItem* item) const;
    void showMacroFiles();
    SimpleObjectForm formValues() const;

    ClassCatalogueDocument& m_catalogue;
    Subscription m_observation;

    QTreeWidget* TreeView1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button6 = nullptr;
    QCheckBox* CheckBox14 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QCheckBox* CheckBox15 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QString m_macroMask = QStringLiteral("1.1");

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    std::vector<QCheckBox*> m_attributes;  // CheckBox1 to CheckBox8
    std::vector<QRadioButton*> m_clicks;   // RadioButton1 to RadioButton5
    std::vector<QCheckBox*> m_creatures;   // CheckBox9 to CheckBox11
    QCheckBox* CheckBox12 = nullptr;       // clone sprites
    QCheckBox* CheckBox13 = nullptr;       // edit after inject
};

}  // namespace vek::ui
