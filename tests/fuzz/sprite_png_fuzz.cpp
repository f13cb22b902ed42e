// PNG pictures imported as sprites, where libpng is built in: the sprite read is written as an
// indexed PNG and read back with the same indices.
#include "sprites/png.h"
#include "sprites/sprite_pictures.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    if (!pngBuiltIn()) return {bytesOf("\x89PNG\r\n\x1A\n")};
    const PaletteTable palette = distinctPalette();
    SpriteImage sprite(3, 2, 9);
    sprite.pixels[2] = 0;
    const IndexedPicture foreign{2, 1, {1, 0}, {{0, false}, {makeScreenColor(9, 99, 199), true}}};
    return {encodeSpritePng(sprite, palette), encodeIndexedPng(foreign),
            encodePng(RgbImage(2, 2, makeScreenColor(1, 2, 3)))};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    if (!pngBuiltIn()) return;
    const PaletteTable palette = distinctPalette();
    const SpriteImage sprite = decodeSpritePng(input, palette);
    expectSame(decodeSpritePng(encodeSpritePng(sprite, palette), palette) == sprite,
               "sprite PNG written anew");
}

}  // namespace vek::fuzz
