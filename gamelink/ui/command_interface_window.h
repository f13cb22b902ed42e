#pragma once

#include "app/ui/vek_window.h"
#include "language/checker.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace vek {
class TCreatures;
}

namespace vek::ui {

class MacroLineEdit;

// TForm10: "Creatures Online Command Interface". Sends the typed commands to the running game
// and shows its answer; its menu extracts every script of the game into macro files.
class CommandInterfaceWindow : public VekWindow {
    Q_OBJECT
  public:
    // `checking`: the options by which typed commands are checked (the script event table).
    CommandInterfaceWindow(AppContext& context, TCreatures& creatures, CheckOptions checking = {});

    // The creation step, run once at start-up after the window exists.
    void FormCreate();

    QLineEdit* edit1() const;
    MacroLineEdit* macroLine() const { return m_edit1; }
    QPlainTextEdit* memo1() const { return m_memo1; }
    QLabel* label3() const { return m_label3; }

  public Q_SLOTS:
    void Button1Click();                             // Send
    void Extractallmakrosandsaveasmakfiles1Click();  // macro extraction

  private:
    TCreatures& m_creatures;
    QLabel* m_label2 = nullptr;
    MacroLineEdit* m_edit1 = nullptr;
    QPushButton* m_button1 = nullptr;
    QLabel* m_label3 = nullptr;
    QPlainTextEdit* m_memo1 = nullptr;
    QMenu* m_macFiles1 = nullptr;
    QAction* m_extract = nullptr;
};

}  // namespace vek::ui
