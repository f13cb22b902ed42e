#include <filesystem>
#include <ostream>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "cli/verbs.h"
#include "utilities/sound_directory.h"
#include "utilities/sys_info.h"

namespace vek::cli {

namespace {

// An empty list must mean an empty folder, never a folder that is unknown or cannot be read.
void requireSoundDirectory(const std::string& soundPath) {
    if (soundPath.empty()) {
        throw VekError(Msg::SoundDirectoryUnknown);
    }
    const std::filesystem::path folder = pathFromUtf8(soundPath);
    std::error_code error;
    std::filesystem::directory_iterator probe(folder, error);
    if (error) {
        throw VekError(Msg::SoundDirectoryUnreadable,
                       ErrorDetail::ofFile(folder, systemReason(error)));
    }
}

int runSounds(Invocation& invocation) {
    ArgumentList(invocation.args, {}).expectPositional(0, 0);
    const std::string& soundPath = invocation.gamePaths().CSoundPath;
    requireSoundDirectory(soundPath);
    for (const std::string& name : soundDirectoryFiles(soundPath))
        invocation.lines() << name << "\n";
    return kSuccess;
}

int runReport(Invocation& invocation) {
    ArgumentList(invocation.args, {}).expectPositional(0, 0);
    const GamePaths& paths = invocation.gamePaths();
    const auto facts = platformSystemFacts(invocation.gamePathSources.winePrefix, paths.CMainPath);
    const TSysInfo info(*facts);
    for (const std::string& line : systemReport(info, facts->memory(), facts->drives(), paths))
        invocation.lines() << line << "\n";
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
