#include <ostream>

#include "app/file_io.h"
#include "cli/verbs.h"
#include "world/egg_disk.h"
#include "world/game_settings.h"
#include "world/world_files.h"

namespace vek::cli {

namespace {

int runWorld(Invocation& invocation) {
    const ArgumentList args(invocation.args, {});
    const auto& words = args.positional();
    if (words.empty()) throw UsageError{"missing arguments"};
    const std::string& mainPath = invocation.gamePaths().CMainPath;
    if (words[0] == "reset") {
        args.expectPositional(1, 1);
        resetWorld(mainPath);
    } else if (words[0] == "new") {
        args.expectPositional(2, 2);
        createNewWorld(mainPath, pathFromUtf8(words[1]));
    } else {
        throw UsageError{"unknown world command '" + words[0] + "'"};
    }
    return kSuccess;
}

int runEggs(Invocation& invocation) {
    const ArgumentList args(invocation.args, {"--to"});
    args.expectPositional(1, 1);
    const std::string& word = args.positional()[0];
    const EggDiskKindInfo* chosen = nullptr;
    for (const EggDiskKindInfo& info : kEggDiskKinds) {
        if (info.name == word) chosen = &info;
    }
    if (!chosen) throw UsageError{"unknown egg disk kind '" + word + "'"};
    const auto to = args.option("--to");
    const std::filesystem::path disk =
        to ? pathFromUtf8(*to) : floppyDrive(invocation.gamePathSources);
    writeEggDisk(chosen->kind, pathFromUtf8(invocation.gamePaths().CGeneticsPath), disk);
    return kSuccess;
}

int runGameSetting(Invocation& invocation) {
    const ArgumentList args(invocation.args, {});
    args.expectPositional(1, 1);
    const GameSetting* setting = findGameSetting(args.positional()[0]);
    if (!setting) throw UsageError{"unknown game setting '" + args.positional()[0] + "'"};
    writeGameSetting(*platformRegistryWriter(invocation.gamePathSources), *setting);
    return kSuccess;
}

}  // namespace

Verb worldVerb() {
    return {"world", "reset the game's world or write a new world file",
            "usage: vek world reset\n"
            "       vek world new OUT.SFC\n"
            "reset: the game's world.sfc is saved as OldWorld.sfc and replaced by eden.sfc\n"
            "(nothing changes when the backup cannot be written). A world equal to eden.sfc is\n"
            "not saved; the previous OldWorld.sfc moves to OldWorld1.sfc, the older ones on to\n"
            "OldWorld5.sfc. new: eden.sfc is copied to OUT.SFC (the game's world.sfc is backed\n"
            "up first). Both work on the game's main directory and refuse when it is unknown.\n",
            runWorld};
}

Verb eggsVerb() {
    return {"eggs", "write an egg disk for the game's hatchery",
            "usage: vek eggs game|grendel|nornel|grenorn [--to DIR]\n"
            "Writes header.dat, egg1 ... egg6 and the twelve genetics files of that kind from\n"
            "the game's genetics directory: game (the game's own eggs), grendel (Grendels only),\n"
            "nornel (Norn mums, Grendel dads), grenorn (Grendel mums, Norn dads). The disk is\n"
            "DIR, else the game's drive A: (--floppy DIR before the verb, VEK_FLOPPY_DIR, or the\n"
            "Wine prefix's dosdevices/a:). Every source is read first and the disk is built in a\n"
            "hidden folder, then moved into place: a failure leaves the old disk as it was.\n",
            runEggs};
}

Verb gameSettingVerb() {
    return {"game-setting", "switch the game's privilege or hatchery setting",
            "usage: vek game-setting pebble|marrow|tundra|lintel|none|more-eggs\n"
            "Writes the game's registry value for its next start: Privileges (pebble, marrow,\n"
            "tundra, lintel, none) for the current user, Eggstra (more-eggs) for the machine.\n"
            "Outside Windows the value goes into the Wine prefix's user.reg or system.reg.\n",
            runGameSetting};
}

}  // namespace vek::cli
