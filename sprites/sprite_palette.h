#pragma once

#include <filesystem>
#include <optional>

#include "sprites/palette.h"

namespace vek {

// The palette that the sprite editor shows a sprite file in. A file that comes with its own
// palette.dta (in the same folder, in any case of the name) is shown in that palette; any other
// file in the game's. The converter and the other windows keep the game's one table.
std::optional<std::filesystem::path> paletteBeside(const std::filesystem::path& spriteFile);

// The table for a sprite file: the palette beside it, else `game`. Slot 0 is the background of
// `game`. A palette beside the file that cannot be read throws (its message names the file).
PaletteTable paletteForSpriteFile(const std::filesystem::path& spriteFile,
                                  const PaletteTable& game);

}  // namespace vek
