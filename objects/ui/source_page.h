#pragma once

#include <QWidget>

#include "app/observers.h"
#include "objects/installation_facts.h"

class QListWidget;
class QTimer;
class QPlainTextEdit;

namespace vek {
class ObjectDocument;
class SourceCheck;
}  // namespace vek

namespace vek::ui {

struct AppContext;
class EditorStatusLine;
class FindBar;
class OutlineView;
class FindingsList;
class MacroTextEdit;

// The object compiler's "Source (COS)" page: the macro files of the program's MAC folder, which
// a double click inserts, and the source text. The document keeps the text; the page mirrors it,
// and what the user types becomes the document's, step by step.
class SourcePage : public QWidget {
    Q_OBJECT
  public:
    SourcePage(AppContext& context, ObjectDocument& document);

    QPlainTextEdit* sourceText() const;
    MacroTextEdit* macroText() const { return m_memo2; }
    FindingsList* findingsList() const { return m_findings; }
    EditorStatusLine* statusLine() const { return m_status; }
    OutlineView* outline() const { return m_outline; }
    FindBar* findBar() const { return m_findBar; }
    // Lays the source out with the tabs of its blocks, as one step.
    void formatSource();
    void moveCaretToStart();
    // Brings the findings list into view with the first error chosen, when the source has one
    // (compiling passes over errors without a word of its own); false when it has none.
    bool revealErrors();
    // Lists the "*.MAC" files again.
    void refreshMacroList();

    // The installation the source is checked against: read by the first check of a section,
    // not when the page is made.
    const InstallationFactsCache& installationFacts() const { return m_installation; }
    // Whether the class catalogue holds a class, for the class checks.
    void setClassLookup(InstallationFactsCache::ClassLookup knowsClass);
    // Checks the whole source again: after a switch of the checks or a change of the catalogue.
    void checkAgain();
    // Checks again when the game's folders changed since the last check (the window came back).
    void checkAgainIfInstallationChanged();

  Q_SIGNALS:
    // The designed buttons of the page, hidden: the menu carries their commands.
    void loadClicked();     // Button6
    void saveClicked();     // Button7
    void compileClicked();  // Button8
    void injectClicked();   // Button9
    // Find, replace or go to line was asked for, from a key or a menu: the page must be shown.
    void findWanted();

  private:
    void FileListBox1DblClick();
    void Memo2Change();
    void showSource();
    void showStatus();

    AppContext& m_context;
    ObjectDocument& m_document;
    InstallationFactsCache m_installation;
    SourceCheck* m_check = nullptr;  // the highlighter's
    Subscription m_observation;
    bool m_typing = false;  // the text shown is already the document's
    QListWidget* m_fileListBox1 = nullptr;
    MacroTextEdit* m_memo2 = nullptr;
    FindingsList* m_findings = nullptr;
    EditorStatusLine* m_status = nullptr;
    OutlineView* m_outline = nullptr;
    FindBar* m_findBar = nullptr;
    QTimer* m_outlineDue = nullptr;  // the outline follows the text after a pause in typing
    QPlainTextEdit* m_memo3 = nullptr;
};

}  // namespace vek::ui
