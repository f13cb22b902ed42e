// GIF pictures as sprites, where giflib is built in: the frames read are written as a GIF and
// read back the same.
#include "sprites/gif.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    if (!gifBuiltIn()) return {bytesOf("GIF89a")};
    const PaletteTable palette = distinctPalette();
    SpriteImage small(3, 2, 5);
    small.pixels[1] = 0;
    const SpriteImage tall(1, 4, 200);
    const std::vector<SpriteImage> frames{small, tall};
    return {encodeSpriteGif(frames, palette, true), encodeSpriteGif({&tall, 1}, palette, false)};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    if (!gifBuiltIn()) return;
    const PaletteTable palette = distinctPalette();
    const std::vector<SpriteImage> frames = decodeSpriteGif(input, palette);
    const std::vector<SpriteImage> again =
        decodeSpriteGif(encodeSpriteGif(frames, palette, true), palette);
    expectSame(again == frames, "GIF written anew");
}

}  // namespace vek::fuzz
