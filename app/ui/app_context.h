#pragma once

#include <QString>
#include <filesystem>

#include "app/game_paths.h"
#include "app/messages.h"
#include "app/ui/commands.h"
#include "app/ui/program_files.h"
#include "app/ui/session_look.h"
#include "app/ui/startup_state.h"
#include "app/ui/user_dialogs.h"

namespace vek {
class VekIni;
}  // namespace vek

namespace vek::ui {

class SoundOutput;

// The services the whole program shares for the run, each with its own state and operations:
// the dialogs, the installed game, the settings, the sound, the program's files, the session's
// language and look, the start-up state, and the commands by which windows reach each other.
// Owned by the composition root; every window holds a reference.
struct AppContext {
    // The recent files are kept beside VEK.INI.
    AppContext(UserDialogs& userDialogs, GameInstallation& installedGame, VekIni& vekIni,
               SoundOutput& soundOutput, std::filesystem::path programDirectory);

    UserDialogs& dialogs;
    GameInstallation& game;
    VekIni& settings;
    SoundOutput& sound;
    ProgramFiles files;
    SessionLook look;
    StartupState startup;
    Commands commands;

    // The text of a bilingual message in the session's language.
    QString text(const Bilingual& message) const { return look.text(message); }
    // A message box in the session's language.
    Answer ask(const BilingualBox& box, Buttons buttons) const;
};

}  // namespace vek::ui
