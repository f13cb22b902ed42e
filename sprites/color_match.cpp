#include "sprites/color_match.h"

#include <bit>

namespace vek {

namespace {

constexpr std::uint32_t kNoColor = 0xFFFFFFFF;

std::uint8_t channelOf(ScreenColor color, std::size_t channel) {
    return static_cast<std::uint8_t>(color >> (8 * channel));
}

std::size_t cacheSlot(ScreenColor color) {
    return (color * 0x9E3779B1u) >> 16;  // multiplicative hashing over the 24 colour bits
}

}  // namespace

int firstMatchStep(ColorMatchLevel level) {
    switch (level) {
        case ColorMatchLevel::Best:
            return 1;
        case ColorMatchLevel::Good:
            return 3;
        case ColorMatchLevel::Bad:
            return 4;
        case ColorMatchLevel::VeryPoor:
            return 5;
    }
    return 1;
}

ColorMatcher::ColorMatcher(std::span<const ScreenColor, 256> palette, ColorMatchLevel level)
    : m_cachedColors(kCacheSize, kNoColor), m_cachedIndices(kCacheSize, 0) {
    // The first step compares the pixel's exact colour with the rounded palette; every later
    // step rounds both. Once the step passes 255 everything rounds to 0 and index 0 matches.
    bool first = true;
    for (unsigned step = static_cast<unsigned>(firstMatchStep(level));; step *= 2) {
        Step& grid = m_steps.emplace_back();
        for (std::size_t channel = 0; channel < 3; ++channel) {
            std::array<Positions, 256> byValue{};
            for (std::size_t position = 0; position < kMatchOrderLength; ++position) {
                const unsigned value = channelOf(palette[matchOrderIndex(position)], channel);
                byValue[value / step * step][position / 64] |= std::uint64_t{1} << (position % 64);
            }
            for (unsigned value = 0; value < 256; ++value) {
                grid.channels[channel][value] = byValue[first ? value : value / step * step];
            }
        }
        first = false;
        if (step > 255) break;
    }
}

std::uint8_t ColorMatcher::scan(ScreenColor color) const {
    const std::uint8_t red = channelOf(color, 0);
    const std::uint8_t green = channelOf(color, 1);
    const std::uint8_t blue = channelOf(color, 2);
    for (const Step& grid : m_steps) {
        const Positions& r = grid.channels[0][red];
        const Positions& g = grid.channels[1][green];
        const Positions& b = grid.channels[2][blue];
        for (std::size_t word = 0; word < 4; ++word) {
            const std::uint64_t both = r[word] & g[word] & b[word];
            if (both != 0)
                return matchOrderIndex(word * 64 +
                                       static_cast<std::size_t>(std::countr_zero(both)));
        }
    }
    return 0;  // not reached: the last step matches index 0
}

std::uint8_t ColorMatcher::match(ScreenColor color) {
    color &= 0xFFFFFF;
    const std::size_t slot = cacheSlot(color);
    if (m_cachedColors[slot] != color) {
        m_cachedColors[slot] = color;
        m_cachedIndices[slot] = scan(color);
    }
    return m_cachedIndices[slot];
}

void ColorMatcher::matchRow(std::span<const ScreenColor> colors, std::span<std::uint8_t> indices) {
    ScreenColor previous = kNoColor;
    std::uint8_t index = 0;
    for (std::size_t x = 0; x < colors.size() && x < indices.size(); ++x) {
        if (colors[x] != previous) {
            previous = colors[x];
            index = match(previous);
        }
        indices[x] = index;
    }
}

}  // namespace vek
