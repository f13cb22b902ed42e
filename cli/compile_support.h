#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"
#include "objects/cob_compiler.h"

namespace vek::cli {

// Compiles a source as the COB-Compiler does; a "sprite" line reads its sprite file from the
// game's image directory, and says so when the game is unknown.
CompiledObject compileWithGameSprites(Invocation& invocation,
                                      const std::vector<std::string>& lines);

}  // namespace vek::cli
