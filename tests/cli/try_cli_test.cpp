#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::testing {
namespace {

// A game folder whose image directory holds a sprite file of three images.
class TryVerb : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir / "game" / "Images");
        const std::vector<SpriteImage> images(3, SpriteImage(8, 6, 1));
        writeSpriteFile(m_dir / "game" / "Images" / "DOGG.SPR", images);
        const std::string clas = std::to_string(Classifier{2, 10, 1}.classNumber());
        writeSourceFile(
            m_dir / "dog.cos",
            std::vector<std::string>{"inst", "  new: simp dogg 5 0 1000 0", "  setv clas " + clas,
                                     "  mvto 10 20", "endm", "scrp 2 10 1 1", "  snde woof",
                                     "  pose 2", "  mvby 5 0", "  wait 2", "  pose 3", "endm"});
    }
    VekRun run(std::vector<std::string> options) {
        std::vector<std::string> args = {"try", pathToUtf8(m_dir / "dog.cos"), "--game-dir",
                                         pathToUtf8(m_dir / "game")};
        args.insert(args.end(), options.begin(), options.end());
        return runVekTool(args);
    }

    TempDir m_dir;
};

TEST_F(TryVerb, TracesTheRunAndFailsOnTheFaultTheSpriteFileShows) {
    const VekRun result = run({"--ticks", "3", "--activate1", "2", "--trace"});
    // The sprite file has three images, fewer than the five new: simp names: pose 3 faults.
    const std::string fault = pathToUtf8(m_dir / "dog.cos") +
                              ":11:3: error: object #1 (2 10 1), script 2 10 1 1: pose 3 is "
                              "beyond the object's 3 images\n";
    // Activated at tick 2, the script waits 2 ticks before its pose 3: past this run's end.
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "tick 0 2 10 1 #1 10 20 pose 0\n"
              "tick 1 2 10 1 #1 10 20 pose 0\n"
              "tick 2 2 10 1 #1 snde woof\n"
              "tick 2 2 10 1 #1 15 20 pose 2\n"
              "tick 3 2 10 1 #1 15 20 pose 2\n");
    EXPECT_EQ(result.err, "");

    const VekRun later = run({"--ticks", "4", "--activate1", "2"});
    EXPECT_EQ(later.status, 1);
    EXPECT_EQ(later.out, fault);
}

TEST_F(TryVerb, ARunWithoutFaultsPrintsNothingAndSucceeds) {
    const VekRun result = run({"--ticks", "50"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(TryVerb, RefusesWrongOptionsAsUsageErrors) {
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--activate1", "0"},
                                                    {"--ticks", "many"},
                                                    {"--ticks", "-1"},
                                                    {"--drop"},
                                                    {"--speed", "2"}}) {
        const VekRun result = run(options);
        EXPECT_EQ(result.status, 2) << options.front();
        EXPECT_NE(result.err.find("usage: vek try"), std::string::npos) << options.front();
    }
    EXPECT_EQ(runVekTool({"try"}).status, 2);
}

}  // namespace
}  // namespace vek::testing
