#include "app/ui/game_check.h"

#include "app/game_paths.h"
#include "app/text_names.h"
#include "app/ui/app_context.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kGameNotInstalled{Msg::GameNotInstalledText, Msg::GameNotInstalledCaption};

}  // namespace

bool checkGameInstalled(AppContext& context) {
    context.pathsRead = !context.game.paths().CMainPath.empty();
    if (!context.pathsRead && context.ask(kGameNotInstalled, Buttons::OkCancel) == Answer::Ok) {
        context.quitAfterStartup = true;
    }
    return context.pathsRead;
}

}  // namespace vek::ui
