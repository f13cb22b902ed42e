#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"
#include "sprites/thumbnail.h"
#include "support/screen_colors.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using testing::kWhite;

// A sprite of one index throughout, so every pixel of a thumbnail says which sprite it shows.
SpriteImage filled(std::uint16_t width, std::uint16_t height, std::uint8_t index) {
    return SpriteImage(width, height, index);
}

TEST(Thumbnail, FittingKeepsTheProportionsAndBringsTheLongerSideToTheSize) {
    struct Case {
        int width, height, size, expectedWidth, expectedHeight;
    };
    const Case cases[] = {{32, 48, 96, 64, 96},   {48, 32, 24, 24, 16}, {10, 10, 128, 128, 128},
                          {1000, 1, 100, 100, 1}, {3, 7, 1, 1, 1},      {65535, 2, 1024, 1024, 1}};
    for (const Case& c : cases) {
        const RgbImage fitted = fitThumbnail(RgbImage(c.width, c.height, 7), c.size);
        EXPECT_EQ(fitted.width, c.expectedWidth) << c.width << "x" << c.height << " @" << c.size;
        EXPECT_EQ(fitted.height, c.expectedHeight) << c.width << "x" << c.height << " @" << c.size;
    }
    EXPECT_THROW(fitThumbnail(RgbImage(0, 0), 64), VekError);
    EXPECT_THROW(fitThumbnail(RgbImage(4, 4), 0), VekError);
    EXPECT_THROW(fitThumbnail(RgbImage(4, 4), kMaxThumbnailSize + 1), VekError);
}

TEST(Thumbnail, ScalingPicksTheNearestPixels) {
    RgbImage picture(2, 2);
    picture.at(0, 0) = 1;
    picture.at(1, 0) = 2;
    picture.at(0, 1) = 3;
    picture.at(1, 1) = 4;
    const RgbImage up = fitThumbnail(picture, 4);
    EXPECT_EQ(up.at(1, 1), 1u);
    EXPECT_EQ(up.at(2, 1), 2u);
    EXPECT_EQ(up.at(1, 3), 3u);
    EXPECT_EQ(up.at(3, 3), 4u);
}

TEST(Thumbnail, ASpriteFileShowsItsFirstSpriteOrASheetOfItsFirstFour) {
    const testing::TempDir dir;
    const PaletteTable palette = neutralPalette(kWhite);
    const std::vector<SpriteImage> one = {filled(8, 4, 10)};
    // Five sprites: the fifth stays out; the narrow second is centred in its cell.
    const std::vector<SpriteImage> five = {filled(8, 4, 10), filled(4, 4, 20), filled(8, 4, 30),
                                           filled(8, 4, 40), filled(8, 4, 50)};
    writeSpriteFile(dir / "one.spr", one);
    writeSpriteFile(dir / "five.spr", five);

    const RgbImage single = spriteFileThumbnail(dir / "one.spr", palette, 16);
    ASSERT_EQ(single.width, 16);
    ASSERT_EQ(single.height, 8);
    for (ScreenColor pixel : single.pixels) EXPECT_EQ(pixel, palette[10]);

    const RgbImage sheet = spriteFileThumbnail(dir / "five.spr", palette, 16);
    ASSERT_EQ(sheet.width, 16);
    ASSERT_EQ(sheet.height, 8);
    struct Probe {
        int x, y;
        ScreenColor expected;
    };
    const Probe probes[] = {{0, 0, palette[10]},  {7, 3, palette[10]}, {8, 0, kWhite},
                            {10, 1, palette[20]}, {15, 0, kWhite},     {0, 4, palette[30]},
                            {15, 7, palette[40]}};
    for (const Probe& p : probes) EXPECT_EQ(sheet.at(p.x, p.y), p.expected) << p.x << "," << p.y;
    for (ScreenColor pixel : sheet.pixels) EXPECT_NE(pixel, palette[50]);
}

TEST(Thumbnail, FilesWithoutAPictureAreRefused) {
    const testing::TempDir dir;
    writeSpriteFile(dir / "empty.spr", std::vector<SpriteImage>{});
    EXPECT_THROW(spriteFileThumbnail(dir / "empty.spr", neutralPalette(kWhite), 64), VekError);
    EXPECT_THROW(spriteFileThumbnail(dir / "missing.spr", neutralPalette(kWhite), 64), VekError);
}

// A picture with a side of 0 draws nothing, whichever side and wherever it comes from.
TEST(Thumbnail, APictureWithASideOfZeroHasNothingToShow) {
    const testing::TempDir dir;
    const PaletteTable palette = neutralPalette(kWhite);
    for (const auto& [width, height] : {std::pair{0, 1}, {0, 500}, {500, 0}, {0, 0}}) {
        const auto w = static_cast<std::uint16_t>(width);
        const auto h = static_cast<std::uint16_t>(height);
        writeSpriteFile(dir / "side.spr", std::vector<SpriteImage>{SpriteImage(w, h)});
        try {
            spriteFileThumbnail(dir / "side.spr", palette, 64);
            ADD_FAILURE() << width << "x" << height << " gave a thumbnail";
        } catch (const VekError& error) {
            EXPECT_EQ(error.text(kLanguageEnglish), Msg::NoPictureToShow.english);
        }
        EXPECT_THROW(fitThumbnail(RgbImage(width, height), 64), VekError);
        const RgbImage area = renderDrawingArea(SpriteImage(w, h), palette, 2, kWhite);
        EXPECT_EQ(area.width, width * 2);
        EXPECT_EQ(area.height, height * 2);
        EXPECT_TRUE(area.pixels.empty());
    }
}

// The sheet takes the widest and the tallest of different sprites, yet the thumbnail is never
// larger than the size asked for and shows each sprite where the sheet has it.
TEST(Thumbnail, SpritesOfFarApartShapesMakeAThumbnailOfTheSizeAskedFor) {
    const testing::TempDir dir;
    const PaletteTable palette = neutralPalette(kWhite);
    writeSpriteFile(dir / "shapes.spr",
                    std::vector<SpriteImage>{filled(16384, 2, 10), filled(2, 16384, 20)});
    const RgbImage sheet = spriteFileThumbnail(dir / "shapes.spr", palette, 256);
    ASSERT_EQ(sheet.width, 256);
    ASSERT_EQ(sheet.height, 128);
    // The wide sprite is two rows in the middle of the left cell, the tall one two columns in the
    // middle of the right cell.
    EXPECT_EQ(sheet.at(0, 64), palette[10]);
    EXPECT_EQ(sheet.at(127, 64), palette[10]);
    EXPECT_EQ(sheet.at(0, 0), kWhite);
    EXPECT_EQ(sheet.at(192, 0), palette[20]);
    EXPECT_EQ(sheet.at(192, 127), palette[20]);
    EXPECT_EQ(sheet.at(200, 5), kWhite);
}

// A sprite whose pixels reach past the end of the file is refused as a short file.
TEST(Thumbnail, ASpriteBeyondTheEndOfItsFileIsRefused) {
    const testing::TempDir dir;
    std::vector<std::uint8_t> bytes = encodeSpriteFile(std::vector<SpriteImage>{filled(4, 4, 1)});
    bytes.resize(bytes.size() - 1);
    writeFileAtomically(dir / "cut.spr", bytes);
    try {
        spriteFileThumbnail(dir / "cut.spr", neutralPalette(kWhite), 64);
        ADD_FAILURE() << "a cut file gave a thumbnail";
    } catch (const VekError& error) {
        EXPECT_EQ(error.text(kLanguageGerman), std::string_view(kReadPastEndOfFile));
        EXPECT_EQ(error.detail().file, pathToUtf8(dir / "cut.spr"));
    }
}

}  // namespace
}  // namespace vek
