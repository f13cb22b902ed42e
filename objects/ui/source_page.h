#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QListWidget;
class QPlainTextEdit;

namespace vek {
class ObjectDocument;
}

namespace vek::ui {

struct AppContext;

// The object compiler's "Source (COS)" page: the macro files of the program's MAC folder, which
// a double click inserts, and the source text. Every change of the text is noted in the
// document's source state.
class SourcePage : public QWidget {
    Q_OBJECT
  public:
    SourcePage(AppContext& context, ObjectDocument& document);

    QPlainTextEdit* sourceText() const { return m_memo2; }
    // The text as one UTF-8 string, lines separated by line breaks.
    std::string sourceUtf8() const;
    // The text's lines, as a source file holds them.
    std::vector<std::string> sourceLines() const;
    // Replaces the whole text as one undoable edit.
    void setSourceLines(const std::vector<std::string>& lines);
    // Lists the "*.MAC" files again.
    void refreshMacroList();

  Q_SIGNALS:
    // The designed buttons of the page, hidden: the menu carries their commands.
    void loadClicked();     // Button6
    void saveClicked();     // Button7
    void compileClicked();  // Button8
    void injectClicked();   // Button9

  private:
    void FileListBox1DblClick();

    AppContext& m_context;
    QListWidget* m_fileListBox1 = nullptr;
    QPlainTextEdit* m_memo2 = nullptr;
    QPlainTextEdit* m_memo3 = nullptr;
};

}  // namespace vek::ui
