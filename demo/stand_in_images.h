#pragma once

#include <filesystem>
#include <string>

#include "app/game_paths.h"

namespace vek::demo {

// The sprite files a stand-in world runs on, and where they were found.
struct StandInImages {
    std::filesystem::path directory;
    // In words for a report: "--game-dir", "VEK_GAME_DIR", "the game's key in the Wine prefix
    // DIR", or the demo installation where no game is known.
    std::string source;
    bool isDemo = false;  // the demo installation's, where no game is known
};

// The installation's image directory as the game's paths give it; where the game is not known,
// or its image directory is not there, the demo installation's (made when it is not there yet).
// A --game-dir that does not exist throws.
StandInImages standInImages(const GamePathSources& sources);

}  // namespace vek::demo
