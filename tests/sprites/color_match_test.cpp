#include <gtest/gtest.h>

#include <random>

#include "bench/reference/plain_color_match.h"
#include "bench/reference/sample_pictures.h"
#include "sprites/color_match.h"
#include "support/screen_colors.h"

namespace vek {
namespace {

using reference::gameLikePalette;
using reference::plainMatchColor;

constexpr ColorMatchLevel kLevels[] = {ColorMatchLevel::Best, ColorMatchLevel::Good,
                                       ColorMatchLevel::Bad, ColorMatchLevel::VeryPoor};
using testing::kWhite;

std::uint32_t stepOf(ColorMatchLevel level) {
    return static_cast<std::uint32_t>(firstMatchStep(level));
}

// The same answer as the plain scan for every colour tried, at every level, for palettes of the
// game's kind and of arbitrary colours, and for backgrounds that are, or are not, palette colours.
TEST(ColorMatch, AgreesWithThePlainScanOnRandomColours) {
    std::vector<PaletteTable> palettes = {
        gameLikePalette(kWhite), gameLikePalette(0), gameLikePalette(paletteEntryColor(40, 20, 10)),
        reference::randomPalette(7, 0x123456), reference::randomPalette(8, kWhite)};
    std::mt19937 random(2024);
    for (const auto& palette : palettes) {
        for (ColorMatchLevel level : kLevels) {
            ColorMatcher matcher(palette.colors(), level);
            for (int i = 0; i < 6000; ++i) {
                // Half arbitrary colours, half palette colours with a small offset.
                ScreenColor color = random() & 0xFFFFFF;
                if (i % 2 == 1)
                    color =
                        (palette[static_cast<std::uint8_t>(random())] + (random() % 5)) & 0xFFFFFF;
                ASSERT_EQ(matcher.match(color),
                          plainMatchColor(palette.colors(), color, stepOf(level)))
                    << "colour " << std::hex << color << " level " << static_cast<int>(level);
            }
        }
    }
}

TEST(ColorMatch, AgreesWithThePlainScanOnEveryGreyAndEveryPaletteColour) {
    const PaletteTable palette = gameLikePalette(kWhite);
    for (ColorMatchLevel level : kLevels) {
        ColorMatcher matcher(palette.colors(), level);
        for (unsigned grey = 0; grey < 256; ++grey) {
            const ScreenColor color =
                makeScreenColor(static_cast<std::uint8_t>(grey), static_cast<std::uint8_t>(grey),
                                static_cast<std::uint8_t>(grey));
            EXPECT_EQ(matcher.match(color),
                      plainMatchColor(palette.colors(), color, stepOf(level)));
        }
        for (ScreenColor color : palette.colors()) {
            EXPECT_EQ(matcher.match(color),
                      plainMatchColor(palette.colors(), color, stepOf(level)));
        }
    }
}

TEST(ColorMatch, BestFindsExactPaletteColoursAndTheLowestDuplicate) {
    const PaletteTable palette = gameLikePalette(kWhite);
    ColorMatcher matcher(palette.colors(), ColorMatchLevel::Best);
    EXPECT_EQ(matcher.match(palette[11]), 11);
    EXPECT_EQ(matcher.match(palette[137]), 137);
    // 254 repeats 20's colour and 255 repeats 100's: the earlier index wins.
    EXPECT_EQ(matcher.match(palette[254]), 20);
    EXPECT_EQ(matcher.match(palette[255]), 100);
}

TEST(ColorMatch, IndicesOneToTenAreNeverChosen) {
    const PaletteTable palette = gameLikePalette(kWhite);
    for (ColorMatchLevel level : kLevels) {
        ColorMatcher matcher(palette.colors(), level);
        for (std::uint8_t index = 1; index <= 10; ++index) {
            const std::uint8_t chosen = matcher.match(palette[index]);
            EXPECT_TRUE(chosen == 0 || chosen > 10) << static_cast<int>(index);
        }
    }
    // Slot 5's colour also sits at 253, so Best finds it there.
    ColorMatcher best(palette.colors(), ColorMatchLevel::Best);
    EXPECT_EQ(best.match(palette[5]), 253);
}

TEST(ColorMatch, TheBackgroundInSlotZeroWinsItsOwnColour) {
    ColorMatcher onWhite(gameLikePalette(kWhite).colors(), ColorMatchLevel::Best);
    EXPECT_EQ(onWhite.match(kWhite), 0);
    // The palette's own white (252, 252, 252) is not the background: slot 10 has it but is never
    // tried, so slot 252 takes it.
    EXPECT_EQ(onWhite.match(paletteEntryColor(63, 63, 63)), 252);
    // On a black background pure white is no exact colour; it matches white's slot on a coarser
    // grid.
    const PaletteTable black = gameLikePalette(0);
    ColorMatcher onBlack(black.colors(), ColorMatchLevel::Best);
    EXPECT_EQ(onBlack.match(0), 0);
    EXPECT_EQ(onBlack.match(kWhite), plainMatchColor(black.colors(), kWhite, 1));
    EXPECT_NE(onBlack.match(kWhite), 0);
}

TEST(ColorMatch, ATopByteDoesNotCountAndRowsMatchLikeSinglePixels) {
    const PaletteTable palette = gameLikePalette(kWhite);
    ColorMatcher matcher(palette.colors(), ColorMatchLevel::Good);
    EXPECT_EQ(matcher.match(0xFF000000 | palette[40]), matcher.match(palette[40]));

    const std::vector<ScreenColor> row = {palette[12], palette[12], 0x102030,
                                          palette[12], 0x102030,    kWhite};
    std::vector<std::uint8_t> indices(row.size(), 99);
    matcher.matchRow(row, indices);
    for (std::size_t x = 0; x < row.size(); ++x) {
        EXPECT_EQ(indices[x], plainMatchColor(palette.colors(), row[x], 3)) << x;
    }
}

}  // namespace
}  // namespace vek
