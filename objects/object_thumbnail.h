#pragma once

#include <filesystem>

#include "app/rgb_image.h"
#include "sprites/palette.h"

namespace vek {

// A file's thumbnail of at most size x size: an object file's picture, a sprite file's first
// sprite or a contact sheet of its first few. An object without a picture throws.
RgbImage fileThumbnail(const std::filesystem::path& file, const PaletteTable& palette, int size);

}  // namespace vek
