#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "sprites/sprite_file.h"

namespace vek {

// The point of the canvas that stays where it is when a canvas grows or shrinks.
enum class ResizeAnchor {
    TopLeft,
    Top,
    TopRight,
    Left,
    Center,
    Right,
    BottomLeft,
    Bottom,
    BottomRight
};

// The size of a sprite in pixels.
struct SpriteSize {
    int width = 0;
    int height = 0;

    bool operator==(const SpriteSize&) const = default;
};

// Sprites by their numbers, from the first to the last.
struct SpriteRange {
    std::size_t first = 0;
    std::size_t last = 0;

    bool operator==(const SpriteRange&) const = default;
};

// How sprites get their new size: stretched to it, or their canvas grown or cropped around the
// anchor; the current sprite alone, or a range.
struct SpriteResize {
    SpriteSize size;
    bool scale = false;
    ResizeAnchor anchor = ResizeAnchor::TopLeft;
    std::optional<SpriteRange> range;
};

// "top-left", "top", "top-right", "left", "center", "right", "bottom-left", "bottom",
// "bottom-right"; nothing for any other name.
std::optional<ResizeAnchor> resizeAnchorNamed(std::string_view name);

// The sprite stretched or shrunk to the new size, each new pixel the nearest old one.
SpriteImage scaleSprite(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height);

// The sprite's pixels in a canvas of the new size, laid at the anchor: a larger canvas gets
// index 0 around them, a smaller one cuts them off.
SpriteImage resizeCanvas(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height,
                         ResizeAnchor anchor);

// The sprite at the size and in the way `resize` says; a size beyond a sprite's bounds is refused.
SpriteImage resizeSprite(const SpriteImage& sprite, const SpriteResize& resize);

}  // namespace vek
