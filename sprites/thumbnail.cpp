#include "sprites/thumbnail.h"

#include <algorithm>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

PaletteTable neutralPalette(ScreenColor background) {
    PaletteTable table;
    for (std::size_t index = 1; index < kPaletteColorCount; ++index) {
        const auto level = static_cast<std::uint8_t>((index - 1) * 255 / (kPaletteColorCount - 2));
        table.setColor(index, makeScreenColor(level, level, level));
    }
    table.setBackground(background);
    return table;
}

RgbImage contactSheet(std::span<const SpriteImage> sprites, const PaletteTable& palette) {
    int cellWidth = 0;
    int cellHeight = 0;
    for (const SpriteImage& sprite : sprites) {
        cellWidth = std::max<int>(cellWidth, sprite.width);
        cellHeight = std::max<int>(cellHeight, sprite.height);
    }
    const int count = static_cast<int>(sprites.size());
    const int columns = std::min(count, 2);
    const int rows = columns == 0 ? 0 : (count + columns - 1) / columns;
    RgbImage sheet(cellWidth * columns, cellHeight * rows, palette.background());
    for (int n = 0; n < count; ++n) {
        const SpriteImage& sprite = sprites[static_cast<std::size_t>(n)];
        const int left = (n % columns) * cellWidth + (cellWidth - sprite.width) / 2;
        const int top = (n / columns) * cellHeight + (cellHeight - sprite.height) / 2;
        for (int y = 0; y < sprite.height; ++y) {
            for (int x = 0; x < sprite.width; ++x)
                sheet.at(left + x, top + y) = palette[sprite.at(x, y)];
        }
    }
    return sheet;
}

void requireThumbnailSize(int size) {
    if (size >= 1 && size <= kMaxThumbnailSize) return;
    const std::string text = std::to_string(size);
    const std::string limit = std::to_string(kMaxThumbnailSize);
    throw VekError(fill(Msg::ThumbnailSizeOutOfRange, {text, limit}));
}

RgbImage fitThumbnail(const RgbImage& picture, int size) {
    requireThumbnailSize(size);
    const int longer = std::max(picture.width, picture.height);
    if (longer == 0) {
        throw VekError(Msg::NoPictureToShow);
    }
    // 64-bit products: a side of 65535 times a size of 1024 does not fit an int.
    auto scaled = [&](int side) {
        return static_cast<int>(
            std::max<long long>(1, static_cast<long long>(side) * size / longer));
    };
    RgbImage thumbnail(scaled(picture.width), scaled(picture.height));
    for (int y = 0; y < thumbnail.height; ++y) {
        const auto sourceY =
            static_cast<int>(static_cast<long long>(y) * picture.height / thumbnail.height);
        for (int x = 0; x < thumbnail.width; ++x) {
            const auto sourceX =
                static_cast<int>(static_cast<long long>(x) * picture.width / thumbnail.width);
            thumbnail.at(x, y) = picture.at(sourceX, sourceY);
        }
    }
    return thumbnail;
}

RgbImage spriteFileThumbnail(const std::filesystem::path& file, const PaletteTable& palette,
                             int size) {
    requireThumbnailSize(size);
    SpriteFile in(file);
    std::vector<SpriteEntry> entries = in.readTable(kMaxSpriteCount);
    if (entries.size() > kContactSheetSprites) entries.resize(kContactSheetSprites);
    std::vector<SpriteImage> sprites;
    for (const SpriteEntry& entry : entries) sprites.push_back(in.readSprite(entry));
    return fitThumbnail(contactSheet(sprites, palette), size);
}

}  // namespace vek
