#include "sprites/sprite_pictures.h"

#include <algorithm>

#include "app/file_io.h"
#include "app/text_names.h"
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

SpriteImage spriteSheet(std::span<const SpriteImage> sprites) {
    if (sprites.empty()) throw VekError(Msg::SpriteSheetEmpty);
    std::size_t columns = 1;
    while (columns * columns < sprites.size()) ++columns;
    const std::size_t rows = (sprites.size() + columns - 1) / columns;
    std::size_t cellWidth = 0;
    std::size_t cellHeight = 0;
    for (const SpriteImage& sprite : sprites) {
        cellWidth = std::max<std::size_t>(cellWidth, sprite.width);
        cellHeight = std::max<std::size_t>(cellHeight, sprite.height);
    }
    constexpr std::size_t kLargestSide = 65535;
    if (columns * cellWidth > kLargestSide || rows * cellHeight > kLargestSide)
        throw VekError(fill(Msg::SpriteSheetTooLarge, {std::to_string(sprites.size())}));
    SpriteImage sheet(static_cast<std::uint16_t>(columns * cellWidth),
                      static_cast<std::uint16_t>(rows * cellHeight));
    for (std::size_t k = 0; k < sprites.size(); ++k) {
        const SpriteImage& sprite = sprites[k];
        const auto left = static_cast<int>((k % columns) * cellWidth);
        const auto top = static_cast<int>((k / columns) * cellHeight);
        for (int y = 0; y < sprite.height; ++y) {
            const auto row =
                sprite.pixels.begin() + static_cast<std::ptrdiff_t>(sprite.index(0, y));
            std::copy(
                row, row + sprite.width,
                sheet.pixels.begin() + static_cast<std::ptrdiff_t>(sheet.index(left, top + y)));
        }
    }
    return sheet;
}

std::filesystem::path numberedPictureFile(const std::filesystem::path& file, std::size_t number) {
    std::filesystem::path numbered = file;
    numbered.replace_filename(pathFromUtf8(pathToUtf8(file.stem()) + "-" + std::to_string(number) +
                                           pathToUtf8(file.extension())));
    return numbered;
}

void writeSpriteGif(const std::filesystem::path& file, std::span<const SpriteImage> frames,
                    const PaletteTable& palette, bool loops) {
    writeFileAtomically(file, encodeSpriteGif(frames, palette, loops));
}

}  // namespace vek
