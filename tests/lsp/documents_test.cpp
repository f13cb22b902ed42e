#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "lsp_client.h"
#include "objects/object_check.h"
#include "support/temp_dir.h"
#include "vivarium/world_file.h"

namespace vek::testing {
namespace {

// The English texts of findings, as vek check gives them.
std::vector<std::string> textsOf(const std::vector<Finding>& findings,
                                 std::string_view language = kLanguageEnglish) {
    std::vector<std::string> texts;
    for (const Finding& finding : findings) texts.emplace_back(finding.text.in(language));
    return texts;
}
std::vector<std::string> messagesOf(const Json& diagnostics) {
    std::vector<std::string> texts;
    for (const Json& diagnostic : diagnostics) texts.push_back(diagnostic["message"]);
    return texts;
}

TEST(LspDocuments, PublishesWhatVekCheckFindsForEachKindOfFile) {
    const std::vector<std::string> source = {"inst", "\tzzzz 3",       "\tsnde ab", "  doif 1 eq 1",
                                             "endm", "scrp 2 5 3 900", "endm"};
    const std::vector<std::string> macroFile = {"\"snde ab", "wrng 4", "endm\""};
    const std::string world = "* a comment\ninst,zzzz,endm\nsnde ab\n";
    const struct {
        std::string uri;
        std::string languageId;
        std::vector<std::string> lines;
        std::vector<Finding> expected;
    } cases[] = {
        {"file:///w/ball.cos", "caos-c1", source, checkSourceLines(source)},
        {"file:///w/BALL.COS", "plaintext", source, checkSourceLines(source)},
        {"untitled:Untitled-1", "caos-c1", source, checkSourceLines(source)},
        {"file:///w/m%20y.mac", "caos-c1", macroFile, checkMacroFileLines(macroFile)},
        {"file:///w/vivarium-world.txt", "caos-c1", splitTextLines(world),
         vivarium::checkWorldFileMacros(world, objectCheckOptions())},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.expected.empty()) << c.uri;
        for (const char* locale : {"en-GB", "de-AT"}) {
            TestClient client;
            client.initialize({{"locale", locale}});
            std::string text;
            for (const std::string& line : c.lines) text += line + "\r\n";
            client.open(c.uri, text, c.languageId);
            const std::string_view language = locale[0] == 'd' ? kLanguageGerman : kLanguageEnglish;
            const Json diagnostics = client.diagnostics(c.uri);
            EXPECT_EQ(messagesOf(diagnostics), textsOf(c.expected, language)) << c.uri;
            for (std::size_t k = 0; k < c.expected.size() && k < diagnostics.size(); ++k) {
                const Finding& finding = c.expected[k];
                EXPECT_EQ(diagnostics[k]["range"]["start"],
                          at(finding.position.line - 1, finding.position.column - 1));
                EXPECT_EQ(diagnostics[k]["severity"], finding.isError() ? 1 : 2);
            }
        }
    }
}

TEST(LspDocuments, FollowsFullAndIncrementalChanges) {
    TestClient client;
    client.initialize();
    client.open(kUri, "inst\n\tzzzz 3\nendm\n");
    ASSERT_EQ(client.diagnostics(kUri).size(), 1u);
    const auto change = [&](int version, Json changes) {
        client.notify("textDocument/didChange",
                      {{"textDocument", {{"uri", kUri}, {"version", version}}},
                       {"contentChanges", std::move(changes)}});
    };
    // Mended in place, broken again across lines, then replaced whole.
    change(2, {{{"range", range(1, 1, 1, 5)}, {"text", "tick"}}});
    EXPECT_EQ(client.diagnostics(kUri), Json::array());
    EXPECT_EQ(client.publishedVersion(kUri), 2);
    change(3, {{{"range", range(1, 7, 2, 4)}, {"text", "\r\n\tdoif 1 eq 1\n\tendm"}},
               {{"range", range(3, 1, 3, 5)}, {"text", "endm"}}});
    const std::vector<std::string> expected =
        textsOf(checkSourceLines({"inst", "\ttick 3", "\tdoif 1 eq 1", "endm", ""}));
    EXPECT_EQ(messagesOf(client.diagnostics(kUri)), expected);
    change(4, {{{"text", "zzzz"}}});
    EXPECT_EQ(messagesOf(client.diagnostics(kUri)), textsOf(checkSourceLines({"zzzz"})));
    // Past the end: clamped to it.
    change(5, {{{"range", range(40, 2, 99, 99)}, {"text", "\ninst\nendm"}}});
    EXPECT_EQ(messagesOf(client.diagnostics(kUri)),
              textsOf(checkSourceLines({"zzzz", "inst", "endm"})));
    client.notify("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}});
    EXPECT_TRUE(client.request("textDocument/hover", place(kUri, 0, 0)).contains("error"));
}

TEST(LspDocuments, CountsPositionsInTheNegotiatedEncodingAndMarksWhatTheGameCannotShow) {
    // "€" is in the game's code page, "→" and "😀" are not.
    for (const bool utf8 : {false, true}) {
        TestClient client;
        Json capabilities = Json::object();
        if (utf8) capabilities = {{"general", {{"positionEncodings", {"utf-8"}}}}};
        client.initialize({{"capabilities", capabilities}});
        client.open(kUri, "inst\n\tsetv obv0 1\n* €→😀\nendm\n");
        const Json diagnostics = client.diagnostics(kUri);
        ASSERT_EQ(diagnostics.size(), 2u) << diagnostics;
        const int arrow = utf8 ? 5 : 3;  // "€" is three bytes, one UTF-16 unit
        const int arrowEnd = arrow + (utf8 ? 3 : 1);
        const int emojiEnd = arrowEnd + (utf8 ? 4 : 2);
        EXPECT_EQ(diagnostics[0]["range"], range(2, arrow, 2, arrowEnd));
        EXPECT_EQ(diagnostics[1]["range"], range(2, arrowEnd, 2, emojiEnd));
        EXPECT_NE(diagnostics[0]["message"].get<std::string>().find("\"→\""), std::string::npos);
        EXPECT_EQ(diagnostics[0]["severity"], 1);
        // An edit just after the emoji, counted in the same units; one inside it is clamped to
        // its start.
        client.notify("textDocument/didChange",
                      {{"textDocument", {{"uri", kUri}, {"version", 2}}},
                       {"contentChanges",
                        {{{"range", range(2, emojiEnd, 2, emojiEnd)}, {"text", "!"}},
                         {{"range", range(2, arrowEnd + 1, 2, emojiEnd)}, {"text", ""}}}}});
        const Json after = client.diagnostics(kUri);
        ASSERT_EQ(after.size(), 1u) << after;
        EXPECT_EQ(after[0]["range"], diagnostics[0]["range"]);
        const Json hovered = client.request("textDocument/hover", place(kUri, 1, 2));
        EXPECT_NE(hovered["result"]["contents"]["value"].get<std::string>().find("setv"),
                  std::string::npos);
        // The section still reads as one.
        const Json folded =
            client.request("textDocument/foldingRange", {{"textDocument", {{"uri", kUri}}}});
        EXPECT_EQ(folded["result"].size(), 1u);
    }
}

TEST(LspDocuments, ChecksAgainstTheInstallationTheSettingsName) {
    TempDir game;
    GamePaths paths = gamePathsUnder(game.path());
    for (std::size_t k = 0; k < kGamePathValueNames.size(); ++k)
        std::filesystem::create_directories(pathFromUtf8(gamePathField(paths, k)));
    const std::string text = "inst\n\tnew: simp ball 1 0 10 0\nendm\n";
    const auto warned = [&](const TestClient& client) {
        const Json diagnostics = client.diagnostics(kUri);
        return diagnostics.size() == 1 && diagnostics[0]["severity"] == 2 &&
               diagnostics[0]["message"].get<std::string>().find("ball") != std::string::npos;
    };
    {
        TestClient client;
        client.initialize();
        client.open(kUri, text);
        EXPECT_EQ(client.diagnostics(kUri), Json::array());
        client.notify("workspace/didChangeConfiguration",
                      {{"settings", {{"vekstudio", {{"gameDir", pathToUtf8(game.path())}}}}}});
        EXPECT_TRUE(warned(client)) << client.diagnostics(kUri);
        client.notify("workspace/didChangeConfiguration",
                      {{"settings", {{"vekstudio", {{"gameDir", nullptr}}}}}});
        EXPECT_EQ(client.diagnostics(kUri), Json::array());
    }
    {
        TestClient client;
        client.initialize(
            {{"initializationOptions", {{"vekstudio.gameDir", pathToUtf8(game.path())}}}});
        client.open(kUri, text);
        EXPECT_TRUE(warned(client)) << client.diagnostics(kUri);
    }
    {
        GamePathSources fromEnvironment;
        fromEnvironment.gameDirEnvironment = pathToUtf8(game.path());
        TestClient client(fromEnvironment);
        client.initialize();
        client.open(kUri, text);
        EXPECT_TRUE(warned(client)) << client.diagnostics(kUri);
    }
    {
        // A folder that is not there is said once, and nothing is checked against it.
        TestClient client;
        const std::vector<Json> replies =
            client.send({{"jsonrpc", "2.0"},
                         {"id", 1},
                         {"method", "initialize"},
                         {"params",
                          {{"capabilities", Json::object()},
                           {"initializationOptions",
                            {{"vekstudio", {{"gameDir", pathToUtf8(game / "nowhere")}}}}}}}});
        ASSERT_EQ(replies.size(), 2u);
        EXPECT_EQ(replies[0]["method"], "window/showMessage");
        EXPECT_NE(client.log().find("nowhere"), std::string::npos);
        client.open(kUri, text);
        EXPECT_EQ(client.diagnostics(kUri), Json::array());
    }
}

}  // namespace
}  // namespace vek::testing
