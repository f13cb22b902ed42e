#include "objects/animation_plan.h"

#include <algorithm>

#include "app/text_names.h"
#include "app/vek_error.h"
#include "language/animation.h"
#include "language/dictionary.h"
#include "language/reading.h"

namespace vek {

namespace {

void requireSprite(std::size_t sprite, std::size_t count) {
    if (sprite < count) return;
    throw VekError(
        fill(Msg::AnimationSpriteMissing, {std::to_string(sprite), std::to_string(count)}));
}

bool named(const ParsedCommand& command, std::string_view name) {
    return command.word && command.word->name == name;
}

}  // namespace

AnimationPlan planSpriteRange(std::size_t first, std::size_t last, std::size_t count) {
    requireSprite(std::max(first, last), count);
    AnimationPlan plan{{}, true};
    const std::size_t low = std::min(first, last);
    const std::size_t high = std::max(first, last);
    for (std::size_t k = low; k <= high; ++k) plan.sprites.push_back(k);
    if (first > last) std::reverse(plan.sprites.begin(), plan.sprites.end());
    return plan;
}

AnimationPlan planAnimation(std::string_view text, std::size_t first, std::size_t count) {
    const Animation animation = readAnimation(text);
    if (!animation.wellFormed() || animation.frames.empty())
        throw VekError(fill(Msg::FindingAnimationString, {std::string(text)}));
    AnimationPlan plan{{}, animation.repeats};
    for (const int frame : animation.frames) {
        const std::size_t sprite = first + static_cast<std::size_t>(frame);
        if (sprite >= count) {
            throw VekError(
                fill(Msg::AnimationSpriteMissing, {std::to_string(sprite), std::to_string(count)}));
        }
        plan.sprites.push_back(sprite);
    }
    return plan;
}

std::optional<SourceAnimation> animationAtCaret(std::string_view source, std::size_t caret) {
    std::optional<SourceAnimation> object;
    // A source holds a command a line (or several, with commas); offsets count from the line.
    for (std::size_t start = 0; start <= source.size();) {
        const std::size_t end = std::min(source.find('\n', start), source.size());
        const std::string_view line = source.substr(start, end - start);
        for (const ParsedCommand& command : parseCommands(line)) {
            const auto& arguments = command.arguments;
            if ((named(command, "new: simp") || named(command, "new: comp")) &&
                arguments.size() >= 3) {
                const ParsedArgument& file = arguments[0];
                const ParsedArgument& first = arguments[2];
                object.reset();
                if (first.form != ParsedArgument::Form::Number || first.number < 0) continue;
                object = SourceAnimation{{},
                                         std::string(line.substr(file.offset, file.length)),
                                         static_cast<std::size_t>(first.number)};
                continue;
            }
            if (!named(command, "anim") || arguments.empty()) continue;
            const ParsedArgument& string = arguments[0];
            if (string.form != ParsedArgument::Form::ByteString) continue;
            if (caret < start + command.offset || caret > start + string.offset + string.length)
                continue;
            SourceAnimation found = object.value_or(SourceAnimation{});
            found.text = std::string(line.substr(string.offset, string.length));
            return found;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace vek
