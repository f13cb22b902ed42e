#include "app/ui/app_context.h"

#include "app/settings.h"

namespace vek::ui {

AppContext::AppContext(UserDialogs& userDialogs, GameInstallation& installedGame, VekIni& vekIni,
                       SoundOutput& soundOutput, std::filesystem::path programDirectory)
    : dialogs(userDialogs),
      game(installedGame),
      settings(vekIni),
      sound(soundOutput),
      files(std::move(programDirectory), vekIni.file()) {}

Answer AppContext::ask(const BilingualBox& box, Buttons buttons) const {
    return dialogs.message(text(box.text), text(box.caption), buttons);
}

}  // namespace vek::ui
