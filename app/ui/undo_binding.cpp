#include "app/ui/undo_binding.h"

#include <QAbstractUndoItem>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>
#include <optional>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/undo_stack.h"

namespace vek::ui {

namespace {

// "Undo Delete Script" and "Rückgängig: Script löschen"; the bare command without a step.
BilingualText captionOf(const Bilingual& command, const std::optional<Bilingual>& step) {
    BilingualText caption{std::string(command.english), std::string(command.german)};
    if (step) {
        caption.english.append(" ").append(step->english);
        caption.german.append(": ").append(step->german);
    }
    return caption;
}

class UndoItems final : public QObject {
  public:
    UndoItems(QMenu* menu, UndoStack& stack, AppContext& context)
        : QObject(menu),
          m_stack(stack),
          m_context(context),
          m_undo(addBilingualItem(menu, "Undo1", Msg::UndoCaption)),
          m_redo(addBilingualItem(menu, "Redo1", Msg::RedoCaption)),
          m_observation(stack.observe([this](const UndoStackChange&) { refresh(); })) {
        m_undo->setShortcut(QKeySequence::Undo);
        m_redo->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
        connect(m_undo, &QAction::triggered, this,
                [this] { runGuarded(m_context, [this] { m_stack.undo(); }); });
        connect(m_redo, &QAction::triggered, this,
                [this] { runGuarded(m_context, [this] { m_stack.redo(); }); });
        refresh();
    }

  private:
    void refresh() {
        setBilingualCaption(m_undo, captionOf(Msg::UndoCaption, m_stack.undoLabel()),
                            m_context.look.language());
        setBilingualCaption(m_redo, captionOf(Msg::RedoCaption, m_stack.redoLabel()),
                            m_context.look.language());
        m_undo->setEnabled(m_stack.canUndo());
        m_redo->setEnabled(m_stack.canRedo());
    }

    UndoStack& m_stack;
    AppContext& m_context;
    QAction* m_undo;
    QAction* m_redo;
    Subscription m_observation;
};

class TextUndoBinding;

// One entry of the text box's own history: it runs the stack's step at the same place.
class StackProxy final : public QAbstractUndoItem {
  public:
    explicit StackProxy(TextUndoBinding* binding) : m_binding(binding) {}
    void undo() override;
    void redo() override;

  private:
    TextUndoBinding* m_binding;
};

// Keeps the text document's history one proxy per step of the stack, the box's own edits taken
// out again as soon as the document has them as steps.
class TextUndoBinding final : public QObject {
  public:
    TextUndoBinding(QPlainTextEdit* box, UndoStack& stack, const AppContext& context)
        : QObject(box),
          m_text(box->document()),
          m_stack(stack),
          m_context(context),
          m_observation(stack.observe([this](const UndoStackChange&) { rebuild(); })) {
        connect(m_text, &QTextDocument::contentsChanged, this, &TextUndoBinding::rebuild);
        rebuild();
    }
    ~TextUndoBinding() override {
        // No proxy may outlive the binding it calls.
        if (QTextDocument* text = m_text.data()) text->clearUndoRedoStacks();
    }

    void replay(bool forward) {
        if (m_rebuilding) return;
        m_replaying = true;
        // Nothing may be thrown through the text document's own undo.
        runGuarded(m_context, [this, forward] { forward ? m_stack.redo() : m_stack.undo(); });
        m_replaying = false;
    }

  private:
    void rebuild() {
        // While a proxy runs, the document moves its own history by one, as the stack does.
        if (m_replaying || m_rebuilding) return;
        // Setting a whole text switches the history off for a moment; it is rebuilt after.
        if (!m_text->isUndoRedoEnabled()) {
            QTimer::singleShot(0, this, &TextUndoBinding::rebuild);
            return;
        }
        m_rebuilding = true;
        // The proxies change no text: the box is not told of a change.
        const QSignalBlocker quiet(m_text);
        m_text->clearUndoRedoStacks();
        const std::size_t total = m_stack.undoCount() + m_stack.redoCount();
        for (std::size_t k = 0; k < total; ++k) m_text->appendUndoItem(new StackProxy(this));
        for (std::size_t k = 0; k < m_stack.redoCount(); ++k) m_text->undo();
        m_rebuilding = false;
    }

    QPointer<QTextDocument> m_text;
    UndoStack& m_stack;
    const AppContext& m_context;
    Subscription m_observation;
    bool m_replaying = false;
    bool m_rebuilding = false;
};

void StackProxy::undo() { m_binding->replay(false); }
void StackProxy::redo() { m_binding->replay(true); }

}  // namespace

void addUndoItems(QMenu* menu, UndoStack& stack, AppContext& context) {
    new UndoItems(menu, stack, context);
}

void bindTextUndo(QPlainTextEdit* box, UndoStack& stack, const AppContext& context) {
    new TextUndoBinding(box, stack, context);
}

namespace {

class UndoKeysToWindow final : public QObject {
  public:
    explicit UndoKeysToWindow(QObject* parent) : QObject(parent) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Left unaccepted, the keys reach the window's shortcuts.
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void routeUndoKeysToWindow(QWidget* field) {
    field->installEventFilter(new UndoKeysToWindow(field));
}

void mirrorText(QPlainTextEdit* box, const QString& text) {
    const QString shown = box->toPlainText();
    if (shown == text) return;
    const qsizetype shorter = std::min(shown.size(), text.size());
    qsizetype prefix = 0;
    while (prefix < shorter && shown[prefix] == text[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           shown[shown.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    // Surrogate pairs are replaced whole.
    if (prefix > 0 && shown[prefix - 1].isHighSurrogate()) --prefix;
    if (suffix > 0 && shown[shown.size() - suffix].isLowSurrogate()) --suffix;
    QTextCursor cursor(box->document());
    cursor.setPosition(static_cast<int>(prefix));
    cursor.setPosition(static_cast<int>(shown.size() - suffix), QTextCursor::KeepAnchor);
    cursor.insertText(text.mid(prefix, text.size() - prefix - suffix));
    box->setTextCursor(cursor);
}

}  // namespace vek::ui
