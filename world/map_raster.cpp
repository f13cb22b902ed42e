#include "world/map_raster.h"

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/sprite_file.h"

namespace vek {

namespace {

constexpr ScreenColor kBlankMap = 0xFFFFFF;

// The fixed layout: image i lies at 3714 + i * 21600, 144 x 150 pixels.
SpriteEntry backTileEntry(int column, int row) {
    const std::size_t image = static_cast<std::size_t>(column * kMapTileRows + row);
    return {static_cast<std::uint32_t>(kBackHeaderSize + image * kBackTileBytes), kBackTileWidth,
            kBackTileHeight};
}

void paintTile(const SpriteImage& tile, const PaletteTable& palette, RgbImage& map, int column,
               int row) {
    for (int j = 0; j < kMapTileSamples; ++j) {
        ScreenColor* target = &map.at(column * kMapTileSamples, row * kMapTileSamples + j);
        for (int i = 0; i < kMapTileSamples; ++i)
            target[i] = palette[tile.at(kMapSampleStep * i, kMapSampleStep * j)];
    }
}

}  // namespace

void drawMap(const std::filesystem::path& backSprite, const PaletteTable& palette, RgbImage& map,
             const ColumnProgress& startColumn) {
    if (map.width != kMapWidth || map.height != kMapHeight)
        map = RgbImage(kMapWidth, kMapHeight, kBlankMap);
    SpriteFile back(backSprite);
    for (int c = 0; c < kMapTileColumns; ++c) {
        if (startColumn) startColumn(c);
        for (int r = 0; r < kMapTileRows; ++r)
            paintTile(back.readSprite(backTileEntry(c, r)), palette, map, c, r);
    }
}

RgbImage drawBackground(const std::filesystem::path& backSprite, const PaletteTable& palette) {
    RgbImage world(kBackWidth, kBackHeight);
    SpriteFile back(backSprite);
    for (int c = 0; c < kMapTileColumns; ++c) {
        for (int r = 0; r < kMapTileRows; ++r) {
            const SpriteImage tile = back.readSprite(backTileEntry(c, r));
            for (int y = 0; y < kBackTileHeight; ++y) {
                ScreenColor* target = &world.at(c * kBackTileWidth, r * kBackTileHeight + y);
                for (int x = 0; x < kBackTileWidth; ++x) target[x] = palette[tile.at(x, y)];
            }
        }
    }
    return world;
}

std::filesystem::path backSpritePath(std::string_view imagePath) {
    return findIgnoringCase(pathFromUtf8(imagePath), kBackSpriteFileName);
}

std::optional<RgbImage> MapCache::read() const {
    try {
        return readBitmap(m_file);
    } catch (const VekError&) {
        return std::nullopt;
    }
}

void MapCache::write(const RgbImage& map) const { writeBitmap(m_file, map); }

}  // namespace vek
