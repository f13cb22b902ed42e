#pragma once

#include <set>

#include "app/game_paths.h"
#include "app/settings.h"
#include "language/checker.h"
#include "language/installation_rules.h"

namespace vek {

// The sprite files (with their sprite counts) and sounds of an installation, for the checker.
// A folder that cannot be read leaves its part unknown, so that nothing is reported missing
// from it; a sprite file whose table cannot be read counts as holding no sprites.
InstallationFacts readInstallationFacts(const GamePaths& paths);

// The installation checks that VEK.INI switches off: in section [Checking], the keys SpriteFiles,
// Images, Sounds and Classes, each off when "0".
std::set<FindingCode> switchedOffInstallationChecks(const VekIni& settings);

}  // namespace vek
