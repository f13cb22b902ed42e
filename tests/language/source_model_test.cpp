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

// Each line's role, whether a section is open after it, and its tokens.
std::vector<std::string> describeShown(const SourceModel& model) {
    std::vector<std::string> described;
    for (const ShownLine& line : model.shownLines()) {
        std::string one =
            std::to_string(static_cast<int>(line.role)) + (line.openAfter ? "+" : "-");
        for (const Token& token : line.tokens) {
            one += " " + std::to_string(token.start) + "/" + std::to_string(token.length) + "/" +
                   std::to_string(static_cast<int>(token.kind));
        }
        described.push_back(one);
    }
    return described;
}

TEST(SourceModel, AnEditShowsItsLinesAsReadingTheTextAfreshShowsThem) {
    const std::vector<std::string> text = {"inst",       "\tsetv va00 3", "endm", "scrp 2 5 3 1",
                                           "\tmvby 1 2", "* note",        "endm", "\tsetv va01 4"};
    const struct {
        std::size_t first;
        std::size_t removed;
        std::vector<std::string> inserted;
    } cases[] = {
        {1, 1, {"\tsetv va00 4, mvby 2 3"}},  // one line of a section
        {2, 1, {}},                           // its closer goes: the next section reads on inside
        {0, 1, {"* inst"}},                   // its opener becomes a comment
        {3, 0, {"scrp 1 1 1 9", "\tstop", "endm"}},  // a whole section between two
        {6, 2, {}},                                  // the last lines
        {0, 8, {}},                                  // everything
        {7, 0, {"endm", "inst"}},                    // opens a section that stays open to the end
    };
    for (const auto& c : cases) {
        SourceModel edited = sourceModel();
        edited.reset(text, 1);
        edited.shownLines();  // read before the edit, so that the edit updates what was read
        edited.replaceLines(c.first, c.removed, c.inserted, 2);
        SourceModel fresh = sourceModel();
        fresh.reset(edited.lines(), 2);
        ASSERT_EQ(edited.lines().size(), fresh.lines().size()) << c.first;
        EXPECT_EQ(describeShown(edited), describeShown(fresh)) << c.first << " " << c.removed;
        EXPECT_EQ(describe(edited.findings()), describe(fresh.findings())) << c.first;
    }
}

TEST(SourceModel, ReplacingEveryLineByNoneLeavesOneEmptyLine) {
    SourceModel model = sourceModel();
    model.reset("inst\nendm", 1);
    model.replaceLines(0, 99, {}, 2);
    EXPECT_EQ(model.lines(), std::vector<std::string>{""});
    EXPECT_EQ(model.shownLines().size(), 1u);
    // Past the end, lines are added at the end.
    model.replaceLines(7, 3, {"inst", "endm"}, 3);
    EXPECT_EQ(model.lines(), (std::vector<std::string>{"", "inst", "endm"}));
}

Finding madeFinding(int line, int column, int length, Severity severity, std::string text) {
    Finding finding;
    finding.position = {line, column};
    finding.length = length;
    finding.severity = severity;
    finding.text = {text, text};
    return finding;
}

TEST(SourceModel, FindsTheFindingsOfALineAndPrefersAnErrorWhereTheyOverlap) {
    // A check that marks a warning over the first word of every line holding "warn" and an error
    // under its third character.
    auto check = std::make_unique<WholeLinesCheck>([](std::span<const std::string> lines) {
        std::vector<Finding> found;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (lines[k].find("warn") == std::string::npos) continue;
            const int line = static_cast<int>(k + 1);
            found.push_back(madeFinding(line, 1, 4, Severity::Warning, "wide"));
            found.push_back(madeFinding(line, 3, 1, Severity::Error, "narrow"));
        }
        return found;
    });
    SourceModel model(std::move(check), sourceLineReading);
    model.reset("plain\nwarn →\nplain", 1);
    EXPECT_TRUE(model.findingsOn(1).empty());
    EXPECT_TRUE(model.findingsOn(0).empty());
    EXPECT_TRUE(model.findingsOn(9).empty());
    ASSERT_EQ(model.findingsOn(2).size(), 3u);  // with the arrow the game cannot show
    EXPECT_EQ(model.findingsOn(2).back().code, FindingCode::UnshowableCharacter);
    const struct {
        int line;
        int column;
        const char* text;  // null: nothing there
    } places[] = {{2, 1, "wide"},     {2, 3, "narrow"}, {2, 4, "wide"}, {2, 5, nullptr},
                  {2, 6, "Codepage"}, {1, 1, nullptr},  {3, 3, nullptr}};
    for (const auto& place : places) {
        const Finding* found = model.findingAt(place.line, place.column);
        if (!place.text) {
            EXPECT_EQ(found, nullptr) << place.line << ":" << place.column;
            continue;
        }
        ASSERT_NE(found, nullptr) << place.line << ":" << place.column;
        EXPECT_NE(found->text.german.find(place.text), std::string::npos) << found->text.german;
    }
    // An edit above moves them with their line.
    model.replaceLines(0, 0, {"plain", "plain"}, 2);
    EXPECT_TRUE(model.findingsOn(2).empty());
    EXPECT_EQ(model.findingsOn(4).size(), 3u);
    EXPECT_EQ(model.findingAt(4, 3)->text.english, "narrow");
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
