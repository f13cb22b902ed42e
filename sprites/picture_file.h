#pragma once

#include <filesystem>

#include "app/rgb_image.h"

namespace vek {

// Picture files as the program reads and writes them: Windows bitmaps, and PNG pictures.

// The name ends in ".png", in any letter case.
bool isPngName(const std::filesystem::path& file);

// A bitmap or a PNG picture, told apart by the file's first bytes (a PNG named .BMP still reads);
// a PNG's pixels with alpha below 128 become `background`.
RgbImage readPicture(const std::filesystem::path& file, ScreenColor background);
// A PNG picture when the name ends in ".png", else a 24-bit bitmap; written whole.
void writePicture(const std::filesystem::path& file, const RgbImage& image);

}  // namespace vek
