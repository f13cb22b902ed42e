#include <gtest/gtest.h>

#include <sstream>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "cli/cli.h"
#include "objects/cob_data.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::cli {
namespace {

class CobCli : public ::testing::Test {
  protected:
    void SetUp() override {
        const GamePaths paths = gamePathsUnder(m_dir / "game");
        std::filesystem::create_directories(pathFromUtf8(paths.CImagePath));
        SpriteImage sprite(2, 3);
        sprite.pixels = {1, 2, 3, 4, 5, 6};
        writeSpriteFile(pathFromUtf8(paths.CImagePath + "ball.spr"),
                        std::vector<SpriteImage>{SpriteImage(1, 1), sprite});
    }

    testing::VekRun vek(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--game-dir", pathToUtf8(m_dir / "game")});
        return testing::runVekHere(args);
    }
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }
    void writeSource(const char* name, std::string_view text) const {
        writeFileAtomically(m_dir / name, text);
    }

    vek::testing::TempDir m_dir;
};

TEST_F(CobCli, CompileSavesWhatTheWindowWouldWithTheSpriteFromTheImageDirectory) {
    writeSource("ball.cos",
                "name Ball\r\nquantity 70000\r\nsprite ball 1\r\nscrp 2 5 3 1\r\n  A\r\nendm\r\n");
    const testing::VekRun run = vek({"cob", "compile", path("ball.cos"), path("ball.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    const CobData cob = readCobFile(m_dir / "ball.cob");
    EXPECT_EQ(cob.name, "Ball");
    EXPECT_EQ(cob.quantity, 4464);
    EXPECT_EQ(cob.scripts, std::vector<std::string>{"scrp 2 5 3 1,A,endm"});
    EXPECT_EQ(cob.picturePixels, (std::vector<std::uint8_t>{5, 6, 3, 4, 1, 2}));
    // After the verb, --game-dir names the game as before it.
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runVek({"cob", "compile", path("ball.cos"), path("after.cob"), "--game-dir",
                      pathToUtf8(m_dir / "game")},
                     out, err),
              kSuccess)
        << err.str();
    EXPECT_EQ(readFileBytes(m_dir / "after.cob"), readFileBytes(m_dir / "ball.cob"));

    writeSource("empty.cos", "* only a comment\r\n");
    ASSERT_EQ(vek({"cob", "compile", path("empty.cos"), path("empty.cob")}).status, kSuccess);
    EXPECT_EQ(readFileBytes(m_dir / "empty.cob").size(), 43u);
}

TEST_F(CobCli, ACompileThatFailsWritesNothing) {
    writeSource("bad.cos", "scrp 1 1 1 1\r\nendm\r\nsprite gone 0\r\n");
    testing::VekRun run = vek({"cob", "compile", path("bad.cos"), path("bad.cob")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_FALSE(run.err.empty());
    EXPECT_FALSE(std::filesystem::exists(m_dir / "bad.cob"));

    writeSource("many.cos", "quantity x\r\n");
    run = vek({"cob", "compile", path("many.cos"), path("many.cob")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_NE(run.err.find("' x' is not a valid integer"), std::string::npos) << run.err;
}

TEST_F(CobCli, DiscompileNamesTheInputAndWritesAnsiSourceWithCrLf) {
    CobData cob;
    cob.name = "Bär";
    cob.scripts = {"scrp 2 5 3 1,doif a,b,endi,endm"};
    writeCobFile(m_dir / "in.cob", cob);
    const testing::VekRun run = vek({"cob", "discompile", path("in.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_TRUE(run.out.starts_with(
        "* Discompiled from in.cob using VEK DUVIvodezoroze V1.5\n\n* Parameters\nname Bär\n"));
    EXPECT_TRUE(run.out.ends_with(
        "* Script  1 Activate(1)\nscrp 2 5 3 1\n\tdoif a\n\t\tb\n\tendi\nendm\n\n"));

    ASSERT_EQ(vek({"cob", "discompile", path("in.cob"), "-o", path("out.cos")}).status, kSuccess);
    const std::string file = readFileText(m_dir / "out.cos");
    EXPECT_NE(file.find("name B\xE4r\r\n"), std::string::npos);
    EXPECT_TRUE(file.ends_with("endm\r\n\r\n"));
}

TEST_F(CobCli, DiscompileWarnsOfScriptsThatCompilingWouldDrop) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,endm", "SCRP 2 5 3 2,endm", "pose 1,endm"};
    writeCobFile(m_dir / "in.cob", cob);
    const testing::VekRun run = vek({"cob", "discompile", path("in.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_NE(run.err.find("warning: 2 script(s)"), std::string::npos) << run.err;
    cob.scripts.resize(1);
    writeCobFile(m_dir / "in.cob", cob);
    EXPECT_EQ(vek({"cob", "discompile", path("in.cob")}).err, "");
}

// Discompiling with -o writes the picture beside the source and its "picture" line names it;
// compiling reads it from there: the object comes back byte for byte.
TEST_F(CobCli, ARoundTripThroughASourceKeepsThePictureByteForByte) {
    CobData puppy;
    puppy.scripts = {"scrp 2 5 3 1,doif a,b,endi,endm"};
    puppy.imports = {"inst,new: simp puppy 4 0 3000 0,endm"};
    SpriteImage picture(60, 40);
    for (std::size_t k = 0; k < picture.pixels.size(); ++k)
        picture.pixels[k] = static_cast<std::uint8_t>(k * 13 + k / 60);
    setCobPicture(puppy, picture);
    puppy.name = "Puppy";
    writeCobFile(m_dir / "puppy.cob", puppy);
    std::filesystem::create_directory(m_dir / "src");

    testing::VekRun run =
        vek({"cob", "discompile", path("puppy.cob"), "-o", path("src/puppy.cos")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_NE(readFileText(m_dir / "src" / "puppy.cos").find("\r\npicture puppy.spr\r\n"),
              std::string::npos);
    EXPECT_EQ(run.out, path("src/puppy.spr") + ": picture 60 x 40\n");
    run = vek({"cob", "compile", path("src/puppy.cos"), path("again.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_EQ(readFileBytes(m_dir / "again.cob"), readFileBytes(m_dir / "puppy.cob"));

    // To standard output there is no folder for the picture: the line stays, and a warning.
    run = vek({"cob", "discompile", path("puppy.cob")});
    EXPECT_NE(run.out.find("\npicture puppy.spr\n"), std::string::npos);
    EXPECT_NE(run.err.find("the picture is not written to standard output"), std::string::npos);
    // A source whose picture is gone fails instead of losing it.
    std::filesystem::remove(m_dir / "src" / "puppy.spr");
    run = vek({"cob", "compile", path("src/puppy.cos"), path("lost.cob")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_NE(run.err.find("puppy.spr"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "lost.cob"));
}

TEST_F(CobCli, InfoListsTheHeaderCountsPictureAndName) {
    writeSource("a.cos", "name Top\r\nday 3\r\nsprite ball 1\r\ninst\r\nendm\r\n");
    ASSERT_EQ(vek({"cob", "compile", path("a.cos"), path("a.cob")}).status, kSuccess);
    const testing::VekRun run = vek({"cob", "info", path("a.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_EQ(run.out,
              "items: 1\nquantity: 0\nmonth: 0\nday: 3\nyear: 0\nused: 0\nscripts: 0\nimports: 1\n"
              "picture: 2 x 3\nwidth copy: 2\nname: Top\n");
}

TEST_F(CobCli, BadFilesAndUsageAreReported) {
    writeFileAtomically(m_dir / "short.cob", std::vector<std::uint8_t>{1, 0, 0});
    testing::VekRun run = vek({"cob", "info", path("short.cob")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_NE(run.err.find("Read past the end of the file (EOF)"), std::string::npos);
    EXPECT_EQ(vek({"cob", "info", path("none.cob")}).status, kFailed);
    EXPECT_EQ(vek({"cob"}).status, kUsageError);
    EXPECT_EQ(vek({"cob", "frobnicate"}).status, kUsageError);
    EXPECT_EQ(vek({"cob", "compile", path("a.cos")}).status, kUsageError);
}

}  // namespace
}  // namespace vek::cli
