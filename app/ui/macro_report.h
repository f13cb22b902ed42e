#pragma once

#include <QString>
#include <span>

#include "app/macro_outcome.h"

namespace vek::ui {

struct AppContext;

// Shows one box that names each macro the game answered with an error, refused or left
// unanswered, with the game's answer or the reason (a game that was not reached the link has
// reported already). True when every macro went through, so that the caller tells its success.
bool reportMacroProblems(const AppContext& context, std::span<const SentMacro> sent);

// The status line's note for a macro sent by hand: "Sent" and the macro as messages name it.
QString sentNote(const AppContext& context, std::string_view macro);

}  // namespace vek::ui
