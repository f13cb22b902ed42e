#include "sprites/sprite_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "app/text_names.h"
#include "support/temp_dir.h"
#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using Points = std::vector<PixelPoint>;

bool neighbours(PixelPoint a, PixelPoint b) {
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)) == 1;
}

TEST(LinePixelsTest, RunsFromEndToEndWithoutGapsOrDoubledCorners) {
    const struct {
        PixelPoint from;
        PixelPoint to;
    } lines[] = {{{0, 0}, {0, 0}},  {{0, 0}, {7, 0}},    {{3, 9}, {3, 2}},   {{0, 0}, {5, 5}},
                 {{10, 1}, {0, 4}}, {{2, -3}, {-4, 12}}, {{-5, -5}, {6, -1}}};
    for (const auto& line : lines) {
        const Points points = linePixels(line.from, line.to);
        const int longer =
            std::max(std::abs(line.to.x - line.from.x), std::abs(line.to.y - line.from.y));
        ASSERT_EQ(points.size(), static_cast<std::size_t>(longer) + 1) << line.to.x;
        EXPECT_EQ(points.front(), line.from);
        EXPECT_EQ(points.back(), line.to);
        for (std::size_t i = 1; i < points.size(); ++i)
            EXPECT_TRUE(neighbours(points[i - 1], points[i])) << i;
    }
    // Each pixel is the one nearest the ideal line (y = 0.4 x here).
    EXPECT_EQ(linePixels({0, 0}, {5, 2}), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
}

TEST(RectanglePixelsTest, OutlineAndFilledCoverTheirPixelsOnce) {
    const Points outline = rectanglePixels({4, 3}, {1, 0}, false);
    EXPECT_EQ(outline.size(), 12u);  // a 4 x 4 ring
    EXPECT_EQ(std::count(outline.begin(), outline.end(), PixelPoint{2, 2}), 0);
    EXPECT_EQ(std::count(outline.begin(), outline.end(), PixelPoint{4, 2}), 1);
    EXPECT_EQ(rectanglePixels({1, 0}, {4, 3}, true).size(), 16u);
    EXPECT_EQ(rectanglePixels({2, 2}, {2, 6}, false).size(), 5u);  // one column
    EXPECT_EQ(rectanglePixels({2, 2}, {2, 2}, false), (Points{{2, 2}}));
}

TEST(FloodRegionTest, ReachesTheSameIndexThroughSidesOnly) {
    // 1 1 0
    // 0 1 0
    // 1 0 1   the corners touch the region only diagonally
    SpriteImage sprite(3, 3, 0);
    for (const PixelPoint p : Points{{0, 0}, {1, 0}, {1, 1}, {0, 2}, {2, 2}})
        sprite.at(p.x, p.y) = 1;
    Points region = floodRegion(sprite, {1, 1});
    std::sort(region.begin(), region.end(),
              [](PixelPoint a, PixelPoint b) { return std::pair(a.y, a.x) < std::pair(b.y, b.x); });
    EXPECT_EQ(region, (Points{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(floodRegion(sprite, {2, 0}).size(), 2u);  // the zeros on the right
    EXPECT_TRUE(floodRegion(sprite, {3, 0}).empty());
    EXPECT_EQ(floodRegion(SpriteImage(300, 300, 5), {150, 150}).size(), 90000u);
}

// Runs of a row that part and join again around walls, from wherever the fill starts.
TEST(FloodRegionTest, FollowsRunsThatPartAndJoin) {
    const char* rows[] = {"1111111",  //
                          "1000001",  //
                          "1011101",  //
                          "1010101",  //
                          "1110111"};
    SpriteImage sprite(7, 5, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) sprite.at(x, y) = rows[y][x] == '1' ? 1 : 0;
    const struct {
        PixelPoint start;
        std::size_t size;
    } cases[] = {{{1, 1}, 9}, {{1, 3}, 9}, {{5, 3}, 9}, {{3, 4}, 2}, {{3, 3}, 2}, {{0, 0}, 24}};
    for (const auto& c : cases) {
        Points region = floodRegion(sprite, c.start);
        EXPECT_EQ(region.size(), c.size) << c.start.x << "," << c.start.y;
        std::sort(region.begin(), region.end(), [](PixelPoint a, PixelPoint b) {
            return std::pair(a.y, a.x) < std::pair(b.y, b.x);
        });
        EXPECT_EQ(std::adjacent_find(region.begin(), region.end()), region.end());
        for (const PixelPoint p : region)
            EXPECT_EQ(sprite.at(p.x, p.y), sprite.at(c.start.x, c.start.y));
    }
}

TEST(ShiftConstraintTest, LinesKeepToEighthsAndRectanglesToSquares) {
    const struct {
        PixelPoint to;
        PixelPoint line;
        PixelPoint square;
    } cases[] = {
        {{10, 2}, {10, 0}, {10, 10}},   {{-1, 9}, {0, 9}, {-9, 9}}, {{6, -7}, {7, -7}, {7, -7}},
        {{-4, -5}, {-5, -5}, {-5, -5}}, {{0, 0}, {0, 0}, {0, 0}},   {{0, -3}, {0, -3}, {3, -3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(constrainToAngle({0, 0}, c.to), c.line) << c.to.x << "," << c.to.y;
        EXPECT_EQ(constrainToSquare({0, 0}, c.to), c.square) << c.to.x << "," << c.to.y;
    }
    EXPECT_EQ(constrainToAngle({5, 5}, {9, 6}), (PixelPoint{9, 5}));
}

using PixelSet = std::set<std::pair<int, int>>;  // (y, x): row by row

PixelSet pixelSetOf(const Points& points) {
    PixelSet set;
    for (const PixelPoint& p : points) set.insert({p.y, p.x});
    return set;
}

// Whatever the box: the ellipse touches its four sides and no more, is symmetric both ways, its
// rows are runs without gaps, each pixel comes once, and the outline lies in the filled shape and
// closes (each outline pixel beside two others at least).
TEST(EllipsePixelsTest, FitsItsBoxSymmetricallyAndItsOutlineCloses) {
    const std::pair<PixelPoint, PixelPoint> boxes[] = {
        {{0, 0}, {7, 7}},   {{3, 2}, {12, 6}},  {{10, 10}, {5, 0}}, {{0, 0}, {1, 9}},
        {{0, 0}, {9, 1}},   {{0, 0}, {4, 4}},   {{2, 2}, {2, 2}},   {{0, 0}, {0, 5}},
        {{0, 0}, {20, 13}}, {{-3, -2}, {3, 2}},
    };
    for (const auto& [a, b] : boxes) {
        SCOPED_TRACE(::testing::Message() << a.x << "," << a.y << " to " << b.x << "," << b.y);
        const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
        const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
        const Points filledPoints = ellipsePixels(a, b, true);
        const Points outlinePoints = ellipsePixels(a, b, false);
        const PixelSet filled = pixelSetOf(filledPoints);
        const PixelSet outline = pixelSetOf(outlinePoints);
        EXPECT_EQ(filled.size(), filledPoints.size());
        EXPECT_EQ(outline.size(), outlinePoints.size());
        EXPECT_EQ(filled.begin()->first, top);
        EXPECT_EQ(filled.rbegin()->first, bottom);
        int leftmost = right, rightmost = left;
        for (int y = top; y <= bottom; ++y) {
            const auto row = filled.lower_bound({y, left});
            const auto end = filled.upper_bound({y, right});
            ASSERT_NE(row, end) << "row " << y << " is empty";
            const int from = row->second, to = std::prev(end)->second;
            EXPECT_EQ(std::distance(row, end), to - from + 1) << "row " << y << " has a gap";
            leftmost = std::min(leftmost, from);
            rightmost = std::max(rightmost, to);
        }
        EXPECT_EQ(leftmost, left);
        EXPECT_EQ(rightmost, right);
        for (const auto& [y, x] : filled) {
            EXPECT_TRUE(filled.contains({y, left + right - x}));
            EXPECT_TRUE(filled.contains({top + bottom - y, x}));
        }
        for (const auto& pixel : outline) EXPECT_TRUE(filled.contains(pixel));
        if (right - left < 2 || bottom - top < 2) {
            EXPECT_EQ(outline, filled);  // too thin to have an inside
            continue;
        }
        for (const auto& [y, x] : outline) {
            int beside = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    beside += (dx != 0 || dy != 0) && outline.contains({y + dy, x + dx});
            EXPECT_GE(beside, 2) << x << "," << y;
        }
        EXPECT_LT(outline.size(), filled.size());
    }
    // A circle leaves the corners of its square out.
    EXPECT_FALSE(pixelSetOf(ellipsePixels({0, 0}, {7, 7}, true)).contains({0, 0}));
}

TEST(BrushPixelsTest, GrowsEachPointToASquareAndKeepsEachPixelOnce) {
    const struct {
        Points points;
        int size;
        PixelPoint from;  // the corners of the squares' union
        PixelPoint to;
    } cases[] = {
        {{{3, 3}}, 1, {3, 3}, {3, 3}},
        {{{3, 3}}, 2, {3, 3}, {4, 4}},  // even: the point above and left of the middle
        {{{3, 3}}, 3, {2, 2}, {4, 4}},
        {{{3, 3}}, 8, {0, 0}, {7, 7}},
        {{{3, 3}, {4, 3}, {5, 3}}, 3, {2, 2}, {6, 4}},  // overlapping squares
    };
    for (const auto& c : cases) {
        const Points grown = brushPixels(c.points, c.size);
        Points expected;
        for (int y = c.from.y; y <= c.to.y; ++y)
            for (int x = c.from.x; x <= c.to.x; ++x) expected.push_back({x, y});
        EXPECT_EQ(grown, expected) << c.size;
    }
}

class SpritePainterTest : public ::testing::Test {
  protected:
    SpritePainterTest() {
        writeSpriteFile(dir / "a.spr", std::vector{SpriteImage(12, 8, 0)});
        document.open(dir / "a.spr");
    }

    // A gesture of the current tool through the positions, pressed at the first.
    void gesture(const Points& at, std::uint8_t index, bool shift = false) {
        ASSERT_TRUE(painter.press(at.front(), index, shift));
        for (std::size_t i = 1; i < at.size(); ++i) painter.move(at[i], shift);
        painter.release();
    }
    Points pixelsOf(std::uint8_t index) const {
        Points found;
        const SpriteImage& sprite = document.sprite();
        for (int y = 0; y < sprite.height; ++y)
            for (int x = 0; x < sprite.width; ++x)
                if (sprite.at(x, y) == index) found.push_back({x, y});
        return found;
    }
    std::string_view lastStep() const { return document.undoStack().undoLabel()->english; }

    testing::TempDir dir;
    SpriteDocument document;
    SpritePainter painter{document};
};

TEST_F(SpritePainterTest, ThePencilLeavesGapsAndTheBrushJoinsThePositions) {
    const Points fast = {{0, 0}, {4, 0}, {4, 3}, {20, 3}};  // the last one beside the sprite
    gesture(fast, 7);
    EXPECT_EQ(pixelsOf(7), (Points{{0, 0}, {4, 0}, {4, 3}}));
    painter.setTool(SpriteToolKind::Brush);
    gesture({{0, 5}, {3, 5}, {3, 7}, {-2, 7}}, 9);
    EXPECT_EQ(pixelsOf(9),
              (Points{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {3, 6}, {0, 7}, {1, 7}, {2, 7}, {3, 7}}));
    EXPECT_EQ(document.history().undoSteps(), 2u);
    EXPECT_EQ(lastStep(), Msg::SpritePaintLabel.english);
    document.undo();
    EXPECT_TRUE(pixelsOf(9).empty());
    EXPECT_EQ(pixelsOf(7).size(), 3u);
}

TEST_F(SpritePainterTest, ALineFollowsThePointerAndLeavesOnlyItsLastPlace) {
    document.paintPixels(Points{{5, 0}, {5, 1}, {5, 2}, {5, 3}}, 3);  // something to cross
    painter.setTool(SpriteToolKind::Line);
    gesture({{0, 1}, {9, 1}, {9, 6}, {3, 4}}, 8);
    EXPECT_EQ(pixelsOf(8), linePixels({0, 1}, {3, 4}));
    EXPECT_EQ(pixelsOf(3).size(), 4u);  // the crossed column came back
    EXPECT_EQ(lastStep(), Msg::SpriteLineLabel.english);
    EXPECT_EQ(document.history().undoSteps(), 2u);

    // Shift holds it to 45 degrees.
    gesture({{0, 0}, {6, 5}}, 4, true);
    EXPECT_EQ(pixelsOf(4), linePixels({0, 0}, {6, 6}));
}

TEST_F(SpritePainterTest, RectanglesOutlinedFilledAndSquare) {
    painter.setTool(SpriteToolKind::Rectangle);
    gesture({{1, 1}, {8, 7}, {4, 3}}, 2);
    EXPECT_EQ(pixelsOf(2), rectanglePixels({1, 1}, {4, 3}, false));
    painter.setTool(SpriteToolKind::FilledRectangle);
    gesture({{6, 0}, {11, 1}}, 5, true);  // Shift: a square 6 x 6
    EXPECT_EQ(pixelsOf(5).size(), 36u);
    EXPECT_EQ(lastStep(), Msg::SpriteRectangleLabel.english);
    EXPECT_EQ(document.history().undoSteps(), 2u);
}

TEST_F(SpritePainterTest, FillChangesTheRegionInOneStep) {
    document.paintPixels(linePixels({0, 3}, {11, 3}), 1);  // a wall across
    painter.setTool(SpriteToolKind::Fill);
    gesture({{2, 1}, {2, 6}}, 6);  // a move does not fill again
    EXPECT_EQ(pixelsOf(6).size(), 36u);
    EXPECT_EQ(lastStep(), Msg::SpriteFillLabel.english);
    const std::size_t steps = document.history().undoSteps();
    gesture({{2, 1}}, 6);  // the same colour again changes nothing and adds no step
    EXPECT_EQ(document.history().undoSteps(), steps);
}

TEST_F(SpritePainterTest, ShiftDoesNothingWithToolsThatHaveNoUseForIt) {
    for (const SpriteToolKind tool :
         {SpriteToolKind::Pencil, SpriteToolKind::Brush, SpriteToolKind::Fill}) {
        painter.setTool(tool);
        EXPECT_FALSE(painter.press({1, 1}, 9, true));
        painter.move({3, 3}, true);
        painter.release();
    }
    EXPECT_TRUE(pixelsOf(9).empty());
    EXPECT_FALSE(document.changed());
}

// The brush size makes the pencil, brush, eraser and line paint squares; the eraser paints
// index 0 whatever the button's colour.
TEST_F(SpritePainterTest, SizedToolsPaintSquaresAndTheEraserIndexZero) {
    painter.setTool(SpriteToolKind::FilledRectangle);
    gesture({{0, 0}, {11, 7}}, 7);
    const Points fast = {{2, 2}, {8, 2}, {8, 5}};
    Points line = linePixels({2, 2}, {8, 2});
    const Points down = linePixels({8, 2}, {8, 5});
    line.insert(line.end(), down.begin() + 1, down.end());
    const struct {
        SpriteToolKind tool;
        int size;
        Points painted;
        std::uint8_t index;
        std::string_view label;
    } cases[] = {
        {SpriteToolKind::Pencil, 3, brushPixels(fast, 3), 9, "Paint"},
        {SpriteToolKind::Brush, 2, brushPixels(line, 2), 9, "Paint"},
        {SpriteToolKind::Eraser, 3, brushPixels(line, 3), 0, Msg::SpriteEraseLabel.english},
        {SpriteToolKind::Eraser, 1, line, 0, Msg::SpriteEraseLabel.english},
        {SpriteToolKind::Line, 2, brushPixels(linePixels({2, 2}, {8, 5}), 2), 9,
         Msg::SpriteLineLabel.english},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tool));
        painter.setTool(c.tool);
        painter.setBrushSize(c.size);
        gesture(fast, 9);
        Points inside;
        for (const PixelPoint& p : c.painted)
            if (p.x >= 0 && p.y >= 0 && p.x < 12 && p.y < 8) inside.push_back(p);
        EXPECT_EQ(pixelsOf(c.index), inside);
        EXPECT_EQ(lastStep(), c.label);
        document.undo();
        EXPECT_TRUE(pixelsOf(9).empty());
        EXPECT_TRUE(pixelsOf(0).empty());
    }
    painter.setBrushSize(0);
    EXPECT_EQ(painter.brushSize(), kSmallestBrush);
    painter.setBrushSize(kLargestBrush + 4);
    EXPECT_EQ(painter.brushSize(), kLargestBrush);
}

// An ellipse follows the pointer from its first corner; Shift makes it a circle. The
// eyedropper's press paints nothing: the editing state picks with it.
TEST_F(SpritePainterTest, EllipsesFollowThePointerAndTheEyedropperPaintsNothing) {
    painter.setTool(SpriteToolKind::Ellipse);
    gesture({{1, 1}, {10, 6}, {8, 5}}, 4);
    EXPECT_EQ(pixelsOf(4), ellipsePixels({1, 1}, {8, 5}, false));
    EXPECT_EQ(lastStep(), Msg::SpriteEllipseLabel.english);
    painter.setTool(SpriteToolKind::FilledEllipse);
    gesture({{0, 0}, {6, 3}}, 5, true);
    EXPECT_EQ(pixelsOf(5), ellipsePixels({0, 0}, constrainToSquare({0, 0}, {6, 3}), true));
    EXPECT_EQ(document.undoStack().undoCount(), 2u);

    painter.setTool(SpriteToolKind::Eyedropper);
    EXPECT_FALSE(painter.press({3, 3}, 9, false));
    painter.release();
    EXPECT_TRUE(pixelsOf(9).empty());
}

TEST_F(SpritePainterTest, AnotherSpriteEndsTheGesture) {
    for (const SpriteToolKind tool : {SpriteToolKind::Line, SpriteToolKind::Brush}) {
        painter.setTool(tool);
        ASSERT_TRUE(painter.press({0, 0}, 9, false));
        painter.move({5, 0}, false);
        document.select(0);  // read afresh: the painting is gone, and so is the gesture
        EXPECT_FALSE(painter.drawing());
        painter.move({5, 5}, false);
        painter.release();
        EXPECT_TRUE(pixelsOf(9).empty());
        EXPECT_FALSE(document.canUndo());
    }
}

}  // namespace
}  // namespace vek
