#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vek::lsp {

// The largest message body taken: far beyond the text of the largest source.
inline constexpr std::uint64_t kMaxMessageBytes = std::uint64_t{64} << 20;
// The most a message's header may take before its blank line.
inline constexpr std::size_t kMaxHeaderBytes = 8192;

// What the reader found next in the bytes fed to it.
struct ReadMessage {
    enum class Kind {
        Body,          // a whole message body
        BadHeader,     // a header without a valid Content-Length: skipped
        TooLarge,      // a Content-Length over the limit: its body is skipped unread
        HeaderTooLong  // no end of a header within its limit: nothing after it can be trusted
    };
    Kind kind = Kind::Body;
    std::string body;
};

// Splits the bytes of a JSON-RPC stream (headers, a blank line, Content-Length bytes of body)
// into messages. Bytes may come in pieces of any size; memory stays bounded by the limits.
class MessageReader {
  public:
    void feed(std::string_view bytes);
    // The next message of the bytes fed so far; nothing while one is incomplete.
    std::optional<ReadMessage> next();
    // Whether a stream once broken is given up.
    bool broken() const { return m_broken; }

  private:
    std::optional<ReadMessage> readHeader();

    std::string m_buffer;
    std::optional<std::size_t> m_bodyLength;  // of the message whose header was read
    std::uint64_t m_skipping = 0;             // bytes of a refused body still to drop
    bool m_broken = false;
};

}  // namespace vek::lsp
