#pragma once

#include <nlohmann/json.hpp>

#include <span>
#include <string>
#include <string_view>

#include "language/macro_text.h"
#include "language/source_model.h"

namespace vek::lsp {

using Json = nlohmann::json;

// What a position's character counts: UTF-8 bytes or UTF-16 code units.
enum class PositionEncoding { Utf8, Utf16 };

// How many code units of the encoding a piece of text takes.
std::size_t unitCount(std::string_view text, PositionEncoding encoding);

// The place of a protocol position in the lines; a line or character past the end is clamped to
// the end, one inside a character to its start.
LinePlace placeOf(std::span<const std::string> lines, const Json& position,
                  PositionEncoding encoding);
Json positionOf(std::span<const std::string> lines, LinePlace place, PositionEncoding encoding);

// A place the language names (line and column from 1, columns in characters) and back.
LinePlace placeOf(std::span<const std::string> lines, TextPosition position);
TextPosition textPositionOf(std::span<const std::string> lines, LinePlace place);

// The range of `characters` characters from a place the language names, within its line.
Json rangeOf(std::span<const std::string> lines, TextPosition start, int characters,
             PositionEncoding encoding);
Json rangeOf(std::span<const std::string> lines, LinePlace from, LinePlace to,
             PositionEncoding encoding);

}  // namespace vek::lsp
