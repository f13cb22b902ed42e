#include "lsp/positions.h"

#include <algorithm>
#include <cstdint>

#include "app/ansi_text.h"

namespace vek::lsp {

namespace {

// A protocol number as a count, negative ones and others taken as 0.
std::size_t countOf(const Json& value) {
    if (value.is_number_unsigned()) return static_cast<std::size_t>(value.get<std::uint64_t>());
    if (value.is_number_integer())
        return static_cast<std::size_t>(std::max<std::int64_t>(0, value.get<std::int64_t>()));
    if (value.is_number()) return static_cast<std::size_t>(std::max(0.0, value.get<double>()));
    throw Json::type_error::create(302, "a position's line and character are numbers", &value);
}

std::size_t unitsOf(char32_t character, PositionEncoding encoding, std::size_t bytes) {
    if (encoding == PositionEncoding::Utf8) return bytes;
    return character >= 0x10000 ? 2 : 1;
}

// The byte of a line at which `units` code units are counted, clamped to the line.
std::size_t byteOfUnits(std::string_view line, std::size_t units, PositionEncoding encoding) {
    std::size_t at = 0;
    std::size_t counted = 0;
    while (at < line.size()) {
        std::size_t next = at;
        bool valid = true;
        const char32_t character = nextCodePoint(line, next, valid);
        counted += unitsOf(character, encoding, next - at);
        if (counted > units) return at;
        at = next;
    }
    return at;
}

std::size_t unitsBefore(std::string_view line, std::size_t byte, PositionEncoding encoding) {
    std::size_t at = 0;
    std::size_t counted = 0;
    byte = std::min(byte, line.size());
    while (at < byte) {
        std::size_t next = at;
        bool valid = true;
        const char32_t character = nextCodePoint(line, next, valid);
        counted += unitsOf(character, encoding, next - at);
        at = next;
    }
    return counted;
}

}  // namespace

std::size_t unitCount(std::string_view text, PositionEncoding encoding) {
    return unitsBefore(text, text.size(), encoding);
}

LinePlace placeOf(std::span<const std::string> lines, const Json& position,
                  PositionEncoding encoding) {
    const std::size_t line = countOf(position.at("line"));
    const std::size_t character = countOf(position.at("character"));
    if (line >= lines.size()) return {lines.size() - 1, lines.back().size()};
    return {line, byteOfUnits(lines[line], character, encoding)};
}

Json positionOf(std::span<const std::string> lines, LinePlace place, PositionEncoding encoding) {
    place.line = std::min(place.line, lines.size() - 1);
    return {{"line", place.line},
            {"character", unitsBefore(lines[place.line], place.byte, encoding)}};
}

LinePlace placeOf(std::span<const std::string> lines, TextPosition position) {
    const std::size_t line = std::clamp<std::size_t>(
        static_cast<std::size_t>(std::max(position.line, 1)) - 1, 0, lines.size() - 1);
    return {line, byteOffsetOfCharacter(lines[line], std::max(position.column, 1) - 1)};
}

TextPosition textPositionOf(std::span<const std::string> lines, LinePlace place) {
    place.line = std::min(place.line, lines.size() - 1);
    const std::string_view line = lines[place.line];
    return {static_cast<int>(place.line + 1),
            characterCount(line.substr(0, std::min(place.byte, line.size()))) + 1};
}

Json rangeOf(std::span<const std::string> lines, TextPosition start, int characters,
             PositionEncoding encoding) {
    const LinePlace from = placeOf(lines, start);
    const std::string_view line = lines[from.line];
    const std::size_t end =
        from.byte + byteOffsetOfCharacter(line.substr(from.byte), std::max(characters, 0));
    return rangeOf(lines, from, {from.line, end}, encoding);
}

Json rangeOf(std::span<const std::string> lines, LinePlace from, LinePlace to,
             PositionEncoding encoding) {
    return {{"start", positionOf(lines, from, encoding)}, {"end", positionOf(lines, to, encoding)}};
}

}  // namespace vek::lsp
