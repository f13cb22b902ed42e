#include "sprites/sprite_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"
#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using vek::testing::patterned;

using Bytes = std::vector<std::uint8_t>;

class SpriteDocumentTest : public ::testing::Test {
  protected:
    SpriteDocumentTest() {
        m_observation = document.observe(
            [this](const SpriteDocumentEvent& event) { events.push_back(event.change); });
    }

    std::filesystem::path write(const char* name, const std::vector<SpriteImage>& sprites) {
        writeSpriteFile(dir / name, sprites);
        return dir / name;
    }

    testing::TempDir dir;
    SpriteDocument document;
    std::vector<SpriteChange> events;

  private:
    Subscription m_observation;
};

TEST_F(SpriteDocumentTest, OpeningReadsTheTableAndSelectsTheFirstSprite) {
    const std::vector<SpriteImage> sprites = {patterned(2, 3, 1), patterned(5, 1, 9)};
    document.open(write("x.spr", sprites));
    EXPECT_EQ(document.table().file, dir / "x.spr");
    EXPECT_EQ(document.table().count(), 2u);
    EXPECT_EQ(document.current(), 0u);
    EXPECT_EQ(document.sprite(), sprites[0]);
    EXPECT_EQ(events, (std::vector{SpriteChange::FileOpened, SpriteChange::SpriteSelected}));

    document.select(1);
    EXPECT_EQ(document.sprite(), sprites[1]);
    document.open(write("empty.spr", {}));
    EXPECT_FALSE(document.spriteLoaded());
    EXPECT_EQ(document.table().count(), 0u);
}

TEST_F(SpriteDocumentTest, APositionTheFileLacksIsRefusedAndChangesNothing) {
    document.open(write("x.spr", {patterned(2, 2, 1), patterned(1, 1, 7)}));
    events.clear();
    for (const int position : {2, -1}) {
        try {
            document.select(position);
            FAIL() << "selected sprite " << position;
        } catch (const VekError& error) {
            EXPECT_EQ(error.text(kLanguageEnglish), "The sprite file has no sprite " +
                                                        std::to_string(position) +
                                                        " (it holds 2, counted from 0).");
            EXPECT_EQ(error.text(kLanguageGerman), "Die Sprite-Datei hat kein Sprite " +
                                                       std::to_string(position) +
                                                       " (sie hat 2, gezählt ab 0).");
            EXPECT_EQ(error.detail().file, pathToUtf8(dir / "x.spr"));
        }
    }
    EXPECT_EQ(document.current(), 0u);
    EXPECT_TRUE(events.empty());
}

TEST_F(SpriteDocumentTest, ABrokenFileKeepsWhatWasReadAndLeavesNoSprite) {
    // Five sprites promised, two and a half entries there; the second's pixels are missing.
    writeFileAtomically(dir / "bad.spr",
                        Bytes{5, 0, 18, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 200, 0, 200, 0, 1, 2, 3});
    EXPECT_THROW(document.open(dir / "bad.spr"), VekError);
    EXPECT_EQ(document.table().entries, (std::vector<SpriteEntry>{{18, 1, 1}, {256, 200, 200}}));
    EXPECT_FALSE(document.spriteLoaded());
    EXPECT_EQ(events, std::vector{SpriteChange::FileOpened});

    document.select(0);
    EXPECT_THROW(document.select(1), VekError);
    EXPECT_FALSE(document.spriteLoaded());
    EXPECT_EQ(events.back(), SpriteChange::SpriteSelected);
    document.saveInPlace();  // no sprite: nothing written
    EXPECT_EQ(readFileBytes(dir / "bad.spr").size(), 21u);
    EXPECT_THROW(document.open(dir / "missing.spr"), VekError);
    EXPECT_TRUE(document.table().entries.empty());
}

TEST_F(SpriteDocumentTest, PaintingSetsOnePixelInsideTheSpriteOnly) {
    document.open(write("a.spr", {SpriteImage(3, 2, 0)}));
    events.clear();
    EXPECT_FALSE(document.changed());
    EXPECT_TRUE(document.paint(2, 1, 77));
    EXPECT_FALSE(document.paint(3, 0, 77));
    EXPECT_FALSE(document.paint(-1, 0, 77));
    EXPECT_EQ(document.sprite().pixels, (Bytes{0, 0, 0, 0, 0, 77}));
    EXPECT_EQ(events, std::vector{SpriteChange::PixelsChanged});
    EXPECT_TRUE(document.changed());
    EXPECT_EQ(readSprite(dir / "a.spr", document.table().entries[0]).pixels, Bytes(6, 0))
        << "painting changes the pixels in memory only";
}

TEST_F(SpriteDocumentTest, PasteIsClippedToTheSpriteBothWays) {
    struct Case {
        SpriteImage clip;
        SpriteImage target;
        Bytes expected;
    };
    const Case cases[] = {
        // A larger clip gives the target its top-left part.
        {patterned(3, 3, 1), SpriteImage(2, 2, 9), {1, 2, 4, 5}},
        // A smaller one changes only the top-left part.
        {patterned(1, 2, 1), SpriteImage(2, 3, 9), {1, 9, 2, 9, 9, 9}},
        // A wider but shorter one keeps the rows below.
        {patterned(6, 2, 1),
         SpriteImage(4, 4, 9),
         {1, 2, 3, 4, 7, 8, 9, 10, 9, 9, 9, 9, 9, 9, 9, 9}},
    };
    for (const Case& test : cases) {
        document.open(write("pair.spr", {test.clip, test.target}));
        document.copy();
        document.select(1);
        document.paste();
        EXPECT_EQ(document.sprite().pixels, test.expected);
        EXPECT_TRUE(document.changed());
    }
}

TEST_F(SpriteDocumentTest, CutClearsAndPasteRestoresWhileClearKeepsTheClipboard) {
    const SpriteImage sprite = patterned(4, 4, 1);
    document.open(write("a.spr", {sprite}));
    events.clear();
    document.paste();  // an empty clipboard: only a redraw
    EXPECT_EQ(document.sprite(), sprite);
    EXPECT_FALSE(document.changed());
    EXPECT_EQ(events, std::vector{SpriteChange::PixelsChanged});

    document.cut();
    EXPECT_EQ(document.sprite(), SpriteImage(4, 4, 0));
    document.paste();
    EXPECT_EQ(document.sprite(), sprite);
    document.clear();
    EXPECT_EQ(document.sprite(), SpriteImage(4, 4, 0));
    document.paste();
    EXPECT_EQ(document.sprite(), sprite);
}

TEST_F(SpriteDocumentTest, TheClipboardCrossesFilesAndSaveWritesIntoTheSecond) {
    const SpriteImage source = patterned(8, 8, 50);
    document.open(write("a.spr", {source}));
    document.copy();
    const std::filesystem::path second =
        write("b.spr", {SpriteImage(8, 8, 1), SpriteImage(8, 8, 2)});
    Bytes expected = readFileBytes(second);
    document.open(second);
    document.select(1);
    document.paste();
    document.saveInPlace();
    EXPECT_FALSE(document.changed());
    std::copy(source.pixels.begin(), source.pixels.end(), expected.begin() + 18 + 64);
    EXPECT_EQ(readFileBytes(second), expected);
}

TEST_F(SpriteDocumentTest, SavingToANewFileKeepsTheOpenedFileAsTheTarget) {
    const std::filesystem::path opened =
        write("a.spr", {SpriteImage(3, 2, 4), SpriteImage(2, 2, 5)});
    document.open(opened);
    document.paint(0, 0, 1);
    events.clear();
    document.saveToNewFile(dir / "copy.spr");
    EXPECT_EQ(events, std::vector{SpriteChange::SavedToNewFile});
    const Bytes written = readFileBytes(dir / "copy.spr");
    EXPECT_EQ(written, (Bytes{1, 0, 10, 0, 0, 0, 3, 0, 2, 0, 1, 4, 4, 4, 4, 4}));

    document.paint(1, 0, 1);
    document.saveInPlace();
    EXPECT_EQ(document.table().file, opened);
    EXPECT_EQ(readSprite(opened, document.table().entries[0]).pixels, (Bytes{1, 1, 4, 4, 4, 4}));
    EXPECT_EQ(readSprite(opened, document.table().entries[1]).pixels, (Bytes{5, 5, 5, 5}));
    EXPECT_EQ(readFileBytes(dir / "copy.spr"), written);
}

TEST_F(SpriteDocumentTest, WithoutASpriteTheCommandsDoNothing) {
    document.copy();
    document.cut();
    document.clear();
    document.saveToNewFile(dir / "none.spr");
    EXPECT_FALSE(document.paint(0, 0, 1));
    EXPECT_FALSE(document.hasClipboard());
    EXPECT_FALSE(std::filesystem::exists(dir / "none.spr"));
    EXPECT_TRUE(events.empty());
}

TEST_F(SpriteDocumentTest, AnObserverThatGoesIsToldNothingMore) {
    std::size_t told = 0;
    {
        const Subscription brief =
            document.observe([&told](const SpriteDocumentEvent&) { ++told; });
        document.open(write("a.spr", {SpriteImage(1, 1, 0)}));
    }
    document.paint(0, 0, 3);
    EXPECT_EQ(told, 2u);  // the file and its first sprite
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

// Undo and redo of every kind of change give back the exact pixels, one step at a time.
TEST_F(SpriteDocumentTest, UndoAndRedoRestoreTheExactPixelsOfEachStep) {
    const SpriteImage original = patterned(6, 5, 1);
    const SpriteImage clip = patterned(3, 2, 100);
    document.open(write("a.spr", {original, clip}));
    document.select(1);
    document.copy();
    document.select(0);
    EXPECT_FALSE(document.canUndo());

    std::vector<SpriteImage> states{document.sprite()};
    const std::function<void()> steps[] = {
        [&] {
            document.beginStroke();
            for (int x = 0; x < 6; ++x) document.paint(x, x % 5, 250);
            document.endStroke();
        },
        [&] { document.cut(); },
        [&] { document.paste(); },
        [&] { document.paint(5, 4, 9); },  // outside a stroke: a step of its own
        [&] { document.clear(); },
    };
    for (const auto& step : steps) {
        step();
        ASSERT_NE(document.sprite(), states.back());
        states.push_back(document.sprite());
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(document.canUndo());
        document.undo();
        EXPECT_EQ(document.sprite(), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.changed()) << "back at the pixels read";
    for (std::size_t i = 1; i < states.size(); ++i) {
        document.redo();
        EXPECT_EQ(document.sprite(), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(document.canRedo());

    // A new change after an undo drops the steps that could be redone.
    document.undo();
    document.paint(0, 0, 1);
    EXPECT_FALSE(document.canRedo());
    // Selecting another sprite starts its history afresh.
    document.select(1);
    EXPECT_FALSE(document.canUndo());
}

TEST_F(SpriteDocumentTest, TheChangedFlagFollowsUndoBackToTheSavedPixels) {
    document.open(write("a.spr", {SpriteImage(4, 4, 0)}));
    document.paint(0, 0, 5);
    document.saveInPlace();
    EXPECT_FALSE(document.changed());
    EXPECT_EQ(events.back(), SpriteChange::SavedInPlace);
    document.undo();
    EXPECT_TRUE(document.changed()) << "the file holds the painted pixel";
    document.redo();
    EXPECT_FALSE(document.changed());
    document.beginStroke();
    document.paint(1, 1, 5);
    EXPECT_TRUE(document.changed()) << "a stroke not yet ended";
    EXPECT_TRUE(document.canUndo());
    document.endStroke();
    document.paste();  // an empty clipboard changes nothing
    document.undo();
    EXPECT_FALSE(document.changed());
}

// Many strokes over a large sprite keep the last 100 steps, each only as large as its pixels.
TEST_F(SpriteDocumentTest, OneHundredFiftyStrokesKeepTheLastHundredStepsInLittleMemory) {
    const SpriteImage blank(300, 300, 0);
    document.open(write("large.spr", {blank}));
    std::vector<SpriteImage> states{document.sprite()};
    for (int stroke = 0; stroke < 150; ++stroke) {
        document.beginStroke();
        for (int x = 0; x < 20; ++x) document.paint(x + stroke, stroke, 7);
        document.endStroke();
        states.push_back(document.sprite());
    }
    EXPECT_EQ(document.history().undoSteps(), 100u);
    // 100 copies of the sprite would be 9 MB; the changed pixels are 4 KB.
    EXPECT_LT(document.history().bytes(), 64u * 1024u);
    for (int i = 0; i < 100; ++i) document.undo();
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.sprite(), states[50]);
    EXPECT_TRUE(document.changed()) << "the pixels read are out of reach";
}

TEST(PixelHistory, TheOldestStepsGoWhenTheyHoldTooManyBytes) {
    PixelHistory history(100, 3000);
    const Bytes zeros(1000, 0);
    Bytes pixels = zeros;
    for (std::uint8_t value = 1; value <= 3; ++value) {
        const Bytes before = pixels;
        std::fill(pixels.begin(), pixels.end(), value);
        EXPECT_TRUE(history.record(before, pixels));
    }
    EXPECT_EQ(history.undoSteps(), 1u) << "each step holds 2000 bytes";
    EXPECT_LE(history.bytes(), 3000u);
    EXPECT_FALSE(history.record(pixels, pixels)) << "no change, no step";
    EXPECT_TRUE(history.undo(pixels));
    EXPECT_EQ(pixels, Bytes(1000, 2));
}

TEST_F(SpriteDocumentTest, LeavingAChangedSpriteAsksAndDoesWhatTheAnswerSays) {
    const std::filesystem::path file = write("a.spr", {SpriteImage(2, 1, 0)});
    document.open(file);
    int asked = 0;
    LeaveChoice answer = LeaveChoice::Stay;
    document.setLeaveQuestion([&] {
        ++asked;
        return answer;
    });
    EXPECT_TRUE(document.mayLeaveSprite()) << "nothing changed: no question";
    EXPECT_EQ(asked, 0);
    document.paint(0, 0, 3);
    EXPECT_FALSE(document.mayLeaveSprite());
    answer = LeaveChoice::Discard;
    EXPECT_TRUE(document.mayLeaveSprite());
    EXPECT_EQ(readFileBytes(file).back(), 0);
    answer = LeaveChoice::Save;
    EXPECT_TRUE(document.mayLeaveSprite());
    EXPECT_EQ(readFileBytes(file), (Bytes{1, 0, 10, 0, 0, 0, 2, 0, 1, 0, 3, 0}));
    EXPECT_FALSE(document.changed());
    EXPECT_EQ(asked, 3);
}

TEST_F(SpriteDocumentTest, ReplacingThePixelsIsOneStepAndWantsTheSpritesSize) {
    document.open(write("a.spr", {SpriteImage(2, 2, 0)}));
    EXPECT_THROW(document.replacePixels(SpriteImage(3, 2, 1)), VekError);
    EXPECT_FALSE(document.changed());
    document.replacePixels(patterned(2, 2, 4));
    EXPECT_EQ(document.sprite(), patterned(2, 2, 4));
    document.undo();
    EXPECT_EQ(document.sprite(), SpriteImage(2, 2, 0));
}

// Many pixels at once, as the drawing tools paint: one notice of the rectangle around those
// inside the sprite; back to the stroke's start for a preview that moves on.
TEST_F(SpriteDocumentTest, ManyPixelsAreToldAsTheRectangleAroundThem) {
    const SpriteImage sprite = patterned(6, 5, 1);
    document.open(write("x.spr", {sprite}));
    std::vector<PixelRect> told;
    const Subscription observation = document.observe([&](const SpriteDocumentEvent& event) {
        if (event.change == SpriteChange::PixelsChanged) told.push_back(event.area);
    });
    const std::vector<PixelPoint> points = {{1, 3}, {4, 1}, {9, 9}, {-1, 2}, {2, 2}};
    document.beginStroke();
    document.paintPixels(points, 200);
    EXPECT_EQ(told, (std::vector<PixelRect>{{1, 1, 4, 3}}));
    EXPECT_EQ(document.sprite().at(4, 1), 200);
    document.restoreStrokePixels(points);
    EXPECT_EQ(document.sprite(), sprite);
    document.paintPixels(std::vector<PixelPoint>{{0, 0}}, 201);
    document.endStroke();
    EXPECT_EQ(told.back(), (PixelRect{0, 0, 1, 1}));
    EXPECT_EQ(document.history().undoSteps(), 1u);

    // Outside a stroke the pixels are a step of their own; all outside, nothing is told.
    told.clear();
    document.paintPixels(std::vector<PixelPoint>{{3, 3}, {5, 4}}, 7);
    document.paintPixels(std::vector<PixelPoint>{{6, 0}, {0, 5}}, 7);
    EXPECT_EQ(told, (std::vector<PixelRect>{{3, 3, 3, 2}}));
    EXPECT_EQ(document.history().undoSteps(), 2u);
    document.undo();
    document.undo();
    EXPECT_EQ(document.sprite(), sprite);
}

}  // namespace
}  // namespace vek
