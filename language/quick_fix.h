#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/checker.h"
#include "language/line_reading.h"
#include "language/nearest_words.h"

namespace vek {

// A change that mends a finding: `length` characters at `at` become `text` (which may hold line
// breaks). Applied as one step.
struct QuickFix {
    BilingualText title;  // "Did you mean "mvto"?"
    TextPosition at;
    int length = 0;
    std::string text;
};

// The fixes for a finding of a source's lines, read by `reader` (sections and their ends); with
// no reader, the lines are one line of commands that the game runs at once.
std::vector<QuickFix> quickFixesFor(const Finding& finding, std::span<const std::string> lines,
                                    const LineReader& reader,
                                    const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek
