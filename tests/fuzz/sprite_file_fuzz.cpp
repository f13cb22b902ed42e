// The sprite file: table and pixel blocks read, written anew, and read back the same.
#include "sprites/sprite_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

std::vector<SpriteImage> readAll(const std::filesystem::path& file) {
    SpriteFile sprites(file);
    std::vector<SpriteImage> images;
    for (const SpriteEntry& entry : sprites.readTable(kMaxSpriteCount))
        images.push_back(sprites.readSprite(entry));
    return images;
}

}  // namespace

std::vector<Bytes> seeds() {
    SpriteImage picture(3, 2);
    picture.pixels = {1, 2, 3, 4, 5, 6};
    return {encodeSpriteFile(std::vector{picture, SpriteImage(1, 1, 9)}),
            encodeSpriteFile(std::vector<SpriteImage>{}),
            encodeSpriteHeader(std::vector<SpriteEntry>{{10, 4, 4}, {2, 0, 7}})};
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const auto file = inputFile(input, "input.spr");
    damagedEntries(readSpriteTable(file, kMaxSpriteCount));
    const std::vector<SpriteImage> images = readAll(file);
    expectSame(readAll(inputFile(encodeSpriteFile(images), "again.spr")) == images,
               "sprite file written anew");
}

}  // namespace vek::fuzz
