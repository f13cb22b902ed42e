// The bitmap reader (every depth and compression it takes): a picture read is written as a
// 24-bit bitmap and read back the same.
#include "sprites/bitmap.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    RgbImage picture(3, 2, 0x102030);
    picture.pixels[4] = 0xFFFFFF;
    return {encodeBitmap(picture), encodeBitmap(picture, BitmapBits::Rgb32),
            encodeBitmap(RgbImage(1, 1, 0))};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const RgbImage picture = decodeBitmap(input);
    const RgbImage again = decodeBitmap(encodeBitmap(picture));
    expectSame(again.width == picture.width && again.height == picture.height &&
                   again.pixels == picture.pixels,
               "bitmap written anew");
}

}  // namespace vek::fuzz
