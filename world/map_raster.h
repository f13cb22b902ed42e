#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "app/file_lookup.h"
#include "app/rgb_image.h"
#include "sprites/palette.h"

namespace vek {

// The world Albia as the game's background sprite file holds it: 58 columns by 8 rows of tiles of
// 144 x 150 pixels, tile (c, r) being image c * 8 + r. The map shows every tile as 36 x 36
// samples of every fourth pixel of its first 144 rows, a quarter of the world each way.
inline constexpr std::string_view kBackSpriteFileName = "back.spr";
inline constexpr std::string_view kMapFileName = "landscape.bmp";

inline constexpr int kMapTileColumns = 58;
inline constexpr int kMapTileRows = 8;
inline constexpr int kBackTileCount = kMapTileColumns * kMapTileRows;  // 464
inline constexpr int kBackTileWidth = 144;
inline constexpr int kBackTileHeight = 150;
inline constexpr std::size_t kBackTileBytes = std::size_t{kBackTileWidth} * kBackTileHeight;
// The reader relies on the fixed layout: the header of 464 entries is skipped unread.
inline constexpr std::size_t kBackHeaderSize = 2 + 8 * std::size_t{kBackTileCount};  // 3714
inline constexpr std::size_t kBackFileSize = kBackHeaderSize + kBackTileCount * kBackTileBytes;

inline constexpr int kMapSampleStep = 4;
inline constexpr int kMapTileSamples = 36;
inline constexpr int kMapWidth = kMapTileColumns * kMapTileSamples;  // 2088
inline constexpr int kMapHeight = kMapTileRows * kMapTileSamples;    // 288

// Called with a column's number before its tiles are read.
using ColumnProgress = std::function<void(int column)>;

// Paints the map of a background sprite file into `map`, column by column (a map of another size
// is replaced by a white one first). A file that is missing or shorter than its 464 tiles throws
// the run-time error after painting every tile it holds whole, so what was drawn stays.
void drawMap(const std::filesystem::path& backSprite, const PaletteTable& palette, RgbImage& map,
             const ColumnProgress& startColumn = {});

// The whole world at full size (58 x 144 by 8 x 150 pixels) from a background sprite file, as a
// stand-in world shows it behind its objects. Throws the run-time error of a missing or short file.
inline constexpr int kBackWidth = kMapTileColumns * kBackTileWidth;  // 8352
inline constexpr int kBackHeight = kMapTileRows * kBackTileHeight;   // 1200
RgbImage drawBackground(const std::filesystem::path& backSprite, const PaletteTable& palette);

// back.spr in the game's image directory, in whatever letter case it has.
std::filesystem::path backSpritePath(std::string_view imagePath);

// landscape.bmp in the program directory keeps the drawn map, so that it is drawn only once.
class MapCache {
  public:
    explicit MapCache(const std::filesystem::path& programDirectory)
        : m_file(findIgnoringCase(programDirectory, kMapFileName)) {}

    // The kept map; nothing when it is missing or unreadable, which is the signal to draw it.
    std::optional<RgbImage> read() const;
    // Keeps a map that was drawn whole.
    void write(const RgbImage& map) const;

  private:
    std::filesystem::path m_file;
};

// The world coordinate under a map position, as the map window's title shows it.
constexpr int mapToWorld(int mapCoordinate) { return mapCoordinate * kMapSampleStep; }

}  // namespace vek
