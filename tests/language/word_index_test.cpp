#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/dictionary.h"
#include "language/word_index.h"

namespace vek {
namespace {

TEST(WordIndex, FindsEachNameExactlyThroughGrowthAndSharedBeginnings) {
    // Names that agree in their first eight bytes, differ only in length, or only in case,
    // among enough others that the table grows several times.
    std::vector<std::string> names = {
        "new: simp", "new: simx", "new: sim", "new: simpler", "anim", "ANIM", "ani", "", "a"};
    for (int k = 0; k < 200; ++k) names.push_back("w" + std::to_string(k));
    std::vector<Word> words(names.size());
    WordIndex index;
    for (std::size_t k = 0; k < names.size(); ++k) index.add(names[k], &words[k]);
    EXPECT_EQ(index.size(), names.size());
    for (std::size_t k = 0; k < names.size(); ++k) EXPECT_EQ(index.find(names[k]), &words[k]);
    for (const std::string_view missing : {"new: simq", "new: si", "anima", "Anim", "w200", "aa"})
        EXPECT_EQ(index.find(missing), nullptr) << missing;

    // A name added again keeps its first word.
    Word other;
    index.add("anim", &other);
    EXPECT_EQ(index.find("anim"), &words[4]);
    EXPECT_EQ(index.size(), names.size());
    EXPECT_EQ(WordIndex().find("anim"), nullptr);
}

}  // namespace
}  // namespace vek
