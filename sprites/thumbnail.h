#pragma once

#include <filesystem>
#include <span>

#include "app/rgb_image.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// How many sprites of a file the contact sheet shows, two rows of two.
inline constexpr std::size_t kContactSheetSprites = 4;
inline constexpr int kMaxThumbnailSize = 1024;

// A palette of our own for pictures shown without the game: a grey ramp from black (slot 1) to
// white (slot 255), slot 0 the background.
PaletteTable neutralPalette(ScreenColor background);

// The sprites side by side on the background, each centred in a cell as large as the largest:
// one sprite alone, else a sheet two cells wide.
RgbImage contactSheet(std::span<const SpriteImage> sprites, const PaletteTable& palette);

// The picture scaled (nearest pixel) so that its longer side is `size`, keeping its proportions.
RgbImage fitThumbnail(const RgbImage& picture, int size);

// A sprite file's thumbnail: its first sprite, or a contact sheet of its first few.
RgbImage spriteFileThumbnail(const std::filesystem::path& file, const PaletteTable& palette,
                             int size);

// Throws unless 1 <= size <= kMaxThumbnailSize.
void requireThumbnailSize(int size);

}  // namespace vek
