#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/bridge_frame.h"
#include "gamelink/creatures.h"
#include "gamelink/link_choice.h"
#include "gamelink/sim_harness.h"
#include "gamelink/wine_bridge.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

using namespace std::chrono_literals;

TEST(BridgeFrameTest, FramesSurviveTheStreamCutAnywhere) {
    const std::vector<BridgeFrame> frames = {
        {BridgeKind::Connect, 10000, "Vivarium", "VEK.EXE"},
        {BridgeKind::Poke, 5, "Macro", std::string("inst,endm\0", 10)},
        {BridgeKind::Data, 0, {}, std::string(70000, '\xfc')},
        {BridgeKind::Disconnect, 0, {}, {}},
    };
    std::string stream;
    for (const BridgeFrame& frame : frames) stream += encodeBridgeFrame(frame);
    for (const std::size_t step : {std::size_t{1}, std::size_t{7}, stream.size()}) {
        BridgeFrameReader reader(1 << 20);
        std::vector<BridgeFrame> read;
        for (std::size_t at = 0; at < stream.size(); at += step) {
            reader.append(std::string_view(stream).substr(at, step));
            while (auto frame = reader.next()) read.push_back(*frame);
        }
        EXPECT_EQ(read, frames) << "cut every " << step << " bytes";
    }
}

TEST(BridgeFrameTest, StrangeOrOversizedFramesAreRefused) {
    std::string unknownKind = encodeBridgeFrame({BridgeKind::Ok, 0, {}, {}});
    unknownKind[4] = 'Z';
    const std::string tooLong = encodeBridgeFrame({BridgeKind::Data, 0, {}, std::string(100, 'x')});
    std::string shortName = encodeBridgeFrame({BridgeKind::Ok, 0, "ab", {}});
    shortName[0] = 8;  // shorter than its own name
    for (const std::string& bytes : {unknownKind, tooLong, shortName}) {
        BridgeFrameReader reader(64);
        reader.append(bytes);
        EXPECT_THROW(reader.next(), VekError);
    }
    EXPECT_THROW(encodeBridgeFrame({BridgeKind::Connect, 0, std::string(256, 'n'), {}}), VekError);
}

TEST(LinkChoiceTest, TheLinkFollowsTheRequestElseWhereTheGameIs) {
    struct Case {
        std::optional<std::string> requested;
        bool inPrefix, named, wine;
        LinkKind expected;
    };
    const std::vector<Case> cases = {
        {{}, false, false, true, LinkKind::Socket},
        {{}, true, false, true, LinkKind::Wine},
        {{}, false, true, true, LinkKind::Wine},
        {{}, true, true, false, LinkKind::Socket},
        {"socket", true, true, true, LinkKind::Socket},
        {"wine", false, false, false, LinkKind::Wine},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseLink({c.requested, c.inPrefix, c.named, c.wine}), c.expected)
            << c.requested.value_or("-") << c.inPrefix << c.named << c.wine;
    }
    EXPECT_THROW(chooseLink({"dde", false, false, true}), VekError);
}

// A game reached in memory: it answers once `up` is set and echoes each poke.
class FakeGame : public LinkTransport {
  public:
    bool up = false;
    LinkResult absent = LinkResult::refused();
    std::vector<std::string> poked;

    std::unique_ptr<LinkConversation> connect(std::string_view, std::string_view,
                                              std::chrono::milliseconds) override {
        if (!up) return nullptr;
        return std::make_unique<Conversation>(*this);
    }
    LinkResult connectFailure() const override { return absent; }

  private:
    struct Conversation : LinkConversation {
        explicit Conversation(FakeGame& game) : m_game(game) {}
        LinkResult poke(std::string_view, std::span<const char> data,
                        std::chrono::milliseconds) override {
            m_game.poked.emplace_back(data.data(), data.size());
            return LinkResult::ok();
        }
        LinkResult request(std::string_view, std::chrono::milliseconds,
                           std::string& answer) override {
            answer = m_game.poked.back();
            return LinkResult::ok();
        }
        FakeGame& m_game;
    };
};

class StartPathTest : public ::testing::Test {
  protected:
    std::shared_ptr<FakeGame> game = std::make_shared<FakeGame>();
    TCreatures link{GamePathSources{}};
    int starts = 0;
    std::vector<std::string> notices;
    std::vector<bool> busy;

    void SetUp() override {
        link.setLinkTransport(game);
        link.setNoticeSink(
            [this](const BilingualBox& box) { notices.emplace_back(box.text.english); });
        link.setBusySink([this](bool on) { busy.push_back(on); });
        link.setGameStartWait(300ms, 10ms);
    }
};

TEST_F(StartPathTest, TextTravelsInTheGamesCodePageAndTheLimitCountsItsBytes) {
    game->up = true;
    EXPECT_EQ(link.SendMacro("Grüße").answer, "Grüße");
    EXPECT_EQ(game->poked.back(), std::string("Gr\xfc\xdf"
                                              "e\0",
                                              6));
    // Two UTF-8 bytes a character, one on the link: the full buffer is accepted.
    std::string full;
    for (std::size_t i = 0; i < kMacroBufferLimit; ++i) full += "ü";
    EXPECT_NO_THROW(link.SendMacro(full).answer);
    EXPECT_EQ(game->poked.back().size(), kMacroBufferLimit + 1);
    EXPECT_THROW(link.SendMacro(full + "x").answer, VekError);
}

TEST_F(StartPathTest, AGameStartingSlowlyIsStartedOnceAndGetsEveryMacro) {
    link.setGameStarter([this](const GamePaths&) {
        ++starts;
        return ProcessProbe([] { return true; });
    });
    // The game comes up while the first call polls.
    link.setBusySink([this](bool on) {
        busy.push_back(on);
        if (on) game->up = true;
    });
    EXPECT_EQ(link.SendMacro("inst,endm").answer, "inst,endm");
    EXPECT_EQ(link.SendMacro("inst,endm").answer, "inst,endm");
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(game->poked.size(), 2u);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_TRUE(notices.empty());
}

TEST_F(StartPathTest, AStartedGameThatNeverAnswersIsNotStartedAgainWhileItRuns) {
    bool running = true;
    link.setGameStarter([&](const GamePaths&) {
        ++starts;
        return ProcessProbe([&running] { return running; });
    });
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(link.SendMacro("inst,endm").answer, "");
    EXPECT_GE(std::chrono::steady_clock::now() - before, 300ms);
    EXPECT_EQ(link.SendMacro("inst,endm").kind, MacroOutcome::Kind::NotReached);
    EXPECT_EQ(starts, 1) << "no second copy while the first runs";
    EXPECT_EQ(notices.size(), 2u);
    running = false;
    link.SendMacro("inst,endm");
    EXPECT_EQ(starts, 2) << "a game that ended is started again";
}

TEST_F(StartPathTest, ASilentGameTimesOutAndABrokenLinkSaysWhyWithoutTheMissingGameBox) {
    game->absent = LinkResult::timedOut();
    EXPECT_EQ(link.SendMacro("inst,endm").kind, MacroOutcome::Kind::TimedOut);
    EXPECT_TRUE(notices.empty());
    game->absent = LinkResult::broken({"Wine is not installed", "Wine fehlt"});
    EXPECT_EQ(link.SendMacro("inst,endm").kind, MacroOutcome::Kind::Broken);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Wine is not installed"), std::string::npos);
    EXPECT_EQ(starts, 0);
}

TEST(StartPathWineTest, APrefixWithoutTheGameSaysWhereItLookedInsteadOfRunCreatures) {
    TempDir prefix;
    GamePathSources sources;
    sources.link = "wine";
    sources.winePrefix = prefix.path();
    sources.winePrefixNamed = true;
    TCreatures link(sources);
    link.setLinkTransport(std::make_shared<FakeGame>());
    std::vector<std::string> notices;
    link.setNoticeSink([&](const BilingualBox& box) { notices.emplace_back(box.text.english); });
    EXPECT_EQ(link.SendMacro("inst,endm").answer, "");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("not installed in the Wine prefix " + prefix.path().string()),
              std::string::npos)
        << notices[0];
}

TEST(StartPathSocketTest, OneCallStartsTheStandInOnceAfterItsDelayAndEveryMacroArrives) {
    TempDir dir;
    const std::filesystem::path socket = dir / "game";
    // A game that needs a second to start: the stand-in behind a delay.
    std::ofstream(dir / "creatures.exe")
        << "#!/bin/sh\nexec " << (binaryDirectory() / "vivarium-sim").string() << " --socket "
        << socket.string() << " --game-dir " << spritelessInstallation(socket) << " --log "
        << (dir / "log.txt").string() << " --started " << (dir / "started.txt").string()
        << " --start-delay 1000 >/dev/null\n";
    std::filesystem::permissions(dir / "creatures.exe", std::filesystem::perms::owner_all);
    auto link = creaturesAt(socket, {});
    GamePaths paths;
    paths.CMainPath = dir.path().string() + "/";
    link->setPaths(paths);
    link->setGameStarter([](const GamePaths& p) { return startGameEmbedded(p); });
    std::vector<std::string> notices;
    link->setNoticeSink([&](const BilingualBox& box) { notices.emplace_back(box.text.english); });
    for (int i = 0; i < 3; ++i) link->SendMacro("inst,endm");
    EXPECT_TRUE(notices.empty());
    const auto started = readFileLines(dir / "started.txt");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(readFileLines(dir / "log.txt").size(), 3u);
    ::kill(std::stoi(started[0]), SIGTERM);
}

// A bridge in Python that is slow to start: each Connect is refused while the file "refuse" exists,
// a poke is answered by a request with its text, and every read is logged as the kinds of its
// frames.
constexpr const char* kFakeBridge = R"(import os, struct, time
folder = os.path.dirname(os.path.abspath(__file__))
def reply(kind, data=b''):
    rest = struct.pack('<cIH', kind, 0, 0) + data
    os.write(1, struct.pack('<I', len(rest)) + rest)
time.sleep(0.7)  # as slow to start as Wine
reply(b'H', b'i686')
pending, connected, last = b'', False, b''
while True:
    chunk = os.read(0, 65536)
    if not chunk:
        break
    pending += chunk
    kinds = ''
    while len(pending) >= 4 and len(pending) >= 4 + struct.unpack('<I', pending[:4])[0]:
        size = struct.unpack('<I', pending[:4])[0]
        kind, _, name = struct.unpack('<cIH', pending[4:11])
        data, pending = pending[11 + name:4 + size], pending[4 + size:]
        kinds += kind.decode()
        if kind == b'C':
            connected = not os.path.exists(folder + '/refuse')
            reply(b'A' if connected else b'N')
        elif kind == b'X':
            connected = False
        elif not connected:
            reply(b'B', b'no conversation is open')
        elif kind == b'P':
            last = data
            reply(b'A')
        else:
            reply(b'D', last)
    with open(folder + '/reads.txt', 'a') as log:
        log.write(kinds + '\n')
)";

TEST(WineBridgeTransportTest,
     ASlowStartIsToldAConversationIsOneWriteAndARefusalKeepsTheRepliesInStep) {
    TempDir dir;
    if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "no python3";
    std::ofstream(dir / "bridge.py") << kFakeBridge;
    auto bridge = std::make_shared<WineBridgeTransport>(
        dir.path(), std::vector<BridgeProgram>{{"/usr/bin/python3", dir / "bridge.py"}});
    TCreatures link{GamePathSources{}};
    link.setLinkTransport(bridge);
    link.setGameStarter([](const GamePaths&) { return ProcessProbe(); });
    link.setNoticeSink([](const BilingualBox&) {});
    std::vector<bool> slow;
    link.setSlowLinkSink([&](bool on) { slow.push_back(on); });
    EXPECT_EQ(link.SendMacro("inst,dde: putv 1,endm").answer, "inst,dde: putv 1,endm");
    EXPECT_EQ(slow, (std::vector<bool>{true, false})) << "the slow start is shown, once";
    std::ofstream(dir / "refuse");
    EXPECT_EQ(link.SendMacro("inst,endm").kind, MacroOutcome::Kind::NotReached);
    std::filesystem::remove(dir / "refuse");
    EXPECT_EQ(link.SendMacro("Grüße").answer, "Grüße")
        << "the replies of the refused one are all read";
    // The connection test's lone connect and its disconnect come as they are asked for.
    EXPECT_TRUE(link.testConnection());
    const std::vector<std::string> reads = readFileLines(dir / "reads.txt");
    EXPECT_EQ(std::vector<std::string>(reads.begin(),
                                       reads.begin() + std::min<std::size_t>(3, reads.size())),
              (std::vector<std::string>{"CPRX", "CPRX", "CPRX"}));
}

}  // namespace
}  // namespace vek::testing
