// The thumbnail path as a whole, as file managers run it on every file downloaded: a sprite or
// object file in, a PNG picture of at most SIZE x SIZE out, or a refusal.
#include "objects/cob_data.h"
#include "objects/object_thumbnail.h"
#include "sprites/png.h"
#include "sprites/sprite_file.h"
#include "sprites/thumbnail.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

std::vector<Bytes> seeds() {
    SpriteImage picture(3, 2);
    picture.pixels = {1, 2, 3, 4, 5, 6};
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,endm"};
    cob.pictureWidth = 3;
    cob.pictureHeight = 2;
    cob.picturePixels = picture.pixels;
    // The first byte picks the kind of file, the second the size; the rest is the file.
    auto withChoice = [](std::uint8_t kind, std::uint8_t size, Bytes file) {
        file.insert(file.begin(), {kind, size});
        return file;
    };
    return {withChoice(0, 16, encodeSpriteFile(std::vector{picture, SpriteImage(1, 4, 9)})),
            withChoice(0, 7, encodeSpriteFile(std::vector(5, picture))),
            withChoice(0, 3, encodeSpriteHeader(std::vector<SpriteEntry>{{10, 0, 1}})),
            withChoice(1, 32, encodeCob(cob)), withChoice(2, 1, encodeCob(CobData{}))};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    if (input.size() < 2) return;
    static constexpr const char* kNames[] = {"input.spr", "input.cob", "input.RCB"};
    const auto file = inputFile(input.subspan(2), kNames[input[0] % 3]);
    // Small sizes keep each run short; the scaling is the same at every size.
    const int size = 1 + input[1] % 64;
    const RgbImage thumbnail = fileThumbnail(file, neutralPalette(0xFFFFFF), size);
    expectSame(
        thumbnail.width >= 1 && thumbnail.height >= 1 && thumbnail.width <= size &&
            thumbnail.height <= size &&
            thumbnail.pixels.size() == static_cast<std::size_t>(thumbnail.width) * thumbnail.height,
        "thumbnail within its size");
    encodePng(thumbnail);
}

}  // namespace vek::fuzz
