#include "sprites/sprite_creator.h"

#include <charconv>
#include <string>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

std::int64_t parseDecimalField(std::string_view text) {
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        throw invalidIntegerError(text);
    }
    return value;
}

UniformSpriteFile creatorLayout(std::string_view count, std::string_view width,
                                std::string_view height) {
    const std::int64_t n = parseDecimalField(count);
    const std::int64_t w = parseDecimalField(width);
    const std::int64_t h = parseDecimalField(height);
    // Nothing is made that the sprite editor would refuse to open.
    if (n > static_cast<std::int64_t>(kSpriteTableCapacity)) {
        const std::string most = std::to_string(kSpriteTableCapacity);
        throw VekError(fill(Msg::SpriteCountBeyondEditor, {std::to_string(n), most}));
    }
    return checkUniformSpriteFile(n, w, h);
}

}  // namespace vek
