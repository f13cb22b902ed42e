#include "app/messages.h"

#include <vector>

namespace vek {

namespace {

std::string fillOne(std::string_view text, const std::vector<std::string_view>& parts) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < parts.size()) {
            out += parts[index];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

BilingualText fill(const Bilingual& message, std::initializer_list<std::string_view> parts) {
    const std::vector<std::string_view> list(parts);
    return {fillOne(message.english, list), fillOne(message.german, list)};
}

BilingualText fill(const Bilingual& message, std::initializer_list<BilingualText> parts) {
    std::vector<std::string_view> english;
    std::vector<std::string_view> german;
    for (const BilingualText& part : parts) {
        english.push_back(part.english);
        german.push_back(part.german);
    }
    return {fillOne(message.english, english), fillOne(message.german, german)};
}

std::string escapeControlCharacters(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 0x20 && byte != 0x7F) || c == '\n' || c == '\t') {
            out += c;
        } else if (byte == 0) {
            out += "\\0";
        } else {
            out += "\\x";
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        }
    }
    return out;
}

std::string shortenedToken(std::string_view token) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < token.size(); ++i) {
        // A byte 10xxxxxx continues a character; any other begins one.
        if ((static_cast<unsigned char>(token[i]) & 0xC0) == 0x80) continue;
        if (characters == kMaxQuotedCharacters) return std::string(token.substr(0, i)) + "...";
        ++characters;
    }
    return std::string(token);
}

}  // namespace vek
