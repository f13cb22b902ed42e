#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/vek_window.h"
#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "objects/source_state.h"

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace vek {
class PictureSource;
class PaletteTable;
class TCreatures;
struct CompileOutput;
}  // namespace vek

namespace vek::ui {

class CobInjectorPage;
class CobPictureView;
class UpDown;

// TForm2: "COB-Compiler". Holds the one object in memory and the source text: the source page,
// the object editor, the header settings, the picture and the injector page.
class ObjectCompilerWindow : public VekWindow {
    Q_OBJECT
  public:
    // The game link injects; sprites for the picture come from `pictures` and show in `palette`.
    ObjectCompilerWindow(AppContext& context, TCreatures& creatures, const PaletteTable& palette,
                         PictureSource& pictures);
    ~ObjectCompilerWindow() override;

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // When the source was changed and not saved: asks whether to save it (OK or Yes saves).
    void offerToSaveChangedSource(Buttons buttons);

    const CobData& cobData() const { return m_cob; }
    const SourceState& sourceState() const { return m_sourceState; }
    // The remembered object and source file names (name parts only).
    const QString& objectFileName() const { return m_objectFileName; }
    const QString& sourceFileName() const { return m_sourceFileName; }

    // The source text (Memo2): generators write into it.
    QPlainTextEdit* sourceText() const { return m_memo2; }
    std::vector<std::string> sourceLines() const;
    void setSourceLines(const std::vector<std::string>& lines);
    void showSourcePage();
    void showEditorPage();

    // Reads an object file without a dialog (the injector page's double click); a file that
    // cannot be read leaves the object in memory as it was.
    void loadCobFile(const QString& path);

    CobInjectorPage* injectorPage() const { return m_injector; }

  public Q_SLOTS:
    void Button10Click();       // New2: the New Object Source window
    void Button6Click();        // LoadSourceFileCOS1
    void Button7Click();        // SaveSourceFileCOS1
    void Button8Click();        // CompiletoCOB1
    void Button11Click();       // DiscompiletoCOS1
    void New1Click();           // New1
    void LoadCOB1Click();       // LoadCOB1
    void SaveCOB1Click();       // SaveCOB1
    void COBAssistent1Click();  // COBAssistent1
    void Button1Click();        // new script
    void Button2Click();        // new import
    void Button3Click();        // delete script
    void Button5Click();        // delete import
    void Button4Click();        // Get the picture
    void FormActivate();        // refills the fields from the object

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class EditList { None, Scripts, Imports };
    struct ListControls {
        QListWidget* list = nullptr;
        QLineEdit* count = nullptr;
        std::vector<std::string> CobData::*entries = nullptr;
    };

    void createMenus();
    QWidget* createSourcePage();
    QWidget* createEditorPage();
    QWidget* createSettingsPage();
    QWidget* createPicturePage();
    QWidget* createInjectorPage();
    QLineEdit* addClassField(const char* name, const char* upDownName, QWidget* parent);

    void FormShow();
    void FileListBox1DblClick();
    void Memo1Change();
    void Memo2Change();
    void classFieldChanged();
    void Edit15Change();
    void classFieldExit(QLineEdit* field);
    void refreshMacroList();

    ListControls controlsOf(EditList which) const;
    void attachEditBox(EditList which, int row);
    void detachEditBox();
    void newEntry(EditList which);
    void deleteEntry(EditList which);

    void resetObject();
    void showObject(const CobFields& fields);
    void showFields(const CobFields& fields);
    CobFields currentFields() const;
    void showPicture();
    void showCompileOutput(const CompileOutput& out);
    void runObjectCommand(const std::function<void()>& command);
    QString gameMainDirectory() const;

    CobData m_cob;
    SourceState m_sourceState;
    QString m_objectFileName;
    QString m_sourceFileName;
    EditList m_editList = EditList::None;
    int m_editRow = -1;
    bool m_settingEditBox = false;  // programmatic changes of Memo1 write nothing back
    bool m_fillingLists = false;    // programmatic highlighting attaches nothing
    bool m_settingClassNumber = false;
    TCreatures& m_creatures;
    const PaletteTable& m_palette;
    PictureSource& m_pictures;

    QTabWidget* m_pages = nullptr;  // PageControl1
    QWidget* m_sourcePage = nullptr;
    QWidget* m_editorPage = nullptr;
    QListWidget* m_fileListBox1 = nullptr;
    QPlainTextEdit* m_memo2 = nullptr;
    QPlainTextEdit* m_memo3 = nullptr;
    QListWidget* m_listBox1 = nullptr;
    QListWidget* m_listBox2 = nullptr;
    QPlainTextEdit* m_memo1 = nullptr;
    QLineEdit* m_edit[16] = {};  // Edit1 .. Edit15 by their numbers
    CobPictureView* m_image1 = nullptr;
    QWidget* m_panel1 = nullptr;
    CobInjectorPage* m_injector = nullptr;
};

}  // namespace vek::ui
