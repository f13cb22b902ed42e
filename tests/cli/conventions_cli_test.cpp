#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/version.h"
#include "objects/cob_data.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::runVekTool;
using Bytes = std::vector<std::uint8_t>;

// The tool as a user runs it, with no game unless a test names one.
class ConventionsCli : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }
    testing::VekRun vek(const std::vector<std::string>& args, const fs::path& input = {}) const {
        return runVekTool(args, "VEK_GAME_DIR= WINEPREFIX=" + testing::shellQuoted(path("none")),
                          input);
    }
    void write(const char* name, std::string_view text) const {
        writeFileAtomically(m_dir / name, text);
    }

    testing::TempDir m_dir;
};

TEST_F(ConventionsCli, VersionAndWrongUsageExitAsTheConventionSays) {
    EXPECT_EQ(vek({"--version"}).out, "vek " + std::string(kVersion) + "\n");
    EXPECT_EQ(vek({"spr", "--version"}).out, "vek " + std::string(kVersion) + "\n");
    writeSpriteFile(m_dir / "one.spr", std::vector{SpriteImage(1, 1, 1)});
    const std::vector<std::string> usageErrors[] = {
        {"--link", "bogus", "send", "inst,endm"},
        {"spr", "export", path("one.spr"), "0", path("o.bmp"), "--background", "zz"},
        {"spr", "create", path("x.spr"), "abc", "1", "1"},
    };
    for (const auto& args : usageErrors) {
        const auto run = vek(args);
        EXPECT_EQ(run.status, 2) << args[1] << ": " << run.err;
        EXPECT_THAT(run.err, HasSubstr("usage: vek"));
    }
    EXPECT_FALSE(fs::exists(m_dir / "x.spr"));
}

TEST_F(ConventionsCli, BadSpriteFilesFailWithoutTakingTheMemoryTheirHeadersAskFor) {
    write("empty.spr", std::string_view("\0\0", 2));
    auto run = vek({"spr", "export", path("empty.spr"), "0", path("o.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The sprite file holds no sprites"));

    // A sparse file long enough for a 65535 x 65535 sprite: the size is checked, not allocated.
    write("huge.spr", std::string_view("\1\0\12\0\0\0\xFF\xFF\xFF\xFF", 10));
    fs::resize_file(m_dir / "huge.spr", 10 + std::uint64_t{65535} * 65535);
    run = vek({"spr", "export", path("huge.spr"), "0", path("o.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("65535 x 65535 pixels is too large"));
    EXPECT_THAT(run.err, HasSubstr(path("huge.spr")));

    write("huge.cob", "");
    fs::resize_file(m_dir / "huge.cob", kMaxCobFileSize + 1);
    run = vek({"cob", "info", path("huge.cob")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("a file of this kind holds at most"));

    run = vek({"spr", "create", path("c.spr"), "1", "65535", "65535"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("too large"));
    EXPECT_FALSE(fs::exists(m_dir / "c.spr"));
    EXPECT_FALSE(fs::exists(m_dir / "o.bmp"));
}

TEST_F(ConventionsCli, InputsThatAreNoFilesAreRefusedAndADashIsStandardInput) {
    ASSERT_EQ(::mkfifo((m_dir / "f.spr").c_str(), 0600), 0);
    auto run = vek({"spr", "list", path("f.spr")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr(path("f.spr") + ": not a regular file"));

    // "-" in and out: the compiled object arrives on standard output, the report on stderr.
    write("ball.cos", "name ball\r\n*\r\ninst\r\nendm\r\n");
    run = vek({"cob", "compile", "-", "-"}, m_dir / "ball.cos");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("-: 0 scripts, 1 imports"));
    write("ball.cob", run.out);
    EXPECT_EQ(readCobFile(m_dir / "ball.cob").imports, std::vector<std::string>{"inst,endm"});
    EXPECT_THAT(vek({"cob", "info", "-"}, m_dir / "ball.cob").out, HasSubstr("imports: 1\n"));

    // The shell's <(...) hands over a pipe, read to its end.
    writeSpriteFile(m_dir / "two.spr", std::vector{SpriteImage(2, 3), SpriteImage(4, 5)});
    const std::string command =
        "bash -c " +
        testing::shellQuoted(std::string(VEK_BINARY_DIR) + "/vek spr list <(cat " +
                             testing::shellQuoted(path("two.spr")) + ")") +
        " > " + testing::shellQuoted(path("list.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFileText(m_dir / "list.txt"), "0   2X3\n1   4X5\n");
}

TEST_F(ConventionsCli, SourcesThatAreNoTextAreRefusedAndEmptyOnesWarned) {
    struct Case {
        const char* name;
        std::string text;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"utf16.cos", std::string("\xFF\xFEn\0a\0m\0e\0", 10), 1, "UTF-16"},
        {"binary.cos", std::string("MZ\x90\0\3\0\0\0", 8), 1, "binary data"},
        {"empty.cos", "", 0, "holds no scripts and no installation routines"},
        {"cr.cos", "name ball\r*\rinst\rendm\r", 0,
         "holds no scripts and no installation routines"},
        {"number.cos", "name ball\r\nquantity abc\r\n", 1, "is not a valid integer"},
    };
    for (const Case& test : cases) {
        write(test.name, test.text);
        const auto run = vek({"cob", "compile", path(test.name), path("out.cob")});
        EXPECT_EQ(run.status, test.status) << test.name << ": " << run.err;
        EXPECT_THAT(run.err, HasSubstr(test.says)) << test.name;
        EXPECT_THAT(run.err, HasSubstr(path(test.name))) << test.name;
    }
    // The value that is no number is traced to its line.
    EXPECT_THAT(vek({"cob", "compile", path("number.cos"), path("out.cob")}).err,
                HasSubstr(path("number.cos") + ", line 2"));
}

TEST_F(ConventionsCli, SoundsSaysWhyItListsNothing) {
    auto run = vek({"sounds"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("sound directory"));
    const GamePaths paths = gamePathsUnder(m_dir / "game");
    fs::create_directories(pathFromUtf8(paths.CMainPath));
    run = vek({"--game-dir", path("game"), "sounds"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("no such file or folder"));
    fs::create_directories(pathFromUtf8(paths.CSoundPath));
    writeFileAtomically(pathFromUtf8(paths.CSoundPath) / "honk.wav", std::string_view());
    EXPECT_EQ(vek({"--game-dir", path("game"), "sounds"}).status, 0);
}

}  // namespace
}  // namespace vek
