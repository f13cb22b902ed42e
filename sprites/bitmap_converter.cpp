#include "sprites/bitmap_converter.h"

#include <span>

#include "app/file_io.h"
#include "sprites/picture_file.h"

namespace vek {

RgbImage startPicture() { return RgbImage(kStartPictureWidth, kStartPictureHeight, 0); }

SpriteImage convertPicture(RgbImage& picture, const PaletteTable& palette, ColorMatchLevel level,
                           const RowProgress& startRow) {
    const UniformSpriteFile layout = checkUniformSpriteFile(1, picture.width, picture.height);
    SpriteImage sprite(static_cast<std::uint16_t>(layout.width),
                       static_cast<std::uint16_t>(layout.height));
    ColorMatcher matcher(palette.colors(), level);
    const std::size_t width = layout.width;
    for (std::size_t y = 0; y < layout.height; ++y) {
        if (startRow) startRow(static_cast<int>(y));
        const std::span<ScreenColor> row(picture.pixels.data() + y * width, width);
        const std::span<std::uint8_t> indices(sprite.pixels.data() + y * width, width);
        matcher.matchRow(row, indices);
        for (std::size_t x = 0; x < width; ++x) row[x] = palette[indices[x]];
    }
    return sprite;
}

void writeConvertedSprite(const std::filesystem::path& file, const SpriteImage& sprite) {
    writeUniformSpriteFile(file, UniformSpriteFile{1, sprite.width, sprite.height}, sprite.pixels);
}

void convertBitmapFile(const std::filesystem::path& bitmap, const std::filesystem::path& sprite,
                       const PaletteTable& palette, ColorMatchLevel level) {
    RgbImage picture = readPicture(bitmap, palette.background());
    writeConvertedSprite(sprite, convertPicture(picture, palette, level));
}

std::filesystem::path batchSpriteName(const std::filesystem::path& bitmap) {
    // Characters, not bytes: a UTF-8 character's continuation bytes go with it.
    std::string name = pathToUtf8(bitmap.filename());
    std::size_t end = name.size();
    int characters = 0;
    while (end > 0 && characters < 3) {
        --end;
        if ((static_cast<unsigned char>(name[end]) & 0xC0) != 0x80) ++characters;
    }
    // A name of three characters or fewer keeps itself rather than vanishing.
    name = end > 0 ? name.substr(0, end) + "SPR" : name + ".SPR";
    return bitmap.parent_path() / pathFromUtf8(name);
}

}  // namespace vek
