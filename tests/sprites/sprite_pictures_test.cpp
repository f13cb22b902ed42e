#include "sprites/sprite_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/vek_error.h"
#include "demo/demo_installation.h"
#include "sprites/gif.h"
#include "sprites/png.h"
#include "sprites/sprite_palette.h"
#include "sprites/sprite_test_support.h"
#include "support/screen_colors.h"
#include "support/temp_dir.h"

#ifdef VEK_HAVE_PNG
#include <png.h>
#include <zlib.h>
#endif

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::kBackground;

// A palette of distinct colours in which 7 and 200 are the same colour.
PaletteTable repeatingPalette() {
    PaletteTable palette;
    for (std::size_t k = 0; k < kPaletteColorCount; ++k)
        palette.setColor(k, paletteEntryColor(static_cast<std::uint8_t>(k % 64),
                                              static_cast<std::uint8_t>(k / 64 * 16), 40));
    palette.setColor(200, palette.color(7));
    palette.setBackground(kBackground);
    return palette;
}

SpriteImage usingRepeatedColour() {
    SpriteImage sprite = testing::patterned(16, 16, 0);
    sprite.at(3, 0) = 7;
    sprite.at(4, 0) = 200;
    return sprite;
}

// Where a chunk's data starts in a PNG, or npos.
std::size_t chunkData(const Bytes& png, std::string_view type) {
    const auto at = std::search(png.begin(), png.end(), type.begin(), type.end());
    return at == png.end() ? std::string::npos : static_cast<std::size_t>(at - png.begin()) + 4;
}

TEST(SpritePng, IsAnEightBitPaletteAtRealSizeWithIndexZeroTransparent) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    const PaletteTable palette = repeatingPalette();
    const Bytes png = encodeSpritePng(testing::patterned(5, 3, 0), palette);
    const std::size_t header = chunkData(png, "IHDR");
    ASSERT_NE(header, std::string::npos);
    EXPECT_EQ(png[header + 3], 5);  // width, big-endian
    EXPECT_EQ(png[header + 7], 3);  // height
    EXPECT_EQ(png[header + 8], 8);  // bit depth
    EXPECT_EQ(png[header + 9], 3);  // colour type: palette
    const std::size_t transparency = chunkData(png, "tRNS");
    ASSERT_NE(transparency, std::string::npos);
    EXPECT_EQ(png[transparency], 0) << "index 0 fully transparent";

    const std::optional<IndexedPicture> read = decodeIndexedPng(png, kMaxSpritePixels);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->indices, testing::patterned(5, 3, 0).pixels);
    ASSERT_EQ(read->table.size(), kPaletteColorCount);
    EXPECT_FALSE(read->table[0].opaque);
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        EXPECT_TRUE(read->table[k].opaque) << k;
        EXPECT_EQ(read->table[k].color, palette.color(k)) << k;
    }
    // Shown by any viewer: index 0 lets the background through, the rest are their colours.
    const RgbImage shown = decodePng(png, makeScreenColor(9, 9, 9));
    EXPECT_EQ(shown.pixels[0], makeScreenColor(9, 9, 9));
    EXPECT_EQ(shown.pixels[1], palette.color(1));
}

TEST(SpritePng, RoundTripKeepsIndicesWhereThePaletteRepeatsAColour) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    const PaletteTable palette = repeatingPalette();
    const SpriteImage sprite = usingRepeatedColour();
    EXPECT_EQ(decodeSpritePng(encodeSpritePng(sprite, palette), palette), sprite);
}

TEST(SpritePng, ForeignPicturesAreMatchedAndTransparencyBecomesIndexZero) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    const PaletteTable palette = repeatingPalette();
    const ScreenColor red = palette.color(63);  // 252, 0, 160: in the table once
    const ScreenColor other = palette.color(100);
    // A palette PNG of its own three-colour table, the first transparent.
    const IndexedPicture foreign{3, 1, {2, 0, 1}, {{0, false}, {red, true}, {other, true}}};
    const SpriteImage fromTable = decodeSpritePng(encodeIndexedPng(foreign), palette);
    EXPECT_EQ(fromTable.pixels, (std::vector<std::uint8_t>{100, 0, 63}));
    // A colour PNG without a table: matched too.
    RgbImage rgb(2, 1);
    rgb.pixels = {red, other};
    EXPECT_EQ(decodeSpritePng(encodePng(rgb), palette).pixels,
              (std::vector<std::uint8_t>{63, 100}));
}

#ifdef VEK_HAVE_PNG
TEST(SpritePng, SeeThroughPixelsOfAnRgbaPngBecomeIndexZeroWhateverTheirColour) {
    const PaletteTable palette = repeatingPalette();
    const ScreenColor red = palette.color(63);
    // red opaque, red see-through, red half-opaque (alpha 128 counts as opaque), red alpha 127
    const Bytes rgba{252, 0, 160, 255, 252, 0, 160, 0, 252, 0, 160, 128, 252, 0, 160, 127};
    ASSERT_EQ(makeScreenColor(252, 0, 160), red);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 4;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    Bytes png(size);
    ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr));
    png.resize(size);
    EXPECT_EQ(decodeSpritePng(png, palette).pixels, (std::vector<std::uint8_t>{63, 0, 63, 0}));
}
#endif

#ifdef VEK_HAVE_PNG
TEST(SpritePng, RefusesPicturesLargerThanASpriteBeforeReadingPixels) {
    const PaletteTable palette = repeatingPalette();
    Bytes png = encodeSpritePng(testing::patterned(2, 2, 1), palette);
    const std::size_t header = chunkData(png, "IHDR");
    // 30000 x 30000 declared, with the header's checksum mended so that only the size is wrong.
    png[header + 2] = 0x75;
    png[header + 3] = 0x30;
    png[header + 6] = 0x75;
    png[header + 7] = 0x30;
    const auto crc = static_cast<std::uint32_t>(crc32(0, &png[header - 4], 17));
    for (std::size_t b = 0; b < 4; ++b)
        png[header + 13 + b] = static_cast<std::uint8_t>(crc >> (24 - 8 * b));
    try {
        decodeSpritePng(png, palette);
        FAIL() << "a 30000 x 30000 picture was read";
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.what()).find("30000 x 30000"), std::string::npos)
            << error.what();
    }
}
#endif

// ---- GIF ----

// The bytes of a GIF's graphic control extension for the first frame.
std::size_t firstControl(const Bytes& gif) {
    const Bytes marker{0x21, 0xF9, 0x04};
    const auto at = std::search(gif.begin(), gif.end(), marker.begin(), marker.end());
    return at == gif.end() ? std::string::npos : static_cast<std::size_t>(at - gif.begin()) + 3;
}

// A sheet: columns as the square root of the count rounded up, cells as large as the largest
// sprite, each sprite at its cell's top-left corner, index 0 elsewhere.
TEST(SpriteSheet, LaysTheSpritesInAGridOfTheLargestCell) {
    const struct {
        std::vector<SpriteImage> sprites;
        int width;
        int height;
    } cases[] = {
        {{SpriteImage(3, 2, 7)}, 3, 2},
        {{SpriteImage(3, 2, 7), SpriteImage(1, 4, 8)}, 6, 4},
        {{SpriteImage(2, 2, 1), SpriteImage(2, 2, 2), SpriteImage(2, 2, 3), SpriteImage(2, 2, 4),
          SpriteImage(2, 2, 5)},
         6,
         4},
    };
    for (const auto& c : cases) {
        const SpriteImage sheet = spriteSheet(c.sprites);
        EXPECT_EQ(sheet.width, c.width) << c.sprites.size();
        EXPECT_EQ(sheet.height, c.height) << c.sprites.size();
        std::size_t columns = 1;
        while (columns * columns < c.sprites.size()) ++columns;
        const int cellWidth = c.width / static_cast<int>(columns);
        const int cellHeight =
            static_cast<int>(c.height / ((c.sprites.size() + columns - 1) / columns));
        std::vector<std::uint8_t> expected(sheet.pixels.size(), 0);
        for (std::size_t k = 0; k < c.sprites.size(); ++k) {
            const SpriteImage& sprite = c.sprites[k];
            for (int y = 0; y < sprite.height; ++y)
                for (int x = 0; x < sprite.width; ++x)
                    expected[sheet.index(static_cast<int>(k % columns) * cellWidth + x,
                                         static_cast<int>(k / columns) * cellHeight + y)] =
                        sprite.at(x, y);
        }
        EXPECT_EQ(sheet.pixels, expected) << c.sprites.size();
    }
    EXPECT_THROW(spriteSheet({}), VekError);
    // 4 sprites 40000 wide: two columns make a sheet wider than a picture may be.
    const std::vector<SpriteImage> wide(4, SpriteImage(40000, 1, 1));
    EXPECT_THROW(spriteSheet(wide), VekError);
}

TEST(SpriteSheet, NumberedFilesSitBesideTheNameGiven) {
    EXPECT_EQ(numberedPictureFile("/out/pose.png", 7), std::filesystem::path("/out/pose-7.png"));
    EXPECT_EQ(numberedPictureFile("walk.PNG", 0), std::filesystem::path("walk-0.PNG"));
}

TEST(SpriteGif, FramesPlayAtTenASecondWithIndexZeroTransparentAndLoopWhenAsked) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    const PaletteTable palette = repeatingPalette();
    const std::vector<SpriteImage> frames{testing::patterned(4, 2, 0), testing::patterned(3, 5, 9)};
    const Bytes looping = encodeSpriteGif(frames, palette, true);
    EXPECT_EQ(std::string(looping.begin(), looping.begin() + 6), "GIF89a");
    EXPECT_EQ(looping[6], 4) << "screen as wide as the widest sprite";
    EXPECT_EQ(looping[8], 5) << "and as high as the highest";
    const std::size_t control = firstControl(looping);
    ASSERT_NE(control, std::string::npos);
    EXPECT_EQ(looping[control] & 0x1C, 2 << 2) << "each frame cleared before the next";
    EXPECT_EQ(looping[control] & 1, 1) << "with a transparent index";
    EXPECT_EQ(looping[control + 1] | looping[control + 2] << 8, kGifFrameDelay);
    EXPECT_EQ(looping[control + 3], 0) << "the transparent index";
    const std::string_view loop = "NETSCAPE2.0";
    EXPECT_NE(std::search(looping.begin(), looping.end(), loop.begin(), loop.end()), looping.end());
    const Bytes once = encodeSpriteGif(frames, palette, false);
    EXPECT_EQ(std::search(once.begin(), once.end(), loop.begin(), loop.end()), once.end());
}

TEST(SpriteGif, RoundTripPutsEachSpriteTopLeftOnTheScreenAndKeepsRepeatedColours) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    const PaletteTable palette = repeatingPalette();
    const std::vector<SpriteImage> frames{usingRepeatedColour(), testing::patterned(3, 20, 5),
                                          SpriteImage()};
    const std::vector<SpriteImage> read =
        decodeSpriteGif(encodeSpriteGif(frames, palette, true), palette);
    ASSERT_EQ(read.size(), frames.size());
    for (std::size_t f = 0; f < frames.size(); ++f) {
        ASSERT_EQ(read[f].width, 16);
        ASSERT_EQ(read[f].height, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(read[f].at(x, y), frames[f].contains(x, y) ? frames[f].at(x, y) : 0)
                    << "frame " << f << " at " << x << ", " << y;
    }
}

TEST(SpriteGif, ForeignColourTablesAreMatched) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    const PaletteTable palette = repeatingPalette();
    PaletteTable reversed = palette;
    for (std::size_t k = 1; k < kPaletteColorCount; ++k)
        reversed.setColor(k, palette.color(256 - k));
    SpriteImage sprite(4, 1);
    sprite.pixels = {0, 20, 100, 150};
    const std::vector<SpriteImage> read =
        decodeSpriteGif(encodeSpriteGif({&sprite, 1}, reversed, false), palette);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].pixels, (std::vector<std::uint8_t>{0, 236, 156, 106}));
}

TEST(SpriteGif, RefusesDeclaredSizesBeyondItsBoundsBeforeReadingPixels) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    const PaletteTable palette = repeatingPalette();
    // A screen of 65535 x 65535 and nothing else.
    const Bytes hugeScreen{'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, ';'};
    // A 2 x 2 screen with a frame of 1000 x 1000.
    const Bytes hugeFrame{'G',  'I', 'F', '8', '9', 'a',  2,    0,    2,    0, 0, 0, 0,
                          0x2C, 0,   0,   0,   0,   0xE8, 0x03, 0xE8, 0x03, 0, 2, 0, ';'};
    for (const auto& [gif, size] :
         {std::pair{hugeScreen, "65535 x 65535"}, std::pair{hugeFrame, "1000 x 1000"}}) {
        try {
            decodeSpriteGif(gif, palette);
            FAIL() << size << " was read";
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find(size), std::string::npos) << error.what();
        }
    }
}

// Comment extensions of `blocks` sub-blocks of 255 bytes each, `count` of them.
Bytes comments(std::size_t count, std::size_t blocks) {
    Bytes one{0x21, 0xFE};
    for (std::size_t b = 0; b < blocks; ++b) {
        one.push_back(255);
        one.insert(one.end(), 255, 'c');
    }
    one.push_back(0);
    Bytes all;
    for (std::size_t k = 0; k < count; ++k) all.insert(all.end(), one.begin(), one.end());
    return all;
}

TEST(SpriteGif, ExtensionsAreBoundedInNumberAndSize) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    const PaletteTable palette = repeatingPalette();
    const SpriteImage sprite = testing::patterned(3, 2, 1);
    const Bytes gif = encodeSpriteGif({&sprite, 1}, palette, false);
    const std::size_t fullBlocks = kMaxGifExtensionBytes / 255;
    const struct {
        const char* what;
        Bytes extensions;
        const char* refusal;  // nullptr: the picture reads
    } cases[] = {
        {"a comment as large as allowed", comments(1, fullBlocks), nullptr},
        {"a comment one block larger", comments(1, fullBlocks + 1), "an extension of more than"},
        {"as many comments as allowed, less the frame's own", comments(kMaxGifExtensions - 1, 0),
         nullptr},
        {"one comment more", comments(kMaxGifExtensions, 0), "extensions"},
    };
    for (const auto& c : cases) {
        Bytes file = gif;
        file.insert(file.end() - 1, c.extensions.begin(), c.extensions.end());  // before ';'
        try {
            const std::vector<SpriteImage> frames = decodeSpriteGif(file, palette);
            EXPECT_EQ(c.refusal, nullptr) << c.what << " was read";
            ASSERT_EQ(frames.size(), 1u) << c.what;
            EXPECT_EQ(frames[0], sprite) << c.what;
        } catch (const VekError& error) {
            ASSERT_NE(c.refusal, nullptr) << c.what << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.refusal), std::string::npos) << error.what();
        }
    }
}

// ---- The demo installation ----

TEST(SpritePictures, EverySpriteOfTheDemoComesBackWithItsIndices) {
    if (!pngBuiltIn() || !gifBuiltIn()) GTEST_SKIP() << "built without libpng or giflib";
    const vek::testing::TempDir root;
    const demo::DemoLayout layout{root.path()};
    demo::generateDemoInstallation(layout);
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    const PaletteTable game = readGamePalette(paths.CPalettePath, kBackground);
    std::size_t files = 0;
    std::size_t sprites = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path())) {
        std::string extension = pathToUtf8(entry.path().extension());
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension != ".spr") continue;
        const std::vector<SpriteImage> all = [&] {
            std::vector<SpriteImage> list;
            const SpriteTable table = readSpriteTable(entry.path(), kMaxSpriteCount);
            for (const SpriteEntry& e : table.entries) list.push_back(readSprite(entry.path(), e));
            return list;
        }();
        if (all.empty()) continue;
        ++files;
        const PaletteTable palette = paletteForSpriteFile(entry.path(), game);
        for (const SpriteImage& sprite : all) {
            if (sprite.pixels.empty()) continue;
            ++sprites;
            ASSERT_EQ(decodeSpritePng(encodeSpritePng(sprite, palette), palette), sprite)
                << entry.path() << " " << sprites;
        }
        const std::vector<SpriteImage> frames =
            decodeSpriteGif(encodeSpriteGif(all, palette, true), palette);
        ASSERT_EQ(frames.size(), all.size()) << entry.path();
        for (std::size_t f = 0; f < all.size(); ++f) {
            SpriteImage top(all[f].width, all[f].height);
            for (int y = 0; y < all[f].height; ++y)
                for (int x = 0; x < all[f].width; ++x) top.at(x, y) = frames[f].at(x, y);
            ASSERT_EQ(top, all[f]) << entry.path() << " frame " << f;
        }
    }
    EXPECT_GE(files, 3u);
    EXPECT_GE(sprites, 300u);
}

}  // namespace
}  // namespace vek
