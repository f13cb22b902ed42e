#include "lsp/message_reader.h"

#include <algorithm>
#include <charconv>

#include "app/file_lookup.h"

namespace vek::lsp {

namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kLengthField = "content-length:";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The Content-Length of a header's fields; nothing when it is missing, given twice or not a
// plain number.
std::optional<std::uint64_t> contentLength(std::string_view header) {
    std::optional<std::uint64_t> length;
    while (!header.empty()) {
        const std::size_t end = std::min(header.find("\r\n"), header.size());
        const std::string_view field = header.substr(0, end);
        header.remove_prefix(std::min(end + 2, header.size()));
        if (field.size() < kLengthField.size() ||
            !equalsIgnoringCase(field.substr(0, kLengthField.size()), kLengthField))
            continue;
        const std::string_view digits = trimmed(field.substr(kLengthField.size()));
        std::uint64_t value = 0;
        const auto [rest, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (length || digits.empty() || error != std::errc() ||
            rest != digits.data() + digits.size())
            return std::nullopt;
        length = value;
    }
    return length;
}

}  // namespace

void MessageReader::feed(std::string_view bytes) {
    if (m_broken) return;
    const auto dropped =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_skipping, bytes.size()));
    m_skipping -= dropped;
    bytes.remove_prefix(dropped);
    m_buffer.append(bytes);
}

std::optional<ReadMessage> MessageReader::next() {
    if (m_broken || m_skipping > 0) return std::nullopt;
    if (!m_bodyLength) {
        if (std::optional<ReadMessage> refused = readHeader()) return refused;
        if (!m_bodyLength) return std::nullopt;
    }
    if (m_buffer.size() < *m_bodyLength) return std::nullopt;
    ReadMessage message{ReadMessage::Kind::Body, m_buffer.substr(0, *m_bodyLength)};
    m_buffer.erase(0, *m_bodyLength);
    m_bodyLength.reset();
    return message;
}

std::optional<ReadMessage> MessageReader::readHeader() {
    const std::size_t end = m_buffer.find(kHeaderEnd);
    if (end == std::string::npos) {
        if (m_buffer.size() <= kMaxHeaderBytes) return std::nullopt;
        m_broken = true;
        m_buffer.clear();
        return ReadMessage{ReadMessage::Kind::HeaderTooLong, {}};
    }
    const std::optional<std::uint64_t> length =
        contentLength(std::string_view(m_buffer).substr(0, end));
    m_buffer.erase(0, end + kHeaderEnd.size());
    if (!length) return ReadMessage{ReadMessage::Kind::BadHeader, {}};
    if (*length > kMaxMessageBytes) {
        // Dropped as it comes, never held.
        const auto held =
            static_cast<std::size_t>(std::min<std::uint64_t>(*length, m_buffer.size()));
        m_buffer.erase(0, held);
        m_skipping = *length - held;
        return ReadMessage{ReadMessage::Kind::TooLarge, {}};
    }
    m_bodyLength = static_cast<std::size_t>(*length);
    return std::nullopt;
}

}  // namespace vek::lsp
