#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>

#include "language/completion.h"

class QCompleter;
class QKeyEvent;
class QLabel;
class QModelIndex;
class QStandardItemModel;
class QWidget;

namespace vek::ui {

class SessionLook;

// Completion of the language's words and the description of the word at the caret for a text
// field: Ctrl+Space or four letters typed offer the words that fit, each shown with its
// arguments; while arguments are typed, a hint beside the caret names them, the one at the caret
// in bold; F1 shows what the word at the caret does.
class MacroCompleter : public QObject {
    Q_OBJECT
  public:
    // What the completer needs of its field; positions are UTF-16 units of the current line.
    struct Field {
        std::function<QString()> line;
        std::function<int()> cursor;
        std::function<void(int from, int to, const QString& text)> replace;
        std::function<QRect()> cursorRect;
    };

    MacroCompleter(QWidget* editor, const SessionLook& look, Field field);

    // Call first in the field's key handler: true when the key was the completer's.
    bool keyBefore(QKeyEvent* event);
    // Call after the field took a key: offers completion when a word grew to four letters.
    void keyAfter(const QKeyEvent* event);

    // Shows the words that fit at the caret; `asked` shows them even for a short word. False
    // when nothing fits.
    bool offer(bool asked);
    bool popupVisible() const;
    QCompleter* completer() const { return m_completer; }
    // "doif condition: Runs …" for the word at the caret; empty where there is none.
    QString descriptionAtCaret() const;
    // "setv variable <b>decimal</b>" for the argument at the caret; empty where there is none.
    QString argumentHintAtCaret() const;
    QLabel* argumentHint() const { return m_hint; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void insert(const QModelIndex& index);
    void showArgumentHint();

    QWidget* m_editor;
    const SessionLook& m_look;
    Field m_field;
    QCompleter* m_completer;
    QStandardItemModel* m_model;
    QLabel* m_hint;
    int m_from = 0;  // units: where the word being completed begins
};

}  // namespace vek::ui
