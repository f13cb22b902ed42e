#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "app/file_io.h"
#include "app/socket_io.h"
#include "app/text_names.h"
#include "gamelink/launcher_object.h"
#include "gamelink/sim_harness.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "vivarium/world.h"
#include "vivarium/world_file.h"

namespace vek::testing {
namespace {

constexpr std::string_view kWhereAreThey =
    "inst,enum 0 0 0,dde: putv fmly,dde: putv gnus,dde: putv spcs,"
    "dde: putv posx,dde: putv posy,next,endm";

class VivariumSimTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path seedFile = dir / "world.txt";
    std::filesystem::path logFile = dir / "macros.log";

    void seed(const std::string& lines) { std::ofstream(seedFile) << lines; }
    SimProcess start() {
        return SimProcess(dir / "game", {"--seed", seedFile.string(), "--log", logFile.string()});
    }
};

TEST_F(VivariumSimTest, EnumeratesWithWildcardsAndPutsValuesEachFollowedByABar) {
    seed(
        "* a small world\n"
        "inst,new: simp ball 1 0 10 0,setv clas 33882880,mvto 10 20,endm\n"
        "inst,new: simp ball 1 0 10 0,setv clas 33883136,mvto 30 40,endm\n"
        "inst,new: simp toys 1 0 10 0,setv clas 50397440,mvto 50 60,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro(kWhereAreThey).answer, "2|5|3|10|20|2|5|4|30|40|3|1|1|50|60|");
    EXPECT_EQ(link->SendMacro("inst,enum 2 0 0,dde: putv spcs,next,endm").answer, "3|4|");
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 4,dde: putv posx,next,endm").answer, "30|");
    EXPECT_EQ(link->SendMacro("inst,enum 9 9 9,dde: putv posx,next,endm").answer, "");
    EXPECT_EQ(link->SendMacro("inst,dde: putv 42,endm").answer, "42|");
}

// The stand-in game's world stands on the installation's map file, as vek try's does.
TEST_F(VivariumSimTest, TheWorldHasTheRoomsAndTheGroundOfTheInstallationsMapFile) {
    const std::filesystem::path installation = dir / "installation";
    std::filesystem::create_directories(installation / "Images");
    std::ofstream(installation / "Images" / "vivarium-map.txt")
        << "room 4 0 0 300 200 2\nroom 7 300 0 640 200 3\nground 0 150\nground 1 160\n";
    seed("");
    SimProcess sim(dir / "game",
                   {"--seed", seedFile.string(), "--game-dir", installation.string()});
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro("inst,dde: putv room 10 10,dde: putv room 400 10,endm").answer,
              "4|7|");
    EXPECT_EQ(link->SendMacro("inst,dde: putv grnd 0,dde: putv grnd 1,endm").answer, "150|160|");
}

TEST_F(VivariumSimTest, StoresScriptsAndReturnsThemAsOneTextOrNothing) {
    seed("");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(
        link->SendMacro("dde: scrp 0 0 0 17,inst,scrp 2 5 3 1,snde honk,mvto 1 2,endm").answer, "");
    EXPECT_EQ(link->SendMacro("inst,dde: scrp 2 5 3 1,endm").answer, "snde honk,mvto 1 2,endm");
    EXPECT_EQ(link->SendMacro("inst,dde: scrp 2 5 3 2,endm").answer, "");
    // A later definition replaces the earlier one.
    link->SendMacro("inst,scrp 2 5 3 1,tick 5,endm");
    EXPECT_EQ(link->SendMacro("inst,dde: scrp 2 5 3 1,endm").answer, "tick 5,endm");
}

TEST_F(VivariumSimTest, AnUnknownCommandIsAnsweredWithAnErrorAndChangesNothing) {
    seed("inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    const std::string answer =
        link->SendMacro("inst,new: simp ball 1 0 10 0,setv clas 33882880,frobnicate 3,endm").answer;
    EXPECT_EQ(answer, "Error: unknown command 'frobnicate 3'");
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,dde: putv spcs,next,endm").answer, "3|");
    // Checked even where it would never run.
    EXPECT_NE(link->SendMacro("inst,enum 9 9 9,frobnicate,next,endm")
                  .answer.find("Error: unknown command"),
              std::string::npos);
    EXPECT_NE(link->SendMacro("inst,setv attr many,endm").answer.find("is not a number"),
              std::string::npos);
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,kill targ,endm").answer,
              "Error: \"enum\" is not closed by \"next\"");
    // A fault stops the macro where it is, as in the game: the kills before it stay done.
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,kill targ,next,mvto 1 2,endm").answer,
              "Error: macro: mvto needs a target, but there is none");
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,dde: putv spcs,next,endm").answer, "");
}

// The stand-in understands the game's dictionary: every word of it, with its arguments.
TEST_F(VivariumSimTest, TheGamesDictionaryDecidesWhatIsUnderstood) {
    seed("");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro("inst,snez,sndl wind,dde: putv chem 3,endm").answer, "0|");
    EXPECT_EQ(link->SendMacro("inst,tick,endm").answer, "Error: wrong number of values in 'tick'");
    EXPECT_EQ(link->SendMacro("inst,bhvr 1 2 3,endm").answer,
              "Error: wrong number of values in 'bhvr 1 2 3'");
    EXPECT_EQ(link->SendMacro("inst,star 2 5 3,endm").answer,
              "Error: unknown command 'star 2 5 3'");
    EXPECT_EQ(link->SendMacro("inst,tick frob,endm").answer,
              "Error: 'frob' is not a number in 'tick frob'");
}

TEST_F(VivariumSimTest, GeneratedSourcesRunAndTheirOtherCommandsAreAccepted) {
    seed("");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro(
                      "inst,new: simp eggs 8 32 2000 0,pose 0,setv clas 33882624,setv attr 64,"
                      "new: gene tokn abcd tokn efgh var0,setv obv0 var0,setv obv1 1,mvto 2848 868,"
                      "sys: cmra 2648 732,slim,evnt targ,tick 100,dde: negg,endm")
                  .answer,
              "");
    // Creatures are not modelled: a creature is made as an object without pictures, so the
    // commands meant for it run on.
    EXPECT_EQ(link->SendMacro("inst,new: crea tokn abcd 1,sys: cmra 2448 630,slim,"
                              "stim writ norn 10 255 0 0 0 0 0 0 0 0 0 0,endm")
                  .answer,
              "");
    EXPECT_EQ(link->SendMacro("inst,new: crea tokn abcd 1,mvto 2548 800,endm").answer, "");
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 2,dde: putv attr,next,endm").answer, "64|");
}

TEST_F(VivariumSimTest, KillsTheTargetAndTheObjectInEditMode) {
    seed(
        "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
        "inst,new: simp ball 1 0 10 0,setv clas 33882880,edit,endm\n"
        "inst,new: simp toys 1 0 10 0,setv clas 33883136,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    link->SendMacro("inst,kill edit,endm");
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,dde: putv targ,next,endm").answer, "1|3|");
    link->SendMacro("inst,kill edit,endm").answer;  // nothing held: nothing happens
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 4,kill targ,next,endm").answer, "");
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,dde: putv targ,next,endm").answer, "1|");
    EXPECT_EQ(link->SendMacro("inst,sys: wtop,endm").answer, "");
}

TEST_F(VivariumSimTest, TheLauncherObjectPressedTwiceLeavesOneObjectAtItsPlace) {
    seed("inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    GamePaths paths;
    paths.CImagePath = (dir / "Images/").string();
    std::filesystem::create_directories(dir / "Images");
    link->setPaths(paths);
    std::filesystem::create_directories(dir / "program");
    writeFileAtomically(dir / "program" / "rpsw.kev", std::string_view("first picture"));

    putLauncherObject(*link, dir / "program");
    EXPECT_EQ(readFileText(dir / "Images" / "vekw.spr"), "first picture");
    writeFileAtomically(dir / "program" / "rpsw.kev", std::string_view("second picture"));
    putLauncherObject(*link, dir / "program");
    EXPECT_EQ(readFileText(dir / "Images" / "vekw.spr"), "second picture");

    EXPECT_EQ(
        link->SendMacro("inst,enum 2 3 255,dde: putv posx,dde: putv posy,dde: putv attr,next,endm")
            .answer,
        "4597|440|48|");
    EXPECT_EQ(link->SendMacro("inst,enum 0 0 0,dde: putv spcs,next,endm").answer, "3|255|");
    const auto log = readFileLines(logFile);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], kLauncherMacro);
    EXPECT_EQ(log[1], kLauncherMacro);
}

TEST_F(VivariumSimTest, TheLauncherObjectIsSentEvenWithoutAPicture) {
    seed("");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    GamePaths paths;
    paths.CImagePath = (dir / "missing/").string();
    link->setPaths(paths);
    putLauncherObject(*link, dir / "nowhere");
    EXPECT_EQ(link->SendMacro("inst,enum 2 3 255,dde: putv posx,next,endm").answer, "4597|");
}

TEST_F(VivariumSimTest, LogsEveryMacroAsALineAndServesConversationsOneAfterAnother) {
    seed("");
    SimProcess sim = start();
    auto first = creaturesAt(sim.socketPath());
    auto second = creaturesAt(sim.socketPath());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ((i % 2 ? first : second)
                      ->SendMacro("inst,dde: putv " + std::to_string(i) + ",endm")
                      .answer,
                  std::to_string(i) + "|");
    }
    const auto log = readFileLines(logFile);
    ASSERT_EQ(log.size(), 20u);
    EXPECT_EQ(log[7], "inst,dde: putv 7,endm");
}

// Clients that keep their conversations open, one half-way through a macro, keep nobody else
// waiting; each conversation is answered what its own macro gave.
TEST_F(VivariumSimTest, ServesOtherClientsWhileConversationsStayOpen) {
    using namespace std::chrono_literals;
    seed("");
    SimProcess sim = start();
    LocalSocketTransport transport(sim.socketPath());
    auto idle = transport.connect(kLinkService, "idle", 1000ms);
    auto halfway = transport.connect(kLinkService, "halfway", 1000ms);
    ASSERT_TRUE(idle && halfway);
    const std::string macro = "inst,dde: putv 7,endm";
    const std::string buffer = macro + '\0';
    ASSERT_EQ(halfway->poke(kLinkItem, buffer, 1000ms).status, LinkStatus::Ok);

    // A second each, far less than the idle time-out of the held ones.
    auto link = creaturesAt(sim.socketPath(), {1000ms, 1000ms, 1000ms});
    for (int i = 0; i < 5; ++i) {
        const MacroOutcome outcome =
            link->SendMacro("inst,dde: putv " + std::to_string(100 + i) + ",endm");
        EXPECT_EQ(outcome.kind, MacroOutcome::Kind::Answered);
        EXPECT_EQ(outcome.answer, std::to_string(100 + i) + "|");
    }

    std::string answer;
    ASSERT_EQ(halfway->request(kLinkItem, 1000ms, answer).status, LinkStatus::Ok);
    EXPECT_EQ(answer, std::string("7|") + '\0');
    ASSERT_EQ(idle->poke(kLinkItem, buffer, 1000ms).status, LinkStatus::Ok);
    ASSERT_EQ(idle->request(kLinkItem, 1000ms, answer).status, LinkStatus::Ok);
    EXPECT_EQ(answer, std::string("7|") + '\0');
}

// The objects show the installation's sprite files, found as vek try finds them (the option,
// VEK_GAME_DIR, the game's key in the Wine prefix), and the stand-in says at start which it uses.
TEST_F(VivariumSimTest, ObjectsTakeTheirSizesFromTheInstallationItNamesAtStart) {
    namespace fs = std::filesystem;
    const fs::path prefix = dir / "prefix";
    const fs::path game = prefix / "drive_c" / "Creatures";
    fs::create_directories(game / "Images");
    writeSpriteFile(game / "Images" / "BALL.SPR",
                    std::vector<SpriteImage>(4, SpriteImage(20, 10, 7)));
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    writeFileAtomically(
        prefix / "system.reg",
        std::string_view("WINE REGISTRY Version 2\n\n"
                         "[Software\\\\Millennium Interactive\\\\Creatures\\\\1.0] 1\n"
                         "\"Image Directory\"=\"C:\\\\Creatures\\\\Images\\\\\"\n"));
    seed("inst,new: simp ball 4 0 10 0,setv clas 33882880,mvto 10 20,endm\n");
    const std::string images = pathToUtf8(game / "Images") + "/";
    const std::string wineImages = pathToUtf8(fs::canonical(game / "Images")) + "/";
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> environment;
        std::string said;
    };
    const Case cases[] = {
        {{"--game-dir", pathToUtf8(game)},
         {"VEK_GAME_DIR=" + pathToUtf8(dir / "elsewhere")},
         images + " (--game-dir)"},
        {{}, {"VEK_GAME_DIR=" + pathToUtf8(game)}, images + " (VEK_GAME_DIR)"},
        {{},
         {"VEK_GAME_DIR=", "WINEPREFIX=" + pathToUtf8(prefix)},
         wineImages + " (the game's key in the Wine prefix " + pathToUtf8(prefix) + ")"}};
    for (const Case& c : cases) {
        std::vector<std::string> options = {"--seed", seedFile.string()};
        options.insert(options.end(), c.options.begin(), c.options.end());
        SimProcess sim(dir / "game", options, c.environment, dir / "out.txt");
        ASSERT_TRUE(sim.running()) << c.said;
        auto link = creaturesAt(sim.socketPath());
        EXPECT_EQ(link->SendMacro("inst,enum 2 5 3,dde: putv posr,dde: putv posb,next,endm").answer,
                  "30|30|")
            << c.said;
        EXPECT_NE(readFileText(dir / "out.txt").find("vivarium-sim: sprite files from " + c.said),
                  std::string::npos)
            << readFileText(dir / "out.txt");
    }
    const int missing =
        runProgram({(binaryDirectory() / "vivarium-sim").string(), "--socket",
                    (dir / "game").string(), "--game-dir", (dir / "missing").string()},
                   {}, dir / "missing.txt");
    EXPECT_EQ(missing, 1) << "a named installation that is not there stops the start";
}

// A connection to the socket that never sends a byte.
UniqueFd silentConnection(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fillUnixAddress(socketPath, address) ||
        ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        fd.reset();
    return fd;
}

// Connections that never speak give their places up within a couple of seconds, not after the
// idle time-out of a conversation: more of them than the server serves at once keep a client
// that speaks waiting no longer than that, and the server closes them.
TEST_F(VivariumSimTest, ConnectionsThatNeverSpeakGiveTheirPlacesUpSoon) {
    using namespace std::chrono_literals;
    seed("");
    SimProcess sim = start();
    std::vector<UniqueFd> silent;
    for (int k = 0; k < 40; ++k) {
        silent.push_back(silentConnection(sim.socketPath()));
        ASSERT_GE(silent.back().get(), 0);
    }
    const auto started = std::chrono::steady_clock::now();
    auto link = creaturesAt(sim.socketPath(), {8000ms, 8000ms, 8000ms});
    const MacroOutcome outcome = link->SendMacro("inst,dde: putv 5,endm");
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(outcome.kind, MacroOutcome::Kind::Answered);
    EXPECT_EQ(outcome.answer, "5|");
    EXPECT_LT(waited, kFirstFrameTimeout * 2 + 1s) << "the idle time-out is 30 s";
    char byte = 0;
    EXPECT_EQ(::recv(silent.front().get(), &byte, 1, 0), 0) << "the server closed it";
}

// Asks the world a question until the answer is `wanted` or five seconds have passed.
std::string answerOnceItIs(TCreatures& link, std::string_view macro, const std::string& wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::string answer;
    do {
        answer = link.SendMacro(macro).answer;
        if (answer == wanted) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return answer;
}

int firstNumber(const std::string& answer) { return std::stoi(answer.substr(0, answer.find('|'))); }

// The world runs while the stand-in serves: a timer script of every tick counts the ticks in an
// object variable, ten a second, between one conversation and the next.
TEST_F(VivariumSimTest, TimerScriptsTickTenTimesASecondBetweenConversations) {
    seed(
        "inst,scrp 2 5 3 9,addv obv0 1,endm\n"
        "inst,new: simp ball 1 0 10 0,setv clas 33882880,tick 1,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    constexpr std::string_view kCount = "inst,enum 2 5 3,dde: putv obv0,next,endm";
    const auto started = std::chrono::steady_clock::now();
    const int first = firstNumber(link->SendMacro(kCount).answer);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const int later = firstNumber(link->SendMacro(kCount).answer);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    EXPECT_GE(later - first, 3) << "ticks while idle";
    // Never faster than the game: the ticks since start-up, and one more for the one under way.
    EXPECT_LE(later, elapsed.count() / 100 + 2) << "at most ten ticks a second";
}

// What the link sends runs in the world: a message starts the object's script on its next
// tick, whose animation the answers then show pose by pose, from the world's real state.
TEST_F(VivariumSimTest, AMessageRunsTheObjectsScriptAndTheAnswersShowWhatItDid) {
    seed(
        "inst,scrp 2 5 3 1,mvto 77 88,anim [231],setv obv1 5,endm\n"
        "inst,new: simp ball 4 0 10 0,setv clas 33882880,mvto 10 20,endm\n");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 3,mesg writ targ 0,dde: putv posx,next,endm").answer,
              "10|")
        << "the script runs at the object's next tick, not inside the macro";
    constexpr std::string_view kWhere =
        "inst,enum 2 5 3,dde: putv posx,dde: putv posy,dde: putv obv1,next,endm";
    EXPECT_EQ(answerOnceItIs(*link, kWhere, "77|88|5|"), "77|88|5|");
    // The animation ends on its last frame and stays there.
    EXPECT_EQ(answerOnceItIs(*link, "inst,enum 2 5 3,dde: putv pose,next,endm", "1|"), "1|");
}

TEST_F(VivariumSimTest, StopsCleanlyOnSigintAndSigterm) {
    seed("");
    for (int signal : {SIGINT, SIGTERM}) {
        SimProcess sim = start();
        ASSERT_TRUE(sim.running());
        EXPECT_EQ(sim.stop(signal), 0);
        EXPECT_FALSE(std::filesystem::exists(dir / "game")) << "the socket file is removed";
    }
}

// A seed that cannot be run stops the start, saying why: a line the world refuses, at its line;
// a file larger than a world file holds, at once and without reading it.
TEST_F(VivariumSimTest, ASeedThatCannotBeRunStopsTheStartSayingWhy) {
    struct Case {
        std::string lines;       // the seed's text
        std::uint64_t size = 0;  // or a file of this many bytes that takes no room on the disk
        std::string said;
    };
    const Case cases[] = {
        {"inst,endm\ninst,bogus,endm\n", 0,
         "the world refuses: unknown command 'bogus'\n" + pathToUtf8(seedFile) + ", line 2"},
        {"", vivarium::kMaxWorldFileSize + 1, "holds at most 67108864"},
        {"", std::uint64_t{10} << 30, "holds at most 67108864"},
    };
    for (const Case& c : cases) {
        seed(c.lines);
        if (c.size != 0) std::filesystem::resize_file(seedFile, c.size);
        const auto started = std::chrono::steady_clock::now();
        const int status = runProgram(
            {(binaryDirectory() / "vivarium-sim").string(), "--socket", (dir / "game").string(),
             "--game-dir", spritelessInstallation(dir / "game"), "--seed", seedFile.string()},
            {}, dir / "out.txt");
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(status, 1) << c.said;
        const std::string errors = readFileText(dir / "out.txt.err");
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
        EXPECT_LT(took, std::chrono::seconds(5)) << c.said;
    }
}

// Each is answered within the link's time-out, so that no client waits for another's macro.
TEST_F(VivariumSimTest, AMacroPastTheBoundsOfATickIsAnsweredWithAnErrorAtOnce) {
    seed("");
    SimProcess sim = start();
    auto link = creaturesAt(sim.socketPath());
    const auto freezes = [](const Bilingual& reason, long long bound) {
        return "Error: macro: " + fill(reason, {std::to_string(bound)}).english;
    };
    // 33,000 objects a macro, as many as one script's commands allow, up to the world's bound.
    constexpr int kMadeAMacro = 33000;
    std::string answer;
    for (std::size_t made = 0; made <= vivarium::kObjectLimit; made += kMadeAMacro) {
        answer = link->SendMacro("inst,reps " + std::to_string(kMadeAMacro) +
                                 ",new: simp ball 1 0 10 0,repe,endm")
                     .answer;
    }
    EXPECT_EQ(answer,
              freezes(Msg::VivariumTooManyObjects, static_cast<long long>(vivarium::kObjectLimit)));
    // Counting them over and over.
    EXPECT_EQ(link->SendMacro("inst,loop,setv var0 totl 0 0 0,ever,endm").answer,
              freezes(Msg::VivariumTickTooBusy, vivarium::kTickWorkLimit));
    // Writing more than the link carries.
    const std::string piece(200000, 'x');
    EXPECT_EQ(
        link->SendMacro("inst,reps " + std::to_string(vivarium::kAnswerLimit / piece.size() + 1) +
                        ",dde: puts [" + piece + "],repe,endm")
            .answer,
        "Error: macro: " +
            fill(Msg::VivariumAnswerTooLong, {std::to_string(vivarium::kAnswerLimit)}).english);
    EXPECT_EQ(link->SendMacro("inst,dde: putv 42,endm").answer, "42|");
}

// A seed that cannot be read is told in English, as vek tells it; a refused line and the faults
// of seeding show what would steer a terminal escaped.
TEST_F(VivariumSimTest, SeedFailuresAreToldInEnglishWithControlsEscaped) {
    std::filesystem::create_directories(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    seed("inst,endm\ninst,bog\x1b[2Jus\x07,endm\n");
    const struct {
        std::filesystem::path seed;
        std::string said;
    } cases[] = {
        {dir / "missing.txt", "vivarium-sim: File not found"},
        {dir / "folder", "vivarium-sim: File not found"},
        {dir / "fifo", "vivarium-sim: File not found"},
        {"/dev/zero", "vivarium-sim: File not found"},
        {seedFile, "unknown command 'bog\\x1b[2Jus\\x07"},
    };
    for (const auto& c : cases) {
        const int status = runProgram({(binaryDirectory() / "vivarium-sim").string(), "--socket",
                                       (dir / "game").string(), "--seed", c.seed.string()},
                                      {}, dir / "out.txt");
        EXPECT_EQ(status, 1) << c.seed;
        const std::string errors = readFileText(dir / "out.txt.err");
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
        EXPECT_EQ(errors.find("Datei"), std::string::npos) << errors;
        EXPECT_EQ(errors.find_first_of("\x1b\x07"), std::string::npos) << errors;
    }
}

}  // namespace
}  // namespace vek::testing
