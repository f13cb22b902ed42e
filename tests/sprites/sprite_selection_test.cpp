#include "sprites/sprite_selection.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/text_names.h"
#include "support/temp_dir.h"
#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using vek::testing::patterned;

// What the user sees of a sprite: rows of pixels.
using Rows = std::vector<std::vector<int>>;

Rows rowsOf(const SpriteImage& sprite) {
    Rows rows(sprite.height);
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x) rows[y].push_back(sprite.at(x, y));
    return rows;
}

class SpriteSelectionTest : public ::testing::Test {
  protected:
    SpriteSelectionTest() {
        // Sprite 0: 4 × 4 counting 1 … 16; sprite 1: 3 × 2 of 50s.
        writeSpriteFile(dir / "a.spr", std::vector{patterned(4, 4, 1), SpriteImage(3, 2, 50)});
        document.open(dir / "a.spr");
    }

    Rows shown() const { return rowsOf(document.sprite()); }

    testing::TempDir dir;
    SpriteDocument document;
    SpriteSelection selection{document};
};

// Each edit of the selection: what the sprite shows afterwards, where the selection lies, and
// that it is one undo step that brings the sprite back.
TEST_F(SpriteSelectionTest, EachEditIsOneStepThatUndoTakesBack) {
    const struct Case {
        const char* name;
        std::function<void(SpriteSelection&)> edit;
        Rows expected;
        std::optional<PixelRect> area;
        Bilingual label;
    } cases[] = {
        {"move right by one: index 0 where it left",
         [](SpriteSelection& s) {
             s.select({1, 1}, {2, 2});
             s.moveBy(1, 0);
         },
         {{1, 2, 3, 4}, {5, 0, 6, 7}, {9, 0, 10, 11}, {13, 14, 15, 16}},
         PixelRect{2, 1, 2, 2},
         Msg::SpriteMoveSelectionLabel},
        {"a move beyond the edge stops at it",
         [](SpriteSelection& s) {
             s.select({2, 0}, {0, 1});
             s.moveBy(-5, 9);
         },
         {{0, 0, 0, 4}, {0, 0, 0, 8}, {1, 2, 3, 12}, {5, 6, 7, 16}},
         PixelRect{0, 2, 3, 2},
         Msg::SpriteMoveSelectionLabel},
        {"flip turns the selection upside down",
         [](SpriteSelection& s) {
             s.select({0, 0}, {1, 2});
             s.flip();
         },
         {{9, 10, 3, 4}, {5, 6, 7, 8}, {1, 2, 11, 12}, {13, 14, 15, 16}},
         PixelRect{0, 0, 2, 3},
         Msg::SpriteFlipLabel},
        {"mirror turns it left to right",
         [](SpriteSelection& s) {
             s.select({1, 3}, {3, 3});
             s.mirror();
         },
         {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 16, 15, 14}},
         PixelRect{1, 3, 3, 1},
         Msg::SpriteMirrorLabel},
        {"without a selection flip acts on the whole sprite",
         [](SpriteSelection& s) { s.flip(); },
         {{13, 14, 15, 16}, {9, 10, 11, 12}, {5, 6, 7, 8}, {1, 2, 3, 4}},
         std::nullopt,
         Msg::SpriteFlipLabel},
        {"and so does mirror",
         [](SpriteSelection& s) { s.mirror(); },
         {{4, 3, 2, 1}, {8, 7, 6, 5}, {12, 11, 10, 9}, {16, 15, 14, 13}},
         std::nullopt,
         Msg::SpriteMirrorLabel},
        {"cut leaves index 0 and drops the selection",
         [](SpriteSelection& s) {
             s.select({3, 3}, {2, 2});
             s.cut();
         },
         {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 0, 0}, {13, 14, 0, 0}},
         std::nullopt,
         Msg::SpriteCutSelectionLabel},
    };
    const Rows original = shown();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.edit(selection);
        EXPECT_EQ(shown(), c.expected);
        EXPECT_EQ(selection.area(), c.area);
        ASSERT_TRUE(document.canUndo());
        EXPECT_EQ(document.undoStack().undoLabel()->english, c.label.english);
        EXPECT_EQ(document.undoStack().undoCount(), 1u);
        document.undo();
        EXPECT_EQ(shown(), original);
        EXPECT_FALSE(document.canUndo());
        // Undo changed the pixels behind the selection's back: it is gone.
        EXPECT_FALSE(selection.area());
        document.redo();
        EXPECT_EQ(shown(), c.expected);
        document.undo();
    }
}

// A selection moved across other pixels and on gives them back: only a rectangle just drawn
// leaves index 0.
TEST_F(SpriteSelectionTest, AMovedSelectionGivesBackThePixelsItPassedOver) {
    selection.select({0, 0}, {0, 0});
    selection.moveBy(1, 0);
    selection.moveBy(1, 0);
    EXPECT_EQ(shown(), (Rows{{0, 2, 1, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}));
    selection.moveBy(0, 3);
    EXPECT_EQ(shown(), (Rows{{0, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 1, 16}}));
    EXPECT_EQ(document.undoStack().undoCount(), 3u);
}

// The tool's gesture: a drag draws the rectangle; a drag inside moves it, one step for the whole
// move however many positions it passed; a click elsewhere drops it and selects nothing.
TEST_F(SpriteSelectionTest, TheGestureDrawsMovesAndDrops) {
    selection.press({3, 3});
    EXPECT_FALSE(selection.area());
    selection.drag({9, 2});  // beside the sprite: cut off at its edge
    selection.release();
    EXPECT_EQ(selection.area(), (PixelRect{3, 2, 1, 2}));
    EXPECT_FALSE(document.canUndo());

    selection.press({3, 2});
    EXPECT_TRUE(selection.moving());
    for (const PixelPoint at : {PixelPoint{2, 2}, PixelPoint{1, 1}, PixelPoint{0, 1}})
        selection.drag(at);
    selection.release();
    EXPECT_EQ(selection.area(), (PixelRect{0, 1, 1, 2}));
    EXPECT_EQ(shown(), (Rows{{1, 2, 3, 4}, {12, 6, 7, 8}, {16, 10, 11, 0}, {13, 14, 15, 0}}));
    EXPECT_EQ(document.undoStack().undoCount(), 1u);

    selection.press({2, 0});
    selection.release();
    EXPECT_FALSE(selection.area());
    EXPECT_EQ(document.undoStack().undoCount(), 1u);
}

// Copy takes the selected piece with its place; pasted into another sprite it lies at that place,
// cut off at the edges, and is the selection there, pasted over the sprite's pixels, which come
// back when it moves away. A piece from beyond the sprite comes to its top-left corner.
TEST_F(SpriteSelectionTest, APieceIsPastedWhereItWasIntoAnotherSprite) {
    selection.select({2, 1}, {3, 2});
    selection.copy();
    ASSERT_TRUE(document.clipboardPlace());
    EXPECT_EQ(*document.clipboardPlace(), (PixelPoint{2, 1}));
    EXPECT_EQ(rowsOf(*document.clipboard()), (Rows{{7, 8}, {11, 12}}));

    document.select(1);  // 3 × 2 of 50s
    EXPECT_FALSE(selection.area());
    EXPECT_TRUE(selection.paste());
    EXPECT_EQ(shown(), (Rows{{50, 50, 50}, {50, 50, 7}}));
    EXPECT_EQ(selection.area(), (PixelRect{2, 1, 1, 1}));
    EXPECT_EQ(document.undoStack().undoLabel()->english, Msg::SpritePasteSelectionLabel.english);
    selection.moveBy(-2, -1);
    EXPECT_EQ(shown(), (Rows{{7, 50, 50}, {50, 50, 50}}));

    selection.drop();
    selection.select({0, 0}, {0, 0});
    selection.copy();
    document.copyPiece(*document.clipboard(), {10, 10});
    document.select(0);
    EXPECT_TRUE(selection.paste());
    EXPECT_EQ(selection.area(), (PixelRect{0, 0, 1, 1}));
    EXPECT_EQ(document.sprite().at(0, 0), 7);
    // The place went with the piece: the sprite pasted as a whole is pasted as before.
    selection.drop();
    selection.copy();
    EXPECT_FALSE(document.clipboardPlace());
    EXPECT_FALSE(selection.paste());
    EXPECT_FALSE(selection.area());
}

// Another sprite, another file and a press of another tool's kind end the selection; without a
// sprite nothing happens.
TEST_F(SpriteSelectionTest, TheSelectionGoesWithTheSpriteAndNeedsOne) {
    int told = 0;
    const Subscription observation = selection.observe([&told] { ++told; });
    selection.select({0, 0}, {1, 1});
    EXPECT_EQ(told, 1);
    document.select(1);
    EXPECT_FALSE(selection.area());
    EXPECT_EQ(told, 2);
    selection.select({0, 0}, {1, 1});
    document.paint(2, 1, 9);  // painting elsewhere drops it too
    EXPECT_FALSE(selection.area());
    selection.select({0, 0}, {1, 1});
    document.open(dir / "a.spr");
    EXPECT_FALSE(selection.area());

    SpriteDocument empty;
    SpriteSelection none(empty);
    none.select({0, 0}, {3, 3});
    none.press({0, 0});
    none.drag({2, 2});
    none.flip();
    none.cut();
    EXPECT_FALSE(none.paste());
    EXPECT_FALSE(none.area());
    EXPECT_FALSE(empty.canUndo());
}

}  // namespace
}  // namespace vek
