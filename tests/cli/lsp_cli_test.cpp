#include <gtest/gtest.h>

#include "app/file_io.h"
#include "lsp/message_reader.h"
#include "lsp/server.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::testing {
namespace {

using lsp::Json;

std::string framedJson(const Json& message) { return lsp::framed(message.dump()); }

// A client's first words: initialize (with `params`), initialized, and a source opened.
std::string openingOf(const std::string& source, Json params) {
    params["capabilities"] = Json::object();
    return framedJson(
               {{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", params}}) +
           framedJson({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", Json::object()}}) +
           framedJson({{"jsonrpc", "2.0"},
                       {"method", "textDocument/didOpen"},
                       {"params",
                        {{"textDocument",
                          {{"uri", "file:///a.cos"},
                           {"languageId", "caos-c1"},
                           {"version", 1},
                           {"text", source}}}}}});
}

// A client's last words, the shutdown request numbered `id`.
std::string closingOf(int id) {
    return framedJson({{"jsonrpc", "2.0"}, {"id", id}, {"method", "shutdown"}}) +
           framedJson({{"jsonrpc", "2.0"}, {"method", "exit"}});
}

std::vector<Json> messagesOf(const std::string& out) {
    lsp::MessageReader reader;
    reader.feed(out);
    std::vector<Json> messages;
    while (std::optional<lsp::ReadMessage> message = reader.next()) {
        EXPECT_EQ(message->kind, lsp::ReadMessage::Kind::Body);
        messages.push_back(Json::parse(message->body));
    }
    return messages;
}

TEST(LspVerb, ServesAWholeSessionOnStandardOutputAlone) {
    TempDir dir;
    const std::string session = openingOf("inst\nzzzz\nendm\n", {{"locale", "de"}}) +
                                "Content-Length: 5\r\n\r\n{oops" + closingOf(2);
    writeFileAtomically(dir / "in", session);
    const VekRun run = runVekTool({"lsp"}, {}, dir / "in");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<Json> messages = messagesOf(run.out);
    ASSERT_EQ(messages.size(), 4u) << run.out;
    EXPECT_EQ(messages[0]["id"], 1);
    EXPECT_EQ(messages[1]["params"]["diagnostics"][0]["message"], "Unbekannter Befehl \"zzzz\"");
    EXPECT_EQ(messages[2]["error"]["code"], lsp::kParseError);
    EXPECT_EQ(messages[3]["id"], 2);
}

TEST(LspVerb, EndsWithAFailureWhenTheClientVanishesBeforeShutdown) {
    TempDir dir;
    const struct {
        std::string input;
        std::size_t replies;
    } cases[] = {
        {"", 0},
        {framedJson({{"jsonrpc", "2.0"},
                     {"id", 1},
                     {"method", "initialize"},
                     {"params", {{"capabilities", Json::object()}}}}) +
             "Content-Length: 40\r\n\r\n{\"half",
         1},
        {"Content-Length: 1000000000000\r\n\r\n{}", 1},
        {std::string(20000, 'x'), 1},
    };
    for (const auto& c : cases) {
        writeFileAtomically(dir / "in", c.input);
        const VekRun run = runVekTool({"lsp"}, {}, dir / "in");
        EXPECT_EQ(run.status, 1) << c.input.substr(0, 40);
        EXPECT_EQ(messagesOf(run.out).size(), c.replies) << c.input.substr(0, 40);
    }
    EXPECT_EQ(runVekTool({"lsp", "extra"}).status, 2);
}

TEST(LspVerb, TakesTheGameFromItsOwnGameDirOption) {
    TempDir dir;
    writeFileAtomically(dir / "in", framedJson({{"jsonrpc", "2.0"},
                                                {"id", 1},
                                                {"method", "initialize"},
                                                {"params", {{"capabilities", Json::object()}}}}));
    const VekRun run =
        runVekTool({"lsp", "--game-dir", pathToUtf8(dir / "nowhere")}, {}, dir / "in");
    const std::vector<Json> messages = messagesOf(run.out);
    ASSERT_EQ(messages.size(), 2u) << run.out;
    EXPECT_EQ(messages[0]["method"], "window/showMessage");
    EXPECT_NE(run.err.find("nowhere"), std::string::npos);
}

TEST(LspVerb, EndsWithAFailureNotASignalWhenNobodyReadsItsAnswers) {
    TempDir dir;
    writeFileAtomically(dir / "in", framedJson({{"jsonrpc", "2.0"},
                                                {"id", 1},
                                                {"method", "initialize"},
                                                {"params", {{"capabilities", Json::object()}}}}));
    // The reader is gone before the server answers.
    const std::string command = "(sleep 0.3; cat " + shellQuoted(pathToUtf8(dir / "in")) + ") | (" +
                                shellQuoted(std::string(VEK_BINARY_DIR) + "/vek") + " lsp 2>" +
                                shellQuoted(pathToUtf8(dir / "err")) + "; echo $? >" +
                                shellQuoted(pathToUtf8(dir / "status")) + ") | head -c 0";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFileText(dir / "status"), "1\n") << readFileText(dir / "err");
}

TEST(LspVerb, NamesClassesInItsHintsByTheCatalogueItIsGiven) {
    TempDir dir;
    const Json document = {{"uri", "file:///a.cos"}};
    const std::string session = openingOf("inst\nrtar 2 5 3\nrtar 2 6 1\nendm\n", Json::object()) +
                                framedJson({{"jsonrpc", "2.0"},
                                            {"id", 2},
                                            {"method", "textDocument/inlayHint"},
                                            {"params",
                                             {{"textDocument", document},
                                              {"range",
                                               {{"start", {{"line", 0}, {"character", 0}}},
                                                {"end", {{"line", 4}, {"character", 0}}}}}}}}) +
                                closingOf(3);
    writeFileAtomically(dir / "in", session);
    const struct {
        std::string catalogue;
        std::vector<std::string> labels;
    } cases[] = {
        {"2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Ball}\r\n",
         {"family 2 genus 5 species 3: Ball", "family 2: Simple"}},
        // A catalogue read only up to a faulty line names what it read before.
        {"2 {Simple}\r\n\t2 6 no brace\r\n\t2 5 {Toys}\r\n",
         {"family 2: Simple", "family 2: Simple"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        writeFileAtomically(dir / "classes.vek", c.catalogue);
        const VekRun run =
            runVekTool({"lsp", "--classes", pathToUtf8(dir / "classes.vek")}, {}, dir / "in");
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> labels;
        for (const Json& message : messagesOf(run.out)) {
            if (message.value("id", 0) != 2) continue;
            for (const Json& hint : message["result"]) labels.push_back(hint["label"]);
        }
        EXPECT_EQ(labels, c.labels) << c.catalogue;
    }
}

}  // namespace
}  // namespace vek::testing
