#include "sprites/sprite_resize.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vek {

namespace {

// Where the old pixels start in the new canvas along one side: 0 (start), the difference halved
// (middle), the whole difference (end). Negative where the canvas is smaller.
int anchoredOffset(int oldSide, int newSide, int part) {
    const int difference = newSide - oldSide;
    return part == 0 ? 0 : part == 1 ? difference / 2 : difference;
}

}  // namespace

std::optional<ResizeAnchor> resizeAnchorNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, ResizeAnchor>, 9> kNames = {{
        {"top-left", ResizeAnchor::TopLeft},
        {"top", ResizeAnchor::Top},
        {"top-right", ResizeAnchor::TopRight},
        {"left", ResizeAnchor::Left},
        {"center", ResizeAnchor::Center},
        {"right", ResizeAnchor::Right},
        {"bottom-left", ResizeAnchor::BottomLeft},
        {"bottom", ResizeAnchor::Bottom},
        {"bottom-right", ResizeAnchor::BottomRight},
    }};
    for (const auto& [known, anchor] : kNames)
        if (known == name) return anchor;
    return std::nullopt;
}

SpriteImage scaleSprite(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height) {
    SpriteImage scaled(width, height);
    if (sprite.width == 0 || sprite.height == 0) return scaled;
    for (int y = 0; y < height; ++y) {
        // The old pixel under the middle of the new one.
        const int fromY = static_cast<int>((2L * y + 1) * sprite.height / (2L * height));
        for (int x = 0; x < width; ++x) {
            const int fromX = static_cast<int>((2L * x + 1) * sprite.width / (2L * width));
            scaled.at(x, y) = sprite.at(fromX, fromY);
        }
    }
    return scaled;
}

SpriteImage resizeCanvas(const SpriteImage& sprite, std::uint16_t width, std::uint16_t height,
                         ResizeAnchor anchor) {
    SpriteImage canvas(width, height);
    const int column = static_cast<int>(anchor) % 3;
    const int row = static_cast<int>(anchor) / 3;
    const int offsetX = anchoredOffset(sprite.width, width, column);
    const int offsetY = anchoredOffset(sprite.height, height, row);
    const int firstY = std::max(0, offsetY);
    const int lastY = std::min<int>(height, offsetY + sprite.height);
    const int firstX = std::max(0, offsetX);
    const int lastX = std::min<int>(width, offsetX + sprite.width);
    for (int y = firstY; y < lastY; ++y)
        for (int x = firstX; x < lastX; ++x) canvas.at(x, y) = sprite.at(x - offsetX, y - offsetY);
    return canvas;
}

SpriteImage resizeSprite(const SpriteImage& sprite, const SpriteResize& resize) {
    const UniformSpriteFile size = checkUniformSpriteFile(1, resize.size.width, resize.size.height);
    const auto width = static_cast<std::uint16_t>(size.width);
    const auto height = static_cast<std::uint16_t>(size.height);
    return resize.scale ? scaleSprite(sprite, width, height)
                        : resizeCanvas(sprite, width, height, resize.anchor);
}

}  // namespace vek
