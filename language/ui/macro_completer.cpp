#include "language/ui/macro_completer.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStringList>
#include <QToolTip>

#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "language/checker.h"
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
      m_model(new QStandardItemModel(this)),
      m_hint(new QLabel(editor, Qt::ToolTip)) {
    m_completer->setObjectName(QStringLiteral("MacroCompleter"));
    m_completer->setModel(m_model);
    m_completer->setWidget(editor);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            &MacroCompleter::insert);

    m_hint->setObjectName(QStringLiteral("ArgumentHint"));
    m_hint->setTextFormat(Qt::RichText);
    m_hint->setPalette(QToolTip::palette());
    m_hint->setFont(QToolTip::font());
    m_hint->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_hint->setMargin(2);
    // A click moves the caret and leaving the field ends the typing: the hint goes with both.
    editor->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(editor))
        area->viewport()->installEventFilter(this);
}

bool MacroCompleter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusOut || type == QEvent::Hide || type == QEvent::MouseButtonPress)
        m_hint->hide();
    return QObject::eventFilter(watched, event);
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
    if (event->key() == Qt::Key_Escape && m_hint->isVisible()) {
        m_hint->hide();
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
    showArgumentHint();
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
    showArgumentHint();
}

void MacroCompleter::showArgumentHint() {
    const QString hint = popupVisible() ? QString() : argumentHintAtCaret();
    if (hint.isEmpty()) return m_hint->hide();
    m_hint->setText(hint);
    m_hint->adjustSize();
    QPoint place = m_editor->mapToGlobal(m_field.cursorRect().bottomLeft() + QPoint(0, 2));
    // A caret near the screen's right edge: the hint ends at the edge rather than beyond it.
    if (const QScreen* screen = m_editor->screen()) {
        const QRect room = screen->availableGeometry();
        place.setX(std::max(room.left(), std::min(place.x(), room.right() + 1 - m_hint->width())));
    }
    m_hint->move(place);
    m_hint->show();
}

QString MacroCompleter::argumentHintAtCaret() const {
    const QString line = m_field.line();
    const ArgumentPlace place =
        argumentAt(toStdString(line), characterOf(line, m_field.cursor()), Dictionary::builtIn());
    if (!place.word) return {};
    QStringList parts{toQString(place.word->name).toHtmlEscaped()};
    for (std::size_t k = 0; k < place.word->arguments.size(); ++k) {
        const QString name = toQString(argumentName(*place.word, k, m_look.language()));
        parts << (static_cast<int>(k) == place.index ? QStringLiteral("<b>%1</b>").arg(name)
                                                     : name);
    }
    return parts.join(QLatin1Char(' '));
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
