#include "sprites/png.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/picture_file.h"
#include "support/screen_colors.h"
#include "support/temp_dir.h"

#ifdef VEK_HAVE_PNG
#include <png.h>
#include <zlib.h>
#endif

#if defined(__unix__)
#include <sys/resource.h>
#endif

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::kBackground;

RgbImage sample() {
    RgbImage image(5, 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = makeScreenColor(static_cast<std::uint8_t>(i * 17),
                                          static_cast<std::uint8_t>(255 - i), 0x80);
    return image;
}

#ifdef VEK_HAVE_PNG

// A PNG of the given libpng format, written by libpng itself.
Bytes pngOf(png_uint_32 width, png_uint_32 height, png_uint_32 format, const Bytes& pixels,
            const Bytes& colormap = {}) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 3);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0,
                                                colormap.empty() ? nullptr : colormap.data()));
    Bytes bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0,
                                          colormap.empty() ? nullptr : colormap.data()));
    bytes.resize(size);
    png_image_free(&image);
    return bytes;
}

TEST(Png, WhatIsWrittenReadsBackExactly) {
    const RgbImage image = sample();
    const Bytes png = encodePng(image);
    EXPECT_TRUE(hasPngSignature(png));
    EXPECT_EQ(decodePng(png, kBackground).pixels, image.pixels);
}

TEST(Png, PaletteGreyAndAlphaPicturesReadAsTheirColours) {
    struct Case {
        const char* what;
        Bytes png;
        std::vector<ScreenColor> expected;
    };
    const Case cases[] = {
        {"palette",
         pngOf(3, 1, PNG_FORMAT_RGB_COLORMAP, {2, 0, 1}, {10, 20, 30, 40, 50, 60, 70, 80, 90}),
         {makeScreenColor(70, 80, 90), makeScreenColor(10, 20, 30), makeScreenColor(40, 50, 60)}},
        {"grey", pngOf(2, 1, PNG_FORMAT_GRAY, {0, 200}), {0, makeScreenColor(200, 200, 200)}},
        {"grey and alpha",
         pngOf(2, 1, PNG_FORMAT_GA, {90, 127, 90, 128}),
         {kBackground, makeScreenColor(90, 90, 90)}},
        {"colour and alpha",
         pngOf(3, 1, PNG_FORMAT_RGBA, {9, 8, 7, 0, 9, 8, 7, 127, 9, 8, 7, 255}),
         {kBackground, kBackground, makeScreenColor(9, 8, 7)}},
    };
    for (const Case& test : cases) {
        const RgbImage image = decodePng(test.png, kBackground);
        EXPECT_EQ(image.height, 1) << test.what;
        EXPECT_EQ(image.pixels, test.expected) << test.what;
    }
}

// A picture of any PNG kind, written by libpng's full interface: `rows` hold the packed samples.
struct PngKind {
    const char* what;
    int colorType;
    int depth;
    int interlace;
    bool transparency;
};

Bytes writtenPng(const PngKind& kind, png_uint_32 width, png_uint_32 height, Bytes& samples) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << kind.what << " was not written";
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, std::size_t length) {
            static_cast<Bytes*>(png_get_io_ptr(p))
                ->insert(static_cast<Bytes*>(png_get_io_ptr(p))->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, kind.depth, kind.colorType, kind.interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::array<png_color, 256> palette{};
    std::array<png_byte, 256> alpha{};
    for (int k = 0; k < 256; ++k) {
        palette[k] = {static_cast<png_byte>(k * 7), static_cast<png_byte>(255 - k),
                      static_cast<png_byte>(k * 13)};
        alpha[k] = static_cast<png_byte>(k * 41);
    }
    const int entries = std::min(256, 1 << kind.depth);
    if (kind.colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), entries);
    png_color_16 key{};
    key.gray = 1;
    key.red = key.green = key.blue = 3;
    if (kind.transparency) png_set_tRNS(png, info, alpha.data(), entries / 2, &key);
    // Tagged as sRGB, which both readers take as it is at every depth.
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    samples.resize(rowBytes * height);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>(i * 37 + 11);
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y) rows[y] = &samples[y * rowBytes];
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The colours libpng's simplified reader gives, alpha below 128 as the background.
std::vector<ScreenColor> simplifiedRead(const Bytes& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    image.format = PNG_FORMAT_RGBA;
    Bytes rgba(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
    std::vector<ScreenColor> colors;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        colors.push_back(rgba[i + 3] < 128 ? kBackground
                                           : makeScreenColor(rgba[i], rgba[i + 1], rgba[i + 2]));
    return colors;
}

TEST(Png, EveryKindAndDepthReadsAsLibpngsSimplifiedReaderReadsIt) {
    const PngKind kinds[] = {
        {"palette 1 bit", PNG_COLOR_TYPE_PALETTE, 1, PNG_INTERLACE_NONE, false},
        {"palette 4 bits, transparent entries", PNG_COLOR_TYPE_PALETTE, 4, PNG_INTERLACE_NONE,
         true},
        {"palette 8 bits interlaced", PNG_COLOR_TYPE_PALETTE, 8, PNG_INTERLACE_ADAM7, true},
        {"grey 2 bits", PNG_COLOR_TYPE_GRAY, 2, PNG_INTERLACE_NONE, false},
        {"grey 8 bits, a transparent grey", PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE, true},
        {"grey 16 bits", PNG_COLOR_TYPE_GRAY, 16, PNG_INTERLACE_NONE, false},
        {"grey and alpha 16 bits", PNG_COLOR_TYPE_GRAY_ALPHA, 16, PNG_INTERLACE_NONE, false},
        {"grey and alpha 8 bits", PNG_COLOR_TYPE_GRAY_ALPHA, 8, PNG_INTERLACE_ADAM7, false},
        {"colour and alpha 16 bits", PNG_COLOR_TYPE_RGB_ALPHA, 16, PNG_INTERLACE_NONE, false},
        {"colour 8 bits, a transparent colour", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7, true},
        {"colour 16 bits", PNG_COLOR_TYPE_RGB, 16, PNG_INTERLACE_NONE, false},
        {"colour and alpha 8 bits", PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_NONE, false},
    };
    for (const PngKind& kind : kinds) {
        Bytes samples;
        const Bytes png = writtenPng(kind, 13, 9, samples);
        const RgbImage image = decodePng(png, kBackground);
        EXPECT_EQ(image.width, 13) << kind.what;
        EXPECT_EQ(image.pixels, simplifiedRead(png)) << kind.what;
        const std::optional<IndexedPicture> indexed = decodeIndexedPng(png, 13 * 9);
        EXPECT_EQ(indexed.has_value(), kind.colorType == PNG_COLOR_TYPE_PALETTE) << kind.what;
        if (!indexed || kind.depth != 8) continue;
        EXPECT_EQ(indexed->indices, samples) << kind.what;
        ASSERT_EQ(indexed->table.size(), 256u) << kind.what;
        EXPECT_EQ(indexed->table[200].color, makeScreenColor(200 * 7 % 256, 55, 200 * 13 % 256));
        EXPECT_EQ(indexed->table[3].opaque, 3 * 41 >= 128) << "from the transparency chunk";
        EXPECT_TRUE(indexed->table[200].opaque) << "beyond the transparency chunk";
    }
}

// libpng's simplified reader mixes up the pixels of interlaced 16-bit pictures; each pixel is
// its own sample, scaled to 8 bits.
TEST(Png, InterlacedSixteenBitPicturesReadTheirOwnSamples) {
    Bytes samples;
    const Bytes png =
        writtenPng({"grey", PNG_COLOR_TYPE_GRAY, 16, PNG_INTERLACE_ADAM7, false}, 13, 9, samples);
    const RgbImage image = decodePng(png, kBackground);
    std::vector<ScreenColor> expected;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        const unsigned sample = samples[i] << 8 | samples[i + 1];
        const auto grey = static_cast<std::uint8_t>((sample * 255 + 32767) / 65535);
        expected.push_back(makeScreenColor(grey, grey, grey));
    }
    EXPECT_EQ(image.pixels, expected);
}

// A chunk as it stands in a file; `claimed` is the length its header gives.
Bytes chunk(std::string_view type, const Bytes& data, std::uint32_t claimed) {
    Bytes out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(claimed >> shift));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    auto crc =
        static_cast<std::uint32_t>(crc32(0, out.data() + 4, static_cast<uInt>(out.size() - 4)));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(crc >> shift));
    return out;
}
Bytes chunk(std::string_view type, const Bytes& data) {
    return chunk(type, data, static_cast<std::uint32_t>(data.size()));
}

// A 1 x 1 picture with `inserted` between its header and its pixels.
Bytes withChunks(const Bytes& inserted) {
    Bytes png = pngOf(1, 1, PNG_FORMAT_GRAY, {7});
    constexpr std::size_t kAfterHeader = 8 + 25;
    png.insert(png.begin() + kAfterHeader, inserted.begin(), inserted.end());
    return png;
}

// The process's peak memory so far, in kilobytes (0 where the system does not tell).
long peakMemoryKb() {
#if defined(__unix__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

// Chunks that claim or unpack to far more than a picture needs cost neither memory nor time:
// a few bytes claiming two gigabytes are refused at once, and a picture whose text is huge
// still reads.
TEST(Png, ChunksThatClaimGigabytesAreNeverHeldInMemory) {
    constexpr std::uint32_t kTwoGigabytes = 0x7FFFFFFF;
    Bytes bomb{'t', 0};  // a keyword, compression 0, then text that unpacks to 16 MB
    const Bytes text(16 << 20, 'a');
    uLongf packedSize = compressBound(text.size());
    Bytes packed(packedSize);
    ASSERT_EQ(compress(packed.data(), &packedSize, text.data(), text.size()), Z_OK);
    bomb.insert(bomb.end(), packed.begin(),
                packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
    Bytes manyTexts;
    for (int k = 0; k < 3000; ++k) {
        const Bytes entry = chunk("tEXt", {'k', 0, 'v'});
        manyTexts.insert(manyTexts.end(), entry.begin(), entry.end());
    }
    Bytes tiny = withChunks(chunk("tEXt", {'a', 'b', 'c'}, kTwoGigabytes));
    tiny.resize(44);
    const struct {
        const char* what;
        Bytes png;
        bool reads;
    } cases[] = {
        {"44 bytes whose text claims 2 GB", tiny, false},
        {"packed text claiming 2 GB", withChunks(chunk("zTXt", {'t', 0, 0}, kTwoGigabytes)), false},
        {"a colour profile claiming 2 GB", withChunks(chunk("iCCP", {'p', 0, 0}, kTwoGigabytes)),
         false},
        {"another program's chunk claiming 2 GB", withChunks(chunk("vkXt", {1}, kTwoGigabytes)),
         false},
        {"packed text of 16 MB", withChunks(chunk("zTXt", bomb)), true},
        {"3000 texts", withChunks(manyTexts), true},
    };
    for (const auto& c : cases) {
        const long before = peakMemoryKb();
        try {
            EXPECT_EQ(decodePng(c.png, kBackground).pixels,
                      std::vector<ScreenColor>{makeScreenColor(7, 7, 7)})
                << c.what;
            EXPECT_TRUE(c.reads) << c.what << " was read";
        } catch (const VekError& error) {
            EXPECT_FALSE(c.reads) << c.what << ": " << error.what();
        }
        EXPECT_LT(peakMemoryKb() - before, 32 * 1024) << c.what;
    }
}

// Whatever is cut off or altered, reading fails with a message instead of crashing.
TEST(Png, TruncatedOrLyingPicturesGiveAMessage) {
    const Bytes good = encodePng(sample());
    std::vector<Bytes> bad;
    for (std::size_t length : {std::size_t{0}, std::size_t{7}, std::size_t{20}, std::size_t{33},
                               good.size() / 2, good.size() - 13})
        bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    Bytes wrongCrc = good;
    wrongCrc.at(29) ^= 0xFF;  // the header chunk's checksum
    bad.push_back(wrongCrc);
    Bytes huge = pngOf(1, 1, PNG_FORMAT_GRAY, {0});
    huge.at(16) = 0x7F;  // a width of two thousand million, with the header's checksum made to fit
    const auto crc = static_cast<std::uint32_t>(crc32(0, huge.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        huge.at(29 + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    bad.push_back(huge);
    for (const Bytes& bytes : bad) {
        try {
            decodePng(bytes, kBackground);
            ADD_FAILURE() << "read " << bytes.size() << " bytes";
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find("PNG"), std::string::npos) << error.what();
        }
    }
}

TEST(Png, PictureFilesAreToldByNameWhenWrittenAndByContentWhenRead) {
    testing::TempDir dir;
    const RgbImage image = sample();
    writePicture(dir / "a.PNG", image);
    writePicture(dir / "b.bmp", image);
    EXPECT_TRUE(hasPngSignature(readFileBytes(dir / "a.PNG")));
    EXPECT_EQ(readFileBytes(dir / "b.bmp"), encodeBitmap(image));
    std::filesystem::copy_file(dir / "a.PNG", dir / "c.bmp");
    for (const char* name : {"a.PNG", "b.bmp", "c.bmp"})
        EXPECT_EQ(readPicture(dir / name, kBackground).pixels, image.pixels) << name;
    writeFileAtomically(dir / "d.png", encodeBitmap(image));
    EXPECT_THROW(readPicture(dir / "d.png", kBackground), VekError) << "a bitmap named .png";
}

#else

TEST(Png, WithoutLibpngPngNamesSayItIsNotBuiltIn) {
    EXPECT_FALSE(pngBuiltIn());
    EXPECT_THROW(encodePng(sample()), VekError);
}

#endif

}  // namespace
}  // namespace vek
