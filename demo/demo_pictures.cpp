#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "sprites/bitmap.h"
#include "sprites/palette.h"
#include "sprites/sprite_file.h"
#include "vivarium/map_file.h"
#include "world/map_raster.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

constexpr int kWorldWidth = kMapTileColumns * kBackTileWidth;  // 8352
constexpr int kWorldHeight = kMapTileRows * kBackTileHeight;   // 1200

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

std::uint8_t component(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

// A cheap repeatable noise in [0, 1).
double hashNoise(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>(h ^ (h >> 16)) / 4294967296.0;
}

// A noise dither, so that the game's few shades make smooth gradients. (An ordered dither
// would vanish from the map, which samples every fourth pixel.)
ScreenColor dithered(Rgb c, int x, int y) {
    const double d = (hashNoise(x + 7919, y) - 0.5) * 56;
    return makeScreenColor(component(c.r + d), component(c.g + d), component(c.b + d));
}

// The landscape of Albia, column by column: sky, sun and clouds, far mountains, green hills
// with trees, a lake and the sea, and layered earth underneath.
class Landscape {
  public:
    Landscape() {
        m_hill.resize(kWorldWidth);
        m_mountain.resize(kWorldWidth);
        for (int x = 0; x < kWorldWidth; ++x) {
            const double u = static_cast<double>(x);
            m_hill[static_cast<std::size_t>(x)] =
                560 + 90 * std::sin(u / 610) + 45 * std::sin(u / 173 + 1.3) + 18 * std::sin(u / 47);
            m_mountain[static_cast<std::size_t>(x)] =
                420 - 120 * std::pow(std::abs(std::sin(u / 900 + 0.4)), 1.5) -
                30 * std::sin(u / 131);
        }
        // The land dips under the sea at the western and eastern ends.
        for (int x = 0; x < kWorldWidth; ++x) {
            const double edge = std::min(x, kWorldWidth - 1 - x);
            if (edge < 700) m_hill[static_cast<std::size_t>(x)] += (700 - edge) * 0.35;
        }
        // Trees stand far enough apart that a column meets at most one, and so do clouds.
        m_treeAt.assign(kWorldWidth, -1);
        for (int x = 200; x < kWorldWidth - 200;
             x += 170 + static_cast<int>(hashNoise(x, 7) * 260)) {
            if (ground(x) >= kWaterLevel - 8) continue;
            const Tree tree{x, 28 + hashNoise(x, 3) * 22};
            for (int c = x - 50; c <= x + 50; ++c)
                m_treeAt[static_cast<std::size_t>(c)] = static_cast<int>(m_trees.size());
            m_trees.push_back(tree);
        }
        m_cloudAt.assign(kWorldWidth, -1);
        for (int cloud = 0; cloud < 14; ++cloud) {
            const int cx = static_cast<int>(cloudCentre(cloud));
            for (int c = std::max(cx - 80, 0); c <= std::min(cx + 190, kWorldWidth - 1); ++c) {
                m_cloudAt[static_cast<std::size_t>(c)] = cloud;
            }
        }
    }

    Rgb colorAt(int x, int y) const {
        const double top = ground(x);
        if (y < top) {
            if (const int tree = m_treeAt[static_cast<std::size_t>(x)]; tree >= 0) {
                if (auto c = treeColor(m_trees[static_cast<std::size_t>(tree)], x, y)) return *c;
            }
            return y >= kWaterLevel ? water(x, y) : sky(x, y);
        }
        return earth(x, y, top);
    }

    // The height of the land's surface in a column.
    double ground(int x) const { return m_hill[static_cast<std::size_t>(x)]; }

  private:
    static constexpr int kWaterLevel = 640;
    struct Tree {
        int x;
        double crown;
    };

    static double cloudCentre(int cloud) { return 300 + cloud * 590 + 120 * std::sin(cloud * 2.1); }

    Rgb sky(int x, int y) const {
        const Rgb high{60, 110, 200};
        const Rgb low{200, 228, 250};
        Rgb c = mix(high, low, y / 520.0);
        if (std::abs(x - 5200) < 140 && y < 310) {
            const double sunDistance = std::hypot(x - 5200.0, y - 170.0);
            if (sunDistance < 60) return {252, 240, 120};
            if (sunDistance < 140) c = mix({252, 230, 160}, c, (sunDistance - 60) / 80);
        }
        // Clouds: bunches of soft ellipses.
        if (const int cloud = m_cloudAt[static_cast<std::size_t>(x)]; cloud >= 0 && y < 190) {
            const double cx = cloudCentre(cloud);
            const double cy = 90 + 60 * std::sin(cloud * 1.7);
            for (int puff = 0; puff < 3; ++puff) {
                const double dx = (x - (cx + puff * 55)) / (70.0 - puff * 8);
                const double dy = (y - (cy - (puff == 1 ? 18 : 0))) / 28.0;
                if (dx * dx + dy * dy < 1)
                    return mix({250, 252, 255}, {205, 215, 235}, dy * 0.5 + 0.5);
            }
        }
        // Far mountains with snow on their peaks.
        const double ridge = m_mountain[static_cast<std::size_t>(x)];
        if (y >= ridge) {
            if (y < 330 && y < ridge + 25) return {235, 240, 250};
            return mix({120, 130, 175}, {95, 120, 150}, (y - ridge) / 200);
        }
        return c;
    }

    Rgb water(int x, int y) const {
        Rgb c = mix({70, 140, 220}, {20, 50, 130}, (y - kWaterLevel) / 300.0);
        if (std::sin(x / 23.0 + y * 0.9) > 0.93 && y < kWaterLevel + 120) c = {180, 215, 245};
        return c;
    }

    Rgb earth(int x, int y, double top) const {
        const double depth = y - top;
        if (depth < 14) {
            const double slope =
                ground(std::min(x + 4, kWorldWidth - 1)) - ground(std::max(x - 4, 0));
            const Rgb grass =
                top > kWaterLevel ? Rgb{200, 190, 130} : Rgb{70, 160, 50};  // sand under water
            return scaled(grass, 1.0 - slope * 0.03);
        }
        Rgb c = depth < 160 ? Rgb{140, 95, 50} : depth < 330 ? Rgb{110, 80, 60} : Rgb{95, 95, 100};
        if ((static_cast<int>(depth) + x / 40) / 9 % 5 == 0) c = scaled(c, 0.8);  // strata
        if (hashNoise(x / 6, y / 6) > 0.93) c = scaled(c, 1.25);                  // pebbles
        return c;
    }

    std::optional<Rgb> treeColor(const Tree& tree, int x, int y) const {
        const double base = ground(tree.x);
        const double trunkTop = base - tree.crown * 1.6;
        if (std::abs(x - tree.x) <= 5 && y >= trunkTop && y < base + 4) return Rgb{100, 65, 30};
        const double dx = x - tree.x;
        const double dy = y - (trunkTop - tree.crown * 0.4);
        const double r2 = (dx * dx + dy * dy) / (tree.crown * tree.crown);
        if (r2 < 1) return mix({90, 180, 60}, {20, 90, 30}, (dx + dy) / (2 * tree.crown) + 0.5);
        return std::nullopt;
    }

    std::vector<double> m_hill;
    std::vector<double> m_mountain;
    std::vector<Tree> m_trees;
    std::vector<int> m_treeAt;   // the tree a column meets, or -1
    std::vector<int> m_cloudAt;  // the cloud above a column, or -1
};

// The nearest palette colour (1 to 255) by distance, remembered per 5-bit colour cell: the
// landscape is painted, not converted, so it may take the closest shade.
class NearestColor {
  public:
    explicit NearestColor(const PaletteTable& palette)
        : m_palette(palette), m_cells(32 * 32 * 32, -1) {}

    std::uint8_t operator()(ScreenColor color) {
        const std::size_t cell = std::size_t{redOf(color)} >> 3 << 10 |
                                 std::size_t{greenOf(color)} >> 3 << 5 |
                                 std::size_t{blueOf(color)} >> 3;
        int& index = m_cells[cell];
        if (index < 0) index = nearest(color);
        return static_cast<std::uint8_t>(index);
    }

  private:
    int nearest(ScreenColor color) const {
        int best = 1;
        int bestDistance = 1 << 30;
        for (int k = 1; k < 256; ++k) {
            const ScreenColor p = m_palette[static_cast<std::uint8_t>(k)];
            const int dr = redOf(p) - redOf(color), dg = greenOf(p) - greenOf(color),
                      db = blueOf(p) - blueOf(color);
            const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = k;
            }
        }
        return best;
    }

    const PaletteTable& m_palette;
    std::vector<int> m_cells;
};

// The world in palette indices, row by row.
std::vector<std::uint8_t> worldIndices(const PaletteTable& palette) {
    NearestColor nearest(palette);
    const Landscape landscape;
    std::vector<std::uint8_t> world(std::size_t{kWorldWidth} * kWorldHeight);
    for (int y = 0; y < kWorldHeight; ++y) {
        for (int x = 0; x < kWorldWidth; ++x) {
            world[static_cast<std::size_t>(y) * kWorldWidth + static_cast<std::size_t>(x)] =
                nearest(dithered(landscape.colorAt(x, y), x, y));
        }
    }
    return world;
}

// back.spr: the 464 tiles, tile c * 8 + r holding column c and row r of the world.
std::vector<std::uint8_t> backSpriteFile(const std::vector<std::uint8_t>& world) {
    const std::vector<SpriteEntry> sizes(kBackTileCount,
                                         SpriteEntry{0, kBackTileWidth, kBackTileHeight});
    std::vector<std::uint8_t> file = encodeSpriteHeader(contiguousLayout(sizes));
    file.reserve(kBackFileSize);
    for (int c = 0; c < kMapTileColumns; ++c) {
        for (int r = 0; r < kMapTileRows; ++r) {
            for (int y = 0; y < kBackTileHeight; ++y) {
                const auto start =
                    world.begin() +
                    static_cast<std::ptrdiff_t>(static_cast<std::size_t>(r * kBackTileHeight + y) *
                                                    kWorldWidth +
                                                static_cast<std::size_t>(c * kBackTileWidth));
                file.insert(file.end(), start, start + kBackTileWidth);
            }
        }
    }
    return file;
}

// A sunset with soft light and grain, like a photograph: a picture for the Best level.
RgbImage sunsetPicture() {
    RgbImage picture(240, 160);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double sun = std::hypot(x - 150.0, y - 92.0);
            Rgb c = mix({250, 170, 80}, {70, 40, 110}, (92 - y) / 92.0);
            if (sun < 18)
                c = {255, 235, 170};
            else if (sun < 60)
                c = mix({255, 200, 120}, c, (sun - 18) / 42);
            if (y > 92 + 6 * std::sin(x / 19.0))
                c = mix({40, 60, 50}, {15, 25, 20}, (y - 92) / 68.0);
            const double grain = (hashNoise(x, y) - 0.5) * 14;
            picture.at(x, y) = makeScreenColor(component(c.r + grain), component(c.g + grain),
                                               component(c.b + grain));
        }
    }
    return picture;
}

// A flower drawn on white: the white becomes the background index 0 on the default background.
RgbImage flowerPicture() {
    RgbImage picture(100, 120, 0xFFFFFF);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double dx = x - 50.0;
            const double dy = y - 40.0;
            const double angle = std::atan2(dy, dx);
            const double radius = std::hypot(dx, dy);
            if (radius < 11) {
                picture.at(x, y) = makeScreenColor(252, 204, 0);
            } else if (radius < 30 + 8 * std::cos(6 * angle)) {
                picture.at(x, y) = makeScreenColor(204, 52, 152);
            } else if (std::abs(x - 50) < 3 && y > 60) {
                picture.at(x, y) = makeScreenColor(52, 152, 52);
            } else if (y > 85 && y < 100 && std::abs((x - 50) - (y - 85) * 1.6) < 4) {
                picture.at(x, y) = makeScreenColor(52, 152, 52);  // a leaf
            }
        }
    }
    return picture;
}

// The stand-in world's map of the landscape: eight rooms side by side, each the world's full
// height, the two at the ends, where the land dips into the sea, of type 2 and the others of
// type 1; the ground follows the hills' surface.
vivarium::Map landscapeMap() {
    constexpr int kRooms = 8;
    constexpr int kRoomWidth = kWorldWidth / kRooms;
    vivarium::Map map;
    for (int room = 0; room < kRooms; ++room) {
        const int type = room == 0 || room == kRooms - 1 ? 2 : 1;
        map.setRoom({room, room * kRoomWidth, 0, (room + 1) * kRoomWidth, kWorldHeight, type});
    }
    const Landscape landscape;
    for (int point = 0; point < kWorldWidth / vivarium::kGroundPointWidth; ++point) {
        const int x = point * vivarium::kGroundPointWidth + vivarium::kGroundPointWidth / 2;
        map.setGround(point, static_cast<int>(std::lround(landscape.ground(x))));
    }
    return map;
}

}  // namespace

void writeDemoPictures(const DemoLayout& layout) {
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    const PaletteTable palette = readGamePalette(paths.CPalettePath, 0);
    const fs::path images = pathFromUtf8(paths.CImagePath);
    writeFileAtomically(images / kBackSpriteFileName, backSpriteFile(worldIndices(palette)));
    writeFileAtomically(images / vivarium::kMapFileName, vivarium::mapFileText(landscapeMap()));
    writeBitmap(images / "sunset.bmp", sunsetPicture());
    writeBitmap(images / "flower.bmp", flowerPicture(), BitmapBits::Rgb32);
}

}  // namespace vek::demo
