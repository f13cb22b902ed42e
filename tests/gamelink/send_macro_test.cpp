#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <mutex>
#include <optional>

#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "gamelink/sim_harness.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

using namespace std::chrono_literals;

// What a scripted game received, frame by frame.
struct Received {
    std::mutex mutex;
    std::vector<LinkFrame> frames;
    void add(const LinkFrame& frame) {
        std::lock_guard lock(mutex);
        frames.push_back(frame);
    }
    std::vector<LinkFrame> all() {
        std::lock_guard lock(mutex);
        return frames;
    }
};

// A well-behaved game that records every frame and answers requests with `answer`.
ScriptedServer::Handler recordingGame(Received& received, std::string answer) {
    return [&received, answer](int fd) {
        FrameReader reader(1 << 20);
        while (auto frame = readFrame(fd, reader)) {
            received.add(*frame);
            if (frame->kind == FrameKind::Request) {
                writeFrame(fd, {FrameKind::Data, frame->topic, frame->item, answer + '\0'});
            } else {
                writeFrame(fd, {FrameKind::Ack, frame->topic, frame->item, {}});
            }
        }
    };
}

struct Notices {
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    TCreatures::NoticeSink sink() {
        return [this](const BilingualBox& box) {
            texts.emplace_back(box.text.english);
            captions.emplace_back(box.caption.english);
        };
    }
};

class SendMacroTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path socket = dir / "game";
    Notices notices;

    std::unique_ptr<TCreatures> creatures(LinkTimeouts timeouts = {}) {
        auto c = creaturesAt(socket, timeouts);
        c->setNoticeSink(notices.sink());
        return c;
    }
};

TEST_F(SendMacroTest, PokesTheMacroWithItsZeroThenRequestsAndReturnsTheAnswer) {
    Received received;
    ScriptedServer game(socket, recordingGame(received, "7|8|"));
    auto link = creatures();
    link->setLinkTopic("VEK.EXE something");

    EXPECT_EQ(link->SendMacro("inst,endm").answer, "7|8|");

    const auto frames = received.all();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].kind, FrameKind::Connect);
    EXPECT_EQ(frames[0].topic, "VEK.EXE something");
    EXPECT_EQ(frames[1].kind, FrameKind::Poke);
    EXPECT_EQ(frames[1].item, "Macro");
    EXPECT_EQ(frames[1].data, std::string("inst,endm\0", 10));
    EXPECT_EQ(frames[1].data.size(), 10u);
    EXPECT_EQ(frames[2].kind, FrameKind::Request);
    EXPECT_EQ(frames[2].item, "Macro");
    EXPECT_TRUE(notices.texts.empty());
}

TEST_F(SendMacroTest, EveryCallIsAConversationOfItsOwnAndTheTopicIsTheCommandLine) {
    Received received;
    ScriptedServer game(socket, recordingGame(received, ""));
    auto link = creatures();
    link->SendMacro("inst,endm");
    link->SendMacro("inst,endm");
    EXPECT_EQ(game.connections(), 2);
    const auto frames = received.all();
    ASSERT_FALSE(frames.empty());
    // The test program's own command line names the conversation.
    EXPECT_NE(frames[0].topic.find("test_gamelink"), std::string::npos) << frames[0].topic;
}

// The game crashes on extra blanks: none goes out at either end of a macro.
TEST_F(SendMacroTest, AMacroIsSentUpToItsFirstZeroWithoutBlanksAtItsEnds) {
    Received received;
    ScriptedServer game(socket, recordingGame(received, std::string("abc\0def", 7)));
    auto link = creatures();
    const std::pair<std::string, std::string> sent[] = {
        {std::string("inst\0,kill targ,endm", 20), "inst"},
        {" \tinst,setv var0 1,endm \r\n", "inst,setv var0 1,endm"},
        {std::string("inst,say$ [a b] ,endm  \0 tail", 30), "inst,say$ [a b] ,endm"},
        {"   ", ""},
    };
    for (const auto& [macro, poked] : sent) {
        EXPECT_EQ(link->SendMacro(macro).answer, "abc") << macro;
        const auto frames = received.all();
        EXPECT_EQ(frames.at(frames.size() - 2).data, poked + '\0') << macro;
    }
}

TEST_F(SendMacroTest, AMissingGameIsReportedOncePerCallAfterOneStartAttempt) {
    auto link = creatures();
    int starts = 0;
    link->setGameStarter([&starts](const GamePaths&) {
        ++starts;
        return ProcessProbe();
    });
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
    EXPECT_EQ(starts, 2);
    ASSERT_EQ(notices.texts.size(), 2u);
    EXPECT_EQ(notices.texts[0], "Creatures not found! Run Creatures! ");
    EXPECT_EQ(notices.captions[0], "Error! No link possible!");
    // English in both languages.
    EXPECT_EQ(kCreaturesNotFoundBox.text.german, kCreaturesNotFoundBox.text.english);
}

TEST_F(SendMacroTest, AGameStartedByTheCallReceivesTheMacroInTheSameCall) {
    Received received;
    std::unique_ptr<ScriptedServer> game;
    auto link = creatures();
    link->setGameStarter([&](const GamePaths&) {
        game = std::make_unique<ScriptedServer>(socket, recordingGame(received, "started"));
        return ProcessProbe([] { return true; });
    });
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "started");
    EXPECT_TRUE(notices.texts.empty());
    game.reset();
}

TEST_F(SendMacroTest, AGameThatNeverAnswersGivesAnEmptyAnswerAfterThePokesTimeOut) {
    ScriptedServer game(socket, [](int fd) {
        FrameReader reader(1 << 20);
        auto connect = readFrame(fd, reader);
        writeFrame(fd, {FrameKind::Ack, connect->topic, {}, {}});
        while (readFrame(fd, reader)) {
            // Takes everything, answers nothing.
        }
    });
    // The request's long time-out is not waited for once the poke has gone unanswered.
    auto link = creatures({1000ms, 150ms, 20000ms});
    const auto start = std::chrono::steady_clock::now();
    const MacroOutcome outcome = link->SendMacro("inst,endm");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(outcome.answer, "");
    EXPECT_GE(took, 150ms);
    EXPECT_LT(took, 5000ms);
    EXPECT_EQ(outcome.kind, MacroOutcome::Kind::TimedOut);
    EXPECT_EQ(outcome.fault.english, "The game did not answer within 20 seconds");
    EXPECT_TRUE(notices.texts.empty()) << "a time-out is not reported";
}

TEST_F(SendMacroTest, AGameThatNeverTakesTheConversationIsSilentNotMissing) {
    ScriptedServer game(socket, [](int fd) {
        FrameReader reader(1 << 20);
        while (readFrame(fd, reader)) {
        }
    });
    auto link = creatures({100ms, 100ms, 100ms});
    int starts = 0;
    link->setGameStarter([&starts](const GamePaths&) {
        ++starts;
        return ProcessProbe();
    });
    EXPECT_EQ(link->SendMacro("inst,endm").kind, MacroOutcome::Kind::TimedOut);
    EXPECT_TRUE(notices.texts.empty()) << "a stopped game is not a missing one";
    EXPECT_EQ(starts, 0);
}

TEST_F(SendMacroTest, TheOutcomeCarriesTheAnswerOrWhyThereIsNone) {
    auto link = creatures();
    const MacroOutcome missing = link->SendMacro("inst,endm");
    EXPECT_EQ(missing.kind, MacroOutcome::Kind::NotReached);
    EXPECT_NE(missing.fault.english.find("no game serves there"), std::string::npos);
    EXPECT_EQ(notices.texts.size(), 1u) << "the link tells a missing game itself";

    // A game that takes the conversation but refuses every macro.
    ScriptedServer game(socket, [](int fd) {
        FrameReader reader(1 << 20);
        auto connect = readFrame(fd, reader);
        writeFrame(fd, {FrameKind::Ack, connect->topic, {}, {}});
        while (auto frame = readFrame(fd, reader))
            writeFrame(fd, {FrameKind::Refused, frame->topic, frame->item, {}});
    });
    const MacroOutcome refused = link->SendMacro("inst,endm");
    EXPECT_EQ(refused.kind, MacroOutcome::Kind::Refused);
    EXPECT_EQ(refused.fault.english, "The game refused the macro");
    EXPECT_EQ(refused.fault.german, "Das Spiel hat das Makro abgelehnt");
    EXPECT_FALSE(refused.answerIfReached());
    EXPECT_EQ(notices.texts.size(), 1u) << "a refusal is told by the outcome alone";
}

// A game that takes the conversation and the poke, then misbehaves at the request.
ScriptedServer::Handler misbehavingAtRequest(std::function<void(int)> misbehave) {
    return [misbehave](int fd) {
        FrameReader reader(1 << 20);
        while (auto frame = readFrame(fd, reader)) {
            if (frame->kind == FrameKind::Request) {
                misbehave(fd);
                return;
            }
            writeFrame(fd, {FrameKind::Ack, frame->topic, frame->item, {}});
        }
    };
}

TEST_F(SendMacroTest, FaultsOfTheGameAreReportedClearlyAndGiveAnEmptyAnswerWithoutWaiting) {
    const struct {
        const char* name;
        std::function<void(int)> misbehave;
        const char* expected;
    } cases[] = {
        {"garbled", [](int fd) { writeBytes(fd, "HELLO, this is not a frame at all"); },
         "not a link frame"},
        {"oversized",
         [](int fd) {
             std::string header = encodeFrame({FrameKind::Data, "t", "Macro", {}});
             header[7] = 0;
             header[8] = 0;
             header[9] = 0;
             header[10] = 0x10;  // 256 MiB announced
             writeBytes(fd, header);
         },
         "more than the"},
        {"closed mid-answer",
         [](int fd) {
             writeBytes(
                 fd, encodeFrame({FrameKind::Data, "t", "Macro", "half an answer"}).substr(0, 15));
         },
         "closed the conversation"},
        {"closed", [](int) {}, "closed the conversation"},
        {"wrong reply",
         [](int fd) {
             writeFrame(fd, {FrameKind::Connect, "t", {}, {}});
         },
         "something else than data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        notices.texts.clear();
        {
            ScriptedServer game(socket, misbehavingAtRequest(c.misbehave));
            auto link = creatures({5000ms, 5000ms, 5000ms});
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
            EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
        }
        ASSERT_EQ(notices.texts.size(), 1u);
        EXPECT_NE(notices.texts[0].find("The conversation with Creatures failed"),
                  std::string::npos);
        EXPECT_NE(notices.texts[0].find(c.expected), std::string::npos) << notices.texts[0];
    }
}

TEST_F(SendMacroTest, APeerClosingAfterThePokeIsReportedOnce) {
    ScriptedServer game(socket, [](int fd) {
        FrameReader reader(1 << 20);
        auto connect = readFrame(fd, reader);
        writeFrame(fd, {FrameKind::Ack, connect->topic, {}, {}});
        readFrame(fd, reader);  // the poke, then gone
    });
    auto link = creatures({5000ms, 5000ms, 5000ms});
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
    EXPECT_EQ(notices.texts.size(), 1u);
}

TEST_F(SendMacroTest, AMacroLongerThanTheBufferIsRefusedBeforeAnythingIsSent) {
    Received received;
    ScriptedServer game(socket, recordingGame(received, "ok"));
    auto link = creatures();
    const std::string longest(kMacroBufferLimit, 'x');
    EXPECT_EQ(link->SendMacro(longest).answer, "ok");
    EXPECT_EQ(received.all().at(1).data.size(), kMacroBufferLimit + 1);

    try {
        link->SendMacro(longest + "y");
        FAIL() << "a macro over the limit was sent";
    } catch (const VekError& error) {
        EXPECT_EQ(error.text(kLanguageEnglish),
                  "The macro is 262145 characters long; at most 262144 characters can be sent "
                  "to Creatures.");
        EXPECT_EQ(error.text(kLanguageGerman),
                  "Das Makro ist 262145 Zeichen lang; höchstens 262144 Zeichen können an "
                  "Creatures gesendet werden.");
    }
    EXPECT_EQ(game.connections(), 1);
}

TEST_F(SendMacroTest, AMainDirectoryThatIsNoFolderStopsTheCallBeforeAnyConnection) {
    Received received;
    ScriptedServer game(socket, recordingGame(received, ""));
    auto link = creatures();
    GamePaths paths;
    paths.CMainPath = (dir / "no such folder/").string();
    link->setPaths(paths);
    try {
        link->SendMacro("inst,endm");
        FAIL();
    } catch (const VekError& error) {
        EXPECT_STREQ(error.what(), "E/A-Fehler 3");
    }
    EXPECT_EQ(game.connections(), 0);
    const auto before = std::filesystem::current_path();
    paths.CMainPath = dir.path().string() + "/";
    link->setPaths(paths);
    link->SendMacro("inst,endm");
    EXPECT_EQ(std::filesystem::current_path(), before) << "the program's current folder stays";
}

TEST_F(SendMacroTest, AStaleSocketFileIsTheMissingGameAndIsReplacedByTheNextServer) {
    {
        // A server that died without removing its socket file.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    ASSERT_TRUE(std::filesystem::exists(socket));
    auto link = creatures();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(notices.texts.size(), 1u);

    SimProcess sim(socket);
    ASSERT_TRUE(sim.running()) << "the stand-in replaces a stale socket file";
    EXPECT_EQ(link->SendMacro("inst,dde: putv 5,endm").answer, "5|");
}

TEST(LocalSocketServerTest, RefusesALiveServerAndAFileThatIsNoSocket) {
    TempDir dir;
    LocalSocketServer first(dir / "game");
    try {
        LocalSocketServer second(dir / "game");
        FAIL();
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.what()).find("another game already serves"), std::string::npos);
    }
    std::ofstream(dir / "notes") << "mine";
    try {
        LocalSocketServer third(dir / "notes");
        FAIL();
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.what()).find("is not a socket"), std::string::npos);
    }
    std::ifstream in(dir / "notes");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "mine");
}

TEST(LocalSocketServerTest, TheSocketIsTheUsersAloneAndGoesAwayWithTheServer) {
    TempDir dir;
    const auto path = dir / "private" / "Vivarium";
    {
        LocalSocketServer server(path);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        ASSERT_EQ(::stat(path.parent_path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LocalSocketPathTest, TheServiceNamesTheSocketInTheRuntimeFolder) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = runtime ? runtime : "";
    const char* fixed = std::getenv("VEK_LINK_SOCKET");
    const std::string savedFixed = fixed ? fixed : "";
    ::unsetenv("VEK_LINK_SOCKET");
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4711", 1);
    EXPECT_EQ(localServicePath("Vivarium"), std::filesystem::path("/run/user/4711/Vivarium"));
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(localServicePath("Vivarium").filename(), "Vivarium");
    EXPECT_EQ(localServicePath("Vivarium").parent_path().filename(),
              "vekstudio-" + std::to_string(::getuid()));
    ::setenv("VEK_LINK_SOCKET", "/tmp/elsewhere", 1);
    EXPECT_EQ(localServicePath("Vivarium"), std::filesystem::path("/tmp/elsewhere"));
    savedRuntime.empty() ? ::unsetenv("XDG_RUNTIME_DIR")
                         : ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    savedFixed.empty() ? ::unsetenv("VEK_LINK_SOCKET")
                       : ::setenv("VEK_LINK_SOCKET", savedFixed.c_str(), 1);
}

TEST(LocalSocketClientTest, RefusesAFallbackFolderThatIsNotTheUsersPrivateOne) {
    TempDir dir;
    const ScopedEnv temp("TMPDIR", dir.path().c_str());
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const ScopedEnv fixed("VEK_LINK_SOCKET", nullptr);
    const auto folder = dir / ("vekstudio-" + std::to_string(::getuid()));
    ASSERT_EQ(localServicePath("Vivarium").parent_path(), folder);
    LocalSocketTransport transport;
    // No folder yet: simply no game.
    EXPECT_EQ(transport.connect("Vivarium", "t", 100ms), nullptr);

    struct Case {
        unsigned mode;
        uid_t owner;
        bool refused;
    };
    std::vector<Case> cases = {
        {0777, ::getuid(), true}, {0750, ::getuid(), true}, {0700, ::getuid(), false}};
    if (::getuid() == 0) cases.push_back({0700, 4711, true});  // only root can give it away
    for (const Case& c : cases) {
        std::filesystem::create_directories(folder);
        ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
        ASSERT_EQ(::chown(folder.c_str(), c.owner, static_cast<gid_t>(-1)), 0);
        try {
            EXPECT_EQ(transport.connect("Vivarium", "t", 100ms), nullptr);
            EXPECT_FALSE(c.refused) << std::oct << c.mode << " owner " << c.owner;
        } catch (const VekError& error) {
            EXPECT_TRUE(c.refused) << std::oct << c.mode;
            EXPECT_EQ(error.text("english"), "the folder is not a private folder of this user");
            EXPECT_EQ(error.detail().file, folder.string());
        }
        std::filesystem::remove_all(folder);
    }
}

TEST_F(SendMacroTest, TheConnectionTestOpensAndClosesAConversationOnItsOwnTopic) {
    auto link = creatures();
    int starts = 0;
    link->setGameStarter([&starts](const GamePaths&) {
        ++starts;
        return ProcessProbe();
    });
    EXPECT_FALSE(link->testConnection());
    EXPECT_EQ(starts, 0) << "the test does not start the game";

    Received received;
    ScriptedServer game(socket, recordingGame(received, ""));
    EXPECT_TRUE(link->testConnection());
    // Closed at once: the next conversation is served.
    EXPECT_EQ(link->SendMacro("inst,endm").answer, "");
    const auto frames = received.all();
    ASSERT_GE(frames.size(), 1u);
    EXPECT_EQ(frames[0].topic, "VEK.EXE");
    EXPECT_TRUE(notices.texts.empty());
}

}  // namespace
}  // namespace vek::testing
