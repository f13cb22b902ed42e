#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "objects/cob_compiler.h"

namespace vek::cli {

// Compiles a source as the COB-Compiler does; a "sprite" line reads its sprite file from the
// game's image directory, and says so when the game is unknown. A "picture" line reads its file
// beside `sourceFile`; a source that is no file (none, or standard input) cannot name one.
CompiledObject compileWithGameSprites(Invocation& invocation, const std::vector<std::string>& lines,
                                      const std::filesystem::path& sourceFile = {});

}  // namespace vek::cli
