#pragma once

class QMenu;
class QPlainTextEdit;
class QString;
class QWidget;

namespace vek {
class UndoStack;
}

namespace vek::ui {

struct AppContext;

// Undo and Redo items (Undo1, Redo1) of an Edit menu, bound to a document's undo stack: they
// name the step they would run ("Undo Delete Script", "Rückgängig: Script löschen") in the
// interface language, are enabled while there is one, and take the usual shortcuts.
void addUndoItems(QMenu* menu, UndoStack& stack, AppContext& context);

// Makes a text box's own undo and redo (its keys, its context menu, its slots) run the
// document's undo stack, so that the box and the document keep one history.
void bindTextUndo(QPlainTextEdit* box, UndoStack& stack, const AppContext& context);

// A line field's undo and redo keys go to its window's Edit menu rather than to the field's own
// history, which the document's stack replaces.
void routeUndoKeysToWindow(QWidget* field);

// Shows `text` in the box, changing only the part that differs; the caret goes after that part.
void mirrorText(QPlainTextEdit* box, const QString& text);

}  // namespace vek::ui
