#include "gamelink/macro_effect.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string>

#include "app/text_names.h"

namespace vek {

bool asksForAnswer(std::string_view macro) {
    static constexpr std::string_view kOpeners[] = {"enum", "esee", "etch", "doif",
                                                    "reps", "loop", "subr"};
    static constexpr std::string_view kClosers[] = {"next", "endi", "repe", "untl", "ever", "retn"};
    auto beginsWithOneOf = [](std::string_view command, std::span<const std::string_view> words) {
        return std::any_of(words.begin(), words.end(),
                           [command](std::string_view word) { return command.starts_with(word); });
    };
    std::string lower(macro);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    int depth = 0;
    for (std::string_view rest = lower; !rest.empty();) {
        const std::size_t comma = std::min(rest.find(','), rest.size());
        std::string_view command = rest.substr(0, comma);
        rest.remove_prefix(std::min(comma + 1, rest.size()));
        while (command.starts_with(' ')) command.remove_prefix(1);
        if (beginsWithOneOf(command, kOpeners)) ++depth;
        if (beginsWithOneOf(command, kClosers)) depth = std::max(0, depth - 1);
        if (depth == 0 && command.starts_with("dde: put")) return true;
    }
    return false;
}

std::optional<BilingualText> effectFault(std::string_view macro, const MacroOutcome& outcome,
                                         bool answerDue) {
    switch (outcome.kind) {
        case MacroOutcome::Kind::NotReached:
        case MacroOutcome::Kind::Broken:
            return std::nullopt;
        case MacroOutcome::Kind::TimedOut:
            return outcome.fault;
        case MacroOutcome::Kind::Refused:
            return fill(Msg::GameRefusedMacro, {macro});
        case MacroOutcome::Kind::Answered:
            break;
    }
    if (outcome.isErrorAnswer()) return fill(Msg::GameAnsweredError, {outcome.answer});
    if (outcome.answer.empty() && answerDue) return textOf(Msg::GameGaveNoAnswer);
    return std::nullopt;
}

}  // namespace vek
