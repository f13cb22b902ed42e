#pragma once

#include <QPoint>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/rgb_image.h"
#include "app/ui/vek_window.h"
#include "sprites/palette.h"
#include "vivarium/scene.h"

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

    // Moves the object compiler's source page caret to a line and column (from 1) and brings
    // the compiler up.
    using SourcePlaceShower = std::function<void(int line, int column)>;

    VivariumWindow(AppContext& context, const PaletteTable& palette, BackgroundSource background);
    ~VivariumWindow() override;

    // The names of the class catalogue, for the object list.
    void setClassNames(vivarium::ClassNames names) { m_classNames = std::move(names); }
    // The installation's chemicals' names, for the stimuli that reach the creature.
    void setChemicalNames(std::vector<std::string> names);
    // Where a log row of an object from the object compiler's source page goes.
    void setSourcePlaceShower(SourcePlaceShower shower) { m_showSourcePlace = std::move(shower); }

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
    // "Save world…" and "Load world…": a world file (vivarium/world_file.h) chosen in a dialog.
    void saveWorld();
    void loadWorld();
    // A row of the log chosen (double click, Enter): its object is selected and, when it came
    // from the object compiler's source page, the caret goes to its place there.
    void goToLogRow(int row);
    // "Inject file…": an object file or a source chosen in a dialog, injected as the object
    // compiler injects it; the status line tells where the object went and what the world said.
    void injectFile();
    void injectObjectFile(const QString& file);
    // Ctrl and the wheel: a zoom step in (above 0) or out that keeps the world point under a
    // point of the view where it is.
    void zoomAt(int steps, QPoint viewPoint);
    void retranslate();
    // "Place creature": the next click on the world puts it there.
    void placeCreature();

    vivarium::Session& session() { return *m_session; }
    bool running() const;
    WorldView* view() const { return m_view; }
    ScriptView* scriptView() const { return m_scriptView; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    // The creature's menu: an order for the object at a world point, else the nearest.
    void showCreatureMenu(QPoint worldPoint, QPoint screenPoint);
    // The session on the installation at `images`; a bare one where its map file is refused.
    std::unique_ptr<vivarium::Session> makeSession(const std::filesystem::path& images);
    void worldChanged();
    void showWorld();
    void showObjects();
    void showLog();
    void showHelpPage();
    // After the world went on: a held command pauses the clock and selects its object.
    void stopAtHeldCommand();
    // The world going on (a tick or a step), then stopping where it holds or faulted.
    void goOn(const std::function<void()>& step);
    // With "Stop on a fault": the first fault logged from `logged` on pauses the world, selects
    // its object and marks the faulting command in its script.
    void stopAtFault(std::size_t logged);
    // Going on: the fault that stopped the world is no longer marked.
    void clearFaultMark();
    // The second row: inject, place the creature, and the switches rooms and stop on a fault.
    void buildSwitches();
    // A new view on the session, told of the window's switches.
    void connectView(WorldView* view);
    // The selected object framed in the view and scrolled to.
    void followSelectedObject();
    // Selects an object's row in the list, when it still lives.
    void selectObject(int object);
    int timerInterval() const;
    // Plays the sounds that happened since the last call, each name once, while the world runs
    // at most at the game's speed or goes tick by tick; faster, they are passed over.
    void playNewSounds();
    QString worldFolder() const;

    const PaletteTable& m_palette;
    BackgroundSource m_background;
    std::vector<std::string> m_chemicalNames;
    vivarium::ClassNames m_classNames;
    SourcePlaceShower m_showSourcePlace;
    std::unique_ptr<vivarium::Session> m_session;
    std::unique_ptr<SpritePictures> m_pictures;
    std::unique_ptr<HelpWindow> m_help;
    bool m_hasBackground = false;
    double m_speed = 1.0;
    std::uint64_t m_worldShown = 0;  // the session's world whose log the rows show
    std::size_t m_logShown = 0;
    std::size_t m_logHeard = 0;  // the log's happenings whose sounds were played or passed over
    QString m_worldFile;         // the world file last saved or loaded
    // What the last injection of a file did, in the language of the moment; none before one.
    std::function<QString()> m_injected;
    int m_faulted = 0;  // the object whose fault stopped the world; 0 for none

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
    QAction* m_saveWorld = nullptr;
    QAction* m_loadWorld = nullptr;
    QAction* m_placeCreature = nullptr;
    QAction* m_helpAction = nullptr;
    QAction* m_injectFile = nullptr;
    QAction* m_showRooms = nullptr;
    QAction* m_stopOnFault = nullptr;
};

}  // namespace vek::ui
