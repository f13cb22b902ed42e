#pragma once

#include <QLabel>
#include <string>

class QPlainTextEdit;

namespace vek::ui {

class SessionLook;

// The line under a source text: its file name, a "*" while it holds changes not saved, and the
// caret's line and column.
class EditorStatusLine : public QLabel {
    Q_OBJECT
  public:
    EditorStatusLine(const SessionLook& look, QPlainTextEdit* editor, QWidget* parent);

    // The file's name part; empty for a source that has none yet.
    void setFile(std::string name, bool changed);
    // Writes the line again in the interface language.
    void retranslate();

  private:
    const SessionLook& m_look;
    QPlainTextEdit* m_editor;
    std::string m_name;
    bool m_changed = false;
};

}  // namespace vek::ui
