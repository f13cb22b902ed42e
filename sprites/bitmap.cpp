#include "sprites/bitmap.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// An RLE stream may describe far more pixels than it has bytes (runs, skips, an early end);
// beyond this ratio (and a floor for small pictures) the claimed size is not believed.
constexpr std::uint64_t kRlePixelsPerByte = 1024;
constexpr std::uint64_t kRleFreePixels = std::uint64_t{1} << 20;

[[noreturn]] void invalid(const BilingualText& reason) {
    throw VekError(fill(Msg::BitmapInvalid, {reason}));
}

[[noreturn]] void invalid(const Bilingual& reason) { invalid(textOf(reason)); }

// One colour channel of a 16- or 32-bit pixel, described by its mask.
class Channel {
  public:
    Channel() = default;
    explicit Channel(std::uint32_t mask) : m_mask(mask) {
        if (mask == 0) return;
        m_shift = std::countr_zero(mask);
        const std::uint32_t bits = mask >> m_shift;
        if ((bits & (bits + 1)) != 0) invalid(Msg::BitmapMaskNotContiguous);
        m_max = bits;
    }

    std::uint8_t operator()(std::uint32_t pixel) const {
        if (m_max == 0) return 0;
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<std::uint8_t>((value * 255 + m_max / 2) / m_max);
    }

  private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    std::uint32_t m_max = 0;
};

struct Masks {
    Channel red, green, blue;
    ScreenColor operator()(std::uint32_t pixel) const {
        return makeScreenColor(red(pixel), green(pixel), blue(pixel));
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive here
    bool topDown = false;
    unsigned bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t imageSize = 0;
    std::array<ScreenColor, 256> palette{};  // unused entries stay black
    Masks masks;
    std::size_t pixelOffset = 0;
};

std::string sizeText(const Layout& layout) {
    return std::to_string(layout.width) + " x " + std::to_string(layout.height);
}

std::uint32_t loadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    ByteReader in(bytes);
    in.seek(at);
    return in.u32();
}

bool isKnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case 12:
        case 16:
        case 40:
        case 52:
        case 56:
        case 64:
        case 108:
        case 124:
            return true;
        default:
            return false;
    }
}

// Reads the masks of a BITFIELDS bitmap, which sit in the later headers or right behind the
// 40-byte one. Returns where the colour table would begin.
std::size_t readMasks(std::span<const std::uint8_t> file, std::uint32_t headerSize,
                      Layout& layout) {
    std::size_t end = kFileHeaderSize + headerSize;
    std::size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (headerSize < 52) {
        end += layout.compression == kBiAlphaBitfields ? 16 : 12;
        if (end > file.size()) invalid(Msg::BitmapMasksMissing);
    }
    const std::uint32_t limit = layout.bitsPerPixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::array<std::uint32_t, 3> masks{};
    for (auto& mask : masks) {
        mask = loadU32(file, at);
        at += 4;
        if (mask > limit) invalid(Msg::BitmapMaskTooWide);
    }
    layout.masks = {Channel(masks[0]), Channel(masks[1]), Channel(masks[2])};
    return end;
}

void readPalette(std::span<const std::uint8_t> file, std::size_t start, std::uint32_t colorsUsed,
                 bool coreHeader, Layout& layout) {
    const std::size_t entrySize = coreHeader ? 3 : 4;
    const std::uint32_t full = 1u << layout.bitsPerPixel;
    std::size_t count = (colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
    // A colour table never reaches into the pixels.
    if (layout.pixelOffset > start)
        count = std::min(count, (layout.pixelOffset - start) / entrySize);
    if (start + count * entrySize > file.size()) invalid(Msg::BitmapColourTableIncomplete);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = start + i * entrySize;
        layout.palette[i] = makeScreenColor(file[at + 2], file[at + 1], file[at]);
    }
}

void checkFormat(const Layout& layout, bool os2Header) {
    const unsigned bpp = layout.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        invalid(fill(Msg::BitmapDepthUnsupported, {std::to_string(bpp)}));
    }
    const std::uint32_t c = layout.compression;
    const bool fits =
        c == kBiRgb || (c == kBiRle8 && bpp == 8) || (c == kBiRle4 && bpp == 4) ||
        (!os2Header && (c == kBiBitfields || c == kBiAlphaBitfields) && (bpp == 16 || bpp == 32));
    if (!fits) {
        invalid(fill(Msg::BitmapCompressionUnsupported, {std::to_string(c), std::to_string(bpp)}));
    }
    if (layout.width <= 0 || layout.height <= 0) {
        invalid(fill(Msg::BitmapSize, {sizeText(layout)}));
    }
    if (static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.height) >
        kMaxBitmapPixels) {
        invalid(fill(Msg::BitmapSizeTooLarge, {sizeText(layout)}));
    }
    if (layout.topDown && (c == kBiRle8 || c == kBiRle4)) invalid(Msg::BitmapRleFromTop);
}

Layout readLayout(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + 4) invalid(Msg::BitmapFileTooShort);
    if (file[0] != 'B' || file[1] != 'M') invalid(Msg::BitmapNotWindows);
    Layout layout;
    layout.pixelOffset = loadU32(file, 10);
    const std::uint32_t headerSize = loadU32(file, kFileHeaderSize);
    if (!isKnownHeaderSize(headerSize)) {
        invalid(fill(Msg::BitmapHeaderSizeUnknown, {std::to_string(headerSize)}));
    }
    if (kFileHeaderSize + headerSize > file.size()) invalid(Msg::BitmapHeaderIncomplete);

    // Fields a short header does not have keep their defaults.
    std::array<std::uint8_t, kInfoHeaderSize> info{};
    std::copy_n(file.begin() + kFileHeaderSize,
                std::min<std::uint32_t>(headerSize, kInfoHeaderSize), info.begin());
    ByteReader in(info);
    in.skip(4);
    const bool coreHeader = headerSize == 12;
    std::int64_t height = 0;
    if (coreHeader) {
        layout.width = in.u16();
        height = in.u16();
        in.skip(2);
        layout.bitsPerPixel = in.u16();
    } else {
        layout.width = in.i32();
        height = in.i32();
        in.skip(2);
        layout.bitsPerPixel = in.u16();
        layout.compression = in.u32();
        layout.imageSize = in.u32();
        in.skip(8);
    }
    const std::uint32_t colorsUsed = coreHeader ? 0 : in.u32();
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    checkFormat(layout, headerSize == 64 || headerSize == 16);

    const std::size_t headerEnd = kFileHeaderSize + headerSize;
    if (layout.pixelOffset != 0 && layout.pixelOffset < headerEnd) {
        invalid(Msg::BitmapPixelsInHeader);
    }
    std::size_t tableStart = headerEnd;
    if (layout.bitsPerPixel == 16) {
        layout.masks = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
    } else if (layout.bitsPerPixel == 32) {
        layout.masks = {Channel(0xFF0000), Channel(0x00FF00), Channel(0x0000FF)};
    }
    if (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields) {
        tableStart = readMasks(file, headerSize, layout);
    }
    if (layout.bitsPerPixel <= 8) {
        readPalette(file, tableStart, colorsUsed, coreHeader, layout);
        if (layout.pixelOffset == 0) {
            const std::uint32_t count = colorsUsed != 0 ? colorsUsed : 1u << layout.bitsPerPixel;
            layout.pixelOffset = tableStart + std::size_t{count} * (coreHeader ? 3 : 4);
        }
    } else if (layout.pixelOffset == 0) {
        layout.pixelOffset = tableStart;
    }
    if (layout.pixelOffset > file.size()) invalid(Msg::BitmapPixelsMissing);
    return layout;
}

void decodeRows(std::span<const std::uint8_t> file, const Layout& layout, RgbImage& image) {
    const auto width = static_cast<std::uint64_t>(layout.width);
    const auto height = static_cast<std::uint64_t>(layout.height);
    const unsigned bpp = layout.bitsPerPixel;
    const std::uint64_t rowBytes = (width * bpp + 7) / 8;
    const std::uint64_t stride = (width * bpp + 31) / 32 * 4;
    // The last row's padding may be missing.
    const std::uint64_t needed = stride * (height - 1) + rowBytes;
    const std::uint64_t available = file.size() - layout.pixelOffset;
    if (needed > available) {
        const std::string have = std::to_string(available);
        const std::string need = std::to_string(needed);
        invalid(fill(Msg::BitmapPixelsIncomplete, {have, need}));
    }
    image = RgbImage(static_cast<int>(width), static_cast<int>(height));
    const int w = image.width;
    for (int row = 0; row < image.height; ++row) {
        const std::uint8_t* in =
            file.data() + layout.pixelOffset + stride * static_cast<std::uint64_t>(row);
        const int y = layout.topDown ? row : image.height - 1 - row;
        ScreenColor* out = &image.at(0, y);
        switch (bpp) {
            case 1:
                for (int x = 0; x < w; ++x)
                    out[x] = layout.palette[(in[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < w; ++x)
                    out[x] = layout.palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                for (int x = 0; x < w; ++x) out[x] = layout.palette[in[x]];
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    out[x] =
                        layout.masks(static_cast<std::uint32_t>(in[2 * x] | in[2 * x + 1] << 8));
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x)
                    out[x] = makeScreenColor(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
                break;
            default:
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* p = in + 4 * x;
                    out[x] = layout.masks(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                          std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
                }
                break;
        }
    }
}

// Run-length encoded rows, bottom-up. Pixels the stream skips keep colour table entry 0;
// runs past the row's end are clipped.
void decodeRle(std::span<const std::uint8_t> file, const Layout& layout, RgbImage& image) {
    std::span<const std::uint8_t> data = file.subspan(layout.pixelOffset);
    if (layout.imageSize != 0 && layout.imageSize < data.size())
        data = data.first(layout.imageSize);
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.height);
    if (pixels > std::max(kRleFreePixels, data.size() * kRlePixelsPerByte)) {
        const std::string bytes = std::to_string(data.size());
        invalid(fill(Msg::BitmapSizeBeyondRle, {sizeText(layout), bytes}));
    }
    image = RgbImage(static_cast<int>(layout.width), static_cast<int>(layout.height),
                     layout.palette[0]);
    const bool rle4 = layout.compression == kBiRle4;
    std::int64_t x = 0;
    std::int64_t y = 0;  // counted from the bottom row
    auto put = [&](std::uint8_t index) {
        if (x < image.width && y < image.height)
            image.at(static_cast<int>(x), image.height - 1 - static_cast<int>(y)) =
                layout.palette[index];
        ++x;
    };
    std::size_t at = 0;
    auto take = [&](std::size_t count) {
        if (data.size() - at < count) invalid(Msg::BitmapRleIncomplete);
        const std::uint8_t* bytes = data.data() + at;
        at += count;
        return bytes;
    };
    for (;;) {
        const std::uint8_t* pair = take(2);
        const unsigned count = pair[0];
        const std::uint8_t value = pair[1];
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                put(rle4 ? static_cast<std::uint8_t>((i & 1) ? value & 15 : value >> 4) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            const std::uint8_t* delta = take(2);
            x += delta[0];
            y += delta[1];
        } else {
            const std::size_t bytes = rle4 ? (value + 1u) / 2 : value;
            const std::uint8_t* run = take(bytes + (bytes & 1));
            for (unsigned i = 0; i < value; ++i) {
                put(rle4 ? static_cast<std::uint8_t>((i & 1) ? run[i / 2] & 15 : run[i / 2] >> 4)
                         : run[i]);
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> encodeBitmap(const RgbImage& image, BitmapBits bits) {
    const std::uint64_t bytesPerPixel = bits == BitmapBits::Rgb32 ? 4 : 3;
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(image.width) * bytesPerPixel + 3) / 4 * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(image.height);
    const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > std::numeric_limits<std::uint32_t>::max()) invalid(Msg::BitmapTooLarge);

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(static_cast<std::uint32_t>(fileSize));
    out.u32(0);
    out.u32(kFileHeaderSize + kInfoHeaderSize);
    out.u32(kInfoHeaderSize);
    out.i32(image.width);
    out.i32(image.height);
    out.u16(1);
    out.u16(static_cast<std::uint16_t>(bits));
    out.u32(kBiRgb);
    out.u32(static_cast<std::uint32_t>(pixelBytes));
    out.u32(3780);  // 96 dots per inch
    out.u32(3780);
    out.u32(0);
    out.u32(0);

    std::vector<std::uint8_t> bytes = out.take();
    bytes.resize(static_cast<std::size_t>(fileSize), 0);
    std::uint8_t* pixels = bytes.data() + kFileHeaderSize + kInfoHeaderSize;
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = pixels + stride * static_cast<std::uint64_t>(image.height - 1 - y);
        const ScreenColor* in =
            &image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width)];
        for (int x = 0; x < image.width; ++x, row += bytesPerPixel) {
            row[0] = blueOf(in[x]);
            row[1] = greenOf(in[x]);
            row[2] = redOf(in[x]);
        }
    }
    return bytes;
}

void refuseEmptyPicture(const std::filesystem::path& path, const RgbImage& image) {
    // A picture of no pixels is not one any program reads back.
    if (image.pixels.empty()) {
        throw VekError(Msg::AreaEmptyNothingSaved, ErrorDetail::ofFile(path));
    }
}

void writeBitmap(const std::filesystem::path& path, const RgbImage& image, BitmapBits bits) {
    refuseEmptyPicture(path, image);
    writeFileAtomically(path, encodeBitmap(image, bits));
}

RgbImage decodeBitmap(std::span<const std::uint8_t> file) {
    const Layout layout = readLayout(file);
    RgbImage image;
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
        decodeRle(file, layout, image);
    } else {
        decodeRows(file, layout, image);
    }
    return image;
}

RgbImage readBitmap(const std::filesystem::path& path) {
    return readingFile(path, [&] { return decodeBitmap(readFileBytes(path)); });
}

}  // namespace vek
