// The language server from its byte stream on: the message reader, then every request and edit a
// message holds. Whatever the bytes, each answer the server writes is a framed JSON message, and
// feeding the same bytes in two pieces gives the same answers.
#include <sstream>

#include "lsp/message_reader.h"
#include "lsp/server.h"
#include "tests/fuzz/fuzz_support.h"

namespace vek::fuzz {

namespace {

std::string message(const std::string& body) { return lsp::framed(body); }

const std::string kOpen =
    message(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})") +
    message(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)"
            R"({"uri":"file:///a.cos","languageId":"caos-c1","version":1,"text":)"
            R"("inst\nnew: simp ball 1 0 10 0\nendm\nscrp 2 5 3 1\ngsub abcd\nsubr abcd\n)"
            R"(retn\nendm\n"}}})");

std::string answersOf(std::string_view bytes, std::size_t split) {
    std::ostringstream log;
    lsp::Session session({}, log);
    std::string out = session.feed(bytes.substr(0, split));
    out += session.feed(bytes.substr(split));
    return out;
}

void expectFramedJson(const std::string& out) {
    lsp::MessageReader reader;
    reader.feed(out);
    while (std::optional<lsp::ReadMessage> read = reader.next()) {
        expectSame(read->kind == lsp::ReadMessage::Kind::Body, "a framed answer");
        expectSame(!lsp::Json::parse(read->body, nullptr, false).is_discarded(), "JSON answer");
    }
}

}  // namespace

std::vector<Bytes> seeds() {
    return {
        bytesOf(kOpen),
        bytesOf(kOpen +
                message(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":)"
                        R"({"textDocument":{"uri":"file:///a.cos","version":2},"contentChanges":)"
                        R"([{"range":{"start":{"line":1,"character":3},"end":{"line":9,)"
                        R"("character":0}},"text":"zz\u20ac\n"}]}})") +
                message(R"({"jsonrpc":"2.0","id":2,"method":"textDocument/codeAction","params":)"
                        R"({"textDocument":{"uri":"file:///a.cos"},"range":{"start":{"line":0,)"
                        R"("character":0},"end":{"line":99,"character":0}},"context":{}}})")),
        bytesOf(kOpen +
                message(R"({"jsonrpc":"2.0","id":3,"method":"textDocument/rename","params":)"
                        R"({"textDocument":{"uri":"file:///a.cos"},"position":{"line":4,)"
                        R"("character":6},"newName":"efgh"}})") +
                message(R"({"jsonrpc":"2.0","id":4,"method":"textDocument/formatting","params":)"
                        R"({"textDocument":{"uri":"file:///a.cos"}}})")),
        bytesOf("Content-Length: 99999999999\r\n\r\n{}"),
    };
}

void fuzzOne(std::span<const std::uint8_t> input) {
    const std::string_view bytes = asText(input);
    const std::string whole = answersOf(bytes, bytes.size());
    expectFramedJson(whole);
    expectSame(answersOf(bytes, bytes.size() / 2) == whole, "the same answers in two pieces");
}

}  // namespace vek::fuzz
