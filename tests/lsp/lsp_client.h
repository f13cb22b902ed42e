#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "lsp/server.h"

namespace vek::testing {

using lsp::Json;

// A client of the server driven through its byte stream, as an editor drives it.
class TestClient {
  public:
    explicit TestClient(GamePathSources sources = {}, lsp::CommandSurroundings surroundings = {})
        : m_session(std::move(sources), m_log, std::move(surroundings)) {}

    // Feeds bytes and returns every message the server wrote back.
    std::vector<Json> feed(std::string_view bytes) {
        lsp::MessageReader replies;
        replies.feed(m_session.feed(bytes));
        std::vector<Json> messages;
        while (std::optional<lsp::ReadMessage> reply = replies.next()) {
            EXPECT_EQ(reply->kind, lsp::ReadMessage::Kind::Body);
            messages.push_back(Json::parse(reply->body));
            if (messages.back().value("method", "") == "textDocument/publishDiagnostics")
                m_diagnostics[messages.back()["params"]["uri"]] = messages.back()["params"];
        }
        EXPECT_TRUE(replies.next() == std::nullopt);
        return messages;
    }
    std::vector<Json> send(const Json& message) { return feed(lsp::framed(message.dump())); }

    // The answer to a request (whatever else came with it is kept as it came).
    Json request(const std::string& method, const Json& params = Json::object()) {
        const int id = ++m_lastId;
        for (const Json& reply :
             send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}})) {
            if (reply.contains("id") && reply["id"] == id) return reply;
        }
        ADD_FAILURE() << "no answer to " << method;
        return {};
    }
    std::vector<Json> notify(const std::string& method, const Json& params = Json::object()) {
        return send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }

    Json initialize(Json params = Json::object()) {
        if (!params.contains("capabilities")) params["capabilities"] = Json::object();
        Json reply = request("initialize", params);
        notify("initialized");
        return reply;
    }
    void open(const std::string& uri, const std::string& text,
              const std::string& languageId = "caos-c1") {
        notify("textDocument/didOpen",
               {{"textDocument",
                 {{"uri", uri}, {"languageId", languageId}, {"version", 1}, {"text", text}}}});
    }
    // The diagnostics last published for a document.
    Json diagnostics(const std::string& uri) const {
        const auto found = m_diagnostics.find(uri);
        return found == m_diagnostics.end() ? Json() : found->second["diagnostics"];
    }
    int publishedVersion(const std::string& uri) const {
        return m_diagnostics.at(uri)["version"].get<int>();
    }

    const lsp::Session& session() const { return m_session; }
    std::string log() const { return m_log.str(); }

  private:
    std::ostringstream m_log;
    lsp::Session m_session;
    int m_lastId = 0;
    std::map<std::string, Json> m_diagnostics;
};

// The document most tests open.
inline const std::string kUri = "file:///work/ball.cos";

inline Json at(int line, int character) { return {{"line", line}, {"character", character}}; }
inline Json place(const std::string& uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}}, {"position", at(line, character)}};
}
inline Json range(int line, int from, int toLine, int to) {
    return {{"start", at(line, from)}, {"end", at(toLine, to)}};
}

}  // namespace vek::testing
