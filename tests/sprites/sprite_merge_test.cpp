#include "sprites/sprite_merge.h"

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"
#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using vek::testing::patterned;

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class SpriteMergeTest : public ::testing::Test {
  protected:
    testing::TempDir dir;
};

TEST_F(SpriteMergeTest, TwoEightSquaresAndAFourByTwoMakeA162ByteFile) {
    const std::vector<SpriteImage> first = {patterned(8, 8, 0), patterned(8, 8, 100)};
    const std::vector<SpriteImage> second = {patterned(4, 2, 50)};
    writeSpriteFile(dir / "a.spr", first);
    writeSpriteFile(dir / "b.spr", second);
    const std::vector<fs::path> inputs = {dir / "a.spr", dir / "b.spr"};
    mergeSpriteFiles(dir / "ab.spr", inputs);

    const Bytes merged = readFileBytes(dir / "ab.spr");
    ASSERT_EQ(merged.size(), 162u);
    const SpriteTable table = readSpriteTable(dir / "ab.spr");
    ASSERT_EQ(table.count(), 3u);
    EXPECT_EQ(table.entries[0], (SpriteEntry{26, 8, 8}));
    EXPECT_EQ(table.entries[1], (SpriteEntry{90, 8, 8}));
    EXPECT_EQ(table.entries[2], (SpriteEntry{154, 4, 2}));
    EXPECT_EQ(readSprite(table.file, table.entries[1]), first[1]);
    EXPECT_EQ(readSprite(table.file, table.entries[2]), second[0]);
}

TEST_F(SpriteMergeTest, OneContiguousFileIsCopiedByteForByte) {
    writeSpriteFile(dir / "one.spr", std::vector{patterned(3, 3, 1), patterned(5, 1, 9)});
    const std::vector<fs::path> inputs = {dir / "one.spr"};
    mergeSpriteFiles(dir / "copy.spr", inputs);
    EXPECT_EQ(readFileBytes(dir / "copy.spr"), readFileBytes(dir / "one.spr"));
}

TEST_F(SpriteMergeTest, AScatteredFileIsLaidOutContiguouslyAndTheInputKept) {
    ByteWriter out;
    out.u16(2);
    out.u32(25);
    out.u16(2);
    out.u16(1);
    out.u32(19);
    out.u16(1);
    out.u16(3);
    out.u8(0xEE);
    out.bytes(Bytes{7, 8, 9});
    out.fill(3, 0xDD);
    out.bytes(Bytes{4, 5});
    out.fill(4, 0xCC);
    {
        std::ofstream file(dir / "scattered.spr", std::ios::binary);
        file.write(reinterpret_cast<const char*>(out.data().data()),
                   static_cast<std::streamsize>(out.size()));
    }
    const std::vector<fs::path> inputs = {dir / "scattered.spr"};
    mergeSpriteFiles(dir / "tidy.spr", inputs);
    const Bytes expected = {2, 0, 18, 0, 0, 0, 2, 0, 1, 0, 20, 0, 0, 0, 1, 0, 3, 0, 4, 5, 7, 8, 9};
    EXPECT_EQ(readFileBytes(dir / "tidy.spr"), expected);
    EXPECT_EQ(readFileBytes(dir / "scattered.spr"), out.data());
}

TEST_F(SpriteMergeTest, TheMergeListHoldsUpTo1001Sprites) {
    writeUniformSpriteFile(dir / "500.spr", checkUniformSpriteFile(500, 2, 1));
    writeUniformSpriteFile(dir / "501.spr", checkUniformSpriteFile(501, 1, 2));
    writeUniformSpriteFile(dir / "1.spr", checkUniformSpriteFile(1, 1, 1));
    const std::vector<fs::path> fits = {dir / "500.spr", dir / "501.spr"};
    const std::vector<MergeEntry> list = buildMergeList(fits);
    ASSERT_EQ(list.size(), 1001u);
    EXPECT_EQ(list[499].file, dir / "500.spr");
    EXPECT_EQ(list[500].file, dir / "501.spr");
    EXPECT_EQ(list[1000].entry.height, 2);

    const std::vector<fs::path> tooMany = {dir / "500.spr", dir / "501.spr", dir / "1.spr"};
    EXPECT_THROW(buildMergeList(tooMany), VekError);
    writeFileAtomically(dir / "out.spr", Bytes{42});
    EXPECT_THROW(mergeSpriteFiles(dir / "out.spr", tooMany), VekError);
    EXPECT_EQ(readFileBytes(dir / "out.spr"), Bytes{42});
}

TEST_F(SpriteMergeTest, MergingIntoOneOfTheInputsReadsItBeforeReplacingIt) {
    const std::vector<SpriteImage> first = {patterned(2, 2, 10)};
    const std::vector<SpriteImage> second = {patterned(3, 1, 20)};
    writeSpriteFile(dir / "a.spr", first);
    writeSpriteFile(dir / "b.spr", second);
    const std::vector<fs::path> inputs = {dir / "a.spr", dir / "b.spr"};
    mergeSpriteFiles(dir / "a.spr", inputs);
    const SpriteTable table = readSpriteTable(dir / "a.spr");
    ASSERT_EQ(table.count(), 2u);
    EXPECT_EQ(readSprite(table.file, table.entries[0]), first[0]);
    EXPECT_EQ(readSprite(table.file, table.entries[1]), second[0]);
}

TEST_F(SpriteMergeTest, ABrokenInputStopsTheMergeWithoutTouchingTheOutput) {
    writeSpriteFile(dir / "good.spr", std::vector{patterned(2, 2, 0)});
    ByteWriter out;
    out.u16(1);
    out.u32(10);
    out.u16(100);
    out.u16(100);  // 10,000 pixels promised, none there
    {
        std::ofstream file(dir / "bad.spr", std::ios::binary);
        file.write(reinterpret_cast<const char*>(out.data().data()),
                   static_cast<std::streamsize>(out.size()));
    }
    writeFileAtomically(dir / "out.spr", Bytes{1, 2, 3});
    const std::vector<fs::path> inputs = {dir / "good.spr", dir / "bad.spr"};
    try {
        mergeSpriteFiles(dir / "out.spr", inputs);
        FAIL() << "merged a sprite that is not there";
    } catch (const VekError& error) {
        EXPECT_EQ(error.what(), std::string_view(kReadPastEndOfFile));
    }
    EXPECT_EQ(readFileBytes(dir / "out.spr"), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3)
        << "a temporary file was left";
    const std::vector<fs::path> missing = {dir / "good.spr", dir / "none.spr"};
    EXPECT_THROW(mergeSpriteFiles(dir / "out.spr", missing), VekError);
}

}  // namespace
}  // namespace vek
