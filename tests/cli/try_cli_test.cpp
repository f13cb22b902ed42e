#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "app/file_io.h"
#include "app/messages.h"
#include "app/text_names.h"
#include "demo/demo_installation.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
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

// The installation's map file holds a room 20 wide: the dog, 8 wide and wallbound, is stopped at
// 12 by its right wall and gets the collision event in the next tick.
TEST_F(TryVerb, StartsOnTheRoomsOfTheInstallationsMapFile) {
    const std::filesystem::path map = m_dir / "game" / "Images" / "vivarium-map.txt";
    writeFileAtomically(map, std::string_view("* one room\nroom 0 0 0 20 100 1\n"));
    const std::string clas = std::to_string(Classifier{2, 10, 1}.classNumber());
    writeSourceFile(
        m_dir / "dog.cos",
        std::vector<std::string>{"inst", "  new: simp dogg 3 0 1000 0", "  setv clas " + clas,
                                 "  setv attr 64", "  mvto 10 20", "endm", "scrp 2 10 1 1",
                                 "  mvby 5 0", "endm", "scrp 2 10 1 6", "  snde bump", "endm"});
    const VekRun result = run({"--ticks", "2", "--activate1", "1", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "tick 0 2 10 1 #1 10 20 pose 0\n"
              "tick 1 2 10 1 #1 12 20 pose 0\n"
              "tick 2 2 10 1 #1 snde bump\n"
              "tick 2 2 10 1 #1 12 20 pose 0\n");

    writeFileAtomically(map, std::string_view("room 0 0 0 20 100 1\nwall 3\n"));
    const VekRun broken = run({"--ticks", "2"});
    EXPECT_NE(broken.status, 0);
    EXPECT_NE(broken.err.find("vivarium-map.txt"), std::string::npos) << broken.err;
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

TEST_F(TryVerb, RunsEveryInstallationRoutineOfASourceInOrder) {
    writeSourceFile(
        m_dir / "two.cos",
        std::vector<std::string>{"inst", "  new: simp dogg 3 0 1000 0", "  mvto 1 2", "endm",
                                 "inst", "  new: simp dogg 3 0 1000 0", "  mvto 3 4", "endm"});
    const VekRun result = runVekTool({"try", pathToUtf8(m_dir / "two.cos"), "--game-dir",
                                      pathToUtf8(m_dir / "game"), "--ticks", "0", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "tick 0 0 0 0 #1 1 2 pose 0\ntick 0 0 0 0 #2 3 4 pose 0\n");
}

TEST_F(TryVerb, RunsEveryInstallationRoutineOfAnObjectFileNumberedAfterItsScripts) {
    CobData cob;
    cob.scripts = {"scrp 2 10 1 1,snde woof,endm"};
    cob.imports = {"inst,new: simp dogg 3 0 1000 0,endm", "inst,pose 7,endm"};
    writeCobFile(m_dir / "DOG.COB", cob);
    const std::string file = pathToUtf8(m_dir / "DOG.COB");
    const VekRun result =
        runVekTool({"try", file, "--game-dir", pathToUtf8(m_dir / "game"), "--ticks", "1"});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, file +
                              ":3:6: error: installation routine: pose needs a target, but there "
                              "is none\n");
}

TEST_F(TryVerb, RefusesFilesThatHoldNothingToRun) {
    std::string noise;
    std::uint32_t state = 7;
    for (int k = 0; k < 4096; ++k) {
        state = state * 1103515245u + 12345u;
        noise.push_back(static_cast<char>(state >> 24));
    }
    const std::string nothing = fill(Msg::TryNothingToRun, {""}).english;
    const std::string binary = textOf(Msg::SourceIsBinary).english;
    struct Case {
        const char* name;
        std::string bytes;
        std::string says;
    };
    const Case cases[] = {
        {"empty.cos", "", nothing},
        {"comment.cos", "* a ball, some day\r\n", nothing},
        {"open.cos", "inst\r\n  new: simp dogg 3 0 1000 0\r\n", nothing},
        // Lines that end in a bare carriage return are one line to the checker, with no endm.
        {"mac.cos", "inst\r  new: simp dogg 3 0 1000 0\rendm\r", nothing},
        {"noise.cos", noise, binary},
        {"DOGG.SPR", readFileText(m_dir / "game" / "Images" / "DOGG.SPR"), binary},
        {"utf16.cos", std::string("\xFF\xFEi\0n\0s\0t\0", 10), textOf(Msg::SourceIsUtf16).english},
    };
    for (const Case& c : cases) {
        writeFileAtomically(m_dir / c.name, c.bytes);
        const VekRun result = runVekTool(
            {"try", pathToUtf8(m_dir / c.name), "--game-dir", pathToUtf8(m_dir / "game")});
        EXPECT_EQ(result.status, 1) << c.name;
        EXPECT_EQ(result.out, "") << c.name;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.name << ": " << result.err;
    }
    writeCobFile(m_dir / "EMPTY.COB", CobData{});
    const VekRun empty = runVekTool(
        {"try", pathToUtf8(m_dir / "EMPTY.COB"), "--game-dir", pathToUtf8(m_dir / "game")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find(pathToUtf8(m_dir / "EMPTY.COB") + nothing), std::string::npos)
        << empty.err;
}

// Each line names a kind, a word of the dictionary and how far the stand-in takes it.
TEST(TryWords, ListEachWordWithHowFarTheStandInTakesIt) {
    const VekRun result = runVekTool({"try", "--words"});
    EXPECT_EQ(result.status, 0) << result.err;
    std::istringstream lines(result.out);
    std::set<std::string> seen;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t first = line.find('\t');
        const std::size_t last = line.rfind('\t');
        ASSERT_NE(first, last) << line;
        EXPECT_TRUE(line.starts_with("command\t") || line.starts_with("value\t")) << line;
        const std::string how = line.substr(last + 1);
        EXPECT_TRUE(how == "modelled" || how == "answered neutrally" || how == "not modelled")
            << line;
        seen.insert(line);
    }
    for (const char* expected : {"command\tnew: lift\tmodelled", "command\tcabn\tmodelled",
                                 "command\tsys: quit\tanswered neutrally",
                                 "value\twinw\tanswered neutrally", "value\txvec\tmodelled"})
        EXPECT_TRUE(seen.contains(expected)) << expected;
    EXPECT_EQ(runVekTool({"try", "--words", "dog.cos"}).status, 2);
}

// The demo's lift, car and mill run a thousand ticks, activated now and then, without a fault;
// the lift, called by its upper button, stands with its bottom level with that button's.
TEST(TryDemo, TheDemosLiftCarAndMillRunAThousandTicksWithoutAFault) {
    TempDir dir;
    const demo::DemoLayout layout{dir.path()};
    demo::generateDemoInstallation(layout);
    const std::string game = pathToUtf8(layout.gameDirectory());
    for (const char* object : {"LIFT.COS", "CAR.COB", "MILL.COB"}) {
        SCOPED_TRACE(object);
        const VekRun result =
            runVekTool({"try", pathToUtf8(layout.gameDirectory() / object), "--game-dir", game,
                        "--ticks", "1000", "--activate1", "3", "--activate1", "500"});
        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_EQ(result.out, "");
    }
    const VekRun lift =
        runVekTool({"try", pathToUtf8(layout.gameDirectory() / "LIFT.COS"), "--game-dir", game,
                    "--ticks", "100", "--activate1", "3", "--trace"});
    EXPECT_NE(lift.out.find("tick 100 2 30 1 #1 3000 702 pose 0\n"), std::string::npos) << lift.out;
}

// The demo's wooden block gives whoever activates it chemical 35, which the demo's chemicals.txt
// names "Cobalide" (stem 2, ending 3). Placed at 2850 the creature's centre is 144 left of the
// block's (3014): 15 steps of 8 bring it within 24, so it knocks the block over in tick 16 and
// the stimulus reaches it there. Pushed (activate 2) in tick 20, while the block waits 5 ticks
// before it rights itself, the push waits for that script to end in tick 21: then the creature
// gets the smaller reward.
TEST(TryCreature, TheDemosToyRewardsTheCreatureThatActivatesIt) {
    TempDir dir;
    const demo::DemoLayout demo{dir.path()};
    demo::generateDemoInstallation(demo);
    const VekRun result =
        runVekTool({"try", pathToUtf8(demo.gameDirectory() / "BLOCK.COS"), "--game-dir",
                    pathToUtf8(demo.gameDirectory()), "--chemicals",
                    pathToUtf8(demo.programDirectory() / "chemicals.txt"), "--creature", "2850,0",
                    "--creature-does", "activate1@1,activate2@20", "--ticks", "21", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<std::string> happenings;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" pose ") == std::string::npos) happenings.push_back(line);
    }
    EXPECT_EQ(happenings,
              (std::vector<std::string>{
                  "tick 16 4 1 0 #2 activate1 #1", "tick 16 2 5 1 #1 snde drop",
                  "tick 16 2 5 1 #1 stim writ #2 0 255 0 0 35 20 0 0 0 0 0 0 reaches creature "
                  "#2 (chemical 35 Cobalide 20)",
                  "tick 20 4 1 0 #2 activate2 #1",
                  "tick 21 2 5 1 #1 stim writ #2 0 255 0 0 35 5 0 0 0 0 0 0 reaches creature "
                  "#2 (chemical 35 Cobalide 5)"}));
    // It stood on the ground all the way and stopped where it could reach the block.
    EXPECT_NE(result.out.find("tick 16 4 1 0 #2 2970 "), std::string::npos) << result.out;
}

TEST_F(TryVerb, RefusesCreatureOrdersItCannotRead) {
    const char* const wrong[][2] = {
        {"--creature", "100"},
        {"--creature", "x,5"},
        {"--creature-does", "hit@3"},  // without --creature
    };
    for (const auto& option : wrong) {
        const VekRun result = run({option[0], option[1]});
        EXPECT_EQ(result.status, 2) << option[1] << ": " << result.err;
    }
    for (const char* orders : {"juggle@3", "hit", "hit@0", "hit@2,"}) {
        const VekRun result = run({"--creature", "0,0", "--creature-does", orders});
        EXPECT_EQ(result.status, 2) << orders << ": " << result.err;
    }
    const VekRun fine = run({"--creature", "0,0", "--creature-does", "hit@1,pickup@2,drop@3"});
    EXPECT_EQ(fine.status, 0) << fine.err;
}

}  // namespace
}  // namespace vek::testing
