#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// An animation to play: the sprite numbers of a file it shows in turn, and whether it starts
// again after the last.
struct AnimationPlan {
    std::vector<std::size_t> sprites;
    bool repeats = false;

    bool operator==(const AnimationPlan&) const = default;
};

// Every sprite from `first` to `last`, either way round, over and over; a sprite beyond a file of
// `count` sprites is refused.
AnimationPlan planSpriteRange(std::size_t first, std::size_t last, std::size_t count);
// An animation string as `anim` takes it (read by readAnimation): each digit a sprite counted
// from `first`. A string that is not one, or that needs a sprite beyond a file of `count`
// sprites, is refused.
AnimationPlan planAnimation(std::string_view text, std::size_t first, std::size_t count);

// The `anim` string that a caret stands in (from the command's name to the string's end) and the
// object it animates: the sprite file name and first image of the last "new: simp" or
// "new: comp" before it.
struct SourceAnimation {
    std::string text;        // with its brackets
    std::string spriteName;  // as the source writes it, e.g. "vbal"
    std::size_t firstImage = 0;

    bool operator==(const SourceAnimation&) const = default;
};
// Nothing when the caret stands on no `anim` string; no sprite name when no object is made
// before it.
std::optional<SourceAnimation> animationAtCaret(std::string_view source, std::size_t caret);

}  // namespace vek
