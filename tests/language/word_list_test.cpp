#include <gtest/gtest.h>

#include "language/word_list.h"

namespace vek {
namespace {

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + 1))
        ++count;
    return count;
}

// The manual's page holds every word once, under its kind, with its entry in the page's
// language; the text list one line a word.
TEST(WordList, EveryWordOnceWithItsEntryInEachLanguage) {
    const Dictionary dictionary = Dictionary::decode(
        "new: simp\tcommand\ttoken integer\t-\tthis\tMakes <one>.\tMacht <eins>.\n"
        "doif\tcommand\tcondition\topens endi\tthis\tOpens.\tÖffnet.\n"
        "endi\tcommand\t-\tcloses\tthis\tCloses.\tSchließt.\n"
        "posl\tinteger\t-\t-\tthis\tLeft edge.\tLinker Rand.\n"
        "var0\tvariable\t-\t-\tthis\tA variable.\tEine Variable.\n");
    const struct {
        std::string_view language;
        const char* lang;
        const char* heading;
        const char* entry;
    } cases[] = {{kLanguageEnglish, "lang=\"en\"", "<h2>Commands</h2>", "Makes &lt;one&gt;."},
                 {kLanguageGerman, "lang=\"de\"", "<h2>Befehle</h2>", "Macht &lt;eins&gt;."}};
    for (const auto& c : cases) {
        const std::string page = wordListPage(dictionary, c.language);
        EXPECT_EQ(occurrences(page, "<dt id="), dictionary.words().size()) << c.lang;
        for (const char* part : {c.lang, c.heading, c.entry, "<dt id=\"new: simp\">"})
            EXPECT_NE(page.find(part), std::string::npos) << c.lang << ": " << part;
        // Commands first, in name order; then the values.
        EXPECT_LT(page.find("id=\"doif\""), page.find("id=\"new: simp\""));
        EXPECT_LT(page.find("id=\"new: simp\""), page.find("id=\"posl\""));
        EXPECT_EQ(page.find("<h2>Agents"), std::string::npos) << "no heading without words";
    }
    const std::string list = wordListText(dictionary, kLanguageEnglish);
    EXPECT_EQ(occurrences(list, "\n"), dictionary.words().size());
    EXPECT_EQ(list.substr(0, list.find('\n')), "doif condition");
}

}  // namespace
}  // namespace vek
