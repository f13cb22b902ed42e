#include "sprites/indexed_picture.h"

#include <algorithm>

#include "sprites/color_match.h"

namespace vek {

ColorTable spriteColorTable(const PaletteTable& palette) {
    ColorTable table;
    table.reserve(kPaletteColorCount);
    for (std::size_t k = 0; k < kPaletteColorCount; ++k)
        table.push_back({palette.color(k), k != 0});
    return table;
}

bool tableKeepsIndices(const ColorTable& table, const PaletteTable& palette) {
    if (table.empty() || table.size() > kPaletteColorCount) return false;
    for (std::size_t k = 1; k < table.size(); ++k)
        if (table[k].color != palette.color(k)) return false;
    return true;
}

std::array<std::uint8_t, 256> paletteIndicesOf(const ColorTable& table,
                                               const PaletteTable& palette) {
    std::array<std::uint8_t, 256> indices{};
    const std::size_t entries = std::min(table.size(), indices.size());
    if (tableKeepsIndices(table, palette)) {
        for (std::size_t k = 0; k < entries; ++k)
            indices[k] = table[k].opaque ? static_cast<std::uint8_t>(k) : 0;
        return indices;
    }
    ColorMatcher matcher(palette.colors(), ColorMatchLevel::Best);
    for (std::size_t k = 0; k < entries; ++k)
        indices[k] = table[k].opaque ? matcher.match(table[k].color) : 0;
    return indices;
}

}  // namespace vek
