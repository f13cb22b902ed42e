#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"

namespace vek {

// What became of one macro sent to the running game: its answer, or why there is none.
struct MacroOutcome {
    enum class Kind {
        Answered,    // the game took the macro and answered (perhaps with an error)
        NotReached,  // no game to talk to; the link has told the user
        TimedOut,    // the game did not answer in time
        Refused,     // the game would not take the macro
        Broken,      // the conversation broke off; the link has told the user
    };

    Kind kind = Kind::Answered;
    std::string answer;   // the game's answer up to its first zero, when answered
    BilingualText fault;  // why it was not answered, where known (empty for Answered)

    static MacroOutcome answered(std::string text) { return {Kind::Answered, std::move(text), {}}; }
    static MacroOutcome failed(Kind kind, BilingualText why) { return {kind, {}, std::move(why)}; }

    bool reached() const { return kind == Kind::Answered; }
    // The game ran the macro no further than its error: the answer begins "Error: ".
    bool isErrorAnswer() const { return reached() && answer.starts_with(kGameErrorPrefix); }
    // The answer, or nothing when the conversation failed.
    std::optional<std::string> answerIfReached() const {
        if (!reached()) return std::nullopt;
        return answer;
    }
    // The link itself has shown the user why (the game missing, a conversation broken off).
    bool toldByTheLink() const { return kind == Kind::NotReached || kind == Kind::Broken; }

    static constexpr std::string_view kGameErrorPrefix = "Error: ";
};

// One macro a command sent and what became of it.
struct SentMacro {
    std::string macro;
    MacroOutcome outcome;
};

// True when the game took and answered every macro without an error.
bool allWentThrough(std::span<const SentMacro> sent);

// What the user is told about each macro that did not go through and of which the link has not
// told already: the macro (cut to its first kMacroShownLength characters) and the game's error
// answer, or why there was none.
std::vector<BilingualText> macroProblems(std::span<const SentMacro> sent);

// A macro as a message names it: at most this many characters, then "...".
inline constexpr std::size_t kMacroShownLength = 60;
std::string shownMacro(std::string_view macro);

}  // namespace vek
