#pragma once

#include <cstdint>
#include <string_view>

#include "sprites/sprite_file.h"

namespace vek {

// A whole decimal number as the creator's fields and the command line give it (blanks before it
// and a sign allowed); anything else throws the conversion error "'%s' ist kein gültiger
// Integerwert".
std::int64_t parseDecimalField(std::string_view text);

// The sprite file creator's three fields as a checked uniform file: the conversion error for a
// field that is not a number, a clear message for sizes the file cannot hold and for more sprites
// than the sprite editor's table opens.
UniformSpriteFile creatorLayout(std::string_view count, std::string_view width,
                                std::string_view height);

}  // namespace vek
