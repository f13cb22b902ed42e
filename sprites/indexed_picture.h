#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sprites/palette.h"

namespace vek {

// One entry of a picture file's colour table (a PNG's palette, a GIF's colour map).
struct TableColor {
    ScreenColor color = 0;
    bool opaque = true;

    bool operator==(const TableColor&) const = default;
};
using ColorTable = std::vector<TableColor>;

// The colour table a sprite is exported with: the palette's 256 colours, slot 0 transparent.
ColorTable spriteColorTable(const PaletteTable& palette);

// True when a table's colours are the palette's, index for index (slot 0, transparent in a
// sprite, may hold any colour): its pictures then keep their indices exactly, also where the
// palette repeats a colour.
bool tableKeepsIndices(const ColorTable& table, const PaletteTable& palette);

// The palette index each entry of `table` becomes on import: the entry's own index when the
// table keeps indices, else its colour matched as the bitmap converter matches (best level);
// a transparent entry becomes index 0. Entries beyond the table (a pixel value the table lacks)
// become 0 too.
std::array<std::uint8_t, 256> paletteIndicesOf(const ColorTable& table,
                                               const PaletteTable& palette);

}  // namespace vek
