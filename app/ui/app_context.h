#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "app/file_lookup.h"
#include "app/game_paths.h"
#include "app/messages.h"
#include "app/recent_files.h"
#include "app/rgb_image.h"
#include "app/ui/commands.h"
#include "app/ui/user_dialogs.h"

namespace vek {
class VekIni;
}  // namespace vek

namespace vek::ui {

class SoundOutput;

// What the whole program shares for the run: the dialogs, the installed game, the settings, the
// start-up state and the commands by which windows reach each other. Owned by the composition
// root; every window holds a reference.
struct AppContext {
    // The recent files are kept beside VEK.INI.
    AppContext(UserDialogs& userDialogs, GameInstallation& installedGame, VekIni& vekIni,
               SoundOutput& soundOutput, std::filesystem::path programDir);

    UserDialogs& dialogs;
    GameInstallation& game;
    VekIni& settings;
    SoundOutput& sound;
    std::filesystem::path programDirectory;  // vek.wav, rpsw.kev, classes.vek, mac/, help/ ...
    RecentFiles recent;

    std::string language{kLanguageEnglish};  // "english" or "deutsch"
    ScreenColor spriteBackground = 0xFFFFFF;
    bool debugMode = false;
    bool pathsRead = false;         // false when the game is not installed and the user went on
    bool quitAfterStartup = false;  // the user chose to quit at the installed-game check
    Commands commands;

    // Where start-up trace texts go, and what ends the trace; installed by the main window.
    std::function<void(const QString&)> traceSink;
    std::function<void()> traceEnd;

    // Shows a start-up trace text; only debug mode shows them.
    void trace(const QString& text) const {
        if (debugMode && traceSink) traceSink(text);
    }
    // The last step of start-up, in any mode: the main window shows its designed title again.
    void endTrace() const {
        if (traceEnd) traceEnd();
    }

    // The text of a bilingual message in the current language.
    QString text(const Bilingual& message) const;
    // A message box in the current language.
    Answer ask(const BilingualBox& box, Buttons buttons) const;
    // The directory of a game path as the file dialogs want it.
    QString gameDirectory(const std::string& gamePath) const;
    // The folder a dialog for this kind of file starts in: the one last used, else `fallback`.
    QString startFolder(RecentKind kind, const QString& fallback) const;
    // A file of this kind was opened or written.
    void remember(RecentKind kind, const QString& file);
    // The program directory's file or folder of that name, in whatever letter case it has.
    std::filesystem::path programFile(std::string_view name) const {
        return findIgnoringCase(programDirectory, name);
    }
};

}  // namespace vek::ui
