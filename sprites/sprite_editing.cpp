#include "sprites/sprite_editing.h"

#include <algorithm>

namespace vek {

void pasteSprite(SpriteImage& target, const SpriteImage& clip) {
    const int width = std::min(target.width, clip.width);
    const int height = std::min(target.height, clip.height);
    for (int y = 0; y < height; ++y) {
        const auto row = clip.pixels.begin() + static_cast<std::ptrdiff_t>(clip.index(0, y));
        std::copy(row, row + width,
                  target.pixels.begin() + static_cast<std::ptrdiff_t>(target.index(0, y)));
    }
}

void clearSprite(SpriteImage& sprite) {
    std::fill(sprite.pixels.begin(), sprite.pixels.end(), std::uint8_t{0});
}

}  // namespace vek
