#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "language/checker.h"

namespace vek::cli {

// Prints each finding as editors and build tools read them: "NAME:LINE:COLUMN: error: text".
void printFindings(std::ostream& out, std::string_view name, std::span<const Finding> findings);

// Before a verb sends to the game: prints the findings on standard error and says whether
// sending may go on. With errors it may not, unless `--no-check` was given.
bool mayBeSent(Invocation& invocation, std::string_view name, std::span<const Finding> findings,
               bool noCheck);

}  // namespace vek::cli
