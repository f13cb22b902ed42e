#include "language/animation.h"

namespace vek {

Animation readAnimation(std::string_view text) {
    std::size_t skipped = 0;
    if (text.starts_with('[')) {
        text.remove_prefix(1);
        skipped = 1;
        if (text.ends_with(']')) text.remove_suffix(1);
    }
    Animation animation;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (animation.repeats || (c != 'R' && (c < '0' || c > '9'))) {
            animation.faultAt = skipped + at;
            return animation;
        }
        if (c == 'R') {
            animation.repeats = true;
        } else {
            animation.frames.push_back(c - '0');
        }
    }
    return animation;
}

}  // namespace vek
