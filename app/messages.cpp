#include "app/messages.h"

#include <vector>

#include "app/ansi_text.h"

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

// Characters that steer a terminal or the direction of the text around them.
bool isShownEscaped(char32_t c) {
    const bool c0 = c < 0x20 && c != '\n' && c != '\t';
    const bool c1 = c >= 0x7F && c <= 0x9F;  // DEL and the C1 controls
    const bool bidi = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
                      (c >= 0x2066 && c <= 0x2069);
    return c0 || c1 || bidi;
}

void appendEscape(std::string& out, std::string_view prefix, char32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
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

std::string escapeControlCharacters(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) return escapeControlCharacters(ansiToUtf8(text));
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        bool valid = true;
        const char32_t character = nextCodePoint(text, at, valid);
        if (!valid) {
            appendEscape(out, "\\x", static_cast<unsigned char>(text[start]), 2);
        } else if (character == 0) {
            out += "\\0";
        } else if (!isShownEscaped(character)) {
            out.append(text.substr(start, at - start));
        } else if (character < 0x80) {
            appendEscape(out, "\\x", character, 2);
        } else {
            appendEscape(out, "\\u", character, 4);
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

// Built by appends: GCC 12 warns falsely about a concatenation of literals here.
std::string quotedToken(std::string_view token) {
    std::string out(1, '"');
    out.append(shortenedToken(token)).push_back('"');
    return out;
}

}  // namespace vek
