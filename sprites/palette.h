#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "app/rgb_image.h"

namespace vek {

inline constexpr std::string_view kPaletteFileName = "palette.dta";
inline constexpr std::size_t kPaletteColorCount = 256;
inline constexpr std::size_t kPaletteFileSize = 3 * kPaletteColorCount;
inline constexpr std::uint8_t kPaletteMaxIntensity = 63;

// The game's 256 colours as ready-made screen colours, so drawing never converts. Slot 0 does
// not keep the file's colour: it always holds the sprite background colour. A table that was
// never loaded is all black.
class PaletteTable {
  public:
    PaletteTable() { m_colors.fill(0); }

    ScreenColor operator[](std::uint8_t index) const { return m_colors[index]; }
    ScreenColor color(std::size_t index) const { return m_colors.at(index); }
    const std::array<ScreenColor, kPaletteColorCount>& colors() const { return m_colors; }

    ScreenColor background() const { return m_colors[0]; }
    void setBackground(ScreenColor color) { m_colors[0] = color; }

    // A slot of the table as palette.dta would give it; slot 0 is overwritten by setBackground.
    void setColor(std::size_t index, ScreenColor color) { m_colors.at(index) = color; }

    bool operator==(const PaletteTable&) const = default;

  private:
    std::array<ScreenColor, kPaletteColorCount> m_colors{};
};

// One 6-bit palette entry as a screen colour: each component shifted left by two (63 -> 252).
constexpr ScreenColor paletteEntryColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return makeScreenColor(static_cast<std::uint8_t>(red << 2),
                           static_cast<std::uint8_t>(green << 2),
                           static_cast<std::uint8_t>(blue << 2));
}

// The palette table from palette.dta's bytes (bytes beyond the 768 are ignored), slot 0 set to
// the background. A short file throws the end-of-file error and a component above 63 a message
// naming its place; in both cases nothing is returned.
PaletteTable decodePalette(std::span<const std::uint8_t> bytes, ScreenColor background);

// Reads a palette file.
PaletteTable readPaletteFile(const std::filesystem::path& file, ScreenColor background);

// The game's palette: `paletteDirectory` (ending in a separator, as the game paths do) followed
// directly by "palette.dta".
std::filesystem::path paletteFilePath(std::string_view paletteDirectory);
PaletteTable readGamePalette(std::string_view paletteDirectory, ScreenColor background);

// The program's own palette in palette.dta's form (the demo installation's): slot 0 black, slots
// 1 … 10 a few strong colours, then a 6 × 6 × 6 colour cube and a ramp of greys. It stands in
// where the game has no palette.
std::vector<std::uint8_t> demoPaletteBytes();
// The game's palette; when `paletteDirectory` holds no palette.dta, the demo palette, so that
// sprites never show all black. A palette.dta that is there but broken throws.
PaletteTable readGamePaletteOrDemo(std::string_view paletteDirectory, ScreenColor background);

// palette.dta's bytes for a table (components divided by four); slot 0 is written as black.
std::array<std::uint8_t, kPaletteFileSize> encodePalette(const PaletteTable& table);

}  // namespace vek
