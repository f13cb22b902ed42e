#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "bench/reference/plain_color_match.h"
#include "bench/reference/sample_pictures.h"
#include "demo/demo_installation.h"
#include "objects/cob_data.h"
#include "sprites/bitmap.h"
#include "sprites/png.h"
#include "sprites/sprite_file.h"
#include "sprites/thumbnail.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"
#include "world/map_raster.h"

namespace vek {
namespace {

using ::testing::HasSubstr;

// Runs the built tool as a user would.
testing::VekRun vek(const std::vector<std::string>& args) { return testing::runVekTool(args); }

class PicturesCli : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto bytes = encodePalette(m_palette);
        writeFileAtomically(m_dir / "palette.dta", bytes);
    }
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }

    testing::TempDir m_dir;
    PaletteTable m_palette = reference::gameLikePalette(0xFFFFFF);
};

TEST_F(PicturesCli, Bmp2sprConvertsAsTheWindowDoesAtTheChosenLevel) {
    writeBitmap(m_dir / "dot.bmp", RgbImage(1, 1, 0xFFFFFF));
    testing::VekRun run = vek({"bmp2spr", path("dot.bmp"), path("dot.spr"), "--palette",
                               path("palette.dta"), "--background", "$FFFFFF"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::uint8_t> expected = {1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(readFileBytes(m_dir / "dot.spr"), expected);

    // Slot 0 follows --background: on black, white is no longer index 0.
    run = vek({"bmp2spr", path("dot.bmp"), path("dot.spr"), "--palette", path("palette.dta"),
               "--background", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readFileBytes(m_dir / "dot.spr").back(), 0);

    const RgbImage photo = reference::photographicPicture(30, 20, 4);
    writeBitmap(m_dir / "photo.bmp", photo);
    run = vek({"bmp2spr", path("photo.bmp"), path("photo.spr"), "--level", "poor", "--palette",
               path("palette.dta"), "--background", "16777215"});
    ASSERT_EQ(run.status, 0) << run.err;
    const SpriteImage sprite = readSprite(m_dir / "photo.spr", SpriteEntry{10, 30, 20});
    EXPECT_EQ(sprite.pixels, reference::plainMatchPicture(m_palette.colors(), photo, 5));
}

TEST_F(PicturesCli, Bmp2sprReportsBadArgumentsAndBadFiles) {
    testing::VekRun run = vek({"bmp2spr", path("a.bmp"), path("a.spr"), "--level", "great"});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("--level must be best, good, bad or poor"));
    run = vek({"bmp2spr", path("missing.bmp"), path("a.spr"), "--palette", path("palette.dta"),
               "--background", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("File not found"));
    writeFileAtomically(m_dir / "bad.bmp", std::string_view("BM but not really a bitmap"));
    run = vek({"bmp2spr", path("bad.bmp"), path("a.spr"), "--palette", path("palette.dta"),
               "--background", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The bitmap is not valid"));
    EXPECT_THAT(run.err, HasSubstr(pathToUtf8(m_dir / "bad.bmp")));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "a.spr"));
}

TEST_F(PicturesCli, MapDrawsTheWholeFileOrWritesNothing) {
    std::vector<SpriteImage> tiles(kBackTileCount,
                                   SpriteImage(kBackTileWidth, kBackTileHeight, 30));
    tiles[463] = SpriteImage(kBackTileWidth, kBackTileHeight, 40);
    const auto bytes = encodeSpriteFile(tiles);
    writeFileAtomically(m_dir / "back.spr", bytes);
    testing::VekRun run =
        vek({"map", path("map.bmp"), "--back", path("back.spr"), "--palette", path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    const RgbImage map = readBitmap(m_dir / "map.bmp");
    ASSERT_EQ(map.width, 2088);
    ASSERT_EQ(map.height, 288);
    EXPECT_EQ(map.at(2051, 287), m_palette[30]);
    EXPECT_EQ(map.at(2052, 252), m_palette[40]);

    writeFileAtomically(m_dir / "back.spr", std::span(bytes).first(kBackFileSize - 1));
    run = vek(
        {"map", path("short.bmp"), "--back", path("back.spr"), "--palette", path("palette.dta")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("Read past the end of the file (EOF)"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "short.bmp"));
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

// A PNG of a picture converts to the same sprite as a 24-bit bitmap of it, at every level, and
// exports and maps named .png decode to the pixels of their bitmap twins.
TEST_F(PicturesCli, PngPicturesConvertAndExportLikeBitmaps) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    const RgbImage photo = reference::photographicPicture(24, 16, 9);
    writeBitmap(m_dir / "photo.bmp", photo);
    writeFileAtomically(m_dir / "photo.png", encodePng(photo));
    for (const char* level : {"best", "good", "bad", "poor"}) {
        for (const char* input : {"photo.bmp", "photo.png"}) {
            const std::string output = std::string(input) + ".spr";
            const testing::VekRun run =
                vek({"bmp2spr", path(input), path(output.c_str()), "--level", level, "--palette",
                     path("palette.dta"), "--background", "0"});
            ASSERT_EQ(run.status, 0) << run.err;
        }
        EXPECT_EQ(readFileBytes(m_dir / "photo.png.spr"), readFileBytes(m_dir / "photo.bmp.spr"))
            << level;
    }

    writeSpriteFile(m_dir / "one.spr", std::vector<SpriteImage>{SpriteImage(3, 2, 5)});
    for (const char* output : {"area.bmp", "area.png"}) {
        const testing::VekRun run = vek({"spr", "export", path("one.spr"), "0", path(output),
                                         "--zoom", "2", "--palette", path("palette.dta")});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const std::vector<std::uint8_t> png = readFileBytes(m_dir / "area.png");
    ASSERT_TRUE(hasPngSignature(png));
    EXPECT_EQ(decodePng(png, 0).pixels, readBitmap(m_dir / "area.bmp").pixels);
}

TEST_F(PicturesCli, ABrokenPngNamesItselfAndTheFile) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    std::vector<std::uint8_t> cut = encodePng(RgbImage(4, 4, 0x123456));
    cut.resize(cut.size() - 20);
    writeFileAtomically(m_dir / "cut.png", cut);
    const testing::VekRun run = vek({"bmp2spr", path("cut.png"), path("cut.spr"), "--palette",
                                     path("palette.dta"), "--background", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The PNG picture is not valid"));
    EXPECT_THAT(run.err, HasSubstr(pathToUtf8(m_dir / "cut.png")));
}

// The demo's game, and a machine where no game is found (no game folder, an empty Wine prefix).
class ThumbnailCli : public ::testing::Test {
  protected:
    void SetUp() override {
        demo::ensureDemoInstallation(m_demo);
        std::filesystem::create_directories(m_dir / "prefix");
        m_noGame = "VEK_GAME_DIR= HOME=" + testing::shellQuoted(pathToUtf8(m_dir.path())) +
                   " WINEPREFIX=" + testing::shellQuoted(pathToUtf8(m_dir / "prefix"));
    }
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }
    // Runs the verb and decodes the picture it wrote.
    RgbImage thumbnail(std::vector<std::string> args, const std::string& environment = {}) {
        args.insert(args.begin(), "thumbnail");
        args.insert(args.end(), {"--background", "$FFFFFF"});
        const testing::VekRun run = testing::runVekTool(args, environment);
        EXPECT_EQ(run.status, 0) << run.err;
        return decodePng(readFileBytes(m_dir / "out.png"), 0);
    }

    testing::TempDir m_dir;
    demo::DemoLayout m_demo{m_dir / "demo"};
    std::string m_noGame;
};

TEST_F(ThumbnailCli, AnObjectShowsItsPictureInTheGamesPaletteOrElseTheNeutralOne) {
    const std::filesystem::path ball = m_demo.gameDirectory() / "BALL.COB";
    const CobData cob = readCobFile(ball);
    ASSERT_GT(cob.pictureWidth, 0);
    const int size = std::max(cob.pictureWidth, cob.pictureHeight);
    const GamePaths game = gamePathsUnder(m_demo.gameDirectory());
    struct Case {
        std::vector<std::string> globalOptions;
        std::string environment;
        PaletteTable palette;
    };
    const Case cases[] = {
        {{"--game-dir", pathToUtf8(m_demo.gameDirectory())},
         {},
         readGamePalette(game.CPalettePath, 0xFFFFFF)},
        {{}, m_noGame, neutralPalette(0xFFFFFF)},
    };
    for (const Case& c : cases) {
        std::vector<std::string> full = c.globalOptions;
        full.insert(full.end(), {"thumbnail", pathToUtf8(ball), path("out.png"),
                                 std::to_string(size), "--background", "$FFFFFF"});
        const testing::VekRun run = testing::runVekTool(full, c.environment);
        ASSERT_EQ(run.status, 0) << run.err;
        const RgbImage png = decodePng(readFileBytes(m_dir / "out.png"), 0);
        ASSERT_EQ(png.width, cob.pictureWidth);
        ASSERT_EQ(png.height, cob.pictureHeight);
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x)
                ASSERT_EQ(png.at(x, y), c.palette[cobPixel(cob, x, y)]) << x << "," << y;
        }
    }
}

TEST_F(ThumbnailCli, ASpriteFileOfTwoSpritesShowsThemSideBySide) {
    const std::filesystem::path file =
        pathFromUtf8(gamePathsUnder(m_demo.gameDirectory()).CImagePath) / "vbal.spr";
    const SpriteTable table = readSpriteTable(file);
    ASSERT_EQ(table.count(), 2u);
    const SpriteImage first = readSprite(file, table.entries[0]);
    const SpriteImage second = readSprite(file, table.entries[1]);
    ASSERT_EQ(first.width, second.width);
    ASSERT_EQ(first.height, second.height);
    ASSERT_GE(2 * first.width, first.height);
    const RgbImage png =
        thumbnail({pathToUtf8(file), path("out.png"), std::to_string(2 * first.width)}, m_noGame);
    ASSERT_EQ(png.width, 2 * first.width);
    ASSERT_EQ(png.height, first.height);
    const PaletteTable palette = neutralPalette(0xFFFFFF);
    for (int y = 0; y < first.height; ++y) {
        for (int x = 0; x < first.width; ++x) {
            ASSERT_EQ(png.at(x, y), palette[first.at(x, y)]) << x << "," << y;
            ASSERT_EQ(png.at(first.width + x, y), palette[second.at(x, y)]) << x << "," << y;
        }
    }
    // The default size is 128 along the longer side.
    const RgbImage standard = thumbnail({pathToUtf8(file), path("out.png")}, m_noGame);
    EXPECT_EQ(standard.width, 128);
}

TEST_F(ThumbnailCli, RefusesBadSizesAndFilesWithoutPictures) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    writeSpriteFile(m_dir / "empty.spr", std::vector<SpriteImage>{});
    const Case cases[] = {
        {{"thumbnail", path("empty.spr"), path("out.png"), "big"}, 2, "SIZE must be a whole"},
        // A size outside 1 to 1024 is wrong usage, however many digits it has.
        {{"thumbnail", path("empty.spr"), path("out.png"), "0"}, 2, "not between 1 and 1024"},
        {{"thumbnail", path("empty.spr"), path("out.png"), "1025"}, 2, "not between 1 and 1024"},
        {{"thumbnail", path("empty.spr"), path("out.png"), "2147483648"}, 2, "SIZE must be"},
        {{"thumbnail", path("empty.spr"), path("out.png")}, 1, "no picture"},
        {{"thumbnail", path("none.cob"), path("out.png")}, 1, "File not found"},
        {{"thumbnail", path("empty.spr")}, 2, "missing arguments"},
    };
    for (const Case& c : cases) {
        const testing::VekRun run = testing::runVekTool(c.args, m_noGame);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_THAT(run.err, HasSubstr(c.message)) << c.args.back();
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.png"));
}

}  // namespace
}  // namespace vek
