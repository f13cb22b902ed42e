#include <gtest/gtest.h>

#include "app/vek_error.h"
#include "sprites/sprite_file.h"
#include "sprites/thumbnail.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

constexpr ScreenColor kWhite = 0xFFFFFF;

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

}  // namespace
}  // namespace vek
