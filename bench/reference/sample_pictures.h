#pragma once

#include "app/rgb_image.h"
#include "sprites/palette.h"

namespace vek::reference {

// A palette shaped like the game's: runs of shades of many hues, all 6-bit, with a few
// duplicate colours so that ties occur; slot 0 holds the background.
PaletteTable gameLikePalette(ScreenColor background);

// A palette of arbitrary 8-bit colours (not multiples of 4), to stress the first grid steps.
PaletteTable randomPalette(unsigned seed, ScreenColor background);

// A picture with the statistics of a photograph: smooth shading, edges, texture and noise, so
// that nearly every pixel has a colour of its own and neighbours are close.
RgbImage photographicPicture(int width, int height, unsigned seed);

}  // namespace vek::reference
