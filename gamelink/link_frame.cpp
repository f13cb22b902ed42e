#include "gamelink/link_frame.h"

#include <algorithm>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

void putU16(std::string& out, std::size_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void putU32(std::string& out, std::size_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, (value >> 16) & 0xFFFF);
}

std::size_t getLE(std::string_view bytes, std::size_t at, std::size_t count) {
    std::size_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

VekError notAFrame() { return VekError(Msg::LinkFrameInvalid); }

bool isKnownKind(char kind) {
    constexpr std::string_view kinds = "CPRADN";
    return kinds.find(kind) != std::string_view::npos;
}

}  // namespace

std::string encodeFrame(const LinkFrame& frame) {
    if (frame.topic.size() > kMaxFrameName || frame.item.size() > kMaxFrameName) {
        throw VekError(Msg::LinkFrameNameTooLong);
    }
    if (frame.data.size() > 0xFFFFFFFFu) {
        throw VekError(Msg::LinkFrameDataTooLong);
    }
    std::string out;
    out.reserve(kFrameHeaderSize + frame.topic.size() + frame.item.size() + frame.data.size());
    out += "VK";
    out.push_back(static_cast<char>(frame.kind));
    putU16(out, frame.topic.size());
    putU16(out, frame.item.size());
    putU32(out, frame.data.size());
    out += frame.topic;
    out += frame.item;
    out += frame.data;
    return out;
}

std::optional<LinkFrame> FrameReader::next() {
    if (m_buffer.size() < kFrameHeaderSize) {
        // A stranger's bytes are recognised as soon as they differ from our header.
        const std::string_view magic = "VK";
        const std::size_t seen = std::min(m_buffer.size(), magic.size());
        if (m_buffer.compare(0, seen, magic.substr(0, seen)) != 0) throw notAFrame();
        return std::nullopt;
    }
    if (m_buffer[0] != 'V' || m_buffer[1] != 'K' || !isKnownKind(m_buffer[2])) {
        throw notAFrame();
    }
    const std::size_t topicLength = getLE(m_buffer, 3, 2);
    const std::size_t itemLength = getLE(m_buffer, 5, 2);
    const std::size_t dataLength = getLE(m_buffer, 7, 4);
    if (topicLength > kMaxFrameName || itemLength > kMaxFrameName) throw notAFrame();
    if (dataLength > m_maxData) {
        const std::string size = std::to_string(dataLength);
        const std::string most = std::to_string(m_maxData);
        throw VekError(fill(Msg::LinkFrameTooLarge, {size, most}));
    }
    const std::size_t total = kFrameHeaderSize + topicLength + itemLength + dataLength;
    if (m_buffer.size() < total) return std::nullopt;
    LinkFrame frame;
    frame.kind = static_cast<FrameKind>(m_buffer[2]);
    std::size_t at = kFrameHeaderSize;
    frame.topic = m_buffer.substr(at, topicLength);
    at += topicLength;
    frame.item = m_buffer.substr(at, itemLength);
    at += itemLength;
    frame.data = m_buffer.substr(at, dataLength);
    m_buffer.erase(0, total);
    return frame;
}

}  // namespace vek
