#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "sprites/sprite_file.h"

namespace vek::demo {

namespace {

// Greys of the demo palette, from index 227 (its colour cube is paletteCube).
std::uint8_t grey(int level) { return static_cast<std::uint8_t>(227 + level); }  // level 0..28

// An egg standing upright, shaded from the left, with a pure-black outline (index 11, which the
// editor shows in the background colour) around a brown rim.
SpriteImage egg(std::uint16_t width, std::uint16_t height) {
    SpriteImage image(width, height, 0);
    const double cx = width / 2.0;
    const double cy = height * 0.55;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5 - cx) / (width / 2.0 - 1);
            const double dyRaw = (y + 0.5 - cy) / (height * 0.45);
            const double dy = dyRaw < 0 ? dyRaw * 0.85 : dyRaw * 1.25;
            const double r = dx * dx + dy * dy;
            if (r > 1.0) continue;
            if (r > 0.86) {
                image.at(x, y) = paletteCube(0, 0, 0);
            } else if (r > 0.72) {
                image.at(x, y) = paletteCube(3, 2, 0);
            } else {
                const int light =
                    std::clamp(static_cast<int>(5 - (dx + 1) * 1.6 - (dy + 1) * 0.6), 1, 5);
                image.at(x, y) = paletteCube(5, light, light / 2);
            }
        }
    }
    return image;
}

SpriteImage checkerboard(std::uint16_t side, int cell) {
    SpriteImage image(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.at(x, y) = ((x / cell + y / cell) % 2) ? grey(28) : paletteCube(0, 0, 4);
    return image;
}

SpriteImage rings(std::uint16_t side) {
    SpriteImage image(side, side, 0);
    static const std::uint8_t kRainbow[] = {
        paletteCube(5, 0, 0), paletteCube(5, 3, 0), paletteCube(5, 5, 0), paletteCube(0, 4, 0),
        paletteCube(0, 3, 5), paletteCube(2, 0, 4), paletteCube(4, 0, 5)};
    const double centre = side / 2.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            if (distance < centre)
                image.at(x, y) = kRainbow[static_cast<int>(distance / (centre / 7)) % 7];
        }
    }
    return image;
}

// Every colour of the cube in 6 bands of 36 columns.
SpriteImage colourBand(std::uint16_t columnWidth, std::uint16_t rowHeight) {
    SpriteImage image(static_cast<std::uint16_t>(36 * columnWidth),
                      static_cast<std::uint16_t>(6 * rowHeight));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const int column = x / columnWidth;
            image.at(x, y) = paletteCube(y / rowHeight, column / 6, column % 6);
        }
    return image;
}

// A large picture for the higher zoom factors: a spiral of the cube's colours over greys.
SpriteImage spiral(std::uint16_t side) {
    SpriteImage image(side, side);
    const double centre = side / 2.0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            const double angle = std::atan2(dy, dx) / (2 * std::numbers::pi) + 0.5;
            const double turn = std::hypot(dx, dy) / 25.0 + angle;
            const int arm = static_cast<int>(turn * 3) % 3;
            image.at(x, y) = arm == 0
                                 ? paletteCube(5, static_cast<int>(angle * 5.99), 0)
                                 : grey(static_cast<int>(std::hypot(dx, dy) / centre * 27) % 29);
        }
    }
    return image;
}

// Small icons: four shapes in every colour of the cube's brighter half.
SpriteImage icon(int number) {
    constexpr std::uint16_t kSide = 12;
    SpriteImage image(kSide, kSide, 0);
    const std::uint8_t colour = paletteCube(2 + number % 4, (number / 4) % 6, (number / 24) % 6);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int dx = 2 * x + 1 - kSide;
            const int dy = 2 * y + 1 - kSide;
            bool inside = false;
            switch (number % 4) {
                case 0:
                    inside = dx * dx + dy * dy < 100;
                    break;
                case 1:
                    inside = std::abs(dx) + std::abs(dy) < 12;
                    break;
                case 2:
                    inside = std::abs(dx) < 4 || std::abs(dy) < 4;
                    break;
                default:
                    inside = x > 1 && y > 1 && x < kSide - 2 && y < kSide - 2;
                    break;
            }
            if (inside) image.at(x, y) = colour;
        }
    }
    image.at(0, 0) = grey(number % 29);  // tells the icons apart in a corner
    return image;
}

}  // namespace

void writeDemoSprites(const DemoLayout& layout) {
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    const std::vector<SpriteImage> showcase = {egg(32, 48),       checkerboard(16, 4), rings(64),
                                               colourBand(4, 10), spiral(300),         egg(8, 12)};
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vekshow.spr"), showcase);
    std::vector<SpriteImage> icons;
    for (int number = 0; number < 400; ++number) icons.push_back(icon(number));
    writeSpriteFile(pathFromUtf8(paths.CImagePath + "vekicons.spr"), icons);
}

}  // namespace vek::demo
