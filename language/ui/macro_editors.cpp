#include "language/ui/macro_editors.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QToolTip>

#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_highlighter.h"

namespace vek::ui {

MacroTextEdit::MacroTextEdit(const SessionLook& look, QWidget* parent)
    : QPlainTextEdit(parent),
      m_look(look),
      m_completer(new MacroCompleter(this, look,
                                     {[this] { return textCursor().block().text(); },
                                      [this] { return textCursor().positionInBlock(); },
                                      [this](int from, int to, const QString& text) {
                                          QTextCursor cursor = textCursor();
                                          const int start = cursor.block().position();
                                          cursor.setPosition(start + from);
                                          cursor.setPosition(start + to, QTextCursor::KeepAnchor);
                                          cursor.insertText(text);
                                          setTextCursor(cursor);
                                      },
                                      [this] { return cursorRect(); }})) {}

void MacroTextEdit::setChecking(LineReader reader, std::unique_ptr<LinesCheck> check) {
    delete m_highlighter;
    m_highlighter = new MacroHighlighter(document(), std::move(reader), std::move(check));
}

void MacroTextEdit::moveCaretTo(int line, int column) {
    const QTextBlock block = document()->findBlockByNumber(std::max(line, 1) - 1);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    const int unit = codeUnitOf(block.text(), std::max(column, 1) - 1);
    cursor.setPosition(block.position() + std::min(unit, block.length() - 1));
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus();
}

void MacroTextEdit::keyPressEvent(QKeyEvent* event) {
    if (m_completer->keyBefore(event)) return;
    QPlainTextEdit::keyPressEvent(event);
    m_completer->keyAfter(event);
}

bool MacroTextEdit::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !m_highlighter)
        return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor at = cursorForPosition(help->pos());
    const Finding* finding = m_highlighter->findingAt(
        at.blockNumber() + 1, characterOf(at.block().text(), at.positionInBlock()) + 1);
    if (finding) {
        QToolTip::showText(help->globalPos(), toQString(finding->text.in(m_look.language())),
                           viewport());
    } else {
        QToolTip::hideText();
    }
    return true;
}

MacroLineEdit::MacroLineEdit(const SessionLook& look, CheckOptions options, QWidget* parent)
    : QLineEdit(parent),
      m_look(look),
      m_options(options),
      m_completer(
          new MacroCompleter(this, look,
                             {[this] { return text(); }, [this] { return cursorPosition(); },
                              [this](int from, int to, const QString& text) {
                                  setSelection(from, to - from);
                                  insert(text);
                              },
                              [this] { return cursorRect(); }})) {
    connect(this, &QLineEdit::textChanged, this, &MacroLineEdit::recheck);
}

void MacroLineEdit::keyPressEvent(QKeyEvent* event) {
    if (m_completer->keyBefore(event)) return;
    QLineEdit::keyPressEvent(event);
    m_completer->keyAfter(event);
}

QString MacroLineEdit::findingsText() const {
    QStringList texts;
    for (const Finding& finding : m_findings)
        texts << toQString(finding.text.in(m_look.language()));
    return texts.join(QLatin1Char('\n'));
}

bool MacroLineEdit::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || m_findings.empty()) return QLineEdit::event(event);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), findingsText(), this);
    return true;
}

void MacroLineEdit::recheck() {
    if (m_formatting) return;
    const std::string typed = toStdString(text());
    m_findings = checkMacro(MacroText::immediate(typed), MacroKind::Macro, m_options);
    std::vector<const Finding*> marked;
    for (const Finding& finding : m_findings) marked.push_back(&finding);
    // A line field takes formats only as those of text being composed, placed from the caret.
    QList<QInputMethodEvent::Attribute> formats;
    for (const QTextLayout::FormatRange& range : lineFormats(text(), {}, marked)) {
        formats.append({QInputMethodEvent::TextFormat, range.start - cursorPosition(), range.length,
                        range.format});
    }
    m_formatting = true;
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(this, &event);
    m_formatting = false;
}

}  // namespace vek::ui
