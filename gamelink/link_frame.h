#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The frames of the local link. Every frame is
//   'V' 'K'  kind  u16 topic length  u16 item length  u32 data length  topic  item  data
// with little-endian numbers. The client opens a conversation with Connect and then pokes and
// requests; the server answers each with Ack, Data or Refused.
enum class FrameKind : char {
    Connect = 'C',  // client: topic
    Poke = 'P',     // client: topic, item, text with its terminating zero
    Request = 'R',  // client: topic, item
    Ack = 'A',      // server: connect or poke accepted
    Data = 'D',     // server: the item's text
    Refused = 'N',  // server: not served; the data may say why
};

struct LinkFrame {
    FrameKind kind = FrameKind::Ack;
    std::string topic;
    std::string item;
    std::string data;

    bool operator==(const LinkFrame&) const = default;
};

inline constexpr std::size_t kFrameHeaderSize = 11;
inline constexpr std::size_t kMaxFrameName = 255;  // topic and item, as DDE string handles

std::string encodeFrame(const LinkFrame& frame);

// Collects bytes from a stream and cuts them into frames. A frame whose header is not one of
// ours, or whose data is longer than the reader allows, throws VekError with a plain reason.
class FrameReader {
  public:
    explicit FrameReader(std::size_t maxData) : m_maxData(maxData) {}

    void append(std::string_view bytes) { m_buffer.append(bytes); }
    std::optional<LinkFrame> next();
    // Bytes of a frame begun but not complete.
    bool holdsPartialFrame() const { return !m_buffer.empty(); }

  private:
    std::size_t m_maxData;
    std::string m_buffer;
};

}  // namespace vek
