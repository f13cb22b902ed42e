#include "language/ui/macro_completer.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QToolTip>

#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "language/ui/macro_formats.h"

namespace vek::ui {

namespace {

constexpr int kLettersBeforeOffer = 4;
constexpr int kWordRole = Qt::UserRole + 1;

bool isPopupKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
           key == Qt::Key_Backtab || key == Qt::Key_Escape;
}

QString lowered(const QString& text) { return text.toLower(); }

}  // namespace

MacroCompleter::MacroCompleter(QWidget* editor, const SessionLook& look, Field field)
    : QObject(editor),
      m_editor(editor),
      m_look(look),
      m_field(std::move(field)),
      m_completer(new QCompleter(this)),
      m_model(new QStandardItemModel(this)) {
    m_completer->setObjectName(QStringLiteral("MacroCompleter"));
    m_completer->setModel(m_model);
    m_completer->setWidget(editor);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            &MacroCompleter::insert);
}

bool MacroCompleter::keyBefore(QKeyEvent* event) {
    // The popup chooses with these keys; the field must not take them as well.
    if (popupVisible() && isPopupKey(event->key())) {
        event->ignore();
        return true;
    }
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        offer(true);
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        const QString description = descriptionAtCaret();
        if (!description.isEmpty()) {
            QToolTip::showText(m_editor->mapToGlobal(m_field.cursorRect().bottomLeft()),
                               description, m_editor);
        }
        return true;
    }
    return false;
}

void MacroCompleter::keyAfter(const QKeyEvent* event) {
    const QString typed = event->text();
    const bool grew = !typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isSpace();
    if (grew || (popupVisible() && event->key() == Qt::Key_Backspace)) {
        offer(false);
    } else if (popupVisible() && !typed.isEmpty()) {
        m_completer->popup()->hide();
    }
}

bool MacroCompleter::offer(bool asked) {
    const QString line = m_field.line();
    const int cursor = m_field.cursor();
    const Completion completion =
        completionAt(toStdString(line), characterOf(line, cursor), Dictionary::builtIn());
    const QString prefix = toQString(completion.prefix);
    const bool complete = completion.words.size() == 1 &&
                          lowered(prefix) == toQString(completion.words.front()->name);
    // While the popup is open it follows what is typed, however short.
    const bool wanted = asked || popupVisible() ||
                        characterOf(prefix, static_cast<int>(prefix.size())) >= kLettersBeforeOffer;
    if (completion.words.empty() || !wanted || (complete && !asked)) {
        m_completer->popup()->hide();
        return false;
    }
    m_from = codeUnitOf(line, completion.start);
    m_model->clear();
    for (const Word* word : completion.words) {
        auto* item = new QStandardItem(toQString(signatureOf(*word, m_look.language())));
        item->setData(toQString(word->name), kWordRole);
        item->setToolTip(toQString(word->description.in(m_look.language())));
        m_model->appendRow(item);
    }
    QAbstractItemView* popup = m_completer->popup();
    popup->setCurrentIndex(m_model->index(0, 0));
    QRect place = m_field.cursorRect();
    place.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    m_completer->complete(place);
    return true;
}

bool MacroCompleter::popupVisible() const { return m_completer->popup()->isVisible(); }

void MacroCompleter::insert(const QModelIndex& index) {
    const QString name = index.data(kWordRole).toString();
    const Word* word = Dictionary::builtIn().command(toStdString(name));
    if (!word) word = Dictionary::builtIn().value(toStdString(name));
    // A word that takes arguments is followed by the blank before them.
    const bool blank = word && !word->arguments.empty();
    m_field.replace(m_from, m_field.cursor(), blank ? name + QLatin1Char(' ') : name);
}

QString MacroCompleter::descriptionAtCaret() const {
    const QString line = m_field.line();
    const std::string text = toStdString(line);
    const int column = characterOf(line, m_field.cursor());
    const Word* word = wordAt(text, column);
    // At the end of a word the caret stands just after it.
    if (!word && column > 0) word = wordAt(text, column - 1);
    if (!word) return {};
    return toQString(signatureOf(*word, m_look.language())) + QStringLiteral(": ") +
           toQString(word->description.in(m_look.language()));
}

}  // namespace vek::ui
