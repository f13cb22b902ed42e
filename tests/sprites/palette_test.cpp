#include "sprites/palette.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/vek_error.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes rampPalette() {
    Bytes bytes(kPaletteFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 64);
    return bytes;
}

TEST(PaletteTest, ComponentsAreShiftedLeftByTwoAndSlotZeroHoldsTheBackground) {
    Bytes bytes = rampPalette();
    bytes[0] = 10;  // entry 0 of the file is never shown
    bytes[3 * 7] = 63;
    bytes[3 * 7 + 1] = 0;
    bytes[3 * 7 + 2] = 63;
    const PaletteTable table = decodePalette(bytes, 0x123456);
    EXPECT_EQ(table[0], 0x123456u);
    EXPECT_EQ(table[7], makeScreenColor(252, 0, 252));
    // Entry 1 is the file's bytes 3, 4, 5.
    EXPECT_EQ(table[1], makeScreenColor(12, 16, 20));
    EXPECT_EQ(table[255], makeScreenColor(((3 * 255) % 64) * 4, ((3 * 255 + 1) % 64) * 4,
                                          ((3 * 255 + 2) % 64) * 4));
}

TEST(PaletteTest, SettingTheBackgroundChangesOnlySlotZero) {
    PaletteTable table = decodePalette(rampPalette(), 0xFFFFFF);
    const PaletteTable before = table;
    table.setBackground(0x000000);
    EXPECT_EQ(table[0], 0u);
    for (int k = 1; k < 256; ++k)
        EXPECT_EQ(table[static_cast<std::uint8_t>(k)], before[static_cast<std::uint8_t>(k)]);
}

TEST(PaletteTest, AnUnloadedTableIsAllBlack) {
    const PaletteTable table;
    for (const ScreenColor color : table.colors()) EXPECT_EQ(color, 0u);
}

TEST(PaletteTest, ShortFilesAndBytesAbove63AreRefusedWithClearMessages) {
    Bytes shortFile(767, 0);
    try {
        decodePalette(shortFile, 0);
        FAIL() << "a short palette was accepted";
    } catch (const VekError& error) {
        EXPECT_EQ(error.what(), std::string_view(kReadPastEndOfFile));
    }
    Bytes spilling = rampPalette();
    spilling[301] = 64;
    try {
        decodePalette(spilling, 0);
        FAIL() << "a byte above 63 was accepted";
    } catch (const VekError& error) {
        EXPECT_EQ(error.message(kLanguageEnglish),
                  "Invalid palette: a byte has the value 64 (0 to 63 allowed)\nbyte 301");
        EXPECT_EQ(error.message(kLanguageGerman),
                  "Ungültige Palette: ein Byte hat den Wert 64 (erlaubt sind 0 bis 63)\nByte 301");
    }
    // Bytes beyond the 768 are not the palette's.
    Bytes longer = rampPalette();
    longer.push_back(200);
    EXPECT_NO_THROW(decodePalette(longer, 0));
}

TEST(PaletteTest, TheFileNameIsAppendedToThePaletteDirectoryAsItStands) {
    testing::TempDir dir;
    const Bytes bytes = rampPalette();
    {
        std::ofstream out(dir / "palette.dta", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    const std::string directory = dir.path().string() + "/";
    EXPECT_EQ(paletteFilePath(directory), dir / "palette.dta");
    EXPECT_EQ(readGamePalette(directory, 7), decodePalette(bytes, 7));
    EXPECT_THROW(readGamePalette(directory + "nowhere/", 7), VekError);
    // A palette copied from Windows in capitals is found too.
    std::filesystem::create_directories(dir / "upper");
    std::filesystem::copy_file(dir / "palette.dta", dir / "upper" / "PALETTE.DTA");
    EXPECT_EQ(readGamePalette(directory + "upper/", 7), decodePalette(bytes, 7));
}

// The game's palette where there is one, the demo palette where its folder has none, and a
// broken one reported rather than replaced.
TEST(PaletteTest, TheDemoPaletteStandsInOnlyWhereTheGameHasNone) {
    testing::TempDir dir;
    const Bytes game = rampPalette();
    std::filesystem::create_directories(dir / "game");
    std::filesystem::create_directories(dir / "broken");
    std::filesystem::create_directories(dir / "none");
    const auto write = [](const std::filesystem::path& file, const Bytes& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    };
    write(dir / "game" / "Palette.DTA", game);
    write(dir / "broken" / "palette.dta", Bytes(100, 1));
    const Bytes demo = demoPaletteBytes();
    ASSERT_EQ(demo.size(), kPaletteFileSize);
    const PaletteTable demoTable = decodePalette(demo, 7);
    EXPECT_NE(demoTable, PaletteTable());  // not all black
    EXPECT_EQ(demoTable[1], paletteEntryColor(32, 0, 0));
    const auto in = [&dir](const char* folder) { return dir.path().string() + "/" + folder + "/"; };
    EXPECT_EQ(readGamePaletteOrDemo(in("game"), 7), decodePalette(game, 7));
    EXPECT_EQ(readGamePaletteOrDemo(in("none"), 7), demoTable);
    EXPECT_EQ(readGamePaletteOrDemo(in("nowhere"), 7), demoTable);
    EXPECT_THROW(readGamePaletteOrDemo(in("broken"), 7), VekError);
}

TEST(PaletteTest, FileBytesRoundTripEverySlotButTheBackground) {
    const PaletteTable table = decodePalette(rampPalette(), 0xABCDEF);
    const auto bytes = encodePalette(table);
    const PaletteTable again = decodePalette(bytes, 0xABCDEF);
    EXPECT_EQ(again, table);
    EXPECT_EQ(bytes[0], 0);
}

}  // namespace
}  // namespace vek
