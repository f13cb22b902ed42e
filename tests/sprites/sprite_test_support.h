#pragma once

#include <cstdint>
#include <numeric>

#include "sprites/sprite_file.h"

namespace vek::testing {

// A sprite whose pixels count up from `start`, so that every pixel tells where it came from.
inline SpriteImage patterned(std::uint16_t width, std::uint16_t height, std::uint8_t start) {
    SpriteImage image(width, height);
    std::iota(image.pixels.begin(), image.pixels.end(), start);
    return image;
}

}  // namespace vek::testing
