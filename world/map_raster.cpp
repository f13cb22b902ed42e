#include "world/map_raster.h"

#include <fstream>
#include <string>
#include <vector>

#include "app/vek_error.h"

namespace vek {

namespace {

constexpr ScreenColor kBlankMap = 0xFFFFFF;

void paintTile(const std::uint8_t* tile, const PaletteTable& palette, RgbImage& map, int column,
               int row) {
    for (int j = 0; j < kMapTileSamples; ++j) {
        const std::uint8_t* source =
            tile + std::size_t{kBackTileWidth} * static_cast<std::size_t>(kMapSampleStep * j);
        ScreenColor* target = &map.at(column * kMapTileSamples, row * kMapTileSamples + j);
        for (int i = 0; i < kMapTileSamples; ++i) target[i] = palette[source[kMapSampleStep * i]];
    }
}

}  // namespace

void drawMap(const std::filesystem::path& backSprite, const PaletteTable& palette, RgbImage& map,
             const ColumnProgress& startColumn) {
    if (map.width != kMapWidth || map.height != kMapHeight)
        map = RgbImage(kMapWidth, kMapHeight, kBlankMap);
    std::ifstream in(backSprite, std::ios::binary);
    if (!in) throw VekError(std::string(kFileNotFound));
    in.seekg(static_cast<std::streamoff>(kBackHeaderSize));

    // One column of tiles per read: the file is read in 58 large blocks.
    constexpr std::size_t kColumnBytes = kBackTileBytes * kMapTileRows;
    std::vector<std::uint8_t> column(kColumnBytes);
    for (int c = 0; c < kMapTileColumns; ++c) {
        if (startColumn) startColumn(c);
        std::size_t got = 0;
        if (in) {
            in.read(reinterpret_cast<char*>(column.data()),
                    static_cast<std::streamsize>(kColumnBytes));
            got = static_cast<std::size_t>(in.gcount());
        }
        const int wholeTiles = static_cast<int>(got / kBackTileBytes);
        for (int r = 0; r < wholeTiles; ++r)
            paintTile(column.data() + kBackTileBytes * static_cast<std::size_t>(r), palette, map, c,
                      r);
        if (got < kColumnBytes) throw VekError(std::string(kReadPastEndOfFile));
    }
}

}  // namespace vek
