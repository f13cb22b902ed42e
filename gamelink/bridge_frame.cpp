#include "gamelink/bridge_frame.h"

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

constexpr std::size_t kMaxName = 255;

void putLE(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t getLE(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

bool isKnownKind(char kind) {
    constexpr std::string_view kinds = "CPRXHADNTB";
    return kinds.find(kind) != std::string_view::npos;
}

VekError notABridgeFrame() { return VekError(Msg::BridgeFrameInvalid); }

}  // namespace

std::string encodeBridgeFrame(const BridgeFrame& frame) {
    if (frame.name.size() > kMaxName) throw notABridgeFrame();
    const std::size_t rest = kBridgeHeaderSize - 4 + frame.name.size() + frame.data.size();
    std::string out;
    out.reserve(4 + rest);
    putLE(out, rest, 4);
    out.push_back(static_cast<char>(frame.kind));
    putLE(out, frame.timeoutMs, 4);
    putLE(out, frame.name.size(), 2);
    out += frame.name;
    out += frame.data;
    return out;
}

std::optional<BridgeFrame> BridgeFrameReader::next() {
    if (m_buffer.size() < kBridgeHeaderSize) return std::nullopt;
    const std::size_t rest = getLE(m_buffer, 0, 4);
    const std::size_t nameLength = getLE(m_buffer, 9, 2);
    if (!isKnownKind(m_buffer[4]) || nameLength > kMaxName ||
        rest < kBridgeHeaderSize - 4 + nameLength)
        throw notABridgeFrame();
    if (rest > m_maxFrame) {
        const std::string size = std::to_string(rest);
        throw VekError(fill(Msg::BridgeFrameTooLarge, {size}));
    }
    if (m_buffer.size() < 4 + rest) return std::nullopt;
    BridgeFrame frame;
    frame.kind = static_cast<BridgeKind>(m_buffer[4]);
    frame.timeoutMs = getLE(m_buffer, 5, 4);
    frame.name = m_buffer.substr(kBridgeHeaderSize, nameLength);
    frame.data =
        m_buffer.substr(kBridgeHeaderSize + nameLength, rest + 4 - kBridgeHeaderSize - nameLength);
    m_buffer.erase(0, 4 + rest);
    return frame;
}

}  // namespace vek
