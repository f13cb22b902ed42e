#pragma once

#include <string_view>
#include <vector>

#include "language/checker.h"

namespace vek {

// Whether a word that this game does not know is one that later game generations do: their
// object variables `ov00` to `ov99` and the numbered `obv3` to `obv9`, their script variables
// `va00` to `va99`, the owner's variables `mv00` to `mv99`, and `perm` and `game`. Any case.
bool isLaterGenerationWord(std::string_view word);

// A text that uses this many different later-generation words is taken to be written for a
// later game.
inline constexpr std::size_t kLaterGenerationWordsForOneFinding = 3;

// Where the unknown words of `findings` (in text order) include at least
// kLaterGenerationWordsForOneFinding different later-generation words, their findings give way
// to one error at the first of them that names the words; other findings stay.
void gatherLaterGenerationWords(std::vector<Finding>& findings);

}  // namespace vek
