#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "gamelink/macro_extraction.h"
#include "gamelink/sim_harness.h"
#include "objects/classifier.h"
#include "objects/macro_insertion.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

namespace fs = std::filesystem;

TEST(ClassKeysTest, TakesThreesAsReceivedWithoutDuplicatesAndDropsAShortLastGroup) {
    const ClassList list = parseClassKeys("2|13|1|2|5|3|2|13|1|007|1|2|9|");
    ASSERT_EQ(list.keys.size(), 3u);
    EXPECT_EQ(list.keys[0].text, "2 13 1 ");
    EXPECT_EQ(list.keys[1].text, "2 5 3 ");
    EXPECT_EQ(list.keys[2].text, "007 1 2 ");
    EXPECT_EQ(list.keys[2].family, 7);
    EXPECT_EQ(list.dropped, 0u);
    EXPECT_TRUE(parseClassKeys("").keys.empty());
    EXPECT_EQ(parseClassKeys("1|2|3").keys.size(), 1u) << "without the closing bar";
    EXPECT_EQ(parseClassKeys("1|2|3|4|").keys.size(), 1u);
}

TEST(ClassKeysTest, APieceThatIsNoWholeNumberStopsWithTheConversionError) {
    for (const char* answer : {"2|x|1|", "2||1|", "2|1|1 |", "|2|1|", "1|2|3|x|", "1|2||",
                               "Error: unknown command 'enum'"}) {
        SCOPED_TRACE(answer);
        try {
            parseClassKeys(answer);
            FAIL();
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find("ist kein gültiger Integerwert"),
                      std::string::npos);
        }
    }
    try {
        parseClassKeys("2||1|");
    } catch (const VekError& error) {
        EXPECT_STREQ(error.what(), "'' ist kein gültiger Integerwert");
    }
}

TEST(ClassKeysTest, AClassNumberOutsideAByteIsRefusedAndNamed) {
    for (const char* answer : {"1|2|-1|", "256|0|0|", "0|999999|0|", "2|5|3|1|2|-7|"}) {
        SCOPED_TRACE(answer);
        try {
            parseClassKeys(answer);
            FAIL();
        } catch (const VekError& error) {
            EXPECT_TRUE(std::string(error.what())
                            .starts_with("The game named a class number outside 0 to 255: "));
        }
    }
    EXPECT_EQ(parseClassKeys("0|255|255|").keys.size(), 1u);
}

TEST(ClassKeysTest, KeepsAtMost1001ClassesAndCountsTheOthers) {
    std::string answer;
    for (int i = 0; i < 1010; ++i)
        answer += "2|" + std::to_string(i / 256) + "|" + std::to_string(i % 256) + "|";
    const ClassList list = parseClassKeys(answer);
    EXPECT_EQ(list.keys.size(), 1001u);
    EXPECT_EQ(list.dropped, 9u);
    EXPECT_EQ(list.keys.back().text, "2 3 232 ");
}

TEST(MacroFileTest, NamesAreTwoDigitsEachAndHighNumbersKeepTheirLastTwo) {
    EXPECT_EQ(macroFileName(2, 13, 1, 5), "02130105.MAC");
    EXPECT_EQ(macroFileName(2, 5, 3, 72), "02050372.MAC");
    EXPECT_EQ(macroFileName(2, 5, 103, 1), macroFileName(2, 5, 3, 1));
    EXPECT_EQ(macroFileName(2, 3, 255, 0), "02035500.MAC");
}

TEST(MacroFileTest, ALaterFileOfASharedNameKeepsTheMaskAndGivesItsClassWhole) {
    const struct {
        int family, genus, species, event;
        const char* name;
        const char* scrp;
    } cases[] = {{2, 5, 105, 1, "02050501-002005105.MAC", "scrp 2 5 105 1"},
                 {255, 0, 7, 72, "55000772-255000007.MAC", "scrp 255 0 7 72"},
                 {1, 2, 3, 4, "01020304-001002003.MAC", "scrp 1 2 3 4"}};
    for (const auto& c : cases) {
        const std::string name = distinctMacroFileName(c.family, c.genus, c.species, c.event);
        EXPECT_EQ(name, c.name);
        EXPECT_TRUE(
            name.starts_with(macroFileName(c.family, c.genus, c.species, c.event).substr(0, 6)));
        EXPECT_EQ(macroScrpLine(name), c.scrp);
        EXPECT_EQ(macroEventNumber(name), c.event);
    }
}

TEST(MacroFileTest, AScriptIsCutAtCommasWithQuotesAtBothEnds) {
    EXPECT_EQ(macroFileLines("inst,snde honk,endm"),
              (std::vector<std::string>{"\"inst", "snde honk", "endm\""}));
    EXPECT_EQ(macroFileLines("endm"), (std::vector<std::string>{"\"endm\""}));
    EXPECT_EQ(macroFileLines("a,,b"), (std::vector<std::string>{"\"a", "", "b\""}));
    EXPECT_EQ(macroFileLines("a,"), (std::vector<std::string>{"\"a", "\""}));
    EXPECT_EQ(scriptRequestMacro({"2 13 1 ", 2, 13, 1}, 5), "inst,dde: scrp 2 13 1 5,endm");
}

// A world of 40 objects in 12 classes; 2 5 3 and 2 5 103 share their file names.
std::string fortyObjects() {
    const int classes[12][3] = {{2, 5, 3},   {2, 5, 103}, {2, 13, 1}, {2, 3, 255},
                                {2, 6, 247}, {2, 10, 4},  {3, 1, 1},  {3, 1, 2},
                                {2, 20, 7},  {2, 21, 8},  {2, 22, 9}, {4, 0, 1}};
    std::string seed;
    for (int i = 0; i < 40; ++i) {
        const auto& c = classes[i % 12];
        const std::int32_t number = Classifier{c[0], c[1], c[2]}.classNumber();
        seed += "inst,new: simp obj" + std::to_string(i) + " 1 0 10 0,setv clas " +
                std::to_string(number) + ",mvto " + std::to_string(i * 10) + " 100,endm\n";
    }
    seed +=
        "scrp 2 5 3 1,inst,snde honk,endm\n"
        "scrp 2 5 3 9,tick 0,endm\n"
        "scrp 2 5 103 1,inst,snde quak,mvto 1 2,endm\n"
        "scrp 2 13 1 72,endm\n"
        "scrp 3 1 2 0,inst,stim writ norn 10 255 0 0 0 0 0 0 0 0 0 0,endm\n"
        "scrp 9 9 9 1,inst,endm\n";  // a class without objects is never asked for
    return seed;
}

class ExtractionTest : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path mac = dir / "mac";
    std::vector<std::string> progress;
    int requests = 0;

    void SetUp() override {
        fs::create_directories(mac);
        std::ofstream(dir / "world.txt") << fortyObjects();
    }
    SimProcess startGame() {
        return SimProcess(dir / "game", {"--seed", (dir / "world.txt").string(), "--log",
                                         (dir / "log.txt").string()});
    }
    ExtractionResult extract(TCreatures& link, std::string_view language = "english",
                             std::function<void(int)> afterRequest = {}) {
        return extractAllMacros(
            [&](std::string_view macro) {
                const MacroOutcome outcome = link.SendMacro(macro);
                ++requests;
                if (afterRequest) afterRequest(requests);
                return outcome.answerIfReached();
            },
            mac, language, [this](const std::string& line) { progress.push_back(line); });
    }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(mac))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(ExtractionTest, AWorldOf40ObjectsIn12ClassesAsks12Times73AndWritesOneFilePerScript) {
    SimProcess sim = startGame();
    auto link = creaturesAt(sim.socketPath());
    const ExtractionResult result = extract(*link);

    EXPECT_EQ(requests, 1 + 12 * 73);
    EXPECT_EQ(result.requests, 1u + 12 * 73);
    EXPECT_EQ(result.classes, 12u);
    EXPECT_EQ(readFileLines(dir / "log.txt").size(), 1u + 12 * 73);
    EXPECT_EQ(result.files, 5u);
    EXPECT_EQ(files(), (std::set<std::string>{"02050301.MAC", "02050301-002005103.MAC",
                                              "02050309.MAC", "02130172.MAC", "03010200.MAC"}));

    EXPECT_EQ(readFileText(mac / "02050309.MAC"), "\"tick 0\r\nendm\"\r\n");
    EXPECT_EQ(readFileText(mac / "02130172.MAC"), "\"endm\"\r\n");
    EXPECT_EQ(readFileText(mac / "03010200.MAC"),
              "\"inst\r\nstim writ norn 10 255 0 0 0 0 0 0 0 0 0 0\r\nendm\"\r\n");
    // 2 5 103 comes after 2 5 3 in the world: its script gets a name of its own.
    EXPECT_EQ(readFileText(mac / "02050301.MAC"), "\"inst\r\nsnde honk\r\nendm\"\r\n");
    EXPECT_EQ(readFileText(mac / "02050301-002005103.MAC"),
              "\"inst\r\nsnde quak\r\nmvto 1 2\r\nendm\"\r\n");
}

TEST_F(ExtractionTest, ProgressLinesNameEachClassAndEachFileWritten) {
    SimProcess sim = startGame();
    auto link = creaturesAt(sim.socketPath());
    extract(*link);
    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress[0], "Be patient, this may take a while...");
    EXPECT_EQ(progress[1], "Scanning Object 1 of 12 (2 5 3 )");
    EXPECT_EQ(progress[2], "Writing file " + pathToUtf8(mac / "02050301.MAC"));
    EXPECT_EQ(progress[3], "Writing file " + pathToUtf8(mac / "02050309.MAC"));
    EXPECT_EQ(progress[4], "Scanning Object 2 of 12 (2 5 103 )");
    EXPECT_EQ(progress.size(), 1u + 12 + 5);

    progress.clear();
    extract(*link, "deutsch");
    EXPECT_EQ(progress[0], "Bitte haben Sie etwas geduld, dies kann einige Zeit dauern...");
    EXPECT_EQ(progress[1], "Untersuche Objekt 1 of 12 (2 5 3 )");
    EXPECT_EQ(progress[2], "schreibe Datei " + pathToUtf8(mac / "02050301.MAC"));
}

TEST_F(ExtractionTest, AMissingGameEndsTheRunAfterTheFirstLineWithOneMessage) {
    auto link = creaturesAt(dir / "nobody");
    int notices = 0;
    link->setNoticeSink([&notices](const BilingualBox&) { ++notices; });
    const ExtractionResult result = extract(*link);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(result.files, 0u);
    EXPECT_EQ(progress, std::vector<std::string>{"Be patient, this may take a while..."});
}

TEST_F(ExtractionTest, AGameThatGoesAwayStopsTheRunWithOneMessage) {
    auto sim = std::make_unique<SimProcess>(
        dir / "game", std::vector<std::string>{"--seed", (dir / "world.txt").string()});
    auto link = creaturesAt(sim->socketPath());
    int notices = 0;
    link->setNoticeSink([&notices](const BilingualBox&) { ++notices; });
    const ExtractionResult result = extract(*link, "english", [&](int done) {
        if (done == 1 + 73) sim.reset();  // gone after the first class
    });
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(requests, 1 + 73 + 1);
    EXPECT_EQ(result.files, 2u);
    EXPECT_EQ(files(), (std::set<std::string>{"02050301.MAC", "02050309.MAC"}));
    EXPECT_EQ(progress.back(), "The game no longer answers; the run stops here.");
}

TEST_F(ExtractionTest, AMissingMacFolderStopsAtTheFirstFile) {
    SimProcess sim = startGame();
    auto link = creaturesAt(sim.socketPath());
    fs::remove(mac);
    try {
        extract(*link);
        FAIL();
    } catch (const VekError& error) {
        EXPECT_EQ(error.detail().file, pathToUtf8(mac / "02050301.MAC"));
    }
    EXPECT_FALSE(fs::exists(mac));
    EXPECT_EQ(requests, 1 + 2) << "stopped at the first script returned";
    EXPECT_EQ(progress.back(), "Writing file " + pathToUtf8(mac / "02050301.MAC"));
}

TEST_F(ExtractionTest, FilesWrittenBeforeAFailureStayWhole) {
    SimProcess sim = startGame();
    auto link = creaturesAt(sim.socketPath());
    fs::create_directories(mac / "02050309.MAC");  // the second file cannot be written
    EXPECT_THROW(extract(*link), VekError);
    EXPECT_EQ(readFileText(mac / "02050301.MAC"), "\"inst\r\nsnde honk\r\nendm\"\r\n");
    EXPECT_EQ(files(), (std::set<std::string>{"02050301.MAC", "02050309.MAC"}))
        << "no half-written leftovers";
}

TEST_F(ExtractionTest, AnEnumerationAnswerWithABadPieceWritesNothing) {
    // The stand-in's answer to an unknown command is not a list of numbers.
    std::ofstream(dir / "world.txt") << "";
    SimProcess sim(dir / "game");
    auto link = creaturesAt(sim.socketPath());
    try {
        extractAllMacros(
            [&](std::string_view) {
                return link->SendMacro("inst,dde: putv 2,dde: putv x,endm").answer;
            },
            mac, "english", [](const std::string&) {});
        FAIL();
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.what()).find("ist kein gültiger Integerwert"),
                  std::string::npos);
    }
    EXPECT_TRUE(files().empty());
}

}  // namespace
}  // namespace vek::testing
