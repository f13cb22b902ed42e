#pragma once

#include <QPointer>
#include <array>

#include "app/ui/vek_window.h"

class QMenu;
class QStatusBar;
class QToolButton;
class QButtonGroup;

namespace vek::ui {

class DesignedLayout;
class HelpWindow;

// The five windows of the toggle group, and the about window, which a toggle closes too.
struct ToolWindows {
    VekWindow* map = nullptr;
    VekWindow* soundPlayer = nullptr;
    VekWindow* objectCompiler = nullptr;
    VekWindow* spriteEditor = nullptr;
    VekWindow* commandInterface = nullptr;
    VekWindow* about = nullptr;
};

// TForm8: the button bar across the top of the screen, the one window whose closing ends the
// program. It owns the rule that at most one tool window is open from its button.
class MainWindow : public VekWindow {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext& context);
    ~MainWindow() override;

    // The creation step: settings, game paths, debug trace, start sound, script names, layout.
    void FormCreate(bool debugMode);
    // Ties the five tool windows to their buttons; run once all windows exist.
    void attachToolWindows(const ToolWindows& windows);
    // Shows the German button down (start-up in German).
    void showLanguageButton(bool german);

    QStatusBar* statusBar1() const { return m_statusBar; }
    // Brings up the object compiler by its button, unless the button is down already.
    void showObjectCompiler();
    // The same for the sprite editor.
    void showSpriteEditor();

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
    // One of the five windows of the toggle group.
    struct ToolWindow {
        QToolButton* button = nullptr;
        VekWindow* window = nullptr;
        bool open = false;  // the tool-window flag: opened from its button
        bool placeUnderMainWindow = true;
    };
    enum ToolIndex {
        kMap,
        kSoundPlayer,
        kObjectCompiler,
        kSpriteEditor,
        kCommandInterface,
        kToolCount
    };

    void createButtons();
    void createPopupMenus();
    QToolButton* addButton(const char* name, int x, int tag, const QString& symbol,
                           void (MainWindow::*handler)());
    void toggle(ToolIndex index);
    void showTool(ToolIndex index);
    void switchLanguage(std::string_view language);
    void popUp(QMenu* menu, const QToolButton* button);
    void placeAtTopOfScreen();

    QStatusBar* m_statusBar = nullptr;
    DesignedLayout* m_layout = nullptr;
    QMenu* m_gameSettingsMenu = nullptr;  // PopupMenu1
    QMenu* m_eggMenu = nullptr;           // PopupMenu2
    QMenu* m_worldMenu = nullptr;         // PopupMenu3
    QButtonGroup* m_languageButtons = nullptr;
    std::array<ToolWindow, kToolCount> m_tools{};
    VekWindow* m_about = nullptr;
    QString m_savedTitle;
    std::unique_ptr<HelpWindow> m_help;
};

}  // namespace vek::ui
