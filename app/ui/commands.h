#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vek::ui {

// A command by which one window reaches another. The composition root binds it to the window
// that carries it out; a command nobody has bound does nothing.
template <typename... Args>
class Command {
  public:
    void bind(std::function<void(Args...)> handler) { m_handler = std::move(handler); }
    bool bound() const { return static_cast<bool>(m_handler); }
    void operator()(Args... args) const {
        if (m_handler) m_handler(std::move(args)...);
    }

  private:
    std::function<void(Args...)> m_handler;
};

// The world, egg-disk and game-settings commands of the main window's pop-up menus and the
// sprite editor's menus.
struct GameDataCommands {
    Command<> resetWorld;
    Command<> createNewWorld;
    Command<> moreEggs;
    Command<> grendelEggDisk;
    Command<> nornelEggDisk;   // Norn mums, Grendel dads
    Command<> grenornEggDisk;  // Grendel mums, Norn dads
    Command<> enableMoreEggs;
    Command<> pebbleCheat;
    Command<> marrowCheat;
    Command<> pebbleCheatNewVersion;
    Command<> marrowCheatNewVersion;
    Command<> disableCheats;
};

// Every command by which windows reach each other. A window runs them through its context and
// never holds another window; the composition root binds them when it creates the windows.
struct Commands {
    // Windows that another window's menu shows.
    Command<> showSpriteFileCreator;
    Command<> showBitmapConverter;
    Command<> showNewObjectSource;
    Command<> showObjectAssistant;
    // The Add window, for the family or genus picked in the class catalogue.
    Command<> showAddClass;
    Command<> showHelp;
    Command<> showAbout;        // the about button's click: the sound, then the window
    Command<> openAboutWindow;  // the about window itself, modal
    // A tool window's button in the main window (ToolWindowGroup::Tool).
    Command<int> toggleToolWindow;

    // The object compiler's source page, showing these lines (the source generators), with the
    // compiler brought up by its launcher button; *shown (when given) is false where the user
    // kept a changed source instead.
    Command<std::vector<std::string>, bool*> showObjectSource;
    // A new object compiled from these lines and offered for saving (the object assistant);
    // `whenCompiled` runs afterwards unless the user kept a changed source or the compilation
    // failed.
    Command<std::vector<std::string>, std::function<void()>> compileAndOfferToSave;
    // Before the program closes: the question about a source changed but not saved.
    Command<> offerToSaveChangedSource;
    // The sprite editor, with this sprite file open.
    Command<std::filesystem::path> openSpriteFile;
    // The animation preview of a sprite file: its sprites from the first one given, played as
    // the animation string, or one after the other when the string is empty.
    Command<std::filesystem::path, std::size_t, std::string> showAnimationPreview;
    // The animation preview shows this sprite of this file now (the sprite editor marks it).
    Command<std::filesystem::path, std::size_t> previewFrameShown;
    // The sprites an animation string shows, counted from the first sprite given, in a file of
    // so many sprites: into *frames, and into *repeats whether it starts again. A string that is
    // not one, or that needs a sprite the file lacks, is thrown.
    Command<std::string, std::size_t, std::size_t, std::vector<std::size_t>*, bool*>
        planAnimationFrames;
    // Before the program closes: the question about a changed sprite; sets *stay when the user
    // chose to stay.
    Command<bool*> offerToSaveChangedSprite;

    // The game link.
    Command<> putLauncherObject;
    Command<> testConnection;   // says so when the game does not answer
    Command<> probeConnection;  // the same, silently
    Command<> launchCreatures;

    // The main window's start-up step that fills the script names.
    Command<> createScriptList;

    // The Vivarium window, beside whatever tool window is open.
    Command<> showVivarium;

    GameDataCommands gameData;
};

}  // namespace vek::ui
