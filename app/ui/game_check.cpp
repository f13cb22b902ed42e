#include "app/ui/game_check.h"

#include "app/game_paths.h"
#include "app/ui/app_context.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kGameNotInstalled{
    {"Install Creatures before using VEK!",
     "Sie muessen Creatures installieren bevor Sie mit VEK arbeiten koennen!"},
    {"Creatures not found on your HD!", "Creatures nicht auf Festplatte gefunden!"}};

}  // namespace

bool checkGameInstalled(AppContext& context) {
    context.pathsRead = !context.game.paths().CMainPath.empty();
    if (!context.pathsRead && context.ask(kGameNotInstalled, Buttons::OkCancel) == Answer::Ok) {
        context.quitAfterStartup = true;
    }
    return context.pathsRead;
}

}  // namespace vek::ui
