#include <gtest/gtest.h>

#include <sstream>

#include "app/file_io.h"
#include "gamelink/in_process_link.h"
#include "lsp_client.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

constexpr int kShowError = 1;
constexpr int kShowInfo = 3;

// A stand-in game inside the test: a world that runs each macro it is sent, and keeps them.
class RecordingGame {
  public:
    RecordingGame()
        : m_link(std::make_shared<InProcessLink>([this](std::string_view macro) {
              received.emplace_back(macro);
              return world.runMacro(MacroText(macro), nullptr);
          })) {}
    RecordingGame(const RecordingGame&) = delete;
    RecordingGame& operator=(const RecordingGame&) = delete;

    // The commands reach this game, inject without the real wait, and read sprite files from
    // `images` where one is given.
    lsp::CommandSurroundings surroundings(std::filesystem::path images = {}) const {
        lsp::CommandSurroundings surroundings;
        surroundings.transport = m_link;
        surroundings.wait = [](std::chrono::milliseconds) {};
        if (!images.empty())
            surroundings.imageDirectory = [images](const GamePathSources&) { return images; };
        return surroundings;
    }

    std::vector<std::string> received;
    vivarium::World world;

  private:
    std::shared_ptr<InProcessLink> m_link;
};

// An image directory whose DOGG.SPR holds three images.
class ThreeImageSprites {
  public:
    ThreeImageSprites() {
        const std::vector<SpriteImage> images(3, SpriteImage(8, 6, 1));
        writeSpriteFile(m_dir / "DOGG.SPR", images);
    }
    const std::filesystem::path& directory() const { return m_dir.path(); }

  private:
    TempDir m_dir;
};

std::string joinedLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).push_back('\n');
    return text;
}

// What one command brought: its reply and the message the user was shown.
struct CommandReply {
    Json reply;
    Json shown;  // window/showMessage's params, null when none came
};

CommandReply runCommandOf(TestClient& client, const std::string& command, const Json& arguments) {
    CommandReply answer;
    for (const Json& message :
         client.send({{"jsonrpc", "2.0"},
                      {"id", 41},
                      {"method", "workspace/executeCommand"},
                      {"params", {{"command", command}, {"arguments", arguments}}}})) {
        if (message.value("method", "") == "window/showMessage") answer.shown = message["params"];
        if (message.contains("id") && message["id"] == 41) answer.reply = message;
    }
    return answer;
}

// The lines (from 1) that diagnostics of one source name.
std::vector<int> linesFrom(const Json& diagnostics, const std::string& source) {
    std::vector<int> lines;
    for (const Json& diagnostic : diagnostics) {
        if (diagnostic.value("source", "") == source)
            lines.push_back(diagnostic["range"]["start"]["line"].get<int>() + 1);
    }
    return lines;
}

// The text each diagnostic of `source` marks, from one-byte characters.
std::vector<std::string> markedFrom(const Json& diagnostics, const std::string& source,
                                    const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::vector<std::string> marked;
    for (const Json& diagnostic : diagnostics) {
        if (diagnostic.value("source", "") != source) continue;
        const Json& range = diagnostic["range"];
        const std::string& line = lines.at(range["start"]["line"].get<std::size_t>());
        const auto from = range["start"]["character"].get<std::size_t>();
        marked.push_back(line.substr(from, range["end"]["character"].get<std::size_t>() - from));
    }
    return marked;
}

// A pose in an installation routine has no object to act on before new: makes one.
const std::string kPoseWithoutTarget = joinedLines({"inst", "  setv var0 1", "  pose 2", "endm"});

TEST(LspCommands, AreListedInTheCapabilities) {
    TestClient client;
    const Json listed =
        client.initialize()["result"]["capabilities"]["executeCommandProvider"]["commands"];
    for (const char* name : {"vekstudio.inject", "vekstudio.sendMacro", "vekstudio.tryInWorld"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
}

TEST(LspCommands, TryInWorldAnswersEachFaultAtItsLine) {
    const ThreeImageSprites sprites;
    const struct {
        const char* what;
        std::string source;
        std::vector<int> faultLines;
        std::vector<std::string> marked;  // each fault marks its whole command word
    } cases[] = {
        {"pose without an object", kPoseWithoutTarget, {3}, {"pose"}},
        {"pose past the sprite file's images",
         joinedLines({"* a dog", "inst", "  new: simp dogg 5 0 1000 0", "  pose 4", "endm"}),
         {4},
         {"pose"}},
        {"two faults, each at its line",
         joinedLines({"inst", "  pose 1", "endm", "inst", "  new: simp dogg 5 0 1000 0", "  pose 3",
                      "endm"}),
         {2, 6},
         {"pose", "pose"}},
        {"a command of two words",
         joinedLines({"inst", "  mesg writ targ 0", "endm"}),
         {2},
         {"mesg writ"}},
        {"a pose the images hold",
         joinedLines({"inst", "  new: simp dogg 5 0 1000 0", "  pose 2", "endm"}),
         {},
         {}},
    };
    for (const auto& c : cases) {
        RecordingGame game;
        TestClient client({}, game.surroundings(sprites.directory()));
        client.initialize();
        client.open(kUri, c.source);
        const CommandReply answer = runCommandOf(client, "vekstudio.tryInWorld", {kUri});
        const Json result = answer.reply["result"];
        EXPECT_EQ(linesFrom(result["faults"], "vek try"), c.faultLines) << c.what;
        EXPECT_EQ(markedFrom(result["faults"], "vek try", c.source), c.marked) << c.what;
        EXPECT_EQ(result["succeeded"], c.faultLines.empty()) << c.what;
        EXPECT_EQ(result["ticks"], 100) << c.what;
        EXPECT_EQ(answer.shown["type"], c.faultLines.empty() ? kShowInfo : kShowError) << c.what;
        EXPECT_EQ(answer.shown["message"], result["message"]) << c.what;
        if (!c.faultLines.empty()) {
            const std::string atFirst = "line " + std::to_string(c.faultLines.front());
            EXPECT_NE(result["message"].get<std::string>().find(atFirst), std::string::npos)
                << c.what << ": " << result["message"];
        }
        // The run is the Vivarium's, not the game's: nothing went over the link.
        EXPECT_TRUE(game.received.empty()) << c.what;
    }
}

// The run stands on the installation's rooms as vek try's does: in a room 20 wide the dog,
// 8 wide and wallbound, stops at 12 and never reaches the pose its images lack.
TEST(LspCommands, TryInWorldRunsOnTheInstallationsMap) {
    const std::string source =
        joinedLines({"inst", "  new: simp dogg 5 0 1000 0", "  setv attr 64", "  mvto 10 20",
                     "  mvby 5 0", "  doif posl gt 12", "    pose 4", "  endi", "endm"});
    const ThreeImageSprites sprites;
    for (const bool mapped : {false, true}) {
        if (mapped) {
            writeFileAtomically(sprites.directory() / "vivarium-map.txt",
                                std::string_view("room 0 0 0 20 100 1\n"));
        }
        RecordingGame game;
        TestClient client({}, game.surroundings(sprites.directory()));
        client.initialize();
        client.open(kUri, source);
        const Json result = runCommandOf(client, "vekstudio.tryInWorld", {kUri, 1}).reply["result"];
        EXPECT_EQ(linesFrom(result["faults"], "vek try"),
                  mapped ? std::vector<int>{} : std::vector<int>{7})
            << (mapped ? "on the map" : "without one");
    }
}

TEST(LspCommands, TryInWorldRunsTheTicksItIsGiven) {
    // The script waits three ticks before the pose the images lack.
    const std::string source =
        joinedLines({"inst", "  new: simp dogg 5 0 1000 0", "  wait 3", "  pose 4", "endm"});
    const ThreeImageSprites sprites;
    const struct {
        Json ticks;
        std::vector<int> faultLines;
    } cases[] = {{1, {}}, {2, {}}, {5, {4}}, {nullptr, {4}}};
    for (const auto& c : cases) {
        RecordingGame game;
        TestClient client({}, game.surroundings(sprites.directory()));
        client.initialize();
        client.open(kUri, source);
        const Json result =
            runCommandOf(client, "vekstudio.tryInWorld", {kUri, c.ticks}).reply["result"];
        EXPECT_EQ(linesFrom(result["faults"], "vek try"), c.faultLines) << c.ticks;
    }
}

TEST(LspCommands, TryOnSavePublishesTheRunsFaultsOnlyWhenSwitchedOn) {
    const struct {
        const char* what;
        Json initializationOptions;
        Json configuration;  // sent after initialize, null for none
        bool tryOnSave;
    } cases[] = {
        {"by default", Json::object(), nullptr, false},
        {"switched off", Json::object(), {{"vekstudio", {{"tryOnSave", false}}}}, false},
        {"switched on", Json::object(), {{"vekstudio", {{"tryOnSave", true}}}}, true},
        {"on from the start, dotted", {{"vekstudio.tryOnSave", true}}, nullptr, true},
        {"on, then off", {{"vekstudio.tryOnSave", true}}, {{"vekstudio.tryOnSave", false}}, false},
    };
    for (const auto& c : cases) {
        RecordingGame game;
        TestClient client({}, game.surroundings());
        client.initialize({{"initializationOptions", c.initializationOptions}});
        if (!c.configuration.is_null())
            client.notify("workspace/didChangeConfiguration", {{"settings", c.configuration}});
        client.open(kUri, kPoseWithoutTarget);
        EXPECT_TRUE(linesFrom(client.diagnostics(kUri), "vek try").empty()) << c.what;
        client.notify("textDocument/didSave", {{"textDocument", {{"uri", kUri}}}});
        const std::vector<int> expected = c.tryOnSave ? std::vector<int>{3} : std::vector<int>{};
        EXPECT_EQ(linesFrom(client.diagnostics(kUri), "vek try"), expected) << c.what;
        // The checker's own findings stay with them.
        EXPECT_EQ(linesFrom(client.diagnostics(kUri), "vek").size(),
                  client.diagnostics(kUri).size() - expected.size())
            << c.what;
        // An edit replaces the run's faults until the next save.
        client.notify("textDocument/didChange",
                      {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                       {"contentChanges", {{{"range", range(1, 0, 1, 0)}, {"text", "* "}}}}});
        EXPECT_TRUE(linesFrom(client.diagnostics(kUri), "vek try").empty()) << c.what;
    }
}

TEST(LspCommands, SendMacroSendsTheSelectionAsOneMacroOnlyWithoutErrors) {
    const struct {
        const char* what;
        std::string text;
        Json selection;
        std::vector<std::string> sent;
        std::string answer;             // as the game gives it: each value closed by "|"
        std::vector<int> findingLines;  // of the errors that refused it
    } cases[] = {
        {"one line",
         "inst,dde: putv 7,endm\n",
         range(0, 0, 0, 21),
         {"inst,dde: putv 7,endm"},
         "7|",
         {}},
        {"lines joined by commas",
         joinedLines({"* answer", "inst", "  dde: putv 3", "endm"}),
         range(1, 0, 3, 4),
         {"inst,dde: putv 3,endm"},
         "3|",
         {}},
        {"part of a line",
         "xx inst,dde: putv 12,endm yy\n",
         range(0, 3, 0, 25),
         {"inst,dde: putv 12,endm"},
         "12|",
         {}},
        {"an unknown command",
         joinedLines({"* x", "inst,frob 3,endm"}),
         range(1, 0, 1, 16),
         {},
         "",
         {2}},
        {"a macro without its end", "inst,dde: putv 7\n", range(0, 0, 0, 16), {}, "", {1}},
        {"nothing selected", "inst,endm\n", range(0, 2, 0, 2), {}, "", {}},
    };
    for (const auto& c : cases) {
        RecordingGame game;
        TestClient client({}, game.surroundings());
        client.initialize();
        client.open(kUri, c.text);
        const CommandReply answer =
            runCommandOf(client, "vekstudio.sendMacro", {kUri, c.selection});
        const Json result = answer.reply["result"];
        EXPECT_EQ(game.received, c.sent) << c.what;
        EXPECT_EQ(result["succeeded"], !c.sent.empty()) << c.what;
        EXPECT_EQ(answer.shown["type"], c.sent.empty() ? kShowError : kShowInfo) << c.what;
        if (!c.sent.empty()) {
            EXPECT_EQ(result["answer"], c.answer) << c.what;
        }
        EXPECT_EQ(linesFrom(result.value("findings", Json::array()), "vek"), c.findingLines)
            << c.what;
    }
}

TEST(LspCommands, InjectSendsTheScriptsAndFirstRoutineThroughTheLink) {
    const std::string source = joinedLines(
        {"name Dog", "scrp 2 10 1 1", "  snde woof", "endm", "inst", "  new: simp dogg 5 0 1000 0",
         "  setv clas 34210048", "endm", "inst", "  mvto 1 1", "endm"});
    RecordingGame game;
    TestClient client({}, game.surroundings());
    client.initialize();
    client.open(kUri, source);
    const CommandReply answer = runCommandOf(client, "vekstudio.inject", {kUri});
    ASSERT_TRUE(answer.reply.contains("result")) << answer.reply;
    EXPECT_EQ(game.received,
              (std::vector<std::string>{"dde: scrp 0 0 0 17,inst,scrp 2 10 1 1,snde woof,endm",
                                        "dde: scrp 0 0 0 17,inst,new: simp dogg 5 0 1000 0,setv "
                                        "clas 34210048,endm,endm",
                                        "inst,sys: wtop,endm"}));
    EXPECT_EQ(answer.reply["result"]["succeeded"], true);
    EXPECT_EQ(answer.reply["result"]["sent"], 3);
    EXPECT_EQ(answer.shown["type"], kShowInfo);
    EXPECT_NE(answer.shown["message"].get<std::string>().find("Dog"), std::string::npos);
    // The stand-in game ran what arrived: the routine made its object.
    EXPECT_EQ(game.world.objects().size(), 1u);
}

TEST(LspCommands, InjectRefusesAnObjectWithErrorsInTheClientsLanguage) {
    const struct {
        const char* locale;
        const char* says;
    } cases[] = {{"en", "was not injected"}, {"de-DE", "wurde nicht injiziert"}};
    for (const auto& c : cases) {
        RecordingGame game;
        TestClient client({}, game.surroundings());
        client.initialize({{"locale", c.locale}});
        client.open(kUri, joinedLines({"inst", "  new: simp dogg 5 0 1000 0", "  frob 2", "endm"}));
        const CommandReply answer = runCommandOf(client, "vekstudio.inject", {kUri});
        const Json result = answer.reply["result"];
        EXPECT_TRUE(game.received.empty()) << c.locale;
        EXPECT_EQ(result["succeeded"], false) << c.locale;
        EXPECT_EQ(linesFrom(result["findings"], "vek"), std::vector<int>{3}) << c.locale;
        EXPECT_NE(answer.shown["message"].get<std::string>().find(c.says), std::string::npos)
            << answer.shown;
    }
}

TEST(LspCommands, RefusesWhatTheyCannotTakeAsJsonRpcErrors) {
    const std::string macroFile = "file:///work/ball.mac";
    const struct {
        const char* what;
        Json params;
    } cases[] = {
        {"an unknown command", {{"command", "vekstudio.frobnicate"}, {"arguments", {kUri}}}},
        {"no command", {{"arguments", {kUri}}}},
        {"no arguments", {{"command", "vekstudio.inject"}}},
        {"a number for the document", {{"command", "vekstudio.inject"}, {"arguments", {7}}}},
        {"a document not open",
         {{"command", "vekstudio.inject"}, {"arguments", {"file:///work/gone.cos"}}}},
        {"a selection missing", {{"command", "vekstudio.sendMacro"}, {"arguments", {kUri}}}},
        {"a selection that is no range",
         {{"command", "vekstudio.sendMacro"}, {"arguments", {kUri, "all"}}}},
        {"ticks that are no number",
         {{"command", "vekstudio.tryInWorld"}, {"arguments", {kUri, "many"}}}},
        {"ticks below zero", {{"command", "vekstudio.tryInWorld"}, {"arguments", {kUri, -1}}}},
        {"a macro file injected", {{"command", "vekstudio.inject"}, {"arguments", {macroFile}}}},
        {"a macro file run", {{"command", "vekstudio.tryInWorld"}, {"arguments", {macroFile}}}},
    };
    RecordingGame game;
    TestClient client({}, game.surroundings());
    client.initialize();
    client.open(kUri, kPoseWithoutTarget);
    client.open(macroFile, "scrp 2 10 1 1\nendm\n");
    for (const auto& c : cases) {
        const Json reply = client.request("workspace/executeCommand", c.params);
        ASSERT_TRUE(reply.contains("error")) << c.what << ": " << reply;
        EXPECT_EQ(reply["error"]["code"], lsp::kInvalidParams) << c.what;
    }
    EXPECT_TRUE(game.received.empty());
    // The server still serves.
    EXPECT_TRUE(runCommandOf(client, "vekstudio.tryInWorld", {kUri}).reply.contains("result"));
}

}  // namespace
}  // namespace vek::testing
