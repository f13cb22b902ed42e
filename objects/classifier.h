#pragma once

#include <cstdint>

namespace vek {

// The class number of a game object: family, genus and species (each 0 to 255) packed into the
// three high bytes of one 32-bit value, shown signed (family 128 and up give negative numbers).
struct Classifier {
    std::int64_t family = 0;
    std::int64_t genus = 0;
    std::int64_t species = 0;

    // Values outside 0..255 wrap as the 32-bit arithmetic does.
    std::int32_t classNumber() const {
        const auto packed =
            static_cast<std::uint64_t>(family * 16777216 + genus * 65536 + species * 256);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(packed & 0xFFFFFFFFu));
    }
};

}  // namespace vek
