#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "bench/reference/plain_color_match.h"
#include "bench/reference/sample_pictures.h"
#include "sprites/bitmap.h"
#include "sprites/bitmap_converter.h"
#include "support/screen_colors.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using reference::gameLikePalette;
using reference::plainMatchColor;

using testing::kWhite;

class BitmapConverter : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("vek_converter_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    PaletteTable m_palette = gameLikePalette(kWhite);
};

TEST_F(BitmapConverter, AgreesWithThePlainScanOnAPhotographAtEveryLevel) {
    const RgbImage photo = reference::photographicPicture(160, 120, 5);
    for (ColorMatchLevel level : {ColorMatchLevel::Best, ColorMatchLevel::Good,
                                  ColorMatchLevel::Bad, ColorMatchLevel::VeryPoor}) {
        RgbImage picture = photo;
        const SpriteImage sprite = convertPicture(picture, m_palette, level);
        const auto expected = reference::plainMatchPicture(
            m_palette.colors(), photo, static_cast<std::uint32_t>(firstMatchStep(level)));
        EXPECT_EQ(sprite.pixels, expected) << "level " << static_cast<int>(level);
        EXPECT_EQ(sprite.width, 160);
        EXPECT_EQ(sprite.height, 120);
    }
}

TEST_F(BitmapConverter, RepaintsThePictureRowByRowWithThePaletteColours) {
    RgbImage picture = reference::photographicPicture(40, 30, 9);
    const RgbImage original = picture;
    const auto expected = reference::plainMatchPicture(m_palette.colors(), original, 3);
    auto converted = [&](int x, int y) {
        return m_palette[expected[static_cast<std::size_t>(y * 40 + x)]];
    };
    std::vector<int> rows;
    const SpriteImage sprite =
        convertPicture(picture, m_palette, ColorMatchLevel::Good, [&](int row) {
            rows.push_back(row);
            // Rows above are converted, this row and those below are not yet.
            for (int x = 0; x < 40; ++x) {
                if (row > 0) {
                    ASSERT_EQ(picture.at(x, row - 1), converted(x, row - 1));
                }
                ASSERT_EQ(picture.at(x, row), original.at(x, row));
            }
        });
    std::vector<int> expectedRows(30);
    for (int y = 0; y < 30; ++y) expectedRows[static_cast<std::size_t>(y)] = y;
    EXPECT_EQ(rows, expectedRows);
    EXPECT_EQ(sprite.pixels, expected);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) EXPECT_EQ(picture.at(x, y), converted(x, y));
    }
}

TEST_F(BitmapConverter, ConvertingTheConvertedPictureAgainAtBestGivesTheSameIndices) {
    RgbImage picture = reference::photographicPicture(64, 48, 3);
    const SpriteImage first = convertPicture(picture, m_palette, ColorMatchLevel::Best);
    const SpriteImage second = convertPicture(picture, m_palette, ColorMatchLevel::Best);
    EXPECT_EQ(first, second);
}

TEST_F(BitmapConverter, TheBlackStartPictureBecomesA263By275Sprite) {
    RgbImage picture = startPicture();
    ASSERT_EQ(picture.width, 263);
    ASSERT_EQ(picture.height, 275);
    const SpriteImage sprite = convertPicture(picture, m_palette, ColorMatchLevel::Best);
    const fs::path file = m_dir / "start.spr";
    writeConvertedSprite(file, sprite);
    const auto bytes = readFileBytes(file);
    ASSERT_EQ(bytes.size(), 10u + 263u * 275u);
    const std::vector<std::uint8_t> header = {1, 0, 10, 0, 0, 0, 7, 1, 19, 1};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    // Black is slot 251 of this palette, the first black in the match order.
    EXPECT_EQ(plainMatchColor(m_palette.colors(), 0, 1), 251);
    EXPECT_TRUE(
        std::all_of(bytes.begin() + 10, bytes.end(), [](std::uint8_t b) { return b == 251; }));
}

TEST_F(BitmapConverter, AOnePixelBitmapGivesAnElevenByteFileAndWhiteOnWhiteIsIndexZero) {
    const fs::path bitmap = m_dir / "dot.bmp";
    const fs::path sprite = m_dir / "dot.spr";
    writeBitmap(bitmap, RgbImage(1, 1, kWhite));
    convertBitmapFile(bitmap, sprite, m_palette, ColorMatchLevel::Best);
    const std::vector<std::uint8_t> expected = {1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(readFileBytes(sprite), expected);

    writeBitmap(bitmap, RgbImage(1, 1, m_palette[77]));
    convertBitmapFile(bitmap, sprite, m_palette, ColorMatchLevel::Best);
    EXPECT_EQ(readFileBytes(sprite).back(), 77);
}

TEST_F(BitmapConverter, APictureTooWideForASpriteIsRefusedUntouched) {
    RgbImage picture(70000, 1, 0x123456);
    EXPECT_THROW(convertPicture(picture, m_palette, ColorMatchLevel::Best), VekError);
    EXPECT_EQ(picture.at(69999, 0), 0x123456u);
}

TEST_F(BitmapConverter, AWriteIntoAMissingFolderFailsAndLeavesNoFile) {
    const fs::path sprite = m_dir / "missing_folder" / "out.spr";
    RgbImage picture(2, 2, kWhite);
    EXPECT_THROW(
        writeConvertedSprite(sprite, convertPicture(picture, m_palette, ColorMatchLevel::Best)),
        VekError);
    EXPECT_FALSE(fs::exists(sprite));
}

TEST(BatchSpriteName, CutsTheLastThreeCharactersAndAddsSpr) {
    EXPECT_EQ(batchSpriteName("/pics/A.BMP"), fs::path("/pics/A.SPR"));
    EXPECT_EQ(batchSpriteName("/pics/a.bmp"), fs::path("/pics/a.SPR"));
    EXPECT_EQ(batchSpriteName("/pics/tree.old.bmp"), fs::path("/pics/tree.old.SPR"));
    EXPECT_EQ(batchSpriteName("B.dib"), fs::path("B.SPR"));
    // Characters, not bytes.
    EXPECT_EQ(batchSpriteName(pathFromUtf8("/pics/x.\xC3\xA4\xC3\xB6\xC3\xBC")),
              pathFromUtf8("/pics/x.SPR"));
    EXPECT_EQ(batchSpriteName(pathFromUtf8("/pics/B\xC3\xA4ume.bmp")),
              pathFromUtf8("/pics/B\xC3\xA4ume.SPR"));
    // A name too short to lose three characters keeps itself instead of vanishing.
    EXPECT_EQ(batchSpriteName("/pics/ab"), fs::path("/pics/ab.SPR"));
    EXPECT_EQ(batchSpriteName("/pics/abc"), fs::path("/pics/abc.SPR"));
}

}  // namespace
}  // namespace vek
