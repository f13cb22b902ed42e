#pragma once

#include "app/rgb_image.h"
#include "cli/cli.h"
#include "sprites/palette.h"

namespace vek::cli {

// The sprite background colour as the program starts with it: --background, else VEK.INI's SBGC
// (white when missing or unreadable). VEK.INI is only read, never written.
ScreenColor backgroundOption(const ArgumentList& args);

// The palette table: --palette PALETTE.DTA, else the game's palette; slot 0 the background.
PaletteTable paletteOption(Invocation& invocation, const ArgumentList& args);

}  // namespace vek::cli
