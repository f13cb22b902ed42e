#include "sprites/thumbnail.h"

#include <algorithm>
#include <array>
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

void requireThumbnailSize(int size) {
    if (size >= 1 && size <= kMaxThumbnailSize) return;
    const std::string text = std::to_string(size);
    const std::string limit = std::to_string(kMaxThumbnailSize);
    throw VekError(fill(Msg::ThumbnailSizeOutOfRange, {text, limit}));
}

namespace {

struct FittedSize {
    int width;
    int height;
};

// The longer side brought to `size`, the proportions kept, no side below 1. A picture with a side
// of 0 draws nothing.
FittedSize fittedSize(std::uint64_t width, std::uint64_t height, int size) {
    requireThumbnailSize(size);
    if (width == 0 || height == 0) throw VekError(Msg::NoPictureToShow);
    const std::uint64_t longer = std::max(width, height);
    // Sides are at most 2^32, a size at most 1024: the products fit 64 bits.
    auto scaled = [&](std::uint64_t side) {
        return static_cast<int>(
            std::max<std::uint64_t>(1, side * static_cast<std::uint64_t>(size) / longer));
    };
    return {scaled(width), scaled(height)};
}

// Reads the pixels of one stored row that the thumbnail samples, in windows of a bounded size,
// moving forward along the row.
class RowSampler {
  public:
    explicit RowSampler(FileReader& in) : m_in(in) {}

    void startRow(std::uint64_t offset, std::uint64_t width) {
        m_rowOffset = offset;
        m_rowWidth = width;
        m_windowStart = 0;
        m_windowLength = 0;
    }
    std::uint8_t at(std::uint64_t x) {
        if (x < m_windowStart || x >= m_windowStart + m_windowLength) {
            m_windowStart = x;
            m_windowLength = std::min<std::uint64_t>(m_window.size(), m_rowWidth - x);
            m_in.read(m_rowOffset + x, std::span(m_window).first(m_windowLength));
        }
        return m_window[x - m_windowStart];
    }

  private:
    FileReader& m_in;
    std::array<std::uint8_t, 64 * 1024> m_window{};
    std::uint64_t m_rowOffset = 0;
    std::uint64_t m_rowWidth = 0;
    std::uint64_t m_windowStart = 0;
    std::uint64_t m_windowLength = 0;
};

// Throws the end-of-file error unless the picture's pixels lie wholly in the file.
void requireInFile(FileReader& in, const StoredPicture& picture) {
    const std::uint64_t pixels = picture.width * picture.height;
    if (pixels == 0) return;
    std::array<std::uint8_t, 1> last{};
    in.read(picture.offset + pixels - 1, last);
}

}  // namespace

RgbImage drawThumbnail(FileReader& in, std::span<const StoredPicture> pictures,
                       const PaletteTable& palette, int size) {
    std::uint64_t cellWidth = 0;
    std::uint64_t cellHeight = 0;
    for (const StoredPicture& picture : pictures) {
        cellWidth = std::max(cellWidth, picture.width);
        cellHeight = std::max(cellHeight, picture.height);
    }
    const std::size_t count = pictures.size();
    const std::size_t columns = std::min<std::size_t>(count, 2);
    const std::size_t rows = columns == 0 ? 0 : (count + columns - 1) / columns;
    const std::uint64_t sheetWidth = cellWidth * columns;
    const std::uint64_t sheetHeight = cellHeight * rows;
    const FittedSize fitted = fittedSize(sheetWidth, sheetHeight, size);
    for (const StoredPicture& picture : pictures) requireInFile(in, picture);

    RgbImage thumbnail(fitted.width, fitted.height, palette.background());
    RowSampler row(in);
    for (int y = 0; y < fitted.height; ++y) {
        const std::uint64_t sheetY =
            static_cast<std::uint64_t>(y) * sheetHeight / static_cast<std::uint64_t>(fitted.height);
        const std::uint64_t cellRow = sheetY / cellHeight;
        for (std::size_t column = 0; column < columns; ++column) {
            const std::size_t n = cellRow * columns + column;
            if (n >= count) continue;
            const StoredPicture& picture = pictures[n];
            const std::uint64_t top = cellRow * cellHeight + (cellHeight - picture.height) / 2;
            if (sheetY < top || sheetY >= top + picture.height) continue;
            const std::uint64_t pictureY = sheetY - top;
            const std::uint64_t storedRow =
                picture.bottomUp ? picture.height - 1 - pictureY : pictureY;
            row.startRow(picture.offset + storedRow * picture.width, picture.width);
            const std::uint64_t left = column * cellWidth + (cellWidth - picture.width) / 2;
            for (int x = 0; x < fitted.width; ++x) {
                const std::uint64_t sheetX = static_cast<std::uint64_t>(x) * sheetWidth /
                                             static_cast<std::uint64_t>(fitted.width);
                if (sheetX < left || sheetX >= left + picture.width) continue;
                thumbnail.at(x, y) = palette[row.at(sheetX - left)];
            }
        }
    }
    return thumbnail;
}

RgbImage fitThumbnail(const RgbImage& picture, int size) {
    const FittedSize fitted =
        fittedSize(static_cast<std::uint64_t>(std::max(picture.width, 0)),
                   static_cast<std::uint64_t>(std::max(picture.height, 0)), size);
    RgbImage thumbnail(fitted.width, fitted.height);
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
    return readingFile(file, [&] {
        SpriteFile sprites(file, kMaxSpriteFileSize);
        std::vector<SpriteEntry> entries = sprites.readTable(kMaxSpriteCount);
        if (entries.size() > kContactSheetSprites) entries.resize(kContactSheetSprites);
        std::vector<StoredPicture> pictures;
        for (const SpriteEntry& entry : entries)
            pictures.push_back({entry.offset, entry.width, entry.height, false});
        return drawThumbnail(sprites.reader(), pictures, palette, size);
    });
}

}  // namespace vek
