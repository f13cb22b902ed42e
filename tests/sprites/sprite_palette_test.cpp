#include "sprites/sprite_palette.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

PaletteTable ramp(std::uint8_t shift, ScreenColor background) {
    PaletteTable table;
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        const auto level = static_cast<std::uint8_t>((k + shift) % 64);
        table.setColor(k, paletteEntryColor(level, 63 - level, shift));
    }
    table.setBackground(background);
    return table;
}

void writePalette(const std::filesystem::path& file, const PaletteTable& table) {
    const auto bytes = encodePalette(table);
    writeFileAtomically(file, std::span<const std::uint8_t>(bytes));
}

TEST(SpritePaletteTest, APaletteBesideTheFileWinsOverTheGames) {
    testing::TempDir dir;
    const PaletteTable game = ramp(0, 0xFFFFFF);
    const PaletteTable own = ramp(9, 0x000000);
    std::filesystem::create_directories(dir / "own");
    std::filesystem::create_directories(dir / "plain");
    writePalette(dir / "own" / "PALETTE.DTA", own);  // any case of the name

    EXPECT_EQ(paletteBeside(dir / "own" / "a.spr"), dir / "own" / "PALETTE.DTA");
    const PaletteTable shown = paletteForSpriteFile(dir / "own" / "a.spr", game);
    EXPECT_EQ(shown[0], game.background());  // slot 0 keeps following the background
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) EXPECT_EQ(shown.color(k), own.color(k));

    EXPECT_FALSE(paletteBeside(dir / "plain" / "a.spr"));
    EXPECT_EQ(paletteForSpriteFile(dir / "plain" / "a.spr", game), game);

    // A palette beside the file that is too short is reported, naming it.
    writeFileAtomically(dir / "plain" / "palette.dta", std::string_view("short"));
    try {
        paletteForSpriteFile(dir / "plain" / "a.spr", game);
        FAIL() << "a short palette was taken";
    } catch (const VekError& error) {
        EXPECT_NE(error.message("english").find("palette.dta"), std::string::npos);
    }
}

}  // namespace
}  // namespace vek
