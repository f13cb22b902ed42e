#include "gamelink/link_frame.h"

#include <algorithm>

#include "app/byte_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

VekError notAFrame() { return VekError(Msg::LinkFrameInvalid); }

bool isKnownFrameKind(char kind) {
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
    appendLittleEndian(out, frame.topic.size(), 2);
    appendLittleEndian(out, frame.item.size(), 2);
    appendLittleEndian(out, frame.data.size(), 4);
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
    if (m_buffer[0] != 'V' || m_buffer[1] != 'K' || !isKnownFrameKind(m_buffer[2])) {
        throw notAFrame();
    }
    const std::size_t topicLength = littleEndianAt(m_buffer, 3, 2);
    const std::size_t itemLength = littleEndianAt(m_buffer, 5, 2);
    const std::size_t dataLength = littleEndianAt(m_buffer, 7, 4);
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
