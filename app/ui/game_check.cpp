#include "app/ui/game_check.h"

#include "app/game_paths.h"
#include "app/text_names.h"
#include "app/ui/app_context.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kGameNotInstalled{Msg::GameNotInstalledText, Msg::GameNotInstalledCaption};

}  // namespace

bool checkGameInstalled(AppContext& context) {
    const bool pathsRead = !context.game.paths().CMainPath.empty();
    const bool quit = !pathsRead && context.ask(kGameNotInstalled, Buttons::OkCancel) == Answer::Ok;
    context.startup.recordGameCheck(pathsRead, quit);
    return pathsRead;
}

}  // namespace vek::ui
