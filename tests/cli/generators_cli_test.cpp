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

class GeneratorsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(
            pathFromUtf8(gamePathsUnder(m_dir / "game").CImagePath));
    }

    testing::VekRun vek(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--game-dir", pathToUtf8(m_dir / "game")});
        return testing::runVekHere(args);
    }
    std::string path(const char* name) const { return pathToUtf8(m_dir / name); }

    vek::testing::TempDir m_dir;
};

TEST_F(GeneratorsCli, ClassesListAndImport) {
    writeFileAtomically(m_dir / "classes.vek",
                        std::string_view("2 {Simple}\r\n  2 5 3 {Ball}\r\n"));
    testing::VekRun run = vek({"classes", "list", "--file", path("classes.vek")});
    EXPECT_EQ(run.status, kFailed) << "two spaces are a jump of two levels";
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;

    writeFileAtomically(m_dir / "objed.dta",
                        std::string_view("2,\"Simple\",1\r\n5,\"Toys\",2\r\n3,\"Ball\",3\r\n"));
    run = vek({"classes", "import", path("objed.dta"), "-o", path("out.vek")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_EQ(readFileText(m_dir / "out.vek"),
              "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Ball}\r\n");
    run = vek({"classes", "list", "--file", path("out.vek")});
    EXPECT_EQ(run.out, "2 {Simple}\n\t2 5 {Toys}\n\t\t2 5 3 {Ball}\n");
}

TEST_F(GeneratorsCli, NewSimpleWritesTheSourceOrBothMessages) {
    testing::VekRun run = vek({"new", "simple", "2", "5", "3", "Ball", "ball", "--attributes",
                               "carryable,activateable", "--click", "one-shot", "--creatures",
                               "activate1", "--scripts", "9", "-o", path("ball.cos")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    const std::string source = readFileText(m_dir / "ball.cos");
    EXPECT_NE(source.find("\r\n\tnew: simp ball 1 0 3500 0\r\n\tsetv clas 33882880\r\n"
                          "\tsetv attr 5\r\n\tbhvr 1 1\r\nendm\r\n"),
              std::string::npos)
        << source;
    EXPECT_NE(source.find("* script  9 TIMER\r\nscrp 2 5 3 9\r\nendm\r\n"), std::string::npos);

    run = vek({"new", "simple", "4", "1", "2", "Bug", "bug", "-o", path("bug.cos")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_EQ(run.err,
              "Selected class is not a Simple Object!\n"
              "You must enter an image file with 4 Characters!\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "bug.cos"));
    EXPECT_EQ(vek({"new", "simple", "2", "5", "3", "B", "ball", "--click", "wild"}).status,
              kUsageError);
}

TEST_F(GeneratorsCli, NewCreatureCloneAndInfusion) {
    testing::VekRun run =
        vek({"new", "clone", "Genetics/abcdef.gen", "--sex", "male", "--as", "creature"});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    EXPECT_NE(run.out.find("\n       new: crea tokn abcd 1\n"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with("       endi\n       endm\n"));

    run = vek({"new", "creature", "mum1.gen", "dad2.gen"});
    EXPECT_NE(run.out.find("       new: gene tokn mum1 tokn dad2 var0\n"), std::string::npos);
    EXPECT_NE(run.out.find("       setv obv1 0\n"), std::string::npos) << "random by default";

    run = vek({"new", "infusion", "--chemical", "12:200", "--chemical", "3:", "--cob",
               path("infusion.cob")});
    ASSERT_EQ(run.status, kSuccess) << run.err;
    const CobData cob = readCobFile(m_dir / "infusion.cob");
    EXPECT_EQ(cob.name, "Infusion");
    ASSERT_EQ(cob.scripts.size(), 2u);
    EXPECT_EQ(cob.scripts[0],
              "scrp 2 6 247 9,stim writ norn 10 255 0 0 12 200 3  0 0 0 0,kill targ,endm");
    EXPECT_EQ(vek({"new", "infusion", "--chemical", "256:1"}).status, kUsageError);
}

}  // namespace
}  // namespace vek::cli
