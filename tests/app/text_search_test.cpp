#include "app/text_search.h"

#include <gtest/gtest.h>

namespace vek {
namespace {

struct FindCase {
    const char* text;
    const char* wanted;
    SearchOptions options;
    std::vector<std::size_t> offsets;
};

TEST(TextSearch, FindsEveryMatchUnderTheOptions) {
    const SearchOptions plain{};
    const SearchOptions word{.wholeWord = true};
    const SearchOptions cased{.matchCase = true};
    const FindCase cases[] = {
        {"setv var0 1\nsetv VAR0 2", "var0", plain, {5, 17}},
        {"setv var0 1\nsetv VAR0 2", "var0", cased, {5}},
        {"setv var0 1\nsetv VAR0 2", "VAR0", cased, {17}},
        // A word is not found inside a longer one, at the text's ends it is.
        {"var0 var01 xvar0 var0", "var0", word, {0, 17}},
        {"var0_1 var0", "var0", word, {7}},
        // Letters beyond ASCII belong to the word around them.
        {"\xc3\xa4var0 var0", "var0", word, {7}},
        // Matches do not overlap.
        {"aaaa", "aa", plain, {0, 2}},
        {"abc", "", plain, {}},
        {"ab", "abc", plain, {}},
        // Only A to Z fold.
        {"\xc3\x84 \xc3\xa4", "\xc3\xa4", plain, {3}},
    };
    for (const FindCase& c : cases) {
        std::vector<std::size_t> offsets;
        for (const TextMatch& match : findAll(c.text, c.wanted, c.options)) {
            EXPECT_EQ(match.length, std::string_view(c.wanted).size());
            offsets.push_back(match.offset);
        }
        EXPECT_EQ(offsets, c.offsets) << c.text << " / " << c.wanted;
    }
}

TEST(TextSearch, NextAndPreviousGoRoundTheText) {
    const std::string text = "mvby 1 0\nmvby 2 0\nmvby 3 0";  // matches at 0, 9, 18
    const SearchOptions options{};
    struct {
        std::size_t from;
        bool backwards;
        std::size_t expected;
    } const cases[] = {
        {0, false, 0},  {1, false, 9}, {9, false, 9}, {19, false, 0},  // round to the start
        {26, true, 18}, {18, true, 9}, {13, true, 9}, {3, true, 18},   // round to the end
    };
    for (const auto& c : cases) {
        const auto found = findNext(text, "MVBY", options, c.from, c.backwards);
        ASSERT_TRUE(found) << c.from;
        EXPECT_EQ(found->offset, c.expected) << c.from << (c.backwards ? " back" : "");
    }
    EXPECT_FALSE(findNext(text, "mvto", options, 0));
    EXPECT_TRUE(matchesAt(text, 9, "MVBY", options));
    EXPECT_FALSE(matchesAt(text, 9, "MVBY", {.matchCase = true}));
    EXPECT_FALSE(matchesAt(text, 25, "0x", options));
}

TEST(TextSearch, ReplaceAllGivesTheTextAndTheCount) {
    const Replacement words =
        replaceAll("var0 var01 VAR0\nvar0", "var0", "ov00", {.wholeWord = true});
    EXPECT_EQ(words.text, "ov00 var01 ov00\nov00");
    EXPECT_EQ(words.count, 3u);
    // A replacement that holds what is searched is not searched again.
    const Replacement grown = replaceAll("ab ab", "ab", "abab", {});
    EXPECT_EQ(grown.text, "abab abab");
    EXPECT_EQ(grown.count, 2u);
    const Replacement none = replaceAll("setv var0 1", "mvby", "mvto", {});
    EXPECT_EQ(none.text, "setv var0 1");
    EXPECT_EQ(none.count, 0u);
    EXPECT_EQ(replaceAll("a-a-a", "-", "", {}).text, "aaa");
}

}  // namespace
}  // namespace vek
