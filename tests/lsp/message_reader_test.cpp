#include <gtest/gtest.h>

#include "lsp/message_reader.h"
#include "lsp/server.h"

namespace vek::testing {
namespace {

using lsp::MessageReader;
using lsp::ReadMessage;
using Kind = ReadMessage::Kind;

struct Read {
    Kind kind;
    std::string body;
};

// Everything the reader finds in the bytes, fed in pieces of `piece` bytes.
std::vector<Read> readAll(std::string_view bytes, std::size_t piece) {
    MessageReader reader;
    std::vector<Read> found;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.feed(bytes.substr(at, piece));
        while (std::optional<ReadMessage> message = reader.next())
            found.push_back({message->kind, message->body});
    }
    return found;
}

TEST(MessageReader, SplitsTheStreamIntoBodiesWhateverPiecesItComesIn) {
    const std::string stream = lsp::framed("{\"a\":1}") + lsp::framed("") +
                               "content-length:  3\r\nContent-Type: x\r\n\r\n[ ]" +
                               lsp::framed("{\"ü\":\"€\"}");
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{2}, std::size_t{7}, stream.size()}) {
        const std::vector<Read> found = readAll(stream, piece);
        ASSERT_EQ(found.size(), 4u) << piece;
        EXPECT_EQ(found[0].body, "{\"a\":1}");
        EXPECT_EQ(found[1].body, "");
        EXPECT_EQ(found[2].body, "[ ]");
        EXPECT_EQ(found[3].body, "{\"ü\":\"€\"}");
        for (const Read& read : found) EXPECT_EQ(read.kind, Kind::Body);
    }
}

TEST(MessageReader, RefusesBadHeadersAndGoesOnWithTheNextMessage) {
    const struct {
        std::string header;
        Kind kind;
    } cases[] = {
        {"Content-Type: x\r\n\r\n", Kind::BadHeader},
        {"Content-Length: abc\r\n\r\n", Kind::BadHeader},
        {"Content-Length: -3\r\n\r\n", Kind::BadHeader},
        {"Content-Length: 3x\r\n\r\n", Kind::BadHeader},
        {"Content-Length: 2\r\nContent-Length: 2\r\n\r\n", Kind::BadHeader},
        {"Content-Length: 99999999999999999999999\r\n\r\n", Kind::BadHeader},
    };
    for (const auto& c : cases) {
        const std::vector<Read> found = readAll(c.header + lsp::framed("{}"), 5);
        ASSERT_EQ(found.size(), 2u) << c.header;
        EXPECT_EQ(found[0].kind, c.kind) << c.header;
        EXPECT_EQ(found[1].kind, Kind::Body) << c.header;
        EXPECT_EQ(found[1].body, "{}");
    }
}

TEST(MessageReader, DropsARefusedBodyAsItComesWithoutHoldingIt) {
    MessageReader reader;
    reader.feed("Content-Length: 100000000\r\n\r\nxyz");
    ASSERT_EQ(reader.next()->kind, Kind::TooLarge);
    const std::string block(1 << 20, 'x');
    for (int k = 0; k < 95; ++k) {
        reader.feed(block);
        EXPECT_FALSE(reader.next());
    }
    // The rest of the refused body, then a message.
    reader.feed(std::string(100000000 - 3 - 95 * (1 << 20), 'x') + lsp::framed("[]"));
    const std::optional<ReadMessage> next = reader.next();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->kind, Kind::Body);
    EXPECT_EQ(next->body, "[]");
}

TEST(MessageReader, GivesUpOnAHeaderThatNeverEnds) {
    MessageReader reader;
    reader.feed(std::string(lsp::kMaxHeaderBytes, 'x'));
    EXPECT_FALSE(reader.next());
    reader.feed("x");
    ASSERT_EQ(reader.next()->kind, Kind::HeaderTooLong);
    EXPECT_TRUE(reader.broken());
    reader.feed(lsp::framed("{}"));
    EXPECT_FALSE(reader.next());
}

}  // namespace
}  // namespace vek::testing
