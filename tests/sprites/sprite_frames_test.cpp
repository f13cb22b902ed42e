#include "sprites/sprite_frames.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/sprite_document.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file laid out by hand: the count, each entry's offset, width and height little-endian, then
// the pixel blocks. A sprite's pixels are all `fill`, so every block tells which sprite it is.
struct HandSprite {
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t fill;
};

void put16(Bytes& bytes, std::size_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

Bytes handFile(const std::vector<HandSprite>& sprites) {
    Bytes bytes;
    put16(bytes, sprites.size());
    std::size_t offset = 2 + 8 * sprites.size();
    for (const HandSprite& sprite : sprites) {
        put16(bytes, offset & 0xFFFF);
        put16(bytes, offset >> 16);
        put16(bytes, sprite.width);
        put16(bytes, sprite.height);
        offset += std::size_t{sprite.width} * sprite.height;
    }
    for (const HandSprite& sprite : sprites)
        bytes.insert(bytes.end(), std::size_t{sprite.width} * sprite.height, sprite.fill);
    return bytes;
}

const std::vector<HandSprite> kThree = {{2, 3, 1}, {4, 1, 2}, {1, 1, 3}};

struct FrameCase {
    const char* name;
    std::function<void(SpriteList&)> edit;
    std::vector<HandSprite> expected;
};

class SpriteFramesTest : public ::testing::Test {
  protected:
    std::filesystem::path writeHand(const char* name, const std::vector<HandSprite>& sprites) {
        writeFileAtomically(dir / name, handFile(sprites));
        return dir / name;
    }
    testing::TempDir dir;
};

TEST_F(SpriteFramesTest, EachEditWritesTheFileAHandBuiltOneWouldBe) {
    const std::vector<FrameCase> cases = {
        {"insert first",
         [](SpriteList& s) { insertSprite(s, 0, SpriteImage(3, 2, 9)); },
         {{3, 2, 9}, {2, 3, 1}, {4, 1, 2}, {1, 1, 3}}},
        {"insert middle",
         [](SpriteList& s) { insertSprite(s, 1, SpriteImage(5, 5)); },
         {{2, 3, 1}, {5, 5, 0}, {4, 1, 2}, {1, 1, 3}}},
        {"append",
         [](SpriteList& s) { insertSprite(s, 3, SpriteImage(1, 2, 7)); },
         {{2, 3, 1}, {4, 1, 2}, {1, 1, 3}, {1, 2, 7}}},
        {"duplicate",
         [](SpriteList& s) { duplicateSprite(s, 1); },
         {{2, 3, 1}, {4, 1, 2}, {4, 1, 2}, {1, 1, 3}}},
        {"delete first", [](SpriteList& s) { deleteSprite(s, 0); }, {{4, 1, 2}, {1, 1, 3}}},
        {"delete last", [](SpriteList& s) { deleteSprite(s, 2); }, {{2, 3, 1}, {4, 1, 2}}},
        {"move down",
         [](SpriteList& s) { moveSprite(s, 0, 2); },
         {{4, 1, 2}, {1, 1, 3}, {2, 3, 1}}},
        {"move up", [](SpriteList& s) { moveSprite(s, 2, 1); }, {{2, 3, 1}, {1, 1, 3}, {4, 1, 2}}},
        {"move onto itself", [](SpriteList& s) { moveSprite(s, 1, 1); }, kThree},
    };
    for (const FrameCase& test : cases) {
        SCOPED_TRACE(test.name);
        const auto input = writeHand("in.spr", kThree);
        rewriteSpriteFile(input, dir / "out.spr", test.edit);
        EXPECT_EQ(readFileBytes(dir / "out.spr"), handFile(test.expected));
        // And back through the reader: count, sizes and every block where its offset says.
        const SpriteList read = readAllSprites(dir / "out.spr");
        ASSERT_EQ(read.size(), test.expected.size());
        for (std::size_t k = 0; k < read.size(); ++k) {
            EXPECT_EQ(read[k], SpriteImage(test.expected[k].width, test.expected[k].height,
                                           test.expected[k].fill));
        }
        EXPECT_EQ(readFileBytes(input), handFile(kThree));
    }
}

TEST_F(SpriteFramesTest, ScatteredBlocksComeOutContiguous) {
    // Blocks in reverse order with a gap: the reader finds them by offset.
    Bytes bytes = {2, 0, 22, 0, 0, 0, 1, 0, 2, 0, 18, 0, 0, 0, 2, 0, 1, 0};
    bytes.insert(bytes.end(), {5, 5, 0xEE, 0xEE, 4, 4});
    writeFileAtomically(dir / "odd.spr", bytes);
    rewriteSpriteFile(dir / "odd.spr", dir / "odd.spr", [](SpriteList& s) { moveSprite(s, 1, 0); });
    EXPECT_EQ(readFileBytes(dir / "odd.spr"), handFile({{2, 1, 5}, {1, 2, 4}}));
}

TEST_F(SpriteFramesTest, RefusalsChangeNeitherTheListNorTheFile) {
    const auto input = writeHand("in.spr", kThree);
    const std::vector<std::function<void(SpriteList&)>> refused = {
        [](SpriteList& s) { insertSprite(s, 4, SpriteImage(1, 1)); },
        [](SpriteList& s) { deleteSprite(s, 3); },
        [](SpriteList& s) { duplicateSprite(s, 3); },
        [](SpriteList& s) { moveSprite(s, 0, 3); },
        [](SpriteList& s) { moveSprite(s, 3, 0); },
    };
    for (const auto& edit : refused) {
        EXPECT_THROW(rewriteSpriteFile(input, input, edit), VekError);
        EXPECT_EQ(readFileBytes(input), handFile(kThree));
    }
}

TEST_F(SpriteFramesTest, TheListStopsAtTheEditorsTable) {
    SpriteList sprites(kSpriteTableCapacity - 1, SpriteImage(1, 1));
    insertSprite(sprites, 0, SpriteImage(1, 1, 4));
    EXPECT_EQ(sprites.size(), kSpriteTableCapacity);
    try {
        duplicateSprite(sprites, 0);
        FAIL() << "a sprite beyond the table was added";
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.what()).find("1001"), std::string::npos) << error.what();
    }
    EXPECT_THROW(insertSprite(sprites, 0, SpriteImage(1, 1)), VekError);
    EXPECT_EQ(sprites.size(), kSpriteTableCapacity);
}

class SpriteDocumentFramesTest : public SpriteFramesTest {
  protected:
    SpriteDocument document;
};

TEST_F(SpriteDocumentFramesTest, EachChangeIsWrittenAtOnceAndIsOneUndoStep) {
    document.open(writeHand("doc.spr", kThree));
    document.select(1);
    ASSERT_TRUE(document.duplicateSprite());
    EXPECT_EQ(readFileBytes(dir / "doc.spr"),
              handFile({{2, 3, 1}, {4, 1, 2}, {4, 1, 2}, {1, 1, 3}}));
    EXPECT_EQ(document.current(), 2u);
    ASSERT_TRUE(document.moveSprite(2, 0));
    ASSERT_TRUE(document.insertSprite(4, 3, 3));
    EXPECT_EQ(document.current(), 4u);
    ASSERT_TRUE(document.deleteSprite());
    const Bytes moved = handFile({{4, 1, 2}, {2, 3, 1}, {4, 1, 2}, {1, 1, 3}});
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), moved);
    EXPECT_EQ(document.table().count(), 4u);

    document.undo();  // the delete
    EXPECT_EQ(readFileBytes(dir / "doc.spr"),
              handFile({{4, 1, 2}, {2, 3, 1}, {4, 1, 2}, {1, 1, 3}, {3, 3, 0}}));
    document.undo();  // the insert
    document.undo();  // the move
    document.undo();  // the duplicate
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), handFile(kThree));
    EXPECT_EQ(document.current(), 1u);
    EXPECT_FALSE(document.canUndo());
    for (int k = 0; k < 4; ++k) document.redo();
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), moved);
    EXPECT_FALSE(document.canRedo());
}

TEST_F(SpriteDocumentFramesTest, UndoAndRedoRunThePixelAndListStepsInTheUsersOrder) {
    document.open(writeHand("doc.spr", kThree));
    document.setLeaveQuestion([] { return LeaveChoice::Save; });
    document.paint(0, 0, 8);                      // sprite 0, saved before the insert
    ASSERT_TRUE(document.insertSprite(1, 2, 2));  // the new sprite 1 is current
    EXPECT_EQ(document.undoStack().undoLabel()->english, "Insert New Sprite");
    document.paint(1, 1, 5);                 // on the new sprite
    ASSERT_TRUE(document.moveSprite(1, 3));  // the painted sprite, saved, goes last
    EXPECT_EQ(document.current(), 3u);
    Bytes painted = handFile({{2, 3, 1}, {4, 1, 2}, {1, 1, 3}, {2, 2, 0}});
    painted[2 + 8 * 4] = 8;           // sprite 0's first pixel
    painted[painted.size() - 1] = 5;  // the new sprite's last pixel
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), painted);

    document.paint(0, 0, 6);
    document.undo();  // the last paint
    EXPECT_EQ(document.sprite().at(0, 0), 0);
    EXPECT_EQ(document.undoStack().undoLabel()->english, "Move Sprite");
    document.undo();  // the move
    EXPECT_EQ(document.current(), 1u);
    EXPECT_EQ(document.sprite().at(1, 1), 5);
    EXPECT_EQ(document.undoStack().undoLabel()->english, "Insert New Sprite");
    document.undo();  // the insert, with the new sprite and its saved paint
    Bytes inserted = handFile(kThree);
    inserted[2 + 8 * 3] = 8;
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), inserted);
    EXPECT_FALSE(document.canUndo());

    document.redo();  // the insert
    EXPECT_EQ(document.table().count(), 4u);
    EXPECT_EQ(document.undoStack().redoLabel()->english, "Move Sprite");
    document.redo();  // the move; the inserted sprite comes back as it was made, empty
    Bytes redone = painted;
    redone.back() = 0;
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), redone);
    // The paint that was taken back belonged to the sprite that the move left.
    EXPECT_FALSE(document.canRedo());
    EXPECT_FALSE(document.changed());
}

TEST_F(SpriteDocumentFramesTest, AListStepAsksAboutAChangedSpriteAndANewPaintDropsItsRedo) {
    document.open(writeHand("doc.spr", kThree));
    ASSERT_TRUE(document.deleteSprite());
    document.paint(0, 0, 8);
    document.setLeaveQuestion([] { return LeaveChoice::Stay; });
    EXPECT_FALSE(document.insertSprite(0, 1, 1));
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), handFile({{4, 1, 2}, {1, 1, 3}}));
    document.saveInPlace();
    document.undo();  // the pixel: now the sprite differs from the saved one
    EXPECT_EQ(document.sprite().at(0, 0), 2);
    EXPECT_TRUE(document.changed());
    document.undo();  // the delete, but the user stays with the changed sprite
    EXPECT_EQ(document.table().count(), 2u);
    EXPECT_TRUE(document.canUndo());
    document.setLeaveQuestion([] { return LeaveChoice::Discard; });
    document.undo();  // the delete
    Bytes restored = handFile(kThree);
    restored[2 + 8 * 3 + 6] = 8;  // the saved pixel of the second sprite
    EXPECT_EQ(readFileBytes(dir / "doc.spr"), restored);
    EXPECT_EQ(document.current(), 0u);
    // A new pixel step drops the delete's redo: the file is not changed behind the painting.
    document.paint(0, 0, 8);
    document.undo();
    document.redo();
    EXPECT_EQ(document.sprite().at(0, 0), 8);
    EXPECT_FALSE(document.canRedo());
    EXPECT_EQ(document.table().count(), 3u);
}

TEST_F(SpriteDocumentFramesTest, AFullFileIsRefusedBeforeAnyQuestion) {
    document.open(
        writeHand("full.spr", std::vector<HandSprite>(kSpriteTableCapacity, HandSprite{1, 1, 7})));
    document.paint(0, 0, 8);
    int asked = 0;
    document.setLeaveQuestion([&asked] {
        ++asked;
        return LeaveChoice::Discard;
    });
    const Bytes before = readFileBytes(dir / "full.spr");
    for (const auto& add :
         std::vector<std::function<bool()>>{[this] { return document.insertSprite(0, 1, 1); },
                                            [this] { return document.duplicateSprite(); }}) {
        try {
            add();
            ADD_FAILURE() << "a sprite beyond the table was added";
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find("already holds 1000 sprites"),
                      std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(readFileBytes(dir / "full.spr"), before);
    EXPECT_EQ(document.sprite().at(0, 0), 8);
}

}  // namespace
}  // namespace vek
