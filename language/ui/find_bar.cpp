#include "language/ui/find_bar.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"

namespace vek::ui {

namespace {

// The box's position (UTF-16) of a byte offset of its text in UTF-8, and back.
int positionOf(const std::string& text, std::size_t offset) {
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(offset)).size());
}

std::size_t offsetOf(const QString& text, int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

// The box's positions of matches, found in order in the UTF-8 text, in one pass over it.
std::vector<std::pair<int, int>> positionsOf(const std::string& text,
                                             const std::vector<TextMatch>& matches) {
    std::vector<std::pair<int, int>> places;
    places.reserve(matches.size());
    std::size_t offset = 0;
    int position = 0;
    const auto advanceTo = [&](std::size_t end) {
        for (; offset < end; ++offset) {
            const auto byte = static_cast<unsigned char>(text[offset]);
            // A character past the first plane takes two code units.
            if ((byte & 0xC0) != 0x80) position += byte >= 0xF0 ? 2 : 1;
        }
        return position;
    };
    for (const TextMatch& match : matches) {
        const int start = advanceTo(match.offset);
        places.emplace_back(start, advanceTo(match.offset + match.length));
    }
    return places;
}

QWidget* row(QVBoxLayout* rows, std::initializer_list<QWidget*> controls) {
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* control : controls) layout->addWidget(control);
    rows->addWidget(line);
    return line;
}

template <typename Control>
Control* named(const char* name) {
    auto* control = new Control;
    control->setObjectName(QLatin1String(name));
    return control;
}

}  // namespace

FindBar::FindBar(const SessionLook& look, QPlainTextEdit* editor, Replacer replace, QWidget* parent)
    : QWidget(parent), m_look(look), m_editor(editor), m_replace(std::move(replace)) {
    setObjectName(QStringLiteral("FindBar"));
    m_findLabel = named<QLabel>("FindLabel");
    m_findField = named<QLineEdit>("FindField");
    m_previous = named<QPushButton>("FindPreviousButton");
    m_next = named<QPushButton>("FindNextButton");
    m_wholeWord = named<QCheckBox>("WholeWordBox");
    m_matchCase = named<QCheckBox>("MatchCaseBox");
    m_note = named<QLabel>("FindNote");
    m_close = named<QPushButton>("CloseFindBar");
    m_close->setText(QStringLiteral("\u00d7"));
    m_close->setFlat(true);
    m_replaceLabel = named<QLabel>("ReplaceLabel");
    m_replaceField = named<QLineEdit>("ReplaceField");
    m_replaceOne = named<QPushButton>("ReplaceButton");
    m_replaceAll = named<QPushButton>("ReplaceAllButton");
    m_lineLabel = named<QLabel>("GoToLineLabel");
    m_lineField = named<QLineEdit>("GoToLineField");
    m_lineField->setValidator(new QIntValidator(1, 999999999, m_lineField));
    m_lineField->setMaximumWidth(120);
    m_findLabel->setBuddy(m_findField);
    m_replaceLabel->setBuddy(m_replaceField);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 2, 0, 2);
    rows->setSpacing(2);
    m_findRow = row(rows, {m_findLabel, m_findField, m_previous, m_next, m_close});
    m_replaceRow = row(rows, {m_replaceLabel, m_replaceField, m_replaceOne, m_replaceAll});
    // The options and the note under the fields, so that the fields keep their width.
    m_optionsRow = row(rows, {m_wholeWord, m_matchCase, m_note});
    static_cast<QHBoxLayout*>(m_optionsRow->layout())->setStretch(2, 1);
    m_lineNote = named<QLabel>("GoToLineNote");
    m_lineRow = row(rows, {m_lineLabel, m_lineField, m_lineNote});
    static_cast<QHBoxLayout*>(m_lineRow->layout())->addStretch(1);
    static_cast<QHBoxLayout*>(m_findRow->layout())->setStretch(1, 1);
    static_cast<QHBoxLayout*>(m_replaceRow->layout())->setStretch(1, 1);
    // The labels of both lines stand one above the other.
    const int labelWidth = std::max(m_findLabel->sizeHint().width(), 110);
    m_findLabel->setMinimumWidth(labelWidth);
    m_replaceLabel->setMinimumWidth(labelWidth);
    m_lineLabel->setMinimumWidth(labelWidth);

    connect(m_findField, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(m_findField, &QLineEdit::textChanged, this, &FindBar::refreshMatches);
    connect(m_wholeWord, &QCheckBox::toggled, this, &FindBar::refreshMatches);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindBar::refreshMatches);
    // The marks follow the text as it is typed, replaced or undone.
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (isVisible()) refreshMatches();
    });
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (isVisible()) notePlace();
    });
    connect(m_next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_previous, &QPushButton::clicked, this, [this] { findPrevious(); });
    connect(m_replaceField, &QLineEdit::returnPressed, this, [this] { replaceOne(); });
    connect(m_replaceOne, &QPushButton::clicked, this, [this] { replaceOne(); });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(m_lineField, &QLineEdit::returnPressed, this, [this] {
        if (goToLine()) hide();
    });
    connect(m_close, &QPushButton::clicked, this, [this] {
        hide();
        m_editor->setFocus();
    });
    retranslate();
    hide();
}

void FindBar::bindKeys(QWidget* scope) {
    const struct {
        const char* name;
        QKeySequence keys;
        void (FindBar::*run)();
    } bindings[] = {
        {"FindAction", QKeySequence(Qt::CTRL | Qt::Key_F), &FindBar::showFind},
        {"ReplaceAction", QKeySequence(Qt::CTRL | Qt::Key_H), &FindBar::showReplace},
        {"GoToLineAction", QKeySequence(Qt::CTRL | Qt::Key_G), &FindBar::showGoToLine},
    };
    for (const auto& binding : bindings) {
        auto* action = new QAction(scope);
        action->setObjectName(QLatin1String(binding.name));
        action->setShortcut(binding.keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, run = binding.run] {
            Q_EMIT wanted();
            (this->*run)();
        });
        scope->addAction(action);
    }
    const struct {
        const char* name;
        QKeySequence keys;
        bool backwards;
    } steps[] = {{"FindNextAction", QKeySequence(Qt::Key_F3), false},
                 {"FindPreviousAction", QKeySequence(Qt::SHIFT | Qt::Key_F3), true}};
    for (const auto& step : steps) {
        auto* action = new QAction(scope);
        action->setObjectName(QLatin1String(step.name));
        action->setShortcut(step.keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, backwards = step.backwards] {
            Q_EMIT wanted();
            // Without a word to look for, F3 opens the bar to type one.
            if (m_findField->text().isEmpty()) {
                showFind();
            } else {
                find(backwards);
            }
        });
        scope->addAction(action);
    }
}

void FindBar::showRows(bool find, bool replace, bool line) {
    m_findRow->setVisible(find);
    m_optionsRow->setVisible(find);
    m_replaceRow->setVisible(replace);
    m_lineRow->setVisible(line);
    show();
}

void FindBar::showFind() {
    const QString selected = m_editor->textCursor().selectedText();
    // A selection of several lines holds paragraph separators: it is no word to look for.
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_findField->setText(selected);
    showRows(true, false, false);
    m_findField->setFocus();
    m_findField->selectAll();
}

void FindBar::showReplace() {
    showFind();
    m_replaceRow->show();
}

void FindBar::showGoToLine() {
    showRows(false, false, true);
    m_lineField->setText(QString::number(m_editor->textCursor().blockNumber() + 1));
    m_lineField->setFocus();
    m_lineField->selectAll();
}

SearchOptions FindBar::options() const {
    return {.wholeWord = m_wholeWord->isChecked(), .matchCase = m_matchCase->isChecked()};
}

bool FindBar::findNext() { return find(false); }

bool FindBar::findPrevious() { return find(true); }

bool FindBar::find(bool backwards) {
    const std::string wanted = toStdString(m_findField->text());
    if (wanted.empty()) return false;
    const QString shown = m_editor->toPlainText();
    const std::string text = toStdString(shown);
    const QTextCursor caret = m_editor->textCursor();
    // Forwards from the selection's end, so that the match selected is passed; backwards from
    // its start.
    const std::size_t from =
        offsetOf(shown, backwards ? caret.selectionStart() : caret.selectionEnd());
    const std::optional<TextMatch> match = vek::findNext(text, wanted, options(), from, backwards);
    if (!match) {
        setNote(fill(Msg::FindBarNotFound, {shortenedToken(wanted)}));
        return false;
    }
    select(text, *match);
    notePlace();
    return true;
}

void FindBar::select(const std::string& text, const TextMatch& match) {
    QTextCursor cursor(m_editor->document());
    cursor.setPosition(positionOf(text, match.offset));
    cursor.setPosition(positionOf(text, match.offset + match.length), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

bool FindBar::replaceOne() {
    const std::string wanted = toStdString(m_findField->text());
    if (wanted.empty()) return false;
    const QString shown = m_editor->toPlainText();
    std::string text = toStdString(shown);
    const QTextCursor caret = m_editor->textCursor();
    const std::size_t start = offsetOf(shown, caret.selectionStart());
    const std::size_t end = offsetOf(shown, caret.selectionEnd());
    if (end - start != wanted.size() || !matchesAt(text, start, wanted, options()))
        return findNext();
    const std::string replacement = toStdString(m_replaceField->text());
    text.replace(start, wanted.size(), replacement);
    m_replace(text, Msg::ObjectReplaceLabel);
    // On from the end of what was put in, so a replacement holding the word is not found again.
    QTextCursor after(m_editor->document());
    after.setPosition(positionOf(text, start + replacement.size()));
    m_editor->setTextCursor(after);
    find(false);
    return true;
}

std::size_t FindBar::replaceAll() {
    const std::string wanted = toStdString(m_findField->text());
    if (wanted.empty()) return 0;
    const Replacement replaced = vek::replaceAll(toStdString(m_editor->toPlainText()), wanted,
                                                 toStdString(m_replaceField->text()), options());
    if (replaced.count == 0) {
        setNote(fill(Msg::FindBarNotFound, {shortenedToken(wanted)}));
        return 0;
    }
    m_replace(replaced.text, Msg::ObjectReplaceAllLabel);
    setNote(fill(Msg::FindBarReplacedCount, {std::to_string(replaced.count)}));
    return replaced.count;
}

bool FindBar::goToLine() {
    bool number = false;
    const int line = m_lineField->text().toInt(&number);
    const QTextBlock block = m_editor->document()->findBlockByNumber(line - 1);
    if (!number || !block.isValid()) {
        setNote(fill(Msg::FindBarNoSuchLine,
                     {toStdString(m_lineField->text()), std::to_string(m_editor->blockCount())}));
        return false;
    }
    setNote({});
    m_editor->setTextCursor(QTextCursor(block));
    m_editor->centerCursor();
    m_editor->setFocus();
    return true;
}

QString FindBar::note() const { return m_note->text(); }

void FindBar::refreshMatches() {
    const std::string wanted = toStdString(m_findField->text());
    const std::string text = toStdString(m_editor->toPlainText());
    m_matches = positionsOf(text, findAll(text, wanted, options()));
    QList<QTextCursor> marks;
    for (const auto& [start, end] : m_matches) {
        QTextCursor mark(m_editor->document());
        mark.setPosition(start);
        mark.setPosition(end, QTextCursor::KeepAnchor);
        marks.append(mark);
    }
    Q_EMIT matchesMarked(marks);
    notePlace();
}

void FindBar::notePlace() {
    const QTextCursor caret = m_editor->textCursor();
    const auto selected = std::find(m_matches.begin(), m_matches.end(),
                                    std::pair(caret.selectionStart(), caret.selectionEnd()));
    const std::string count = std::to_string(m_matches.size());
    if (selected != m_matches.end()) {
        setNote(
            fill(Msg::FindBarMatchOf, {std::to_string(selected - m_matches.begin() + 1), count}));
    } else if (!m_matches.empty()) {
        setNote(fill(Msg::FindBarMatchesFound, {count}));
    } else {
        setNote({});
    }
}

void FindBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshMatches();
}

void FindBar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_matches.clear();
    Q_EMIT matchesMarked({});
}

void FindBar::setNote(BilingualText text) {
    m_noteText = std::move(text);
    m_note->setText(toQString(m_noteText.in(m_look.language())));
    m_lineNote->setText(m_note->text());
}

void FindBar::retranslate() {
    const auto say = [this](const Bilingual& text) { return m_look.text(text); };
    m_findLabel->setText(say(Msg::FindBarFind));
    m_replaceLabel->setText(say(Msg::FindBarReplaceWith));
    m_lineLabel->setText(say(Msg::FindBarGoToLine));
    m_previous->setText(say(Msg::FindBarPrevious));
    m_next->setText(say(Msg::FindBarNext));
    m_replaceOne->setText(say(Msg::FindBarReplace));
    m_replaceAll->setText(say(Msg::FindBarReplaceAll));
    m_wholeWord->setText(say(Msg::FindBarWholeWord));
    m_matchCase->setText(say(Msg::FindBarMatchCase));
    m_close->setToolTip(say(Msg::FindBarClose));
    setNote(m_noteText);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        m_editor->setFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vek::ui
