#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/messages.h"
#include "language/checker.h"
#include "language/ui/macro_formats.h"

class QMenu;

namespace vek::ui {

class SessionLook;
class MacroCompleter;
class MacroHighlighter;
class SourceModelLink;

// A text box for macro sources: coloured, checked as it is edited (a finding's text is the
// tooltip of its underline), with completion and F1 descriptions.
class MacroTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    MacroTextEdit(const SessionLook& look, QWidget* parent);

    // Reads lines by `reader` and checks them with `check` (null: colours only), in one model
    // of the text that every feature of the box reads.
    void setChecking(LineReader reader, std::unique_ptr<LinesCheck> check);
    // The model of the text and its findings; null before setChecking.
    SourceModelLink* sourceModel() const { return m_link; }
    MacroHighlighter* highlighter() const { return m_highlighter; }
    MacroCompleter* completer() const { return m_completer; }
    // Puts the caret at a line and column (both from 1) and shows it.
    void moveCaretTo(int line, int column);
    // The same as a jump (go to definition, an outline entry): Alt+Left goes back to where the
    // caret stood before, Alt+Right forward again.
    void jumpTo(int line, int column);
    bool goBack();
    bool goForward();

    // How a change of many lines at once becomes one step with a name: the owner of the text
    // takes the whole new text. Without one the box makes it one edit of its own.
    using WholeTextReplacer = std::function<void(const std::string& text, const Bilingual& label)>;
    void setWholeTextReplacer(WholeTextReplacer replace) {
        m_replaceWholeText = std::move(replace);
    }
    // Asks for a label's new name, starting as its name now; nothing when cancelled.
    using LabelNameAsker = std::function<std::optional<std::string>(const std::string& name)>;
    void setLabelNameAsker(LabelNameAsker ask) { m_askLabelName = std::move(ask); }
    // F2: renames the label at the caret, its subr and every gsub to it, as one step; false where
    // the caret is on no label, the asking was cancelled or the name is no label.
    bool renameLabel();
    // Ctrl+/: a "*" at the start of each selected line, or taken away where all are comments,
    // as one step.
    void toggleCommentOnSelectedLines();

    // Line numbers in a gutter at the left, and the caret's line marked.
    void showLineNumbers();
    QWidget* lineNumberGutter() const { return m_gutter; }
    int gutterWidth() const;
    // Enter lays out the line it leaves and starts the new one at the depth of the layout
    // (`SourceLayout`): a tab inside a section, one more inside each open block. A "*" typed on
    // a line of blanks alone starts a comment at the margin, where the compiler sees one.
    void setAutoIndent(bool on) { m_autoIndent = on; }
    void breakLineWithLayout();
    // Tab and Shift+Tab on a selection of lines: a tab more or less in front of each, one step.
    void indentSelectedLines(bool deeper);
    // F12 and Ctrl+click: from a gsub to its subr, from a scrx or scrp to that script. False
    // where the caret's word has no definition in the text.
    bool goToDefinition();
    // Shift+F12: marks every use of the label at the caret and moves to the next one; returns
    // how many there are.
    int markUsesOfLabel();
    // Marks the matches of a search (the find bar's), beside the caret's line and a label's uses.
    void setFoundMatches(const QList<QTextCursor>& matches);
    // The text's lines, as the checks read them.
    std::vector<std::string> lines() const;
    // The findings of the text's model, in text order.
    std::span<const Finding> findings() const;
    // Ctrl+.: a menu of the fixes for the finding at the caret ("QuickFixes"); null when there
    // are none. Each fix is one step.
    QMenu* offerQuickFixes();
    // The tooltip at a point of the text: the finding there, else the whole entry of the word.
    QString hoverTextAt(QPoint point) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    friend class LineNumberGutter;
    void paintGutter(QPaintEvent* event);
    void markCurrentLine();
    bool selectionSpansLines() const;
    bool startCommentAtMargin(const QKeyEvent* event);
    TextPosition caretPosition() const;
    // Puts `lines` in place of the text as one step named `label`; the caret stays at its line
    // and column.
    void replaceWholeText(const std::vector<std::string>& lines, const Bilingual& label);
    // Puts `text` in place of the box's positions `from` to `to` as one step named `label`; the
    // caret goes after it.
    void replaceRange(int from, int to, const QString& text, const Bilingual& label);
    // The model's lines; only where a reader was set, which makes the model.
    const std::vector<std::string>& modelLines() const;
    // Goes to the latest place of `from`, leaving the caret's place on `to`.
    bool travel(std::vector<TextPosition>& from, std::vector<TextPosition>& to);

    LineReader m_reader;
    std::vector<TextPosition> m_uses;     // of the label last asked about, marked in the text
    QList<QTextCursor> m_found;           // the search's matches, marked in the text
    std::vector<TextPosition> m_back;     // where jumps left from, the latest last
    std::vector<TextPosition> m_forward;  // where going back left from
    WholeTextReplacer m_replaceWholeText;
    LabelNameAsker m_askLabelName;

    const SessionLook& m_look;
    MacroCompleter* m_completer;
    SourceModelLink* m_link = nullptr;
    MacroHighlighter* m_highlighter = nullptr;
    QWidget* m_gutter = nullptr;
    bool m_autoIndent = false;
};

// A line of commands that the game runs at once: coloured, checked as the macro it becomes
// ("inst," + commands + ",endm"), with completion and F1 descriptions.
class MacroLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    MacroLineEdit(const SessionLook& look, CheckOptions options, QWidget* parent);

    std::span<const Finding> findings() const { return m_findings; }
    // The findings' texts in the interface language, one a line: the line's tooltip.
    QString findingsText() const;
    MacroCompleter* completer() const { return m_completer; }
    // Ctrl+.: a menu of the fixes for the finding at the caret; null when there are none.
    QMenu* offerQuickFixes();
    // The tooltip at a point of the line: its findings, else the whole entry of the word there.
    QString hoverTextAt(QPoint point);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void recheck();

    const SessionLook& m_look;
    CheckOptions m_options;
    MacroCompleter* m_completer;
    std::vector<Finding> m_findings;
    bool m_formatting = false;
};

}  // namespace vek::ui
