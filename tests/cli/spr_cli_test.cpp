#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/file_io.h"
#include "sprites/bitmap.h"
#include "sprites/gif.h"
#include "sprites/png.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_frames.h"
#include "sprites/sprite_pictures.h"
#include "sprites/sprite_render.h"
#include "sprites/sprite_resize.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek {
namespace {

using ::testing::HasSubstr;
using testing::runVekTool;
using Bytes = std::vector<std::uint8_t>;

class SprCli : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
            m_palette.setColor(k, paletteEntryColor(static_cast<std::uint8_t>(k % 64),
                                                    static_cast<std::uint8_t>(k / 4),
                                                    static_cast<std::uint8_t>(63 - k % 64)));
        }
        m_palette.setColor(3, 0);  // pure black
        writeFileAtomically(m_dir / "palette.dta", encodePalette(m_palette));
        // VEK.INI with a background of its own, so the tests never see the user's.
        std::filesystem::create_directories(m_dir / "config" / "Vekstudio");
        writeFileAtomically(m_dir / "config" / "Vekstudio" / "VEK.INI",
                            std::string_view("[Color]\r\nSBGC=$00FF00\r\n"));
    }
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }
    testing::VekRun vek(const std::vector<std::string>& args) const {
        return runVekTool(args, "XDG_CONFIG_HOME=" + testing::shellQuoted(path("config")));
    }

    testing::TempDir m_dir;
    PaletteTable m_palette;
};

TEST_F(SprCli, CreateWritesTheCreatorsUniformFileAndListPrintsTheEditorsLines) {
    auto run = vek({"spr", "create", path("new.spr"), "2", "3", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFileBytes(m_dir / "new.spr").size(), 42u);
    run = vek({"spr", "list", path("new.spr")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0   3X4\n1   3X4\n");
}

TEST_F(SprCli, MergeJoinsTheInputsInOrder) {
    writeSpriteFile(m_dir / "a.spr", std::vector{SpriteImage(8, 8, 1), SpriteImage(8, 8, 2)});
    writeSpriteFile(m_dir / "b.spr", std::vector{SpriteImage(4, 2, 3)});
    const auto run = vek({"spr", "merge", path("ab.spr"), path("a.spr"), path("b.spr")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFileBytes(m_dir / "ab.spr").size(), 162u);
    EXPECT_EQ(vek({"spr", "list", path("ab.spr")}).out, "0   8X8\n1   8X8\n2   4X2\n");
}

TEST_F(SprCli, ExportWritesTheDrawingAreaWithTheStoredOrGivenBackground) {
    SpriteImage sprite(3, 2);
    sprite.pixels = {0, 3, 9, 200, 1, 0};
    writeSpriteFile(m_dir / "one.spr", std::vector{sprite});

    auto run = vek({"spr", "export", path("one.spr"), "0", path("z4.bmp"), "--zoom", "4",
                    "--palette", path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    PaletteTable shown = m_palette;
    shown.setBackground(0x00FF00);  // SBGC of the test's VEK.INI
    EXPECT_EQ(readBitmap(m_dir / "z4.bmp").pixels,
              renderDrawingArea(sprite, shown, 4, 0x00FF00).pixels);

    run = vek({"spr", "export", path("one.spr"), "0", path("z1.bmp"), "--palette",
               path("palette.dta"), "--background", "255"});
    ASSERT_EQ(run.status, 0) << run.err;
    const RgbImage plain = readBitmap(m_dir / "z1.bmp");
    EXPECT_EQ(plain.width, 3);
    EXPECT_EQ(plain.at(0, 0), 0x0000FFu);  // index 0: the background, red in the low byte
    EXPECT_EQ(plain.at(1, 0), 0x0000FFu);  // pure black shows the background too
    EXPECT_EQ(plain.at(2, 0), m_palette[9]);
}

TEST_F(SprCli, PaletteWritesThePaletteArea) {
    const auto run = vek({"spr", "palette", path("p.bmp"), "--palette", path("palette.dta"),
                          "--background", "$FF00FF"});
    ASSERT_EQ(run.status, 0) << run.err;
    PaletteTable shown = m_palette;
    shown.setBackground(0xFF00FF);
    EXPECT_EQ(readBitmap(m_dir / "p.bmp").pixels, renderPaletteArea(shown).pixels);
}

TEST_F(SprCli, BadInputFailsWithAMessageAndLeavesFilesAlone) {
    auto run = vek({"spr", "create", path("x.spr"), "1", "abc", "2"});
    EXPECT_EQ(run.status, 2) << "a value that is no number is wrong usage";
    EXPECT_THAT(run.err, HasSubstr("W: 'abc' is not a valid integer"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "x.spr"));

    writeFileAtomically(m_dir / "empty.spr", Bytes{});
    run = vek({"spr", "list", path("empty.spr")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("Read past the end of the file (EOF)"));

    writeFileAtomically(m_dir / "short.dta", Bytes(100, 1));
    writeSpriteFile(m_dir / "one.spr", std::vector{SpriteImage(1, 1, 1)});
    run =
        vek({"spr", "export", path("one.spr"), "0", path("o.bmp"), "--palette", path("short.dta")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "o.bmp"));

    run = vek(
        {"spr", "export", path("one.spr"), "1", path("o.bmp"), "--palette", path("palette.dta")});
    EXPECT_EQ(run.status, 2);
    run = vek({"spr", "export", path("one.spr"), "0", path("o.bmp"), "--zoom", "3"});
    EXPECT_EQ(run.status, 2);
    run = vek({"spr", "shrink", path("one.spr")});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("usage: vek spr"));
}

TEST_F(SprCli, WhatTheEditorRefusesIsNeitherCreatedNorExportedAndDamageIsNamed) {
    auto run = vek({"spr", "create", path("big.spr"), "1001", "1", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("at most 1000"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "big.spr"));
    run = vek({"spr", "create", path("full.spr"), "1000", "1", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(vek({"spr", "list", path("full.spr")}).status, 0);

    // Entries 1 and 2 point past the end of the file; 0 and 3 are whole.
    Bytes file = encodeSpriteHeader(
        std::vector<SpriteEntry>{{34, 1, 1}, {34, 2, 2}, {0xFFFFFFF0u, 1, 1}, {35, 0, 5}});
    file.push_back(7);
    writeFileAtomically(m_dir / "hurt.spr", file);
    run = vek({"spr", "list", path("hurt.spr")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0   1X1\n1   2X2\n2   1X1\n3   0X5\n");
    EXPECT_THAT(run.err, HasSubstr("past the end of the file: 1 2\n"));

    writeSpriteFile(m_dir / "empty.spr", std::vector{SpriteImage(3, 0)});
    run = vek(
        {"spr", "export", path("empty.spr"), "0", path("e.bmp"), "--palette", path("palette.dta")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The area is empty"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "e.bmp"));
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

struct FrameCommand {
    std::vector<std::string> args;  // after the file
    std::vector<SpriteImage> expected;
};

class SprFramesCli : public SprCli {
  protected:
    void SetUp() override {
        SprCli::SetUp();
        writeSpriteFile(m_dir / "three.spr", m_three);
    }
    Bytes bytesOf(const char* name) const { return readFileBytes(m_dir / name); }

    const std::vector<SpriteImage> m_three = {SpriteImage(2, 3, 1), SpriteImage(4, 1, 2),
                                              SpriteImage(1, 1, 3)};
};

TEST_F(SprFramesCli, InsertDeleteMoveAndResizeWriteTheOutputOrReplaceTheFile) {
    const SpriteImage &a = m_three[0], &b = m_three[1], &c = m_three[2];
    const std::vector<FrameCommand> cases = {
        {{"insert", "0", "3", "2"}, {SpriteImage(3, 2), a, b, c}},
        {{"insert", "3", "1", "5"}, {a, b, c, SpriteImage(1, 5)}},
        {{"delete", "1"}, {a, c}},
        {{"move", "0", "2"}, {b, c, a}},
        {{"move", "2", "0"}, {c, a, b}},
        {{"resize", "0", "3", "4"}, {resizeCanvas(a, 3, 4, ResizeAnchor::TopLeft), b, c}},
        {{"resize", "1", "6", "3", "--anchor", "bottom-right"},
         {a, resizeCanvas(b, 6, 3, ResizeAnchor::BottomRight), c}},
        {{"resize", "1", "2", "2", "--scale"}, {a, scaleSprite(b, 2, 2), c}},
    };
    for (const FrameCommand& test : cases) {
        SCOPED_TRACE(test.args[0] + " " + test.args[1]);
        std::vector<std::string> args = {"spr", test.args[0], path("three.spr")};
        args.insert(args.end(), test.args.begin() + 1, test.args.end());
        args.insert(args.end(), {"-o", path("out.spr")});
        auto run = vek(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out,
                  path("out.spr") + ": " + std::to_string(test.expected.size()) + " sprites\n");
        EXPECT_EQ(bytesOf("out.spr"), encodeSpriteFile(test.expected));
        EXPECT_EQ(bytesOf("three.spr"), encodeSpriteFile(m_three));

        // Without -o the file itself is replaced.
        writeSpriteFile(m_dir / "own.spr", m_three);
        args[2] = path("own.spr");
        args.resize(args.size() - 2);
        run = vek(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(bytesOf("own.spr"), encodeSpriteFile(test.expected));
    }
}

TEST_F(SprFramesCli, RefusalsLeaveTheFileAsItWas) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"insert", "4", "1", "1"}, 1},  // beyond one past the end
        {{"delete", "3"}, 1},
        {{"move", "0", "3"}, 1},
        {{"insert", "0", "70000", "1"}, 1},  // a side the file cannot hold
        {{"insert", "-1", "1", "1"}, 2},
        {{"delete", "x"}, 2},
        {{"move", "0"}, 2},
        {{"resize", "3", "1", "1"}, 1},
        {{"resize", "0", "70000", "1"}, 1},
        {{"resize", "0", "2", "2", "--anchor", "middle"}, 2},
        {{"resize", "0", "2", "2", "--scale", "--anchor", "top"}, 2},
        {{"resize", "0", "2"}, 2},
    };
    for (const auto& [given, status] : cases) {
        SCOPED_TRACE(given[0] + " " + given[1]);
        std::vector<std::string> args = {"spr", given[0], path("three.spr")};
        args.insert(args.end(), given.begin() + 1, given.end());
        const auto run = vek(args);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(bytesOf("three.spr"), encodeSpriteFile(m_three));
    }

    writeSpriteFile(m_dir / "full.spr", std::vector(kSpriteTableCapacity, SpriteImage(1, 1)));
    const Bytes full = bytesOf("full.spr");
    const auto run = vek({"spr", "insert", path("full.spr"), "0", "1", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("1001"));
    EXPECT_EQ(bytesOf("full.spr"), full);
}

// Six sprites, each filled with its own number, of growing widths.
std::vector<SpriteImage> numberedSprites() {
    std::vector<SpriteImage> sprites;
    for (std::uint8_t k = 0; k < 6; ++k)
        sprites.emplace_back(static_cast<std::uint16_t>(2 + k), 3,
                             static_cast<std::uint8_t>(k + 20));
    return sprites;
}

TEST_F(SprCli, ExportIndexedWritesTheSpriteAtRealSizeAndThePlainExportStaysAsShown) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    SpriteImage sprite(5, 3, 40);
    sprite.at(0, 0) = 0;
    writeSpriteFile(m_dir / "one.spr", std::vector{sprite});
    auto run = vek({"spr", "export", path("one.spr"), "0", path("i.png"), "--indexed", "--palette",
                    path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path("i.png") + ": 5 x 3, indexed\n");
    const auto indexed = decodeIndexedPng(readFileBytes(m_dir / "i.png"), kMaxSpritePixels);
    ASSERT_TRUE(indexed);
    EXPECT_EQ(indexed->indices, sprite.pixels);
    EXPECT_FALSE(indexed->table[0].opaque);
    EXPECT_EQ(indexed->table[40].color, m_palette.color(40));

    run = vek({"spr", "export", path("one.spr"), "0", path("shown.png"), "--zoom", "2", "--palette",
               path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(decodeIndexedPng(readFileBytes(m_dir / "shown.png"), kMaxSpritePixels));
    EXPECT_EQ(decodePng(readFileBytes(m_dir / "shown.png"), 0).width, 10);

    for (const auto& wrong :
         {std::vector<std::string>{"spr", "export", path("one.spr"), "0", path("i.bmp"),
                                   "--indexed"},
          std::vector<std::string>{"spr", "export", path("one.spr"), "0", path("z.png"),
                                   "--indexed", "--zoom", "2"}}) {
        run = vek(wrong);
        EXPECT_EQ(run.status, 2) << wrong[4];
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "i.bmp"));
}

// A range A-B: one indexed PNG a sprite, numbered by the sprites, or with --sheet one sheet;
// each reads back as the sprites. What does not fit the syntax is refused before writing.
TEST_F(SprCli, ExportOfARangeWritesOneFileEachOrASheet) {
    if (!pngBuiltIn()) GTEST_SKIP() << "built without libpng";
    const std::vector<SpriteImage> sprites{SpriteImage(5, 3, 40), SpriteImage(2, 6, 41),
                                           SpriteImage(4, 4, 42)};
    writeSpriteFile(m_dir / "three.spr", sprites);
    const auto readBack = [this](const char* name) {
        return readSpritePictures(m_dir / name, decodePalette(encodePalette(m_palette), 0)).front();
    };
    auto run = vek({"spr", "export", path("three.spr"), "1-2", path("pose.png"), "--indexed",
                    "--palette", path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path("pose-1.png") + ": 2 x 6, indexed\n" + path("pose-2.png") +
                           ": 4 x 4, indexed\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "pose-0.png"));
    EXPECT_EQ(readBack("pose-1.png"), sprites[1]);
    EXPECT_EQ(readBack("pose-2.png"), sprites[2]);

    run = vek({"spr", "export", path("three.spr"), "0-2", path("sheet.png"), "--indexed", "--sheet",
               "--palette", path("palette.dta")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path("sheet.png") + ": 10 x 12, 3 sprites, indexed\n");
    EXPECT_EQ(readBack("sheet.png"), spriteSheet(sprites));

    const struct {
        std::vector<std::string> args;
        const char* why;
    } wrong[] = {
        {{"1-2", path("w.png")}, "without --indexed"},
        {{"1-2", path("w.bmp"), "--indexed"}, "not a PNG"},
        {{"2-1", path("w.png"), "--indexed"}, "backwards"},
        {{"1-3", path("w.png"), "--indexed"}, "beyond the file"},
        {{"1-2", path("w.png"), "--indexed", "--zoom", "2"}, "zoomed"},
        {{"1", path("w.png"), "--indexed", "--sheet"}, "a sheet of one number"},
    };
    for (const auto& c : wrong) {
        std::vector<std::string> args{"spr", "export", path("three.spr")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        run = vek(args);
        EXPECT_EQ(run.status, 2) << c.why;
    }
    for (const char* name : {"w.png", "w-1.png", "w-2.png", "w.bmp", "w-1.bmp"})
        EXPECT_FALSE(std::filesystem::exists(m_dir / name)) << name;
}

TEST_F(SprCli, GifTakesAllSpritesARangeOrAnAnimationString) {
    if (!gifBuiltIn()) GTEST_SKIP() << "built without giflib";
    writeSpriteFile(m_dir / "six.spr", numberedSprites());
    const std::string_view loop = "NETSCAPE2.0";
    struct Case {
        std::vector<std::string> options;
        std::vector<std::uint8_t> fills;
        bool loops;
    };
    const std::vector<Case> cases{
        {{}, {20, 21, 22, 23, 24, 25}, true},
        {{"--frames", "1-3"}, {21, 22, 23}, true},
        {{"--anim", "[0120R]", "--first", "2"}, {22, 23, 24, 22}, true},
        {{"--anim", "31"}, {23, 21}, false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"spr",         "gif",       path("six.spr"),
                                      path("a.gif"), "--palette", path("palette.dta")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = vek(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const Bytes gif = readFileBytes(m_dir / "a.gif");
        EXPECT_EQ(std::search(gif.begin(), gif.end(), loop.begin(), loop.end()) != gif.end(),
                  c.loops);
        const std::vector<SpriteImage> frames = decodeSpriteGif(gif, m_palette);
        ASSERT_EQ(frames.size(), c.fills.size());
        for (std::size_t f = 0; f < frames.size(); ++f)
            EXPECT_EQ(frames[f].at(1, 2), c.fills[f]) << "frame " << f;
    }
    for (const auto& wrong :
         std::vector<std::vector<std::string>>{{"--anim", "[05]", "--first", "2"},
                                               {"--frames", "4-2"},
                                               {"--frames", "1-3", "--anim", "1"},
                                               {"--anim", "1R2"},
                                               {"--first", "1"}}) {
        std::vector<std::string> args{"spr", "gif", path("six.spr"), path("b.gif")};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(vek(args).status, 2) << wrong[0] << " " << wrong[1];
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "b.gif"));
}

TEST_F(SprCli, ImportInsertsAPngOrEveryGifFrameWithTheirIndices) {
    if (!pngBuiltIn() || !gifBuiltIn()) GTEST_SKIP() << "built without libpng or giflib";
    const std::vector<SpriteImage> six = numberedSprites();
    writeSpriteFile(m_dir / "six.spr", six);
    writeSpriteFile(m_dir / "base.spr", std::vector{SpriteImage(1, 1, 9), SpriteImage(1, 1, 8)});
    const std::vector<std::string> palette{"--palette", path("palette.dta")};
    auto with = [&palette](std::vector<std::string> args) {
        args.insert(args.end(), palette.begin(), palette.end());
        return args;
    };
    ASSERT_EQ(
        vek(with({"spr", "export", path("six.spr"), "4", path("four.png"), "--indexed"})).status,
        0);
    ASSERT_EQ(vek(with({"spr", "gif", path("six.spr"), path("two.gif"), "--frames", "0-1"})).status,
              0);

    auto run =
        vek(with({"spr", "import", path("base.spr"), "1", path("four.png"), "-o", path("p.spr")}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, path("p.spr") + ": 3 sprites\n");
    EXPECT_EQ(readAllSprites(m_dir / "p.spr"),
              (SpriteList{SpriteImage(1, 1, 9), six[4], SpriteImage(1, 1, 8)}));

    run = vek(with({"spr", "import", path("base.spr"), "2", path("two.gif")}));
    ASSERT_EQ(run.status, 0) << run.err;
    const SpriteList read = readAllSprites(m_dir / "base.spr");
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[2].width, 3) << "a GIF frame is as wide as its screen";
    EXPECT_EQ(read[2].at(1, 1), 20);
    EXPECT_EQ(read[2].at(2, 1), 0) << "beyond the narrower sprite: transparent";
    EXPECT_EQ(read[3], six[1]);
}

}  // namespace
}  // namespace vek
