#include "bench/reference/plain_sprite_render.h"

namespace vek::reference {

RgbImage plainDrawingArea(const SpriteImage& sprite, const PaletteTable& palette, int zoom,
                          ScreenColor background) {
    RgbImage area(sprite.width * zoom, sprite.height * zoom, background);
    for (int y = 0; y < sprite.height; ++y) {
        for (int x = 0; x < sprite.width; ++x) {
            const ScreenColor color = palette[sprite.at(x, y)];
            if (color == 0) continue;
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx) area.at(x * zoom + dx, y * zoom + dy) = color;
        }
    }
    return area;
}

}  // namespace vek::reference
