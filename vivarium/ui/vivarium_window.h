#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;
class QSpinBox;
class QTimer;
class QTreeWidget;

namespace vek::vivarium {
class Session;
}

namespace vek::ui {

class HelpWindow;
class ScriptView;
class SpritePictures;
class WorldView;

// "Vivarium": the stand-in world, shown and run. Its tick timer is its own; the world's state
// lives in a vivarium::Session.
class VivariumWindow : public VekWindow {
    Q_OBJECT
  public:
    // The background of the installation (its back.spr at full size); nothing when it has none.
    using BackgroundSource = std::function<std::optional<RgbImage>()>;

    VivariumWindow(AppContext& context, const PaletteTable& palette, BackgroundSource background);
    ~VivariumWindow() override;

    // A fresh world on the installation's sprites and background.
    void resetWorld();
    void run();
    void pause();
    void stepOneTick();
    // One command of the held script, or of the selected object's when none is held.
    void stepCommand();
    // The breakpoint on the script view's current command row, on or off.
    void toggleBreakpoint();
    // The object whose row is selected in the list; 0 when none is.
    int selectedObject() const;
    // A quarter to four times the game's speed.
    void setSpeed(double factor);
    // In percent, 25 to 400.
    void setZoom(int percent);
    void retranslate();

    vivarium::Session& session() { return *m_session; }
    bool running() const;
    WorldView* view() const { return m_view; }
    ScriptView* scriptView() const { return m_scriptView; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void showWorld();
    void showObjects();
    void showLog();
    void showHelpPage();
    // After the world went on: a held command pauses the clock and selects its object.
    void stopAtHeldCommand();
    // Selects an object's row in the list, when it still lives.
    void selectObject(int object);
    int timerInterval() const;

    const PaletteTable& m_palette;
    BackgroundSource m_background;
    std::unique_ptr<vivarium::Session> m_session;
    std::unique_ptr<SpritePictures> m_pictures;
    std::unique_ptr<HelpWindow> m_help;
    bool m_hasBackground = false;
    double m_speed = 1.0;
    std::size_t m_logShown = 0;

    QTimer* m_timer = nullptr;
    QScrollArea* m_scroll = nullptr;
    WorldView* m_view = nullptr;
    QTreeWidget* m_objects = nullptr;
    QListWidget* m_log = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_note = nullptr;
    QComboBox* m_speedChoice = nullptr;
    QSpinBox* m_zoomChoice = nullptr;
    QLabel* m_speedLabel = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QLabel* m_objectsTitle = nullptr;
    QLabel* m_logTitle = nullptr;
    QAction* m_run = nullptr;
    QAction* m_pause = nullptr;
    QAction* m_step = nullptr;
    QAction* m_reset = nullptr;
    QAction* m_stepCommand = nullptr;
    QAction* m_breakpoint = nullptr;
    ScriptView* m_scriptView = nullptr;
    QAction* m_helpAction = nullptr;
};

}  // namespace vek::ui
