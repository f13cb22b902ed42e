#include "sprites/sprite_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
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

void writeRaw(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VekError& error) {
        return error.what();
    }
    return "no error";
}

// The error's text in English and its detail, as the command line prints them.
std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VekError& error) {
        return error.message(kLanguageEnglish);
    }
    return "no error";
}

class SpriteFileTest : public ::testing::Test {
  protected:
    testing::TempDir dir;
};

TEST_F(SpriteFileTest, UniformFileOfOneOneByOneSpriteIsElevenBytes) {
    writeUniformSpriteFile(dir / "one.spr", checkUniformSpriteFile(1, 1, 1));
    EXPECT_EQ(readFileBytes(dir / "one.spr"),
              (Bytes{0x01, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00}));
}

TEST_F(SpriteFileTest, UniformFileOfTwoThreeByFourSpritesIsFortyTwoBytes) {
    writeUniformSpriteFile(dir / "two.spr", checkUniformSpriteFile(2, 3, 4));
    const Bytes bytes = readFileBytes(dir / "two.spr");
    ASSERT_EQ(bytes.size(), 42u);
    ByteReader in(bytes);
    EXPECT_EQ(in.u16(), 2);
    EXPECT_EQ(in.u32(), 18u);
    EXPECT_EQ(in.u16(), 3);
    EXPECT_EQ(in.u16(), 4);
    EXPECT_EQ(in.u32(), 30u);
    EXPECT_EQ(in.u16(), 3);
    EXPECT_EQ(in.u16(), 4);
    for (std::size_t i = in.position(); i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
}

TEST_F(SpriteFileTest, UniformFileRepeatsTheBlockBehindOffsetsOfTheLayout) {
    const SpriteImage block = patterned(10, 20, 7);
    writeUniformSpriteFile(dir / "three.spr", {3, 10, 20}, block.pixels);
    EXPECT_EQ(std::filesystem::file_size(dir / "three.spr"), 626u);
    const SpriteTable table = readSpriteTable(dir / "three.spr");
    ASSERT_EQ(table.count(), 3u);
    EXPECT_EQ(table.entries[0], (SpriteEntry{26, 10, 20}));
    EXPECT_EQ(table.entries[1], (SpriteEntry{226, 10, 20}));
    EXPECT_EQ(table.entries[2], (SpriteEntry{426, 10, 20}));
    for (const SpriteEntry& entry : table.entries) EXPECT_EQ(readSprite(table.file, entry), block);
}

TEST_F(SpriteFileTest, OneThirtyTwoSquareSpriteHasTheTenByteHeader) {
    const SpriteImage sprite = patterned(32, 32, 0);
    writeUniformSpriteFile(dir / "new.spr", {1, 32, 32}, sprite.pixels);
    const Bytes bytes = readFileBytes(dir / "new.spr");
    ASSERT_EQ(bytes.size(), 1034u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10),
              (Bytes{1, 0, 0x0A, 0, 0, 0, 0x20, 0, 0x20, 0}));
    EXPECT_EQ(Bytes(bytes.begin() + 10, bytes.end()), sprite.pixels);
}

TEST_F(SpriteFileTest, ZeroSpritesMakeATwoByteFileThatOpensEmpty) {
    writeUniformSpriteFile(dir / "empty.spr", checkUniformSpriteFile(0, 5, 5));
    EXPECT_EQ(readFileBytes(dir / "empty.spr"), (Bytes{0, 0}));
    EXPECT_EQ(readSpriteTable(dir / "empty.spr").count(), 0u);
}

TEST_F(SpriteFileTest, WriteThenReadRoundTripsSpritesOfDifferentSizes) {
    const std::vector<SpriteImage> sprites = {patterned(8, 8, 0), patterned(0, 3, 0),
                                              patterned(4, 2, 200), patterned(1, 1, 9)};
    writeSpriteFile(dir / "mixed.spr", sprites);
    const SpriteTable table = readSpriteTable(dir / "mixed.spr");
    ASSERT_EQ(table.count(), sprites.size());
    // An empty sprite's offset equals the next one's.
    EXPECT_EQ(table.entries[1].offset, table.entries[2].offset);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        EXPECT_EQ(readSprite(table.file, table.entries[i]), sprites[i]) << "sprite " << i;
    }
}

// A file made by another program: blocks out of order with foreign bytes between them.
Bytes scatteredFile() {
    ByteWriter out;
    out.u16(2);
    out.u32(30);  // sprite 0 lies behind sprite 1
    out.u16(2);
    out.u16(2);
    out.u32(20);
    out.u16(3);
    out.u16(1);
    out.fill(2, 0xEE);                 // 18..19: not pixels
    out.bytes(Bytes{1, 2, 3});         // 20..22: sprite 1
    out.fill(7, 0xDD);                 // 23..29: not pixels
    out.bytes(Bytes{10, 11, 12, 13});  // 30..33: sprite 0
    out.fill(3, 0xCC);                 // trailing bytes
    return out.take();
}

TEST_F(SpriteFileTest, BlocksAreFoundByTheirOffsetsWhateverTheirOrder) {
    writeRaw(dir / "scattered.spr", scatteredFile());
    const SpriteTable table = readSpriteTable(dir / "scattered.spr");
    ASSERT_EQ(table.count(), 2u);
    EXPECT_EQ(readSprite(table.file, table.entries[0]).pixels, (Bytes{10, 11, 12, 13}));
    EXPECT_EQ(readSprite(table.file, table.entries[1]).pixels, (Bytes{1, 2, 3}));
}

TEST_F(SpriteFileTest, WritingInPlaceChangesOnlyThatSpritesBlock) {
    const Bytes original = scatteredFile();
    writeRaw(dir / "scattered.spr", original);
    const SpriteTable table = readSpriteTable(dir / "scattered.spr");
    writeSpriteInPlace(table.file, table.entries[0], Bytes{90, 91, 92, 93});

    Bytes expected = original;
    std::copy_n(Bytes{90, 91, 92, 93}.begin(), 4, expected.begin() + 30);
    EXPECT_EQ(readFileBytes(table.file), expected);
}

TEST_F(SpriteFileTest, WritingInPlaceRefusesWhatWouldDamageTheFile) {
    const Bytes original = scatteredFile();
    writeRaw(dir / "scattered.spr", original);
    // Pixels of another size, a block past the end, a missing file: nothing is written.
    EXPECT_NE(errorOf([&] {
                  writeSpriteInPlace(dir / "scattered.spr", {30, 2, 2}, Bytes{1, 2, 3});
              }),
              "no error");
    EXPECT_NE(errorOf([&] {
                  writeSpriteInPlace(dir / "scattered.spr", {35, 2, 2}, Bytes{1, 2, 3, 4});
              }),
              "no error");
    EXPECT_EQ(readFileBytes(dir / "scattered.spr"), original);
    EXPECT_EQ(errorOf([&] {
                  writeSpriteInPlace(dir / "gone.spr", {2, 1, 1}, Bytes{1});
              }),
              std::string_view(kFileNotFound));
    EXPECT_FALSE(std::filesystem::exists(dir / "gone.spr"));
}

TEST_F(SpriteFileTest, ListLinesPadAndCutTheNumberToThreeCharacters) {
    const SpriteEntry entry{0, 32, 48};
    EXPECT_EQ(spriteListLine(0, entry), "0   32X48");
    EXPECT_EQ(spriteListLine(12, entry), "12  32X48");
    EXPECT_EQ(spriteListLine(123, entry), "123 32X48");
    EXPECT_EQ(spriteListLine(999, {0, 1, 65535}), "999 1X65535");
}

// ----- bad input ---------------------------------------------------------------------------------

TEST_F(SpriteFileTest, ErrorsNameTheFileAndTheOffset) {
    writeRaw(dir / "zero.spr", {});
    writeRaw(dir / "one.spr", {1, 0});
    const std::string zero = pathToUtf8(dir / "zero.spr");
    const std::string one = pathToUtf8(dir / "one.spr");
    EXPECT_EQ(messageOf([&] { readSpriteTable(dir / "zero.spr"); }),
              std::string(kReadPastEndOfFile) + "\n" + zero + ", byte 0");
    EXPECT_EQ(messageOf([&] { readSpriteTable(dir / "one.spr"); }),
              std::string(kReadPastEndOfFile) + "\n" + one + ", byte 2");
    EXPECT_EQ(messageOf([&] { readSpriteTable(dir / "missing.spr"); }),
              std::string(kFileNotFound) + "\n" + pathToUtf8(dir / "missing.spr") +
                  ": no such file or folder");
    EXPECT_EQ(messageOf([&] {
                  readSprite(dir / "one.spr", {1, 2, 2});
              }),
              std::string(kReadPastEndOfFile) + "\n" + one + ", byte 1");
}

TEST_F(SpriteFileTest, ACountPromisingMoreEntriesKeepsTheCompleteOnesAndFails) {
    ByteWriter out;
    out.u16(60000);  // promises 480,000 bytes of table; two and a half entries follow
    for (int i = 0; i < 2; ++i) {
        out.u32(100);
        out.u16(1);
        out.u16(1);
    }
    out.fill(5, 0);
    writeRaw(dir / "short.spr", out.data());
    std::vector<SpriteEntry> entries;
    EXPECT_EQ(errorOf([&] { SpriteFile(dir / "short.spr").readTable(entries, kMaxSpriteCount); }),
              std::string_view(kReadPastEndOfFile));
    EXPECT_EQ(entries, (std::vector<SpriteEntry>{{100, 1, 1}, {100, 1, 1}}));
    EXPECT_LE(entries.capacity(), 2u);  // nothing reserved for the promised entries
}

TEST_F(SpriteFileTest, MoreSpritesThanTheTableHoldsAreRefusedBeforeReading) {
    writeUniformSpriteFile(dir / "many.spr", checkUniformSpriteFile(1001, 1, 1));
    std::vector<SpriteEntry> entries;
    const std::string message = errorOf([&] { SpriteFile(dir / "many.spr").readTable(entries); });
    EXPECT_NE(message.find("1001"), std::string::npos) << message;
    EXPECT_NE(message.find("1000"), std::string::npos) << message;
    EXPECT_TRUE(entries.empty());
    EXPECT_THROW(SpriteFile(dir / "many.spr").readTable(1000), VekError);
    writeUniformSpriteFile(dir / "full.spr", checkUniformSpriteFile(1000, 1, 1));
    EXPECT_EQ(readSpriteTable(dir / "full.spr").count(), 1000u);
}

TEST_F(SpriteFileTest, PixelsPastTheEndFailBeforeAnythingIsAllocated) {
    ByteWriter out;
    out.u16(3);
    out.u32(0xFFFFFFF0);  // offset far past the end
    out.u16(4);
    out.u16(4);
    out.u32(26);  // a huge block that the file cannot hold
    out.u16(65535);
    out.u16(65535);
    out.u32(26);  // one byte short
    out.u16(2);
    out.u16(2);
    out.fill(3, 1);
    writeRaw(dir / "bad.spr", out.data());
    const SpriteTable table = readSpriteTable(dir / "bad.spr");
    ASSERT_EQ(table.count(), 3u);
    const std::string expected[] = {
        std::string(kReadPastEndOfFile),
        "The sprite of 65535 x 65535 pixels is too large; at most 67108864 pixels can be opened",
        std::string(kReadPastEndOfFile)};
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(errorOf([&] { readSprite(table.file, table.entries[k]); }), expected[k]);
}

TEST_F(SpriteFileTest, SizesThatDoNotFitTheFileAreRefusedAndNothingIsReplaced) {
    writeRaw(dir / "keep.spr", Bytes{1, 2, 3});
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(65536, 1, 1); }), "no error");
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(-1, 1, 1); }), "no error");
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(1, 70000, 1); }), "no error");
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(1, 1, -5); }), "no error");
    // 2 x 65535 x 65535 bytes would put the second offset beyond 32 bits.
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(2, 65535, 65535); }), "no error");
    // One sprite may have at most 8192 x 8192 pixels, in whatever shape.
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(1, 65535, 65535); }), "no error");
    EXPECT_NE(errorOf([] { checkUniformSpriteFile(1, 8193, 8192); }), "no error");
    EXPECT_NO_THROW(checkUniformSpriteFile(1, 8192, 8192));
    EXPECT_NO_THROW(checkUniformSpriteFile(1, 65535, 1024));
    EXPECT_NE(errorOf([&] {
                  writeUniformSpriteFile(dir / "keep.spr", {2, 65535, 65535});
              }),
              "no error");
    EXPECT_NE(errorOf([&] {
                  writeUniformSpriteFile(dir / "keep.spr", {1, 2, 2}, Bytes{1, 2, 3});
              }),
              "no error");
    EXPECT_EQ(readFileBytes(dir / "keep.spr"), (Bytes{1, 2, 3}));
}

TEST_F(SpriteFileTest, ReadsTheTableWithTheLimitItIsGiven) {
    ByteWriter out;
    out.u16(1);
    out.u32(10);
    out.u16(3);
    out.u16(5);
    writeRaw(dir / "one.spr", out.data());
    EXPECT_EQ(SpriteFile(dir / "one.spr").readTable(), (std::vector<SpriteEntry>{{10, 3, 5}}));
    EXPECT_THROW(SpriteFile(dir / "one.spr").readTable(0), VekError);
    writeRaw(dir / "half.spr", Bytes{2, 0, 1, 2});
    EXPECT_THROW(SpriteFile(dir / "half.spr").readTable(), VekError);
}

}  // namespace
}  // namespace vek
