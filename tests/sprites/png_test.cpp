#include "sprites/png.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "sprites/bitmap.h"
#include "sprites/picture_file.h"
#include "support/temp_dir.h"

#ifdef VEK_HAVE_PNG
#include <png.h>
#include <zlib.h>
#endif

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr ScreenColor kBackground = makeScreenColor(1, 2, 3);

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
