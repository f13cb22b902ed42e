#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vek {

// An animation string as `anim` takes it: one digit a frame, each a pose counted from the
// object's first image, and perhaps an `R` at the end that repeats them.
struct Animation {
    std::vector<int> frames;
    bool repeats = false;
    // Where the string stops being one (bytes into what was read); npos when it is well formed.
    std::size_t faultAt = std::string_view::npos;

    bool wellFormed() const { return faultAt == std::string_view::npos; }
};

// Reads an animation string, with or without the brackets of a byte string around it. Reading
// stops at the first byte that does not belong: a non-digit, or anything after `R`.
Animation readAnimation(std::string_view text);

}  // namespace vek
