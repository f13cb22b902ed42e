#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>
#include <span>
#include <vector>

#include "language/checker.h"
#include "language/ui/macro_formats.h"

namespace vek::ui {

class SessionLook;
class MacroCompleter;
class MacroHighlighter;

// A text box for macro sources: coloured, checked as it is edited (a finding's text is the
// tooltip of its underline), with completion and F1 descriptions.
class MacroTextEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    MacroTextEdit(const SessionLook& look, QWidget* parent);

    // Reads lines by `reader` and checks them with `check` (null: colours only).
    void setChecking(LineReader reader, std::unique_ptr<LinesCheck> check);
    MacroHighlighter* highlighter() const { return m_highlighter; }
    MacroCompleter* completer() const { return m_completer; }
    // Puts the caret at a line and column (both from 1) and shows it.
    void moveCaretTo(int line, int column);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    const SessionLook& m_look;
    MacroCompleter* m_completer;
    MacroHighlighter* m_highlighter = nullptr;
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
