// The palette (palette.dta): read, written, read back the same.
#include "sprites/palette.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    Bytes ramp(kPaletteFileSize);
    for (std::size_t k = 0; k < ramp.size(); ++k) ramp[k] = static_cast<std::uint8_t>(k % 64);
    return {ramp, Bytes(kPaletteFileSize, 63), Bytes(10, 1)};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const PaletteTable table = decodePalette(input, 0x123456);
    expectSame(decodePalette(encodePalette(table), 0x123456) == table, "palette written anew");
}

}  // namespace vek::fuzz
