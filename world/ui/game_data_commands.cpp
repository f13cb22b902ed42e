#include "world/ui/game_data_commands.h"

#include "app/file_io.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/qt_convert.h"
#include "world/world_files.h"

namespace vek::ui {

namespace {

// An unknown game folder is said before any question, so nothing is asked in vain.
bool gameFolderKnown(const AppContext& context, const std::string& path,
                     std::string_view valueName) {
    return runGuarded(context, [&] { knownGameFolder(path, valueName); });
}

}  // namespace

void resetWorldCommand(AppContext& context, bool gameAnswers) {
    if (!gameFolderKnown(context, context.game.paths().CMainPath, kMainDirectoryValue)) return;
    if (gameAnswers && context.ask(kGameRunningWorldWarning, Buttons::OkCancel) != Answer::Ok)
        return;
    if (context.ask(kResetWorldQuestion, Buttons::OkCancel) != Answer::Ok) return;
    runGuarded(context, [&context] { resetWorld(context.game.paths().CMainPath); });
}

void createNewWorldCommand(AppContext& context) {
    const std::string& mainPath = context.game.paths().CMainPath;
    if (!gameFolderKnown(context, mainPath, kMainDirectoryValue)) return;
    const auto target = context.dialogs.saveFile(context.text(kNewWorldDialogTitle),
                                                 toQString(mainPath), QStringLiteral("*.SFC"),
                                                 QStringLiteral("SFC"), QStringLiteral("*.SFC"));
    if (!target) return;
    runGuarded(context, [&] { createNewWorld(mainPath, toPath(*target)); });
}

void writeEggDiskCommand(AppContext& context, EggDiskKind kind, const GamePathSources& sources) {
    if (!gameFolderKnown(context, context.game.paths().CGeneticsPath, kGeneticsDirectoryValue))
        return;
    std::filesystem::path disk;
    // Without a drive A: there is no disk to ask for.
    if (!runGuarded(context, [&] { disk = floppyDrive(sources); })) return;
    if (context.ask(eggDiskKindInfo(kind).question, Buttons::OkCancel) != Answer::Ok) return;
    runGuarded(context,
               [&] { writeEggDisk(kind, pathFromUtf8(context.game.paths().CGeneticsPath), disk); });
}

void writeGameSettingCommand(AppContext& context, RegistryWriter& registry,
                             const GameSetting& setting) {
    runGuarded(context, [&] { writeGameSetting(registry, setting); });
}

}  // namespace vek::ui
