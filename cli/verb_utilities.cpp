#include <ostream>

#include "cli/verbs.h"
#include "utilities/sound_directory.h"
#include "utilities/sys_info.h"

namespace vek::cli {

namespace {

int runSounds(Invocation& invocation) {
    ArgumentList(invocation.args, {}).expectPositional(0, 0);
    for (const std::string& name : soundDirectoryFiles(invocation.gamePaths().CSoundPath))
        invocation.out << name << "\n";
    return kSuccess;
}

int runReport(Invocation& invocation) {
    ArgumentList(invocation.args, {}).expectPositional(0, 0);
    const GamePaths& paths = invocation.gamePaths();
    const auto facts = platformSystemFacts(invocation.gamePathSources.winePrefix, paths.CMainPath);
    const TSysInfo info(*facts);
    for (const std::string& line : systemReport(info, facts->memory(), facts->drives(), paths))
        invocation.out << line << "\n";
    return kSuccess;
}

}  // namespace

Verb soundsVerb() {
    return {"sounds", "list the game's sound files",
            "usage: vek sounds\nThe files of the game's sound directory, one a line.\n", runSounds};
}

Verb reportVerb() {
    return {"report", "print the system report for bug reports",
            "usage: vek report\n"
            "User, machine, memory, drives and the game's paths, as the about window shows them\n"
            "in debug mode.\n",
            runReport};
}

}  // namespace vek::cli
