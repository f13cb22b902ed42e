#pragma once

#include <QPointer>
#include <array>

#include "app/ui/tool_windows.h"
#include "app/ui/vek_window.h"

class QMenu;
class QStatusBar;
class QToolButton;
class QButtonGroup;

namespace vek::ui {

class DesignedLayout;
class HelpWindow;

// TForm8: the button bar across the top of the screen, the one window whose closing ends the
// program. It owns the rule that at most one tool window is open from its button.
class MainWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext& context);
    ~MainWindow() override;

    // The creation step: settings, game paths, debug trace, start sound, script names, layout.
    void FormCreate(bool debugMode);
    // The button of a tool window, for the toggle group.
    QToolButton* toolButton(ToolWindowGroup::Tool tool) const { return m_toolButtons[tool]; }
    // Shows the German button down (start-up in German).
    void showLanguageButton(bool german);

    QStatusBar* statusBar1() const { return m_statusBar; }

  public Q_SLOTS:
    void SpeedButton1Click();   // sprite editor
    void SpeedButton2Click();   // object compiler
    void SpeedButton3Click();   // map of Albia
    void SpeedButton4Click();   // sound player
    void SpeedButton9Click();   // command interface
    void SpeedButton5Click();   // game settings menu
    void SpeedButton10Click();  // world menu
    void SpeedButton11Click();  // egg-disk menu
    void SpeedButton12Click();  // English
    void SpeedButton13Click();  // German
    void SpeedButton8Click();   // about
    void SpeedButton6Click();   // help
    void SpeedButton7Click();   // launcher object

  Q_SIGNALS:
    // The user chose a language: every window is to be re-captioned with this offset.
    void languageChosen(int languageOffset);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createButtons();
    void createPopupMenus();
    QToolButton* addButton(const char* name, int x, int tag, const QString& symbol,
                           void (MainWindow::*handler)());
    void switchLanguage(std::string_view language);
    void popUp(QMenu* menu, const QToolButton* button);
    void placeAtTopOfScreen();

    QStatusBar* m_statusBar = nullptr;
    DesignedLayout* m_layout = nullptr;
    QMenu* m_gameSettingsMenu = nullptr;  // PopupMenu1
    QMenu* m_eggMenu = nullptr;           // PopupMenu2
    QMenu* m_worldMenu = nullptr;         // PopupMenu3
    QButtonGroup* m_languageButtons = nullptr;
    std::array<QToolButton*, ToolWindowGroup::kToolCount> m_toolButtons{};
    QString m_savedTitle;
    std::unique_ptr<HelpWindow> m_help;
};

}  // namespace vek::ui
