#include "sprites/sprite_pictures.h"

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/bitmap_converter.h"
#include "sprites/gif.h"
#include "sprites/indexed_picture.h"
#include "sprites/picture_file.h"
#include "sprites/png.h"

namespace vek {

std::vector<std::uint8_t> encodeSpritePng(const SpriteImage& sprite, const PaletteTable& palette) {
    return encodeIndexedPng(
        {sprite.width, sprite.height, sprite.pixels, spriteColorTable(palette)});
}

SpriteImage decodeSpritePng(std::span<const std::uint8_t> file, const PaletteTable& palette) {
    std::optional<IndexedPicture> indexed = decodeIndexedPng(file, kMaxSpritePixels);
    if (!indexed) {
        RgbImage picture = decodePng(file, palette.background());
        return convertPicture(picture, palette, ColorMatchLevel::Best);
    }
    const UniformSpriteFile size = checkUniformSpriteFile(1, indexed->width, indexed->height);
    SpriteImage sprite(static_cast<std::uint16_t>(size.width),
                       static_cast<std::uint16_t>(size.height));
    const auto indices = paletteIndicesOf(indexed->table, palette);
    for (std::size_t k = 0; k < sprite.pixels.size(); ++k)
        sprite.pixels[k] = indices[indexed->indices[k]];
    return sprite;
}

void writeSpritePng(const std::filesystem::path& file, const SpriteImage& sprite,
                    const PaletteTable& palette) {
    writeFileAtomically(file, encodeSpritePng(sprite, palette));
}

std::vector<SpriteImage> readSpritePictures(const std::filesystem::path& file,
                                            const PaletteTable& palette) {
    return readingFile(file, [&] {
        const std::vector<std::uint8_t> bytes = readFileBytes(file, kMaxImportFileSize);
        if (hasGifSignature(bytes)) return decodeSpriteGif(bytes, palette);
        if (hasPngSignature(bytes) || isPngName(file))
            return std::vector<SpriteImage>{decodeSpritePng(bytes, palette)};
        RgbImage picture = decodeBitmap(bytes);
        return std::vector<SpriteImage>{convertPicture(picture, palette, ColorMatchLevel::Best)};
    });
}

void writeSpriteGif(const std::filesystem::path& file, std::span<const SpriteImage> frames,
                    const PaletteTable& palette, bool loops) {
    writeFileAtomically(file, encodeSpriteGif(frames, palette, loops));
}

}  // namespace vek
