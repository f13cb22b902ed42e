#include <gtest/gtest.h>

#include "lsp_client.h"

namespace vek::testing {
namespace {

int errorCodeOf(const Json& reply) { return reply.at("error").at("code").get<int>(); }

TEST(LspServer, AnswersEveryRequestBeforeInitializeWithServerNotInitialized) {
    TestClient client;
    EXPECT_EQ(errorCodeOf(client.request("textDocument/hover", place("file:///a.cos", 0, 0))),
              lsp::kServerNotInitialized);
    EXPECT_EQ(errorCodeOf(client.request("shutdown")), lsp::kServerNotInitialized);
    // Notifications before it are dropped: nothing is published.
    EXPECT_TRUE(client
                    .notify("textDocument/didOpen",
                            {{"textDocument",
                              {{"uri", "file:///a.cos"}, {"version", 1}, {"text", "zzzz"}}}})
                    .empty());
    const Json reply = client.initialize();
    EXPECT_TRUE(reply["result"]["capabilities"]["hoverProvider"].get<bool>());
    EXPECT_EQ(reply["result"]["serverInfo"]["name"], "vek");
    EXPECT_EQ(errorCodeOf(client.request("initialize")), lsp::kInvalidRequest);
}

TEST(LspServer, AnswersBadMessagesWithTheirJsonRpcErrors) {
    TestClient client;
    client.initialize();
    const struct {
        std::string body;
        int code;
    } cases[] = {
        {"{\"jsonrpc\":\"2.0\",\"id\":1,", lsp::kParseError},
        {"not json", lsp::kParseError},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"x\",\"params\":\"\xff\"}", lsp::kParseError},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"\\ud800\"}", lsp::kParseError},
        {"[1,2]", lsp::kInvalidRequest},
        {"{\"jsonrpc\":\"2.0\",\"id\":1}x", lsp::kParseError},
        {"{\"jsonrpc\":\"2.0\",\"id\":[1],\"method\":\"shutdown\"}", lsp::kInvalidRequest},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":5}", lsp::kInvalidRequest},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"workspace/unknown\"}", lsp::kMethodNotFound},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"textDocument/hover\",\"params\":{}}",
         lsp::kInvalidParams},
        {"{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"textDocument/hover\",\"params\":"
         "{\"textDocument\":{\"uri\":\"file:///never-opened.cos\"},\"position\":{}}}",
         lsp::kInvalidParams},
    };
    for (const auto& c : cases) {
        const std::vector<Json> replies = client.feed(lsp::framed(c.body));
        ASSERT_EQ(replies.size(), 1u) << c.body;
        EXPECT_EQ(errorCodeOf(replies[0]), c.code) << c.body;
    }
    const std::vector<Json> refused = client.feed("Content-Length: 70000000\r\n\r\n");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(errorCodeOf(refused[0]), lsp::kInvalidRequest);
    EXPECT_TRUE(refused[0]["id"].is_null());
    // An unknown notification and an answer to nothing are passed over in silence.
    EXPECT_TRUE(client.notify("$/cancelRequest", {{"id", 3}}).empty());
    EXPECT_TRUE(client.feed(lsp::framed("{\"jsonrpc\":\"2.0\",\"id\":9,\"result\":1}")).empty());
    EXPECT_FALSE(client.session().finished());
}

TEST(LspServer, ExitsCleanlyOnlyAfterShutdown) {
    for (const bool shutDown : {true, false}) {
        TestClient client;
        client.initialize();
        if (shutDown) {
            EXPECT_TRUE(client.request("shutdown")["result"].is_null());
            EXPECT_EQ(errorCodeOf(client.request("textDocument/hover")), lsp::kInvalidRequest);
        }
        client.notify("exit");
        EXPECT_TRUE(client.session().finished());
        EXPECT_EQ(client.session().exitStatus(), shutDown ? 0 : 1);
        // What follows exit is not read.
        EXPECT_TRUE(client.send({{"jsonrpc", "2.0"}, {"id", 5}, {"method", "shutdown"}}).empty());
    }
}

TEST(LspServer, NegotiatesUtf8WhereTheClientOffersIt) {
    const struct {
        Json offered;
        std::string chosen;
    } cases[] = {
        {Json::object(), "utf-16"},
        {{{"general", {{"positionEncodings", {"utf-16"}}}}}, "utf-16"},
        {{{"general", {{"positionEncodings", {"utf-32", "utf-8"}}}}}, "utf-8"},
        {{{"general", {{"positionEncodings", "utf-8"}}}}, "utf-16"},
    };
    for (const auto& c : cases) {
        TestClient client;
        const Json reply = client.initialize({{"capabilities", c.offered}});
        EXPECT_EQ(reply["result"]["capabilities"]["positionEncoding"], c.chosen) << c.offered;
    }
}

TEST(LspServer, AnnouncesNothingItDoesNotAnswer) {
    TestClient client;
    const Json capabilities = client.initialize()["result"]["capabilities"];
    for (const char* absent : {"workspaceSymbolProvider"}) {
        EXPECT_FALSE(capabilities.contains(absent)) << absent;
    }
    client.open("file:///a.cos", "inst\nendm\n");
    const struct {
        const char* capability;
        const char* method;
    } announced[] = {
        {"completionProvider", "textDocument/completion"},
        {"signatureHelpProvider", "textDocument/signatureHelp"},
        {"hoverProvider", "textDocument/hover"},
        {"documentSymbolProvider", "textDocument/documentSymbol"},
        {"definitionProvider", "textDocument/definition"},
        {"referencesProvider", "textDocument/references"},
        {"renameProvider", "textDocument/prepareRename"},
        {"foldingRangeProvider", "textDocument/foldingRange"},
        {"documentFormattingProvider", "textDocument/formatting"},
        {"semanticTokensProvider", "textDocument/semanticTokens/full"},
    };
    for (const auto& a : announced) {
        ASSERT_TRUE(capabilities.contains(a.capability)) << a.capability;
        const Json reply = client.request(a.method, place("file:///a.cos", 0, 0));
        EXPECT_TRUE(reply.contains("result")) << a.method << reply;
    }
}

}  // namespace
}  // namespace vek::testing
