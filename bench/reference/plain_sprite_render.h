#pragma once

#include "app/rgb_image.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek::reference {

// The drawing area the plain way: fill the picture with the background, then paint one filled
// square per sprite pixel whose palette colour is not pure black, pixel by pixel.
RgbImage plainDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                          ScreenColor background);

}  // namespace vek::reference
