#include "language/ui/editor_status_line.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "app/text_names.h"
#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "language/ui/macro_formats.h"

namespace vek::ui {

EditorStatusLine::EditorStatusLine(const SessionLook& look, QPlainTextEdit* editor, QWidget* parent)
    : QLabel(parent), m_look(look), m_editor(editor) {
    setObjectName(QStringLiteral("SourceStatusLine"));
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, &EditorStatusLine::retranslate);
    retranslate();
}

void EditorStatusLine::setFile(std::string name, bool changed) {
    m_name = std::move(name);
    m_changed = changed;
    retranslate();
}

void EditorStatusLine::retranslate() {
    QString text = m_name.empty() ? m_look.text(Msg::SourceWithoutName) : toQString(m_name);
    if (m_changed) text += QStringLiteral(" *");
    const QTextCursor caret = m_editor->textCursor();
    const int column = characterOf(caret.block().text(), caret.positionInBlock()) + 1;
    text += QStringLiteral("    ") +
            m_look.text(Msg::FindingLinePlace).arg(caret.blockNumber() + 1).arg(column);
    setText(text);
}

}  // namespace vek::ui
