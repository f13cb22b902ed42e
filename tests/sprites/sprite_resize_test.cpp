#include "sprites/sprite_resize.h"

#include <gtest/gtest.h>

#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using vek::testing::patterned;

// A sprite from its rows, drawn out in the test.
SpriteImage spriteOfRows(const std::vector<std::vector<std::uint8_t>>& rows) {
    SpriteImage sprite(static_cast<std::uint16_t>(rows.front().size()),
                       static_cast<std::uint16_t>(rows.size()));
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x) sprite.at(x, y) = rows[y][x];
    return sprite;
}

TEST(SpriteResizeTest, ScalingTakesThePixelUnderEachNewPixelsMiddle) {
    const SpriteImage square = spriteOfRows({{1, 2}, {3, 4}});
    const struct {
        const char* name;
        SpriteImage from;
        std::uint16_t width;
        std::uint16_t height;
        SpriteImage expected;
    } cases[] = {
        {"doubled", square, 4, 4,
         spriteOfRows({{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}})},
        {"halved: every second pixel from the second", patterned(4, 4, 1), 2, 2,
         spriteOfRows({{6, 8}, {14, 16}})},
        {"three to five", spriteOfRows({{7, 8, 9}}), 5, 1, spriteOfRows({{7, 7, 8, 9, 9}})},
        {"one way only", square, 2, 3, spriteOfRows({{1, 2}, {3, 4}, {3, 4}})},
        {"the same size", square, 2, 2, square},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scaleSprite(c.from, c.width, c.height), c.expected) << c.name;
}

TEST(SpriteResizeTest, TheCanvasGrowsWithIndexZeroOrCropsAroundItsAnchor) {
    const SpriteImage square = spriteOfRows({{1, 2}, {3, 4}});
    const struct {
        ResizeAnchor anchor;
        SpriteImage from;
        std::uint16_t width;
        std::uint16_t height;
        SpriteImage expected;
    } cases[] = {
        {ResizeAnchor::TopLeft, square, 4, 3,
         spriteOfRows({{1, 2, 0, 0}, {3, 4, 0, 0}, {0, 0, 0, 0}})},
        {ResizeAnchor::Center, square, 4, 3,
         spriteOfRows({{0, 1, 2, 0}, {0, 3, 4, 0}, {0, 0, 0, 0}})},
        {ResizeAnchor::BottomRight, square, 4, 3,
         spriteOfRows({{0, 0, 0, 0}, {0, 0, 1, 2}, {0, 0, 3, 4}})},
        // An odd difference puts the spare column on the right.
        {ResizeAnchor::Top, square, 3, 2, spriteOfRows({{1, 2, 0}, {3, 4, 0}})},
        {ResizeAnchor::Left, square, 2, 4, spriteOfRows({{0, 0}, {1, 2}, {3, 4}, {0, 0}})},
        {ResizeAnchor::Center, patterned(4, 4, 1), 2, 2, spriteOfRows({{6, 7}, {10, 11}})},
        {ResizeAnchor::TopRight, patterned(4, 4, 1), 2, 1, spriteOfRows({{3, 4}})},
        {ResizeAnchor::BottomLeft, patterned(4, 4, 1), 1, 2, spriteOfRows({{9}, {13}})},
        {ResizeAnchor::Right, square, 1, 1, spriteOfRows({{2}})},  // cut both ways
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resizeCanvas(c.from, c.width, c.height, c.anchor), c.expected)
            << static_cast<int>(c.anchor) << " to " << c.width << "x" << c.height;
    }
}

TEST(SpriteResizeTest, AnchorsAreNamedAsOnTheCommandLine) {
    const std::pair<const char*, ResizeAnchor> named[] = {
        {"top-left", ResizeAnchor::TopLeft},
        {"center", ResizeAnchor::Center},
        {"bottom-right", ResizeAnchor::BottomRight},
    };
    for (const auto& [name, anchor] : named) EXPECT_EQ(resizeAnchorNamed(name), anchor) << name;
    for (const char* other : {"", "middle", "Top-Left", "top left", "centre"})
        EXPECT_FALSE(resizeAnchorNamed(other)) << other;
}

}  // namespace
}  // namespace vek
