#pragma once

#include "sprites/sprite_file.h"

namespace vek {

// Lays `clip` on `target` at the top-left corner, cut off at the target's right and bottom
// edges; target pixels outside the clip keep their values.
void pasteSprite(SpriteImage& target, const SpriteImage& clip);

// Sets every pixel to index 0, which shows the background colour.
void clearSprite(SpriteImage& sprite);

}  // namespace vek
