#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "world/map_raster.h"

namespace vek {
namespace {

namespace fs = std::filesystem;

constexpr ScreenColor kBlank = 0xFFFFFF;

// Every tile different, every pixel of a tile different from its neighbours.
std::uint8_t tilePixel(int tile, int x, int y) {
    return static_cast<std::uint8_t>(tile * 7 + x * 3 + y * 5);
}

PaletteTable distinctPalette() {
    PaletteTable table;
    for (std::size_t k = 0; k < 256; ++k) {
        const auto v = static_cast<std::uint8_t>(k);
        table.setColor(k, makeScreenColor(v, static_cast<std::uint8_t>(255 - v),
                                          static_cast<std::uint8_t>(v ^ 0x5A)));
    }
    return table;
}

std::vector<std::uint8_t> backSpriteBytes() {
    std::vector<SpriteImage> tiles;
    tiles.reserve(kBackTileCount);
    for (int t = 0; t < kBackTileCount; ++t) {
        SpriteImage& tile = tiles.emplace_back(kBackTileWidth, kBackTileHeight);
        for (int y = 0; y < kBackTileHeight; ++y) {
            for (int x = 0; x < kBackTileWidth; ++x) tile.at(x, y) = tilePixel(t, x, y);
        }
    }
    return encodeSpriteFile(tiles);
}

class MapRaster : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_back = new std::vector<std::uint8_t>(backSpriteBytes()); }
    static void TearDownTestSuite() { delete s_back; }

    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("vek_map_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path writeBack(std::span<const std::uint8_t> bytes) {
        const fs::path file = m_dir / "back.spr";
        writeFileAtomically(file, bytes);
        return file;
    }
    // The colour that tile (c, r) gives map position (x, y) of its square.
    ScreenColor expectedSample(int c, int r, int i, int j) const {
        return m_palette[tilePixel(c * 8 + r, 4 * i, 4 * j)];
    }

    static inline std::vector<std::uint8_t>* s_back = nullptr;
    fs::path m_dir;
    PaletteTable m_palette = distinctPalette();
};

TEST_F(MapRaster, TheMapCornersAreTheWorldsCorners) {
    ASSERT_EQ(s_back->size(), 3714u + 464u * 21600u);
    EXPECT_EQ(mapToWorld(0), 0);
    EXPECT_EQ(mapToWorld(2087), 8348);
    EXPECT_EQ(mapToWorld(287), 1148);
}

TEST_F(MapRaster, EveryMapPixelIsTheSampleOfItsTile) {
    RgbImage map;
    std::vector<int> columns;
    drawMap(writeBack(*s_back), m_palette, map, [&](int c) { columns.push_back(c); });
    ASSERT_EQ(map.width, 2088);
    ASSERT_EQ(map.height, 288);
    for (int y = 0; y < kMapHeight; ++y) {
        for (int x = 0; x < kMapWidth; ++x) {
            ASSERT_EQ(map.at(x, y), expectedSample(x / 36, y / 36, x % 36, y % 36))
                << x << "," << y;
        }
    }
    ASSERT_EQ(columns.size(), 58u);
    for (int c = 0; c < 58; ++c) EXPECT_EQ(columns[static_cast<std::size_t>(c)], c);
}

TEST_F(MapRaster, TheLastTileLandsInTheBottomRightSquareAndOnlyItsTopRowsAreSampled) {
    std::vector<std::uint8_t> bytes(*s_back);
    const std::size_t lastTile = kBackHeaderSize + 463 * kBackTileBytes;
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(lastTile),
              bytes.begin() + static_cast<std::ptrdiff_t>(lastTile + kBackTileBytes), 200);
    // Rows 141 to 149 of every tile are never sampled.
    for (int t = 0; t < kBackTileCount; ++t) {
        const std::size_t start = kBackHeaderSize + static_cast<std::size_t>(t) * kBackTileBytes;
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(start + 141 * 144),
                  bytes.begin() + static_cast<std::ptrdiff_t>(start + kBackTileBytes), 1);
    }
    RgbImage map;
    drawMap(writeBack(bytes), m_palette, map);
    for (int y = 0; y < kMapHeight; ++y) {
        for (int x = 0; x < kMapWidth; ++x) {
            const bool lastSquare = x >= 2052 && y >= 252;
            ASSERT_EQ(map.at(x, y),
                      lastSquare ? m_palette[200] : expectedSample(x / 36, y / 36, x % 36, y % 36))
                << x << "," << y;
        }
    }
}

TEST_F(MapRaster, TheHeaderIsSkippedUnreadWhateverItSays) {
    std::vector<std::uint8_t> bytes(*s_back);
    std::fill(bytes.begin(), bytes.begin() + kBackHeaderSize,
              0xEE);  // count and offsets are nonsense
    RgbImage map;
    drawMap(writeBack(bytes), m_palette, map);
    EXPECT_EQ(map.at(0, 0), expectedSample(0, 0, 0, 0));
    EXPECT_EQ(map.at(1000, 200), expectedSample(27, 5, 28, 20));
}

TEST_F(MapRaster, AShortFileFailsAfterPaintingTheWholeTilesItHolds) {
    // Column 10 ends after three whole tiles and half of the fourth.
    const std::size_t keep = kBackHeaderSize + (10 * 8 + 3) * kBackTileBytes + kBackTileBytes / 2;
    const std::vector<std::uint8_t> bytes(s_back->begin(),
                                          s_back->begin() + static_cast<std::ptrdiff_t>(keep));
    RgbImage map;
    std::vector<int> columns;
    try {
        drawMap(writeBack(bytes), m_palette, map, [&](int c) { columns.push_back(c); });
        FAIL() << "no error";
    } catch (const VekError& error) {
        EXPECT_STREQ(error.what(), "Lesen nach Dateiende (EOF)");
    }
    EXPECT_EQ(columns.size(), 11u);
    EXPECT_EQ(map.at(9 * 36 + 35, 7 * 36 + 35), expectedSample(9, 7, 35, 35));
    EXPECT_EQ(map.at(10 * 36, 2 * 36 + 35), expectedSample(10, 2, 0, 35));
    EXPECT_EQ(map.at(10 * 36, 3 * 36), kBlank);
    EXPECT_EQ(map.at(11 * 36, 0), kBlank);
    EXPECT_EQ(map.at(2087, 287), kBlank);
}

TEST_F(MapRaster, AFileShorterThanItsHeaderOrMissingFailsWithTheRunTimeErrors) {
    RgbImage map;
    EXPECT_THROW(
        {
            try {
                drawMap(writeBack(std::vector<std::uint8_t>(100, 0)), m_palette, map);
            } catch (const VekError& error) {
                EXPECT_STREQ(error.what(), "Lesen nach Dateiende (EOF)");
                throw;
            }
        },
        VekError);
    EXPECT_EQ(map.at(0, 0), kBlank);
    EXPECT_THROW(
        {
            try {
                drawMap(m_dir / "nothing.spr", m_palette, map);
            } catch (const VekError& error) {
                EXPECT_STREQ(error.what(), "Datei nicht gefunden");
                throw;
            }
        },
        VekError);
}

TEST_F(MapRaster, AMapOfTheRightSizeIsPaintedOverNotReplaced) {
    RgbImage map(kMapWidth, kMapHeight, 0x00FF00);
    const std::vector<std::uint8_t> bytes(
        s_back->begin(),
        s_back->begin() + static_cast<std::ptrdiff_t>(kBackHeaderSize + kBackTileBytes));
    EXPECT_THROW(drawMap(writeBack(bytes), m_palette, map), VekError);
    EXPECT_EQ(map.at(0, 0), expectedSample(0, 0, 0, 0));
    EXPECT_EQ(map.at(0, 36), 0x00FF00u);
}

TEST(MapFiles, BackSpriteAndTheKeptMapAreFoundWhateverTheirLetterCase) {
    const testing::TempDir folder;
    EXPECT_EQ(backSpritePath(pathToUtf8(folder.path()) + "/"), folder / "back.spr");
    writeFileAtomically(folder / "BACK.SPR", std::string_view("x"));
    EXPECT_EQ(backSpritePath(pathToUtf8(folder.path()) + "/"), folder / "BACK.SPR");
    const RgbImage map(3, 2, 0x123456);
    writeBitmap(folder / "Landscape.BMP", map);
    ASSERT_TRUE(MapCache(folder.path()).read());
    EXPECT_EQ(MapCache(folder.path()).read()->pixels, map.pixels);
}

TEST(MapCache, KeepsTheMapAndTakesAMissingOrUnreadableFileAsTheSignalToDraw) {
    const testing::TempDir folder;
    const MapCache cache(folder.path());
    EXPECT_FALSE(cache.read());
    writeFileAtomically(folder / "landscape.bmp", std::string_view("no picture"));
    EXPECT_FALSE(cache.read());
    const RgbImage map(3, 2, 0x123456);
    cache.write(map);
    ASSERT_TRUE(cache.read());
    EXPECT_EQ(cache.read()->pixels, map.pixels);
}

}  // namespace
}  // namespace vek
