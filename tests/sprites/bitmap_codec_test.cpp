#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>

#include "app/byte_io.h"
#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"

namespace vek {
namespace {

using ::testing::HasSubstr;

// Builds bitmap files field by field, so that the tests can write every variant (and every
// kind of lie) that a reader may meet.
struct BitmapFile {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks;  // in the header (52 bytes and up) or right behind it
    std::vector<ScreenColor> palette;
    std::vector<std::uint8_t> pixels;
    std::optional<std::uint32_t> pixelOffset;

    std::vector<std::uint8_t> bytes() const {
        ByteWriter header;
        if (headerSize == 12) {
            header.u32(12);
            header.u16(static_cast<std::uint16_t>(width));
            header.u16(static_cast<std::uint16_t>(height));
            header.u16(1);
            header.u16(bitsPerPixel);
        } else {
            header.u32(headerSize);
            header.i32(width);
            header.i32(height);
            header.u16(1);
            header.u16(bitsPerPixel);
            header.u32(compression);
            header.u32(imageSize);
            header.u32(2835);
            header.u32(2835);
            header.u32(colorsUsed);
            header.u32(0);
            if (headerSize >= 52) {
                for (std::size_t i = 0; i < 4; ++i) header.u32(i < masks.size() ? masks[i] : 0);
            }
            header.fill(headerSize - std::min<std::size_t>(header.size(), headerSize), 0);
        }
        std::vector<std::uint8_t> body = header.take();
        body.resize(headerSize);
        ByteWriter tail;
        if (headerSize < 52) {
            for (auto mask : masks) tail.u32(mask);
        }
        for (auto color : palette) {
            tail.u8(blueOf(color));
            tail.u8(greenOf(color));
            tail.u8(redOf(color));
            if (headerSize != 12) tail.u8(0);
        }
        ByteWriter file;
        const auto offset = static_cast<std::uint32_t>(14 + body.size() + tail.size());
        file.u8('B');
        file.u8('M');
        file.u32(static_cast<std::uint32_t>(offset + pixels.size()));
        file.u32(0);
        file.u32(pixelOffset.value_or(offset));
        file.bytes(body);
        file.bytes(tail.data());
        file.bytes(pixels);
        return file.take();
    }
};

// Packs palette indices (rows top-down) into padded rows of `bits` per pixel.
std::vector<std::uint8_t> packIndices(const std::vector<std::vector<int>>& rows, int bits,
                                      bool topDown) {
    std::vector<std::uint8_t> out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[topDown ? r : rows.size() - 1 - r];
        std::vector<std::uint8_t> packed(
            (row.size() * static_cast<std::size_t>(bits) + 31) / 32 * 4, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            const std::size_t bit = x * static_cast<std::size_t>(bits);
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            packed[bit / 8] = static_cast<std::uint8_t>(packed[bit / 8] | row[x] << shift);
        }
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

RgbImage randomImage(int width, int height, unsigned seed) {
    RgbImage image(width, height);
    std::mt19937 random(seed);
    for (auto& pixel : image.pixels) pixel = random() & 0xFFFFFF;
    return image;
}

// The refusal's German text, which these tests read.
std::string decodeError(const std::vector<std::uint8_t>& file) {
    try {
        decodeBitmap(file);
    } catch (const VekError& error) {
        return std::string(error.text(kLanguageGerman));
    }
    return "no error";
}

TEST(BitmapCodec, WritesEveryColourExactlyAtBothDepthsAndReadsItBack) {
    for (int width : {1, 2, 3, 5, 17}) {
        const RgbImage image = randomImage(width, 7, static_cast<unsigned>(width));
        for (BitmapBits bits : {BitmapBits::Rgb24, BitmapBits::Rgb32}) {
            const auto file = encodeBitmap(image, bits);
            const RgbImage back = decodeBitmap(file);
            EXPECT_EQ(back.width, width);
            EXPECT_EQ(back.height, 7);
            EXPECT_EQ(back.pixels, image.pixels) << "width " << width;
        }
    }
}

TEST(BitmapCodec, WrittenFileHasTheWindowsLayoutBottomRowFirst) {
    RgbImage image(3, 2);
    image.at(0, 0) = makeScreenColor(1, 2, 3);     // top left
    image.at(0, 1) = makeScreenColor(10, 20, 30);  // bottom left
    const auto file = encodeBitmap(image);
    ByteReader in(file);
    EXPECT_EQ(in.text(2), "BM");
    EXPECT_EQ(in.u32(), file.size());
    in.skip(4);
    EXPECT_EQ(in.u32(), 54u);
    EXPECT_EQ(in.u32(), 40u);
    EXPECT_EQ(in.i32(), 3);
    EXPECT_EQ(in.i32(), 2);  // positive: bottom-up
    EXPECT_EQ(in.u16(), 1);
    EXPECT_EQ(in.u16(), 24);
    EXPECT_EQ(file.size(), 54u + 2 * 12);  // 9 bytes a row padded to 12
    // Blue, green, red; the bottom row comes first.
    EXPECT_EQ(file[54], 30);
    EXPECT_EQ(file[55], 20);
    EXPECT_EQ(file[56], 10);
    EXPECT_EQ(file[66], 3);
    EXPECT_EQ(file[68], 1);

    const auto file32 = encodeBitmap(image, BitmapBits::Rgb32);
    EXPECT_EQ(file32.size(), 54u + 2 * 12);  // 3 pixels of 4 bytes
    EXPECT_EQ(file32[28], 32);
    EXPECT_EQ(file32[54 + 3], 0);  // the unused top byte
}

TEST(BitmapCodec, WritesThroughAFileAndReadsTheFileBack) {
    const auto path = std::filesystem::temp_directory_path() / "vek_bitmap_codec_roundtrip.bmp";
    const RgbImage image = randomImage(9, 4, 99);
    writeBitmap(path, image);
    EXPECT_EQ(readBitmap(path).pixels, image.pixels);
    std::filesystem::remove(path);
    EXPECT_THROW(readBitmap(path), VekError);
}

TEST(BitmapCodec, ReadsIndexedDepthsInBothRowOrders) {
    const std::vector<ScreenColor> palette = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00,
                                              0xFF0000, 0x123456, 0x808080, 0xABCDEF};
    // Three rows of nine pixels: row lengths that need padding at every depth.
    const std::vector<std::vector<int>> indices = {
        {0, 1, 0, 1, 1, 0, 0, 1, 1}, {1, 1, 0, 0, 1, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 1, 0, 1, 0}};
    std::vector<std::vector<int>> wide = indices;
    for (auto& row : wide) {
        for (std::size_t x = 0; x < row.size(); ++x)
            row[x] = (row[x] * 5 + static_cast<int>(x)) % 8;
    }
    for (int bits : {1, 4, 8}) {
        const auto& rows = bits == 1 ? indices : wide;
        for (bool topDown : {false, true}) {
            BitmapFile file;
            file.width = 9;
            file.height = topDown ? -3 : 3;
            file.bitsPerPixel = static_cast<std::uint16_t>(bits);
            file.palette.assign(palette.begin(), palette.begin() + (bits == 1 ? 2 : 8));
            file.colorsUsed = static_cast<std::uint32_t>(file.palette.size());
            file.pixels = packIndices(rows, bits, topDown);
            const RgbImage image = decodeBitmap(file.bytes());
            ASSERT_EQ(image.width, 9);
            ASSERT_EQ(image.height, 3);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 9; ++x) {
                    EXPECT_EQ(image.at(x, y),
                              palette[static_cast<std::size_t>(
                                  rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])])
                        << bits << " bits, top-down " << topDown << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(BitmapCodec, ReadsTheCoreHeaderWithItsThreeByteColourTable) {
    BitmapFile file;
    file.headerSize = 12;
    file.width = 2;
    file.height = 2;
    file.bitsPerPixel = 1;
    file.palette = {makeScreenColor(200, 100, 50), makeScreenColor(1, 2, 3)};
    file.pixels = packIndices({{1, 0}, {0, 1}}, 1, false);
    const RgbImage image = decodeBitmap(file.bytes());
    EXPECT_EQ(image.at(0, 0), makeScreenColor(1, 2, 3));
    EXPECT_EQ(image.at(1, 0), makeScreenColor(200, 100, 50));
    EXPECT_EQ(image.at(1, 1), makeScreenColor(1, 2, 3));
}

TEST(BitmapCodec, ReadsSixteenBitPixelsWithTheDefaultAndWithBitfieldMasks) {
    // 5-5-5 by default: full red, full green, full blue, and a middle grey.
    BitmapFile file;
    file.width = 4;
    file.height = 1;
    file.bitsPerPixel = 16;
    file.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42};
    RgbImage image = decodeBitmap(file.bytes());
    EXPECT_EQ(image.at(0, 0), makeScreenColor(255, 0, 0));
    EXPECT_EQ(image.at(1, 0), makeScreenColor(0, 255, 0));
    EXPECT_EQ(image.at(2, 0), makeScreenColor(0, 0, 255));
    EXPECT_EQ(image.at(3, 0), makeScreenColor(132, 132, 132));  // 16 of 31

    // 5-6-5 through BITFIELDS behind a 40-byte header, top-down, two rows.
    file.compression = 3;
    file.masks = {0xF800, 0x07E0, 0x001F};
    file.width = 2;
    file.height = -2;
    file.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x20, 0x00};
    image = decodeBitmap(file.bytes());
    EXPECT_EQ(image.at(0, 0), makeScreenColor(255, 0, 0));
    EXPECT_EQ(image.at(1, 0), makeScreenColor(0, 255, 0));
    EXPECT_EQ(image.at(0, 1), makeScreenColor(0, 0, 255));
    EXPECT_EQ(image.at(1, 1), makeScreenColor(0, 4, 0));  // green 1 of 63
}

TEST(BitmapCodec, ReadsThirtyTwoBitPixelsWithMasksInEveryHeaderKind) {
    const std::vector<std::uint8_t> pixel = {0x11, 0x22, 0x33, 0x44};  // 0x44332211
    for (std::uint32_t headerSize : {40u, 52u, 56u, 108u, 124u}) {
        for (std::uint32_t compression : {0u, 3u, 6u}) {
            if (compression == 6 && headerSize >= 52) continue;
            BitmapFile file;
            file.headerSize = headerSize;
            file.width = 1;
            file.height = 1;
            file.bitsPerPixel = 32;
            file.compression = compression;
            if (compression != 0) file.masks = {0x000000FF, 0xFF000000, 0x00FF0000, 0};
            if (compression == 3 && headerSize < 52) file.masks.resize(3);
            file.pixels = pixel;
            const RgbImage image = decodeBitmap(file.bytes());
            const ScreenColor expected = compression == 0 ? makeScreenColor(0x33, 0x22, 0x11)
                                                          : makeScreenColor(0x11, 0x44, 0x33);
            EXPECT_EQ(image.at(0, 0), expected) << headerSize << " " << compression;
        }
    }
}

TEST(BitmapCodec, ReadsRleEightWithRunsLiteralsLineEndsSkipsAndClipping) {
    BitmapFile file;
    file.width = 4;
    file.height = 3;
    file.bitsPerPixel = 8;
    file.compression = 1;
    file.palette = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005};
    file.pixels = {
        3, 1,              // bottom row: 1 1 1
        0, 0,              // end of line (the fourth pixel keeps colour 0)
        0, 3, 2, 3, 4, 0,  // literal 2 3 4, padded to a word
        6, 1,              // a run past the row's end is clipped
        0, 0, 0, 2, 1, 0,  // skip one pixel right
        1, 4, 0, 1,        // end of picture
    };
    const RgbImage image = decodeBitmap(file.bytes());
    const std::vector<ScreenColor> expected = {
        0x000001, 0x000005, 0x000001, 0x000001,  // top row: skip, then 4
        0x000003, 0x000004, 0x000005, 0x000002, 0x000002, 0x000002, 0x000002, 0x000001,
    };
    EXPECT_EQ(image.pixels, expected);
}

TEST(BitmapCodec, ReadsRleFourWithAlternatingNibblesAndOddLiterals) {
    BitmapFile file;
    file.width = 5;
    file.height = 2;
    file.bitsPerPixel = 4;
    file.compression = 2;
    file.palette = {0x10, 0x11, 0x12, 0x13, 0x14};
    file.pixels = {
        5, 0x12,                    // 1 2 1 2 1
        0, 0,    0, 3, 0x34, 0x10,  // literal 3 4 1: two bytes, already a whole word
        0, 1,
    };
    const RgbImage image = decodeBitmap(file.bytes());
    const std::vector<ScreenColor> expected = {0x13, 0x14, 0x11, 0x10, 0x10,
                                               0x11, 0x12, 0x11, 0x12, 0x11};
    EXPECT_EQ(image.pixels, expected);
}

TEST(BitmapCodec, AcceptsAMissingPaddingAfterTheLastRowAndAZeroPixelOffset) {
    BitmapFile file;
    file.width = 1;
    file.height = 2;
    file.pixels = {1, 2, 3, 0, 4, 5, 6};  // the last row's padding is missing
    RgbImage image = decodeBitmap(file.bytes());
    EXPECT_EQ(image.at(0, 1), makeScreenColor(3, 2, 1));
    EXPECT_EQ(image.at(0, 0), makeScreenColor(6, 5, 4));

    file.pixelOffset = 0;  // some writers leave it out: the pixels follow the headers
    image = decodeBitmap(file.bytes());
    EXPECT_EQ(image.at(0, 0), makeScreenColor(6, 5, 4));
}

TEST(BitmapCodec, RefusesFilesThatAreNoBitmapsOrHaveBrokenHeaders) {
    EXPECT_THAT(decodeError({}), HasSubstr("Bitmap ist ungültig"));
    EXPECT_THAT(decodeError({'B', 'M', 0, 0}), HasSubstr("Datei zu kurz"));

    BitmapFile good;
    good.width = 1;
    good.height = 1;
    good.pixels = {1, 2, 3, 0};
    auto bytes = good.bytes();
    bytes[0] = 'P';
    EXPECT_THAT(decodeError(bytes), HasSubstr("keine Windows-Bitmap"));

    bytes = good.bytes();
    bytes[14] = 41;  // no such header
    EXPECT_THAT(decodeError(bytes), HasSubstr("Kopfgröße 41"));

    bytes = good.bytes();
    bytes.resize(30);  // cut inside the info header
    EXPECT_THAT(decodeError(bytes), HasSubstr("Kopf unvollständig"));

    BitmapFile odd = good;
    odd.bitsPerPixel = 7;
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("7 Bit pro Pixel"));
    odd = good;
    odd.compression = 4;  // JPEG inside
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Kompression 4"));
    odd.compression = 1;  // RLE8 on a 24-bit picture
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Kompression 1 bei 24 Bit"));

    odd = good;
    odd.pixelOffset = 20;  // inside the header
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Pixeldaten beginnen im Kopf"));
    odd.pixelOffset = 5000;
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Pixeldaten fehlen"));

    odd = good;
    odd.bitsPerPixel = 16;
    odd.compression = 3;
    odd.masks = {0x0F0F, 0x00F0, 0xF000};
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Farbmaske nicht zusammenhängend"));
    odd.masks = {0x1F0000, 0x00F0, 0xF000};
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("breiter als das Pixel"));
    odd.masks = {0x1F};  // two masks missing and nothing behind
    odd.pixels.clear();
    EXPECT_THAT(decodeError(odd.bytes()), HasSubstr("Farbmasken fehlen"));
}

TEST(BitmapCodec, RefusesAbsurdSizesBeforeAllocatingAnything) {
    BitmapFile file;
    file.pixels = {1, 2, 3, 0};
    const std::vector<std::pair<std::int32_t, std::int32_t>> sizes = {
        {0, 1},           {1, 0},
        {-5, 1},          {1, std::numeric_limits<std::int32_t>::min()},
        {100000, 100000}, {std::numeric_limits<std::int32_t>::max(), 2}};
    for (auto [width, height] : sizes) {
        file.width = width;
        file.height = height;
        EXPECT_THAT(decodeError(file.bytes()), HasSubstr("Größe")) << width << " x " << height;
    }
    file.width = 8192;  // allowed as a size, but the file holds four bytes of it
    file.height = 8192;
    EXPECT_THAT(decodeError(file.bytes()), HasSubstr("Pixeldaten unvollständig: 4 von"));

    // Two bytes of RLE cannot stand for 64 million pixels.
    BitmapFile rle;
    rle.width = 8192;
    rle.height = 8192;
    rle.bitsPerPixel = 8;
    rle.compression = 1;
    rle.palette = {0};
    rle.pixels = {0, 1};
    EXPECT_THAT(decodeError(rle.bytes()), HasSubstr("passt nicht zu 2 Bytes RLE-Daten"));
}

TEST(BitmapCodec, RefusesTruncatedPixelsAtEveryDepthAndInBothRowOrders) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            BitmapFile file;
            file.width = 13;
            file.height = topDown ? -6 : 6;
            file.bitsPerPixel = static_cast<std::uint16_t>(bits);
            if (bits <= 8) file.palette.assign(std::size_t{1} << bits, 0x445566);
            const std::size_t stride = (13u * static_cast<unsigned>(bits) + 31) / 32 * 4;
            file.pixels.assign(stride * 6, 0);
            EXPECT_NO_THROW(decodeBitmap(file.bytes())) << bits;
            file.pixels.resize(stride * 5);  // a whole row short
            EXPECT_THAT(decodeError(file.bytes()), HasSubstr("Pixeldaten unvollständig"))
                << bits << " bits, top-down " << topDown;
        }
    }
}

TEST(BitmapCodec, RefusesBrokenRleStreamsAndColourTables) {
    BitmapFile rle;
    rle.width = 4;
    rle.height = 2;
    rle.bitsPerPixel = 8;
    rle.compression = 1;
    rle.palette = {0, 1};
    rle.pixels = {4, 1, 0, 0, 4};  // ends inside a pair, no end mark
    EXPECT_THAT(decodeError(rle.bytes()), HasSubstr("RLE-Daten unvollständig"));
    rle.pixels = {0, 9, 1, 1};  // a literal of nine bytes with two there
    EXPECT_THAT(decodeError(rle.bytes()), HasSubstr("RLE-Daten unvollständig"));
    rle.pixels = {0, 1};
    rle.height = -2;  // RLE is always bottom-up
    EXPECT_THAT(decodeError(rle.bytes()), HasSubstr("RLE-Bitmap mit Zeilen von oben"));

    BitmapFile indexed;
    indexed.width = 1;
    indexed.height = 1;
    indexed.bitsPerPixel = 8;
    indexed.colorsUsed = 200;  // promises a colour table the file does not hold
    indexed.pixelOffset = 0;
    EXPECT_THAT(decodeError(indexed.bytes()), HasSubstr("Farbtabelle unvollständig"));
}

// Damaged files of every kind either read or fail with the program's error: never a crash, an
// overrun or another exception.
TEST(BitmapCodec, DamagedFilesOfEveryKindFailCleanly) {
    std::vector<std::vector<std::uint8_t>> originals;
    originals.push_back(encodeBitmap(randomImage(7, 5, 1)));
    originals.push_back(encodeBitmap(randomImage(6, 4, 2), BitmapBits::Rgb32));
    for (int bits : {1, 4, 8}) {
        BitmapFile file;
        file.width = 11;
        file.height = bits == 4 ? -3 : 3;
        file.bitsPerPixel = static_cast<std::uint16_t>(bits);
        file.palette.assign(std::size_t{1} << bits, 0x336699);
        file.pixels =
            packIndices(std::vector<std::vector<int>>(3, std::vector<int>(11, 1)), bits, bits == 4);
        originals.push_back(file.bytes());
    }
    BitmapFile rle;
    rle.width = 6;
    rle.height = 4;
    rle.bitsPerPixel = 8;
    rle.compression = 1;
    rle.palette = {1, 2, 3};
    rle.pixels = {3, 1, 0, 0, 0, 3, 1, 2, 1, 0, 0, 2, 2, 1, 9, 2, 0, 1};
    originals.push_back(rle.bytes());
    rle.bitsPerPixel = 4;
    rle.compression = 2;
    originals.push_back(rle.bytes());
    BitmapFile masked;
    masked.headerSize = 108;
    masked.width = 3;
    masked.height = 2;
    masked.bitsPerPixel = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels.assign(16, 0x5A);
    originals.push_back(masked.bytes());

    std::mt19937 random(77);
    int failures = 0;
    for (const auto& original : originals) {
        for (int trial = 0; trial < 400; ++trial) {
            std::vector<std::uint8_t> damaged = original;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int c = 0; c < changes; ++c) {
                const std::size_t at = random() % damaged.size();
                damaged[at] = static_cast<std::uint8_t>(random());
            }
            if (trial % 3 == 0) damaged.resize(random() % damaged.size());
            try {
                const RgbImage image = decodeBitmap(damaged);
                ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) *
                                                   static_cast<std::size_t>(image.height));
            } catch (const VekError&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 0);
}

}  // namespace
}  // namespace vek
