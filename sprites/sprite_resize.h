#pragma once

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

// "top-left", "top", "top-right", "left", "center", "right", "bottom-left", "bottom",
// "bottom-right"; nothing for any other name.
std::optional<ResizeAnchor> resizeAnchorNamed(std::string_view name);

// The sprite stretched or shrunk to the new size, each new pixel the nearest old one.
SpriteImage scaleSprite(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height);

// The sprite's pixels in a canvas of the new size, laid at the anchor: a larger canvas gets
// index 0 around them, a smaller one cuts them off.
SpriteImage resizeCanvas(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height,
                         ResizeAnchor anchor);

}  // namespace vek
