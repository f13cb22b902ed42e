#include "language/ui/macro_editors.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTextBlock>
#include <QToolTip>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "language/completion.h"
#include "language/layout.h"
#include "language/outline.h"
#include "language/quick_fix.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_highlighter.h"
#include "language/ui/source_model_link.h"

namespace vek::ui {

namespace {

bool isQuickFixKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Period && (event->modifiers() & Qt::ControlModifier);
}

// Ctrl+/; on keyboards where "/" needs Shift (German: Shift+7) the key still names "/".
bool isToggleCommentKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Slash && (event->modifiers() & Qt::ControlModifier);
}

// The fixes as a menu beside the caret; choosing one applies it.
QMenu* quickFixMenu(QWidget* field, QPoint at, const SessionLook& look,
                    const std::vector<QuickFix>& fixes,
                    const std::function<void(const QuickFix&)>& apply) {
    if (fixes.empty()) return nullptr;
    auto* menu = new QMenu(field);
    menu->setObjectName(QStringLiteral("QuickFixes"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const QuickFix& fix : fixes) {
        QAction* item = menu->addAction(toQString(fix.title.in(look.language())));
        QObject::connect(item, &QAction::triggered, field, [apply, fix] { apply(fix); });
    }
    menu->popup(field->mapToGlobal(at));
    return menu;
}

// The whole entry of the word at a column (from 0) of a line, where the mouse rests on it.
QString wordEntryAt(const QString& line, int column, const SessionLook& look) {
    const Word* word = wordAt(toStdString(line), column);
    return word ? toQString(wordEntry(*word, look.language())) : QString();
}

// What was found, then the entry of the word it concerns.
QString withEntry(const QString& found, const QString& entry) {
    return entry.isEmpty() ? found : found + QStringLiteral("\n\n") + entry;
}

// The finding under a caret at `column` (from 1) or just after its end.
const Finding* findingNear(std::span<const Finding> findings, int line, int column) {
    for (const int at : {column, column - 1}) {
        for (const Finding& finding : findings) {
            if (finding.position.line == line && at >= finding.position.column &&
                at < finding.position.column + std::max(finding.length, 1))
                return &finding;
        }
    }
    return nullptr;
}

}  // namespace

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
                                      [this] { return cursorRect(); }})) {
    // Marks of a label's uses hold only for the text they were found in.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_uses.empty()) return;
        m_uses.clear();
        markCurrentLine();
    });
}

// The strip at the text's left that shows line numbers; the text box paints it.
class LineNumberGutter : public QWidget {
  public:
    explicit LineNumberGutter(MacroTextEdit* editor) : QWidget(editor), m_editor(editor) {
        setObjectName(QStringLiteral("LineNumbers"));
    }
    QSize sizeHint() const override { return {m_editor->gutterWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { m_editor->paintGutter(event); }

  private:
    MacroTextEdit* m_editor;
};

void MacroTextEdit::showLineNumbers() {
    if (m_gutter) return;
    m_gutter = new LineNumberGutter(this);
    const auto fitMargin = [this] {
        setViewportMargins(gutterWidth(), 0, 0, 0);
        const QRect area = contentsRect();
        m_gutter->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
    };
    connect(this, &QPlainTextEdit::blockCountChanged, this, fitMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int scrolled) {
        if (scrolled) {
            m_gutter->scroll(0, scrolled);
        } else {
            m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
        }
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &MacroTextEdit::markCurrentLine);
    fitMargin();
    markCurrentLine();
    m_gutter->show();
}

int MacroTextEdit::gutterWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void MacroTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (!m_gutter) return;
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), gutterWidth(), area.height());
}

void MacroTextEdit::paintGutter(QPaintEvent* event) {
    QPainter painter(m_gutter);
    const QPalette& colours = palette();
    painter.fillRect(event->rect(), colours.color(QPalette::AlternateBase));
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            QFont font = painter.font();
            font.setBold(block.blockNumber() == current);
            painter.setFont(font);
            painter.setPen(colours.color(
                block.blockNumber() == current ? QPalette::Text : QPalette::PlaceholderText));
            painter.drawText(0, top, m_gutter->width() - 4, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

void MacroTextEdit::markCurrentLine() {
    QTextEdit::ExtraSelection line;
    QColor shade = palette().color(QPalette::Highlight);
    shade.setAlpha(28);
    line.format.setBackground(shade);
    line.format.setProperty(QTextFormat::FullWidthSelection, true);
    line.cursor = textCursor();
    line.cursor.clearSelection();
    QList<QTextEdit::ExtraSelection> marks{line};
    for (const TextPosition& use : m_uses) {
        const QTextBlock block = document()->findBlockByNumber(use.line - 1);
        if (!block.isValid()) continue;
        QTextEdit::ExtraSelection mark;
        shade.setAlpha(90);
        mark.format.setBackground(shade);
        mark.cursor = QTextCursor(block);
        mark.cursor.setPosition(block.position() + codeUnitOf(block.text(), use.column - 1));
        mark.cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        marks.append(mark);
    }
    QTextEdit::ExtraSelection found;
    found.format.setBackground(QColor(0xff, 0xc8, 0x30, 120));
    for (const QTextCursor& match : m_found) {
        found.cursor = match;
        marks.append(found);
    }
    setExtraSelections(marks);
    if (m_gutter) m_gutter->update();
}

void MacroTextEdit::setFoundMatches(const QList<QTextCursor>& matches) {
    m_found = matches;
    markCurrentLine();
}

bool MacroTextEdit::selectionSpansLines() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) return false;
    const QTextDocument* text = document();
    return text->findBlock(cursor.selectionStart()) != text->findBlock(cursor.selectionEnd());
}

void MacroTextEdit::indentSelectedLines(bool deeper) {
    const QTextCursor selection = textCursor();
    QTextBlock block = document()->findBlock(selection.selectionStart());
    QTextBlock last = document()->findBlock(selection.selectionEnd());
    // A selection that ends at a line's start leaves that line alone.
    if (last != block && selection.selectionEnd() == last.position()) last = last.previous();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (; block.isValid(); block = block.next()) {
        edit.setPosition(block.position());
        const QString text = block.text();
        if (deeper) {
            // A comment's star stays the line's very first character.
            if (!text.startsWith(QLatin1Char('*')) && !text.isEmpty())
                edit.insertText(QStringLiteral("\t"));
        } else {
            // One tab, or up to four blanks; never so many that a "*" becomes the first.
            int blanks = 0;
            if (text.startsWith(QLatin1Char('\t'))) {
                blanks = 1;
            } else {
                while (blanks < 4 && blanks < text.size() && text[blanks] == QLatin1Char(' '))
                    ++blanks;
            }
            if (text.mid(blanks).startsWith(QLatin1Char('*'))) blanks = 0;
            edit.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, blanks);
            edit.removeSelectedText();
        }
        if (block == last) break;
    }
    edit.endEditBlock();
}

void MacroTextEdit::breakLineWithLayout() {
    QTextCursor edit = textCursor();
    edit.beginEditBlock();
    edit.removeSelectedText();
    const QTextBlock block = edit.block();
    const QString before = block.text().left(edit.positionInBlock());
    const std::string rest = toStdString(block.text().mid(edit.positionInBlock()));
    SourceLayout layout(m_reader);
    for (QTextBlock line = document()->begin(); line != block; line = line.next())
        layout.next(toStdString(line.text()));
    // The line left is laid out as it ends now, so a closer typed on it goes back to its
    // opener's depth; lines outside a section are header lines and stay as they are.
    const bool inSection = layout.depth() > 0;
    std::string left = toStdString(before);
    const std::size_t leftTabs = layout.next(left);
    if (inSection) left = indentedLine(left, leftTabs);
    SourceLayout probe = layout;
    const std::size_t tabs = probe.next(rest);
    const QString next = rest.empty() ? QString(static_cast<qsizetype>(tabs), QLatin1Char('\t'))
                                      : toQString(indentedLine(rest, tabs));
    edit.setPosition(block.position());
    edit.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    const QString leftShown = toQString(left);
    edit.insertText(leftShown + QLatin1Char('\n') + next);
    qsizetype lead = 0;
    while (lead < next.size() &&
           (next[lead] == QLatin1Char('\t') || next[lead] == QLatin1Char(' ')))
        ++lead;
    if (next.startsWith(QLatin1Char('*'))) lead = 0;
    edit.setPosition(block.position() + static_cast<int>(leftShown.size() + 1 + lead));
    edit.endEditBlock();
    setTextCursor(edit);
    ensureCursorVisible();
}

bool MacroTextEdit::startCommentAtMargin(const QKeyEvent* event) {
    if (event->text() != QStringLiteral("*") || textCursor().hasSelection()) return false;
    const QTextCursor caret = textCursor();
    const QString line = caret.block().text();
    if (line.isEmpty() || caret.positionInBlock() != line.size() || !line.trimmed().isEmpty())
        return false;
    QTextCursor edit = caret;
    edit.setPosition(caret.block().position(), QTextCursor::KeepAnchor);
    edit.insertText(QStringLiteral("*"));
    setTextCursor(edit);
    return true;
}

void MacroTextEdit::setChecking(LineReader reader, std::unique_ptr<LinesCheck> check) {
    delete m_highlighter;
    delete m_link;
    m_reader = reader;
    if (!check)
        check = std::make_unique<WholeLinesCheck>([](auto) { return std::vector<Finding>{}; });
    m_link = new SourceModelLink(document(), std::move(reader), std::move(check));
    m_highlighter = new MacroHighlighter(document(), *m_link);
}

std::span<const Finding> MacroTextEdit::findings() const {
    if (!m_link) return {};
    return m_link->model().findings();
}

std::vector<std::string> MacroTextEdit::lines() const {
    if (m_link) return m_link->model().lines();
    std::vector<std::string> all;
    all.reserve(static_cast<std::size_t>(blockCount()));
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        all.push_back(toStdString(block.text()));
    return all;
}

const std::vector<std::string>& MacroTextEdit::modelLines() const {
    return m_link->model().lines();
}

TextPosition MacroTextEdit::caretPosition() const {
    const QTextCursor caret = textCursor();
    return {caret.blockNumber() + 1,
            characterOf(caret.block().text(), caret.positionInBlock()) + 1};
}

bool MacroTextEdit::goToDefinition() {
    if (!m_reader) return false;
    const TextPosition caret = caretPosition();
    const std::vector<std::string>& text = modelLines();
    std::optional<TextPosition> found = definitionAt(text, m_reader, caret);
    // At a word's very end the caret still names it.
    if (!found && caret.column > 1)
        found = definitionAt(text, m_reader, {caret.line, caret.column - 1});
    if (!found) return false;
    jumpTo(found->line, found->column);
    return true;
}

void MacroTextEdit::jumpTo(int line, int column) {
    m_back.push_back(caretPosition());
    m_forward.clear();
    moveCaretTo(line, column);
}

bool MacroTextEdit::goBack() { return travel(m_back, m_forward); }

bool MacroTextEdit::goForward() { return travel(m_forward, m_back); }

bool MacroTextEdit::travel(std::vector<TextPosition>& from, std::vector<TextPosition>& to) {
    if (from.empty()) return false;
    to.push_back(caretPosition());
    const TextPosition place = from.back();
    from.pop_back();
    moveCaretTo(place.line, place.column);
    return true;
}

void MacroTextEdit::replaceWholeText(const std::vector<std::string>& lines,
                                     const Bilingual& label) {
    const TextPosition caret = caretPosition();
    std::string text;
    for (const std::string& line : lines) {
        if (&line != &lines.front()) text += '\n';
        text += line;
    }
    if (m_replaceWholeText) {
        m_replaceWholeText(text, label);
    } else {
        QTextCursor edit(document());
        edit.select(QTextCursor::Document);
        edit.insertText(toQString(text));
    }
    moveCaretTo(caret.line, caret.column);
}

bool MacroTextEdit::renameLabel() {
    if (!m_reader || !m_askLabelName) return false;
    const TextPosition caret = caretPosition();
    const std::vector<std::string>& text = modelLines();
    const std::vector<TextPosition> uses = usesOfLabelNear(text, m_reader, caret);
    if (uses.empty()) return false;
    const TextPosition& first = uses.front();
    const std::string_view line = text[static_cast<std::size_t>(first.line) - 1];
    const std::size_t from = byteOffsetOfCharacter(line, first.column - 1);
    const std::size_t to =
        byteOffsetOfCharacter(line, first.column - 1 + labelLengthAt(text, first));
    const std::optional<std::string> name =
        m_askLabelName(std::string(line.substr(from, to - from)));
    if (!name) return false;
    const std::optional<std::vector<std::string>> renamed =
        renamedLabelNear(text, m_reader, caret, *name);
    if (!renamed) return false;
    replaceWholeText(*renamed, Msg::SourceRenameLabel);
    return true;
}

void MacroTextEdit::toggleCommentOnSelectedLines() {
    const QTextCursor selection = textCursor();
    const QTextBlock first = document()->findBlock(selection.selectionStart());
    QTextBlock last = document()->findBlock(selection.selectionEnd());
    // A selection that ends at a line's start leaves that line alone.
    if (last != first && selection.selectionEnd() == last.position()) last = last.previous();
    const std::vector<std::string> toggled =
        toggledComment(lines(), static_cast<std::size_t>(first.blockNumber()),
                       static_cast<std::size_t>(last.blockNumber()));
    if (toggled == lines()) return;
    const int firstLine = first.blockNumber();
    const int lastLine = last.blockNumber();
    const bool selected = selection.hasSelection();
    replaceWholeText(toggled, Msg::SourceToggleComment);
    // The lines stay selected, so that the same key toggles them back.
    if (!selected) return;
    QTextCursor kept(document()->findBlockByNumber(firstLine));
    const QTextBlock end = document()->findBlockByNumber(lastLine);
    kept.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
    setTextCursor(kept);
}

int MacroTextEdit::markUsesOfLabel() {
    if (!m_reader) return 0;
    const TextPosition caret = caretPosition();
    const std::vector<std::string>& text = modelLines();
    m_uses = usesOfLabelNear(text, m_reader, caret);
    markCurrentLine();
    const auto next = std::find_if(m_uses.begin(), m_uses.end(),
                                   [&](const TextPosition& use) { return caret < use; });
    if (!m_uses.empty()) {
        const TextPosition target = next != m_uses.end() ? *next : m_uses.front();
        moveCaretTo(target.line, target.column);
    }
    return static_cast<int>(m_uses.size());
}

QMenu* MacroTextEdit::offerQuickFixes() {
    if (!m_link) return nullptr;
    const TextPosition caret = caretPosition();
    const Finding* finding = findingNear(findings(), caret.line, caret.column);
    if (!finding) return nullptr;
    return quickFixMenu(viewport(), cursorRect().bottomLeft(), m_look,
                        quickFixesFor(*finding, modelLines(), m_reader),
                        [this](const QuickFix& fix) {
                            const QTextBlock block = document()->findBlockByNumber(fix.at.line - 1);
                            if (!block.isValid()) return;
                            const int from = codeUnitOf(block.text(), fix.at.column - 1);
                            const int to = codeUnitOf(block.text(), fix.at.column - 1 + fix.length);
                            replaceRange(block.position() + from, block.position() + to,
                                         toQString(fix.text), Msg::SourceQuickFixLabel);
                        });
}

void MacroTextEdit::replaceRange(int from, int to, const QString& text, const Bilingual& label) {
    if (m_replaceWholeText) {
        // Through the owner, so that the change is a step of its own and never runs on with
        // the typing before it.
        QString whole = toPlainText();
        whole.replace(from, to - from, text);
        m_replaceWholeText(toStdString(whole), label);
    } else {
        QTextCursor edit(document());
        edit.setPosition(from);
        edit.setPosition(to, QTextCursor::KeepAnchor);
        edit.insertText(text);
    }
    QTextCursor after(document());
    after.setPosition(
        std::min(from + static_cast<int>(text.size()), document()->characterCount() - 1));
    setTextCursor(after);
}

void MacroTextEdit::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        goToDefinition();
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
    if (isQuickFixKey(event)) {
        offerQuickFixes();
        return;
    }
    if (event->modifiers() == Qt::AltModifier &&
        (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        if (event->key() == Qt::Key_Left) {
            goBack();
        } else {
            goForward();
        }
        return;
    }
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        renameLabel();
        return;
    }
    if (isToggleCommentKey(event) && m_reader) {
        toggleCommentOnSelectedLines();
        return;
    }
    if (event->key() == Qt::Key_F12) {
        if (event->modifiers() & Qt::ShiftModifier) {
            markUsesOfLabel();
        } else {
            goToDefinition();
        }
        return;
    }
    if (m_autoIndent && m_reader) {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers keys = event->modifiers();
        if (enter && (keys == Qt::NoModifier || keys == Qt::KeypadModifier)) {
            breakLineWithLayout();
            return;
        }
        if (startCommentAtMargin(event)) return;
    }
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->key() == Qt::Key_Backtab || selectionSpansLines())) {
        indentSelectedLines(event->key() == Qt::Key_Tab);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    m_completer->keyAfter(event);
}

bool MacroTextEdit::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = hoverTextAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, viewport());
    }
    return true;
}

QString MacroTextEdit::hoverTextAt(QPoint point) const {
    const QTextCursor at = cursorForPosition(point);
    const QString line = at.block().text();
    const int column = characterOf(line, at.positionInBlock());
    const QString entry = wordEntryAt(line, column, m_look);
    const Finding* finding =
        m_link ? m_link->model().findingAt(at.blockNumber() + 1, column + 1) : nullptr;
    if (!finding) return entry;
    return withEntry(toQString(finding->text.in(m_look.language())), entry);
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
    // An empty line is a macro too: "inst,,endm".
    recheck();
}

QMenu* MacroLineEdit::offerQuickFixes() {
    const int column = characterOf(text(), cursorPosition()) + 1;
    const Finding* finding = findingNear(m_findings, 1, column);
    if (!finding) return nullptr;
    const std::vector<std::string> line{toStdString(text())};
    return quickFixMenu(this, cursorRect().bottomLeft(), m_look,
                        quickFixesFor(*finding, line, nullptr), [this](const QuickFix& fix) {
                            const int from = codeUnitOf(text(), fix.at.column - 1);
                            const int to = codeUnitOf(text(), fix.at.column - 1 + fix.length);
                            setSelection(from, to - from);
                            insert(toQString(fix.text));
                        });
}

void MacroLineEdit::keyPressEvent(QKeyEvent* event) {
    if (m_completer->keyBefore(event)) return;
    if (isQuickFixKey(event)) {
        offerQuickFixes();
        return;
    }
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
    if (event->type() != QEvent::ToolTip) return QLineEdit::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = hoverTextAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

QString MacroLineEdit::hoverTextAt(QPoint point) {
    const QString line = text();
    const QString entry = wordEntryAt(line, characterOf(line, cursorPositionAt(point)), m_look);
    return m_findings.empty() ? entry : withEntry(findingsText(), entry);
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
