#pragma once

#include <filesystem>

#include "app/rgb_image.h"
#include "cli/cli.h"
#include "sprites/palette.h"

namespace vek::cli {

// The sprite background colour as the program starts with it: --background, else VEK.INI's SBGC
// (white when missing or unreadable). VEK.INI is only read, never written.
ScreenColor backgroundOption(const ArgumentList& args);

// The palette table: --palette PALETTE.DTA, else the game's palette; slot 0 the background.
// `output` is the file the verb writes: a --palette naming it is refused before anything is read.
PaletteTable paletteOption(Invocation& invocation, const ArgumentList& args,
                           const std::filesystem::path& output);

}  // namespace vek::cli
