#include <gtest/gtest.h>

#include "language/layout.h"
#include "language/source_model.h"
#include "objects/object_check.h"
#include "objects/source_lines.h"

namespace vek {
namespace {

SourceModel sourceModel() {
    return SourceModel(std::make_unique<SourceCheck>(), sourceLineReading);
}

std::vector<std::string> describe(const std::vector<Finding>& findings) {
    std::vector<std::string> described;
    for (const Finding& f : findings) {
        described.push_back(std::to_string(f.position.line) + ":" +
                            std::to_string(f.position.column) + " " + f.text.english);
    }
    return described;
}

TEST(SourceModel, AnEditGivesWhatReadingTheEditedTextAfreshGives) {
    const std::string text = "inst\n\tzzzz 3\n* →\nendm\nscrp 2 5 3 1\n\tdoif 1 eq 1\nendm";
    const struct {
        LinePlace from;
        LinePlace to;
        std::string inserted;
        std::string result;
    } cases[] = {
        {{1, 1}, {1, 5}, "tick", "inst\n\ttick 3\n* →\nendm\nscrp 2 5 3 1\n\tdoif 1 eq 1\nendm"},
        {{0, 4},
         {0, 4},
         "\n\t→",
         "inst\n\t→\n\tzzzz 3\n* →\nendm\nscrp 2 5 3 1\n\tdoif 1 eq 1\nendm"},
        {{2, 0}, {4, 0}, "", "inst\n\tzzzz 3\nscrp 2 5 3 1\n\tdoif 1 eq 1\nendm"},
        {{5, 12},
         {5, 12},
         "\r\n\tendi",
         "inst\n\tzzzz 3\n* →\nendm\nscrp 2 5 3 1\n\tdoif 1 eq 1\n\tendi\nendm"},
        // Reversed and past the end: from the earlier place to the text's end.
        {{99, 99}, {6, 0}, "x", "inst\n\tzzzz 3\n* →\nendm\nscrp 2 5 3 1\n\tdoif 1 eq 1\nx"},
    };
    for (const auto& c : cases) {
        SourceModel edited = sourceModel();
        edited.reset(text, 1);
        edited.replace(c.from, c.to, c.inserted, 2);
        SourceModel fresh = sourceModel();
        fresh.reset(c.result, 2);
        EXPECT_EQ(edited.text(), c.result);
        EXPECT_EQ(edited.version(), 2);
        EXPECT_EQ(describe(edited.findings()), describe(fresh.findings())) << c.result;
    }
}

TEST(SourceModel, MarksEachCharacterTheGamesCodePageLacks) {
    const std::vector<Finding> found = unshowableCharacters("ä€→x\xff😀", 3);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].position, (TextPosition{3, 3}));
    EXPECT_EQ(found[0].subject, "→");
    EXPECT_EQ(found[0].code, FindingCode::UnshowableCharacter);
    EXPECT_TRUE(found[0].isError());
    EXPECT_EQ(found[1].position, (TextPosition{3, 5}));  // a byte that is no character
    EXPECT_EQ(found[2].position, (TextPosition{3, 6}));
    EXPECT_EQ(found[2].subject, "😀");
    EXPECT_TRUE(unshowableCharacters("plain ÄÖÜß €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ", 1).empty());
    EXPECT_NE(found[0].text.german.find("Codepage"), std::string::npos);
}

TEST(SourceModel, SplitsLinesAtEachKindOfLineBreak) {
    EXPECT_EQ(splitTextLines("a\r\nb\rc\nd\n"), (std::vector<std::string>{"a", "b", "c", "d", ""}));
    EXPECT_EQ(splitTextLines(""), std::vector<std::string>{""});
}

TEST(BlockSpans, SpanEachSectionAndBlockFromOpenerToCloser) {
    const struct {
        std::vector<std::string> lines;
        std::vector<LineSpan> spans;
    } cases[] = {
        {{"inst", "new: simp ball 1 0 10 0", "endm"}, {{0, 2}}},
        {{"scrp 2 5 3 1", "doif 1 eq 1", "else", "reps 3", "repe", "endi", "endm"},
         {{3, 4}, {1, 5}, {0, 6}}},
        // Opened and closed on one line; a block and its section left open.
        {{"inst", "reps 2,repe", "enum 2 0 0", "next", "loop", "tick 5"}, {{2, 3}, {4, 5}, {0, 5}}},
        {{"* comment", "", "header"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<LineSpan> spans = blockSpansOf(c.lines, sourceLineReading);
        EXPECT_EQ(spans, c.spans) << c.lines[0];
    }
}

}  // namespace
}  // namespace vek
