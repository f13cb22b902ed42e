#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// Sprites as picture files of their own, at their real size and in their palette's indices:
// PNG (one sprite) and animated GIF (many). Exports make index 0 transparent; imports make a
// transparent pixel index 0, keep indices where the file's colour table is the palette (also
// where the palette repeats a colour) and otherwise match colours as the bitmap converter does.

// The most bytes a picture file to import may have; a larger one is refused before it is read.
inline constexpr std::uint64_t kMaxImportFileSize = std::uint64_t{1} << 28;

// An 8-bit palette PNG of the sprite; a sprite without pixels is refused.
std::vector<std::uint8_t> encodeSpritePng(const SpriteImage& sprite, const PaletteTable& palette);
// Any PNG as one sprite; larger than a sprite may be is refused before its pixels are read.
SpriteImage decodeSpritePng(std::span<const std::uint8_t> file, const PaletteTable& palette);

void writeSpritePng(const std::filesystem::path& file, const SpriteImage& sprite,
                    const PaletteTable& palette);
// A GIF's frames (by its signature), or a PNG (by its signature or name) or a bitmap as one
// sprite.
std::vector<SpriteImage> readSpritePictures(const std::filesystem::path& file,
                                            const PaletteTable& palette);

// Several sprites as one picture: a grid of as many columns as the square root of their number
// (rounded up), each cell as large as the largest sprite, the sprites in order row by row at
// their cells' top-left corners, index 0 around them. No sprites, or a sheet larger than 65535
// pixels a side, is refused.
SpriteImage spriteSheet(std::span<const SpriteImage> sprites);
// The picture of sprite `number` when several are written one file each: NAME-number.EXT beside
// `file` (NAME.EXT).
std::filesystem::path numberedPictureFile(const std::filesystem::path& file, std::size_t number);

void writeSpriteGif(const std::filesystem::path& file, std::span<const SpriteImage> frames,
                    const PaletteTable& palette, bool loops);

}  // namespace vek
