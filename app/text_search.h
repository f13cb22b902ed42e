#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// How a text is searched: whole words only (a match neither follows nor precedes a letter,
// digit or underscore) and upper and lower case told apart or not. Case folds the letters A to
// Z alone, which are all the macro language has; other characters compare as they are.
struct SearchOptions {
    bool wholeWord = false;
    bool matchCase = false;
};

// A match: its first byte and its length in bytes of the UTF-8 text.
struct TextMatch {
    std::size_t offset = 0;
    std::size_t length = 0;
    auto operator<=>(const TextMatch&) const = default;
};

// Whether `wanted` matches the text at `offset` (its whole length) under the options.
bool matchesAt(std::string_view text, std::size_t offset, std::string_view wanted,
               SearchOptions options);

// Every match from the start, none overlapping another; none for an empty `wanted`.
std::vector<TextMatch> findAll(std::string_view text, std::string_view wanted,
                               SearchOptions options);

// The first match at or after `from` (forwards), or the last one that ends at or before `from`
// (backwards); past the text's end the search goes round from the other end. Nothing when the
// text holds no match.
std::optional<TextMatch> findNext(std::string_view text, std::string_view wanted,
                                  SearchOptions options, std::size_t from, bool backwards = false);

struct Replacement {
    std::string text;
    std::size_t count = 0;
};

// The text with every match replaced, and how many were.
Replacement replaceAll(std::string_view text, std::string_view wanted, std::string_view replacement,
                       SearchOptions options);

}  // namespace vek
