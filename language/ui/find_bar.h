#pragma once

#include <QTextCursor>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "app/text_search.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vek::ui {

class SessionLook;

// The bar under a text box that finds, replaces and goes to a line. Finding reads the box; a
// replacement is handed to the owner of the text as the whole new text and the label of its
// step, so that each Replace is one undo step and Replace All one step too.
class FindBar : public QWidget {
    Q_OBJECT
  public:
    using Replacer = std::function<void(const std::string& text, const Bilingual& label)>;
    FindBar(const SessionLook& look, QPlainTextEdit* editor, Replacer replace, QWidget* parent);

    // Ctrl+F, Ctrl+H, F3, Shift+F3 and Ctrl+G while the focus is in `scope` or inside it: the
    // actions "FindAction", "ReplaceAction", "GoToLineAction", "FindNextAction" and
    // "FindPreviousAction" of `scope`, which a menu may carry too.
    void bindKeys(QWidget* scope);
    // Ctrl+F: the find line, holding the selected text of one line if there is one.
    void showFind();
    // Ctrl+H: the find line and the replace line.
    void showReplace();
    // Ctrl+G: the line number field alone.
    void showGoToLine();
    // Selects the next (previous) match, going round the text; false when there is none.
    bool findNext();
    bool findPrevious();
    // Replaces the selected match and selects the next one; selects the next match first when
    // the selection is none.
    bool replaceOne();
    // Replaces every match as one step; returns how many.
    std::size_t replaceAll();
    // Moves the caret to the line in the line number field; false when the text has no such line.
    bool goToLine();
    // The note beside the fields: which match is selected of how many ("3 of 17"), a search
    // without a match, the count of a Replace All.
    QString note() const;
    // How many matches the text holds while the bar is shown.
    std::size_t matchCount() const { return m_matches.size(); }
    void retranslate();

  Q_SIGNALS:
    // One of the bound actions is about to act: the owner brings the text into view.
    void wanted();
    // Every match of the word looked for, while the bar is shown; none once it is hidden.
    void matchesMarked(const QList<QTextCursor>& matches);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    SearchOptions options() const;
    bool find(bool backwards);
    void select(const std::string& text, const TextMatch& match);
    void showRows(bool find, bool replace, bool line);
    void setNote(BilingualText text);
    // Finds every match again and marks them; the note tells the selected one's place.
    void refreshMatches();
    void notePlace();

    const SessionLook& m_look;
    QPlainTextEdit* m_editor;
    Replacer m_replace;
    QWidget* m_findRow = nullptr;
    QWidget* m_replaceRow = nullptr;
    QWidget* m_optionsRow = nullptr;
    QWidget* m_lineRow = nullptr;
    QLabel* m_findLabel = nullptr;
    QLineEdit* m_findField = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceField = nullptr;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
    QLabel* m_lineLabel = nullptr;
    QLineEdit* m_lineField = nullptr;
    QLabel* m_lineNote = nullptr;
    QPushButton* m_close = nullptr;
    BilingualText m_noteText;
    // In the box's text as last searched: the first position of each and the one after it.
    std::vector<std::pair<int, int>> m_matches;
};

}  // namespace vek::ui
