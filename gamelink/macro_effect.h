#pragma once

#include <optional>
#include <string_view>

#include "app/macro_outcome.h"
#include "app/messages.h"

namespace vek {

// Whether a macro must be answered: one that hands values back ("dde: putv", "dde: puts", ...)
// outside any loop, condition or subroutine. Inside one it may rightly give none.
bool asksForAnswer(std::string_view macro);

// Why a macro sent for its effect did not have it: the game timed out, refused it, answered with
// an error, or gave no answer where one was due. Nothing for a macro that went through, and for
// one whose failure the link has shown the user itself (no game, a broken conversation).
std::optional<BilingualText> effectFault(std::string_view macro, const MacroOutcome& outcome,
                                         bool answerDue);

}  // namespace vek
