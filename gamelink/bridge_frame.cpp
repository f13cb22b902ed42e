#include "gamelink/bridge_frame.h"

#include "app/byte_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

constexpr std::size_t kMaxName = 255;

bool isKnownBridgeKind(char kind) {
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
    appendLittleEndian(out, rest, 4);
    out.push_back(static_cast<char>(frame.kind));
    appendLittleEndian(out, frame.timeoutMs, 4);
    appendLittleEndian(out, frame.name.size(), 2);
    out += frame.name;
    out += frame.data;
    return out;
}

std::optional<BridgeFrame> BridgeFrameReader::next() {
    if (m_buffer.size() < kBridgeHeaderSize) return std::nullopt;
    const std::size_t rest = littleEndianAt(m_buffer, 0, 4);
    const std::size_t nameLength = littleEndianAt(m_buffer, 9, 2);
    if (!isKnownBridgeKind(m_buffer[4]) || nameLength > kMaxName ||
        rest < kBridgeHeaderSize - 4 + nameLength)
        throw notABridgeFrame();
    if (rest > m_maxFrame) {
        const std::string size = std::to_string(rest);
        throw VekError(fill(Msg::BridgeFrameTooLarge, {size}));
    }
    if (m_buffer.size() < 4 + rest) return std::nullopt;
    BridgeFrame frame;
    frame.kind = static_cast<BridgeKind>(m_buffer[4]);
    frame.timeoutMs = littleEndianAt(m_buffer, 5, 4);
    frame.name = m_buffer.substr(kBridgeHeaderSize, nameLength);
    frame.data =
        m_buffer.substr(kBridgeHeaderSize + nameLength, rest + 4 - kBridgeHeaderSize - nameLength);
    m_buffer.erase(0, 4 + rest);
    return frame;
}

}  // namespace vek
