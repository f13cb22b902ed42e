#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/rgb_image.h"

namespace vek {

// The converter's four colour match levels, coarsest last.
enum class ColorMatchLevel { Best, Good, Bad, VeryPoor };

// The first grid step of a level: 1, 3, 4 or 5.
int firstMatchStep(ColorMatchLevel level);

// The palette indices in the order they are tried: 0, then 11 to 255 (1 to 10 never).
inline constexpr std::size_t kMatchOrderLength = 246;
constexpr std::uint8_t matchOrderIndex(std::size_t position) {
    return static_cast<std::uint8_t>(position == 0 ? 0 : position + 10);
}

// Matches screen colours to palette indices on a grid that doubles its step until some palette
// colour lands on the pixel's grid point; the first index in the match order wins. Only the low
// 24 bits of a colour count (a screen colour's top byte is 0).
//
// For each grid step the constructor records, per channel and channel value, the set of match
// positions whose colour agrees in that channel; a pixel is then matched by intersecting three
// sets per step, and remembered by colour.
class ColorMatcher {
  public:
    ColorMatcher(std::span<const ScreenColor, 256> palette, ColorMatchLevel level);

    std::uint8_t match(ScreenColor color);
    // Matches a row of colours into as many indices.
    void matchRow(std::span<const ScreenColor> colors, std::span<std::uint8_t> indices);

  private:
    using Positions = std::array<std::uint64_t, 4>;  // bit p: match position p
    struct Step {
        std::array<std::array<Positions, 256>, 3> channels;  // red, green, blue
    };
    static constexpr std::size_t kCacheSize = std::size_t{1} << 16;

    std::uint8_t scan(ScreenColor color) const;

    std::vector<Step> m_steps;
    std::vector<std::uint32_t> m_cachedColors;  // an impossible colour marks an empty slot
    std::vector<std::uint8_t> m_cachedIndices;
};

}  // namespace vek
