#include "app/ansi_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vek {

namespace {

// Code points of the bytes 0x80 to 0x9F; the five bytes the code page leaves unassigned keep
// their C1 control code points so that every byte survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOfByte(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

int byteOfCodePoint(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint) return static_cast<int>(0x80 + i);
    }
    return '?';
}

void appendUtf8(std::string& out, char32_t codePoint) {
    auto add = [&out](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (codePoint < 0x80) {
        add(codePoint);
    } else if (codePoint < 0x800) {
        add(0xC0 | (codePoint >> 6));
        add(0x80 | (codePoint & 0x3F));
    } else {
        add(0xE0 | (codePoint >> 12));
        add(0x80 | ((codePoint >> 6) & 0x3F));
        add(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

bool codePage1252Holds(char32_t codePoint) {
    return codePoint == '?' || byteOfCodePoint(codePoint) != '?';
}

char32_t nextCodePoint(std::string_view text, std::size_t& at, bool& valid) {
    const auto lead = static_cast<std::uint8_t>(text[at]);
    std::size_t length = 1;
    char32_t codePoint = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        codePoint = lead & 0x07;
    } else if (lead >= 0xE0) {
        length = lead < 0xF0 ? 3 : 1;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xC2) {
        length = 2;
        codePoint = lead & 0x1F;
    }
    valid = lead < 0x80 || length > 1;
    if (!valid || at + length > text.size()) {
        valid = lead < 0x80;
        ++at;
        return lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            valid = false;
            ++at;
            return lead;
        }
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    at += length;
    return codePoint;
}

std::string ansiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (const char c : ansi) appendUtf8(out, codePointOfByte(static_cast<std::uint8_t>(c)));
    return out;
}

bool codePage1252HoldsAll(std::string_view utf8) { return ansiToUtf8(utf8ToAnsi(utf8)) == utf8; }

std::string utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        bool valid = true;
        const char32_t codePoint = nextCodePoint(utf8, at, valid);
        out.push_back(static_cast<char>(valid ? byteOfCodePoint(codePoint) : '?'));
    }
    return out;
}

std::size_t incompleteUtf8Tail(std::string_view text) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
        const auto byte = static_cast<std::uint8_t>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

int characterCount(std::string_view text) {
    // Every byte but a UTF-8 continuation byte starts a character.
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::size_t byteOffsetOfCharacter(std::string_view text, int characters) {
    std::size_t at = 0;
    for (int counted = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && counted++ == characters)
            return at;
    }
    return at;
}

}  // namespace vek
