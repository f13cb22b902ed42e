#pragma once

#include <functional>

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "app/observers.h"
#include "app/ui/vek_window.h"
#include "objects/injection.h"
#include "objects/object_document.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace vek {
class PictureSource;
class PaletteTable;
}  // namespace vek

namespace vek::ui {

class AnimationPreviewWindow;
class CobInjectorPage;
class EditorPage;
class PicturePage;
class SettingsPage;
class SourcePage;

// TForm2: "COB-Compiler". Shows the object document on its pages, one widget each: the source
// text, the object's scripts and imports, its header settings, its picture and the injector.
// Its Edit menu undoes and redoes the document's steps; its status line keeps the outcome of the
// last command until the next one.
class ObjectCompilerWindow : public VekWindow {
    Q_OBJECT
  public:
    // Injection sends through `sendMacro`; sprites for the picture come from `pictures` and show
    // in `palette`.
    ObjectCompilerWindow(AppContext& context, ObjectDocument& document, MacroSender sendMacro,
                         const PaletteTable& palette, PictureSource& pictures);
    ~ObjectCompilerWindow() override;

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    // When the source was changed and not saved: asks whether to save it (OK or Yes saves).
    // Returns the answer; Ok when there was nothing to ask.
    Answer offerToSaveChangedSource(Buttons buttons);
    // Before a command puts another source or object in place: a source changed and not saved
    // is asked about, Yes saves it, No lets it go. False when the command must leave everything
    // as it was: the answer was Cancel, or the save did not happen.
    bool mayReplaceChangedSource();

    // The source text (Memo2), which shows the document's.
    QPlainTextEdit* sourceText() const;
    // A generated source replaces the text, as one step, after the question about a changed
    // source; false when the user kept that source.
    bool showGeneratedSource(const std::vector<std::string>& lines);
    void showSourcePage();
    // The source page with its caret at a line and column (both from 1).
    void showSourcePlace(int line, int column);
    // Compiles the source page; false when the compilation failed (and said why).
    bool compileSourcePage();
    // A new object from these lines: New, the lines as the source, Compile; one step.
    bool compileNewObject(const std::vector<std::string>& lines);
    void showEditorPage();

    // Reads an object file without a dialog; a file that cannot be read leaves the object in
    // memory as it was. Asks about a changed source first, as loading a source does.
    void loadCobFile(const QString& path);
    // Reads a source file into the source page without a dialog, after the question about a
    // changed source.
    void loadSourceFile(const QString& path);
    // Opens an object file (.cob, .rcb) or a source file (.cos) handed over from outside (a drop,
    // the command line).
    void openObjectFile(const QString& path);

    CobInjectorPage* injectorPage() const { return m_injector; }
    SourcePage* sourcePage() const { return m_sourcePage; }
    // The class catalogue that the source's classes are checked against; the source is checked
    // again with it, and again whenever `checkSourceAgain` says the catalogue changed.
    void setClassLookup(std::function<bool(int family, int genus, int species)> knowsClass);
    void checkSourceAgain();

    // "Preview animation": plays the `anim` string under the caret of the source page with the
    // sprite file and first image of the object the source makes before it.
    void previewAnimationAtCaret();
    // The animation preview of a sprite file (also the sprite editor's, through the commands).
    void showAnimationPreview(const std::filesystem::path& file, std::size_t first,
                              const std::string& text);
    AnimationPreviewWindow* animationPreview() const { return m_animationPreview; }

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
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createMenus();
    // The Edit menu's find, replace and go-to-line items: the source page's own actions.
    void addFindItems(QMenu* edit);
    // "Installation checks": the four switches of VEK.INI [Checking], each checked while on.
    void addInstallationCheckItems(QMenu* source);
    void FormShow();
    void putGeneratedSource(const std::vector<std::string>& lines);
    void documentChanged(const ObjectDocumentEvent& event);
    void showNote(const QString& note);
    QString gameMainDirectory() const;
    // The folder last used for sources, else the game's main directory.
    QString sourceFolder() const;

    ObjectDocument& m_document;
    PictureSource& m_pictures;
    Subscription m_observation;
    QTabWidget* m_pages = nullptr;  // PageControl1
    SourcePage* m_sourcePage = nullptr;
    EditorPage* m_editorPage = nullptr;
    SettingsPage* m_settingsPage = nullptr;
    PicturePage* m_picturePage = nullptr;
    CobInjectorPage* m_injector = nullptr;
    QLabel* m_noteLine = nullptr;
    const PaletteTable& m_palette;
    AnimationPreviewWindow* m_animationPreview = nullptr;  // made when first asked for
};

}  // namespace vek::ui
