// PNG pictures, where libpng is built in: a picture read is written as PNG and reads back with
// the same pixels.
#include "sprites/png.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

constexpr ScreenColor kBackground = makeScreenColor(0x12, 0x34, 0x56);

}  // namespace

std::vector<Bytes> seeds() {
    if (!pngBuiltIn()) return {bytesOf("\x89PNG\r\n\x1A\n")};
    RgbImage picture(3, 2, makeScreenColor(0x10, 0x20, 0x30));
    picture.pixels[4] = makeScreenColor(0xFF, 0xFF, 0xFF);
    Bytes badChecksum = encodePng(RgbImage(1, 1, 0));
    badChecksum[29] ^= 0x01;  // the header chunk's CRC
    return {encodePng(picture), encodePng(RgbImage(1, 1, makeScreenColor(0, 0xFF, 0))),
            badChecksum};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    if (!pngBuiltIn()) return;
    const RgbImage picture = decodePng(input, kBackground);
    const RgbImage again = decodePng(encodePng(picture), kBackground);
    expectSame(again.width == picture.width && again.height == picture.height &&
                   again.pixels == picture.pixels,
               "PNG written anew");
}

}  // namespace vek::fuzz
