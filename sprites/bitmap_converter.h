#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/rgb_image.h"
#include "sprites/color_match.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// The converter's picture before any bitmap is loaded: black, 263 x 275.
inline constexpr int kStartPictureWidth = 263;
inline constexpr int kStartPictureHeight = 275;
RgbImage startPicture();

// Called with the number of a row before that row is converted; the rows above it are done.
using RowProgress = std::function<void(int row)>;

// Matches every pixel of the picture to a palette index and repaints the pixel with that
// index's palette colour, so that the picture shows the converted result. A picture too large
// for a sprite is refused before anything changes.
SpriteImage convertPicture(RgbImage& picture, const PaletteTable& palette, ColorMatchLevel level,
                           const RowProgress& startRow = {});

// The converter's sprite file: one sprite, written anew.
void writeConvertedSprite(const std::filesystem::path& file, const SpriteImage& sprite);

// A bitmap file converted into a sprite file of one sprite.
void convertBitmapFile(const std::filesystem::path& bitmap, const std::filesystem::path& sprite,
                       const PaletteTable& palette, ColorMatchLevel level);

// The sprite file a batch conversion writes beside a bitmap: the bitmap's name without its last
// three characters, followed by "SPR" (A.BMP gives A.SPR, a.bmp gives a.SPR).
std::filesystem::path batchSpriteName(const std::filesystem::path& bitmap);

}  // namespace vek
