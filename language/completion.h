#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "language/dictionary.h"

namespace vek {

// What may complete the word at the cursor of a line of commands: at a command's start the
// commands (two-part ones from their first part on, "new: s" gives "new: simp"), elsewhere the
// values and variables.
struct Completion {
    int start = 0;       // characters: where the text to replace begins
    std::string prefix;  // that text, as typed
    std::vector<const Word*> words;
};

// `cursor` counts characters from the start of the line. Inside a byte string nothing completes.
Completion completionAt(std::string_view line, int cursor,
                        const Dictionary& dictionary = Dictionary::builtIn());

// The word of the language at a column of a line (counted from 0), for its description; nullptr
// where there is none.
const Word* wordAt(std::string_view line, int column,
                   const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek
