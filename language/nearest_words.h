#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "language/dictionary.h"

namespace vek {

// The known words nearest to a misspelt one by edit distance, nearest first, at most `most`;
// commands or values.
std::vector<const Word*> nearestWords(std::string_view written, bool commands, std::size_t most = 3,
                                      const Dictionary& dictionary = Dictionary::builtIn());

// Texts quoted as a list in both languages: "a", "b" or "c".
BilingualText quotedAlternatives(std::span<const std::string> texts);

// A finding's text about a misspelt word followed by the words it may have meant: "Unknown
// command "mvot": did you mean "mvto"?"; the text alone when there are none.
BilingualText didYouMean(BilingualText text, std::span<const Word* const> words);

}  // namespace vek
