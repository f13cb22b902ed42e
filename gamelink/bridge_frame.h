#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vek {

// The frames between the program and vek-bridge.exe, its DDE client under Wine. Every frame is
//   u32 length of the rest  kind  u32 time-out in ms  u16 name length  name  data
// with little-endian numbers. The program sends Connect (name: service, data: topic), Poke
// (name: item, data: the bytes with their zero), Request (name: item) and Disconnect; the bridge
// answers each but Disconnect with one frame, and greets with Hello (data: its build) first.
enum class BridgeKind : char {
    Connect = 'C',
    Poke = 'P',
    Request = 'R',
    Disconnect = 'X',
    Hello = 'H',
    Ok = 'A',        // connected, or poke taken
    Data = 'D',      // the request's bytes as returned
    Refused = 'N',   // no such service, or not processed
    TimedOut = 'T',  // no answer within the time-out
    Broken = 'B',    // data: what failed, in English
};

struct BridgeFrame {
    BridgeKind kind = BridgeKind::Ok;
    std::uint32_t timeoutMs = 0;
    std::string name;
    std::string data;

    bool operator==(const BridgeFrame&) const = default;
};

inline constexpr std::size_t kBridgeHeaderSize = 4 + 1 + 4 + 2;

std::string encodeBridgeFrame(const BridgeFrame& frame);

// Cuts a stream of bytes into frames. A frame of an unknown kind, a name longer than 255
// bytes, or a frame longer than the reader allows throws VekError.
class BridgeFrameReader {
  public:
    explicit BridgeFrameReader(std::size_t maxFrame) : m_maxFrame(maxFrame) {}

    void append(std::string_view bytes) { m_buffer.append(bytes); }
    std::optional<BridgeFrame> next();

  private:
    std::size_t m_maxFrame;
    std::string m_buffer;
};

}  // namespace vek
