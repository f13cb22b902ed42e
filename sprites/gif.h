#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sprites/palette.h"
#include "sprites/sprite_file.h"

namespace vek {

// Animated GIF pictures of sprites, through giflib where the program was built with it; without
// it every call but gifBuiltIn() fails with a message saying so.
bool gifBuiltIn();
bool hasGifSignature(std::span<const std::uint8_t> file);

// The game shows 10 frames a second: each frame stays 10 hundredths of a second.
inline constexpr int kGifFrameDelay = 10;
// A GIF imports as at most as many sprites as the sprite editor's table holds, and all its
// frames together as at most this many pixels: both are checked before a frame is kept.
inline constexpr std::size_t kMaxGifFrames = kSpriteTableCapacity;
inline constexpr std::uint64_t kMaxGifImportPixels = std::uint64_t{1} << 27;
// Extensions (comments, other programs' data, each frame's timing) are read past: a GIF may
// hold at most this many, each of at most this many bytes.
inline constexpr std::size_t kMaxGifExtensions = 4 * kMaxGifFrames;
inline constexpr std::size_t kMaxGifExtensionBytes = std::size_t{1} << 20;

// One frame a sprite, in order, on a screen as large as the largest sprite, each frame at the
// top-left corner and cleared before the next; the colour table is the palette, index 0
// transparent. `loops` repeats the animation without end.
std::vector<std::uint8_t> encodeSpriteGif(std::span<const SpriteImage> frames,
                                          const PaletteTable& palette, bool loops);

// Every frame of a GIF as a sprite of the GIF's screen size, composed as a viewer shows it
// (frame offsets, transparency, disposal); pixels no frame covers are index 0. Indices are kept
// where a colour table is the palette, otherwise colours are matched (indexed_picture.h).
std::vector<SpriteImage> decodeSpriteGif(std::span<const std::uint8_t> file,
                                         const PaletteTable& palette);

}  // namespace vek
