#include "sprites/sprite_document.h"

#include <gtest/gtest.h>

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
            EXPECT_EQ(error.text(kLanguageGerman), "Die Sprite Datei hat kein Sprite " +
                                                       std::to_string(position) +
                                                       " (sie hat 2, gezaehlt ab 0).");
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
