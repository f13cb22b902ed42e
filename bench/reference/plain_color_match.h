#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/rgb_image.h"

namespace vek::reference {

// Rounds each component of a colour down to a multiple of `step`.
ScreenColor quantise(ScreenColor color, std::uint32_t step);

// The plain per-pixel scan: tries indices 0, 11, 12, ..., 255 against the palette rounded to the
// step, doubling the step (and rounding the target with it) until one matches.
std::uint8_t plainMatchColor(std::span<const ScreenColor, 256> palette, ScreenColor target,
                             std::uint32_t firstStep);

// Every pixel of a picture, row by row, by the plain scan.
std::vector<std::uint8_t> plainMatchPicture(std::span<const ScreenColor, 256> palette,
                                            const RgbImage& picture, std::uint32_t firstStep);

}  // namespace vek::reference
