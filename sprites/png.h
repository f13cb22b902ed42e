#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/rgb_image.h"

namespace vek {

// PNG pictures, through libpng where the program was built with it. Reading takes 8-bit palette,
// grey and colour pictures, with or without alpha, at any bit depth; a pixel whose alpha is below
// 128 becomes `background`. Pictures beyond the bitmap's pixel limit are refused before their
// pixels are read. Without libpng every call fails with a message saying so.
bool pngBuiltIn();
bool hasPngSignature(std::span<const std::uint8_t> file);

RgbImage decodePng(std::span<const std::uint8_t> file, ScreenColor background);
std::vector<std::uint8_t> encodePng(const RgbImage& image);

}  // namespace vek
