#include <gtest/gtest.h>

#include <sstream>

#include "app/file_io.h"
#include "cli/cli.h"
#include "sprites/picture_file.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::cli {
namespace {

namespace fs = std::filesystem;
using vek::testing::shellQuoted;

// A folder with one file of every kind a verb reads, and links to them.
struct Inputs {
    vek::testing::TempDir dir;
    Inputs() {
        writeFileAtomically(dir / "x.cos", std::string_view("scrp 2 5 3 1\r\nendm\r\n"));
        std::ostringstream out, err;
        EXPECT_EQ(runVek({"cob", "compile", p("x.cos"), p("x.cob")}, out, err), kSuccess)
            << err.str();
        writeSpriteFile(dir / "s.spr", std::vector<SpriteImage>{SpriteImage(2, 2)});
        writePicture(dir / "p.bmp", RgbImage(2, 2, 0xFFFFFF));
        writeFileAtomically(dir / "pal.dta", std::vector<std::uint8_t>(768, 0));
        fs::create_symlink("s.spr", dir / "link.spr");
        fs::create_hard_link(dir / "x.cos", dir / "hard.cos");
    }
    std::string p(const char* name) const { return pathToUtf8(dir / name); }
};

TEST(FileSafety, AVerbWhoseOutputIsItsInputRefusesAndLeavesTheInputAsItWas) {
    const Inputs in;
    const struct {
        std::vector<std::string> args;
        const char* input;
    } cases[] = {
        {{"cob", "compile", in.p("x.cos"), in.p("hard.cos")}, "x.cos"},
        {{"cob", "discompile", in.p("x.cob"), "-o", in.p("x.cob")}, "x.cob"},
        {{"spr", "export", in.p("s.spr"), "0", in.p("link.spr")}, "s.spr"},
        {{"spr", "merge", in.p("s.spr"), in.p("x.cob"), in.p("link.spr")}, "s.spr"},
        {{"bmp2spr", in.p("p.bmp"), in.p("p.bmp")}, "p.bmp"},
        {{"map", in.p("s.spr"), "--back", in.p("link.spr")}, "s.spr"},
        {{"spr", "palette", in.p("pal.dta"), "--palette", in.p("pal.dta")}, "pal.dta"},
        {{"spr", "export", in.p("s.spr"), "0", in.p("pal.dta"), "--palette", in.p("pal.dta")},
         "pal.dta"},
        {{"thumbnail", in.p("link.spr"), in.p("s.spr")}, "s.spr"},
        {{"thumbnail", in.p("s.spr"), in.p("pal.dta"), "--palette", in.p("pal.dta")}, "pal.dta"},
    };
    for (const auto& c : cases) {
        const fs::path input = in.dir / c.input;
        const std::vector<std::uint8_t> before = readFileBytes(input);
        std::ostringstream out, err;
        EXPECT_EQ(runVek(c.args, out, err), kFailed) << c.args[0] << " " << c.args[1];
        EXPECT_NE(err.str().find("The output file is the input file"), std::string::npos)
            << err.str();
        EXPECT_EQ(readFileBytes(input), before) << c.args[0] << " " << c.args[1];
    }
}

// Every verb that prints to a full disk fails and says why, whether its output went out in one
// piece at the end or in the middle of the run.
TEST(FileSafety, StandardOutputThatCannotBeWrittenFailsTheVerbAndSaysWhy) {
    const Inputs in;
    // A table long enough to fill the output buffer while it is printed.
    writeSpriteFile(in.dir / "many.spr", std::vector<SpriteImage>(1000, SpriteImage(1, 1)));
    writeFileAtomically(in.dir / "bad.mac", std::string(5000, 'x') + "\n");
    for (const std::string& verb : {"cob discompile " + shellQuoted(in.p("x.cob")),
                                    "spr list " + shellQuoted(pathToUtf8(in.dir / "many.spr")),
                                    "check " + shellQuoted(pathToUtf8(in.dir / "bad.mac"))}) {
        const std::string command = shellQuoted(std::string(VEK_BINARY_DIR) + "/vek") + " " + verb +
                                    " >/dev/full 2>" + shellQuoted(in.p("err"));
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), kFailed) << verb;
        EXPECT_NE(readFileText(in.dir / "err").find("cannot write standard output: No space"),
                  std::string::npos)
            << verb << ": " << readFileText(in.dir / "err");
    }
}

}  // namespace
}  // namespace vek::cli
