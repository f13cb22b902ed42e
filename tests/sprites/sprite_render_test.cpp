#include "sprites/sprite_render.h"

#include <gtest/gtest.h>

#include <random>

#include "app/vek_error.h"
#include "bench/reference/plain_sprite_render.h"

namespace vek {
namespace {

PaletteTable testPalette(ScreenColor background) {
    PaletteTable table;
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        table.setColor(k, makeScreenColor(static_cast<std::uint8_t>(k), 100, 200));
    }
    table.setColor(5, 0);  // a pure-black entry
    table.setBackground(background);
    return table;
}

TEST(DrawingAreaTest, EachPixelBecomesAZoomSquareBlock) {
    SpriteImage sprite(3, 2);
    sprite.pixels = {1, 2, 3, 4, 6, 7};
    const PaletteTable palette = testPalette(0xFFFFFF);
    const RgbImage area = renderDrawingArea(sprite, palette, 4, 0xFFFFFF);
    ASSERT_EQ(area.width, 12);
    ASSERT_EQ(area.height, 8);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            EXPECT_EQ(area.at(x, y), palette[sprite.at(x / 4, y / 4)]) << x << "," << y;
        }
    }
}

TEST(DrawingAreaTest, IndexZeroAndPureBlackShowTheBackground) {
    SpriteImage sprite(3, 1);
    sprite.pixels = {0, 5, 9};
    for (const ScreenColor background :
         {ScreenColor{0xFFFFFF}, ScreenColor{0}, ScreenColor{0x00FF00}}) {
        const PaletteTable palette = testPalette(background);
        const RgbImage area = renderDrawingArea(sprite, palette, 1, background);
        EXPECT_EQ(area.at(0, 0), background);
        EXPECT_EQ(area.at(1, 0), background);
        EXPECT_EQ(area.at(2, 0), palette[9]);
    }
}

TEST(DrawingAreaTest, ThreeHundredSquareAtZoomSixteenIs4800Square) {
    SpriteImage sprite(300, 300, 9);
    sprite.at(299, 299) = 0;
    const RgbImage area = renderDrawingArea(sprite, testPalette(0x010203), 16, 0x010203);
    EXPECT_EQ(area.width, 4800);
    EXPECT_EQ(area.height, 4800);
    EXPECT_EQ(area.at(4799, 4799), 0x010203u);
    EXPECT_EQ(area.at(4783, 4799), testPalette(0)[9]);
}

TEST(DrawingAreaTest, MatchesThePlainSquareBySquareRebuildAtEveryZoom) {
    std::mt19937 random(3);
    SpriteImage sprite(37, 23);
    for (auto& pixel : sprite.pixels) pixel = static_cast<std::uint8_t>(random());
    sprite.at(0, 0) = 0;
    sprite.at(1, 0) = 5;
    for (const ScreenColor background : {ScreenColor{0xFFFFFF}, ScreenColor{0}}) {
        const PaletteTable palette = testPalette(background);
        RgbImage area;
        for (const int zoom : {16, 1, 2, 8, 4}) {
            renderDrawingArea(sprite, palette, zoom, background, area);
            EXPECT_EQ(area.pixels,
                      reference::plainDrawingArea(sprite, palette, zoom, background).pixels)
                << zoom;
        }
    }
}

TEST(DrawingAreaTest, ReusedBufferIsRebuiltWholeForAnotherSize) {
    const PaletteTable palette = testPalette(0xFFFFFF);
    RgbImage area;
    renderDrawingArea(SpriteImage(10, 10, 3), palette, 8, 0xFFFFFF, area);
    renderDrawingArea(SpriteImage(2, 1, 4), palette, 2, 0xFFFFFF, area);
    EXPECT_EQ(area.width, 4);
    EXPECT_EQ(area.height, 2);
    EXPECT_EQ(area.pixels, std::vector<ScreenColor>(8, palette[4]));
}

TEST(DrawingAreaTest, AnAreaTooLargeIsRefusedAndTheOldOneKept) {
    const PaletteTable palette = testPalette(0);
    RgbImage area = renderDrawingArea(SpriteImage(2, 2, 1), palette, 1, 0);
    const RgbImage before = area;
    EXPECT_FALSE(drawingAreaFits(3000, 3000, 16));
    EXPECT_TRUE(drawingAreaFits(300, 300, 16));
    EXPECT_FALSE(drawingAreaFits(10, 10, 3));
    EXPECT_THROW(renderDrawingArea(SpriteImage(3000, 3000), palette, 16, 0, area), VekError);
    EXPECT_EQ(area.pixels, before.pixels);
}

TEST(DrawingAreaTest, PaintingABlockTouchesOnlyThatBlockAndShowsBlackAsBlack) {
    const PaletteTable palette = testPalette(0xFFFFFF);
    RgbImage area = renderDrawingArea(SpriteImage(4, 4, 1), palette, 8, 0xFFFFFF);
    RgbImage expected = area;
    const PixelRect block = paintBlock(area, 2, 1, 8, 0);
    EXPECT_EQ(block, (PixelRect{16, 8, 8, 8}));
    for (int y = 8; y < 16; ++y)
        for (int x = 16; x < 24; ++x) expected.at(x, y) = 0;
    EXPECT_EQ(area.pixels, expected.pixels);
}

TEST(DrawingAreaTest, PointsMapToPixelsByIntegerDivisionAndOutsidePointsToNothing) {
    EXPECT_EQ(spritePixelAt(0, 0, 4, 3, 2), (std::pair{0, 0}));
    EXPECT_EQ(spritePixelAt(11, 7, 4, 3, 2), (std::pair{2, 1}));
    EXPECT_FALSE(spritePixelAt(12, 0, 4, 3, 2));
    EXPECT_FALSE(spritePixelAt(0, 8, 4, 3, 2));
    EXPECT_FALSE(spritePixelAt(-1, 3, 4, 3, 2));
    EXPECT_FALSE(spritePixelAt(3, -20, 4, 3, 2));
}

TEST(PaletteAreaTest, CellsRunDownEachColumnWithAGreyOutlineAndAGap) {
    const PaletteTable palette = testPalette(0x00FFFF);
    const RgbImage area = renderPaletteArea(palette);
    ASSERT_EQ(area.width, 320);
    ASSERT_EQ(area.height, 80);
    // Colour 9 is in column 1, row 1: its cell starts at (10, 10).
    EXPECT_EQ(area.at(10, 10), kPaletteOutline);
    EXPECT_EQ(area.at(18, 18), kPaletteOutline);
    EXPECT_EQ(area.at(11, 11), palette[9]);
    EXPECT_EQ(area.at(17, 17), palette[9]);
    EXPECT_EQ(area.at(19, 12), kPaletteGap);
    EXPECT_EQ(area.at(12, 19), kPaletteGap);
    EXPECT_EQ(area.at(4, 4), 0x00FFFFu);  // slot 0: the background
    EXPECT_EQ(area.at(315, 75), palette[255]);
}

TEST(PaletteAreaTest, APointSelectsTheCellsIndex) {
    EXPECT_EQ(paletteIndexAt(0, 0), 0);
    EXPECT_EQ(paletteIndexAt(9, 79), 7);
    EXPECT_EQ(paletteIndexAt(10, 0), 8);
    EXPECT_EQ(paletteIndexAt(319, 79), 255);
    EXPECT_FALSE(paletteIndexAt(320, 0));
    EXPECT_FALSE(paletteIndexAt(0, -1));
}

TEST(PaletteAreaTest, RedrawingOneCellLeavesTheOthers) {
    PaletteTable palette = testPalette(0xFFFFFF);
    RgbImage area = renderPaletteArea(palette);
    palette.setBackground(0x0000FF);
    drawPaletteCell(area, palette, 0);
    EXPECT_EQ(area.pixels, renderPaletteArea(palette).pixels);
}

TEST(InfoPageTest, RedGradientFades254ToBlack) {
    const RgbImage page = renderInfoPage();
    ASSERT_EQ(page.width, 297);
    ASSERT_EQ(page.height, 285);
    for (int y = 0; y < page.height; ++y) {
        const ScreenColor expected =
            y <= 254 ? makeScreenColor(static_cast<std::uint8_t>(254 - y), 0, 0) : 0;
        EXPECT_EQ(page.at(0, y), expected) << "row " << y;
        EXPECT_EQ(page.at(296, y), expected) << "row " << y;
    }
}

}  // namespace
}  // namespace vek
