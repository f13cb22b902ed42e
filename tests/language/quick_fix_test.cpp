#include <gtest/gtest.h>

#include "language/quick_fix.h"
#include "objects/object_check.h"
#include "objects/source_lines.h"

namespace vek {
namespace {

using Lines = std::vector<std::string>;

std::string names(const std::vector<const Word*>& words) {
    std::string text;
    for (const Word* word : words) text += word->name + " ";
    return text;
}

// Each fix as "line:column+length=text (title)".
std::string fixesOf(const Lines& lines, FindingCode code, const LineReader& reader) {
    const std::vector<Finding> findings = reader
                                              ? checkSourceLines(lines)
                                              : checkMacro(MacroText::immediate(lines.front()),
                                                           MacroKind::Macro, objectCheckOptions());
    std::string text;
    for (const Finding& finding : findings) {
        if (finding.code != code) continue;
        for (const QuickFix& fix : quickFixesFor(finding, lines, reader)) {
            text += std::to_string(fix.at.line) + ":" + std::to_string(fix.at.column) + "+" +
                    std::to_string(fix.length) + "=" + fix.text + " (" + fix.title.english + ") ";
        }
    }
    return text;
}

TEST(QuickFix, OffersTheNearestKnownWordsNearestFirst) {
    EXPECT_EQ(names(nearestWords("mvot", true)).substr(0, 5), "mvto ");
    EXPECT_EQ(names(nearestWords("TIKC", true)).substr(0, 5), "tick ");
    EXPECT_EQ(names(nearestWords("obv9", false, 1)), "obv0 ");
    EXPECT_EQ(names(nearestWords("zzzzzzzz", true)), "");
    EXPECT_LE(nearestWords("setx", true, 2).size(), 2u);
}

TEST(QuickFix, ReplacesAMisspeltWordOrAddsTheMissingCloser) {
    const LineReader source = sourceLineReading;
    EXPECT_TRUE(fixesOf({"inst", "\tmvot 1 2", "endm"}, FindingCode::UnknownCommand, source)
                    .starts_with("2:2+4=mvto (Did you mean \"mvto\"?) "));
    // The closer goes before the section's endm, or after its last line.
    EXPECT_EQ(fixesOf({"scrp 2 5 3 9", "\tdoif obv0 eq 1", "\t\tpose 0", "endm"},
                      FindingCode::BlockNotClosed, source),
              "4:1+0=endi\n (Add \"endi\") ");
    EXPECT_EQ(
        fixesOf({"scrp 2 5 3 9", "\treps 3", "\t\tpose 0"}, FindingCode::BlockNotClosed, source),
        "3:9+0=\nrepe (Add \"repe\") ");
    EXPECT_EQ(fixesOf({"inst", "\tenum 2 5 0", "\tkill targ"}, FindingCode::MissingEndm, source),
              "3:11+0=\nendm (Add \"endm\") ");
    // A line of commands that runs at once gets the closer at its end.
    EXPECT_EQ(fixesOf({"loop,wait 5"}, FindingCode::BlockNotClosed, nullptr),
              "1:12+0=,ever (Add \"ever\") ");
}

// Each extra blank or comma is removed where it was written; an animation string loses its
// blanks. Where the marked text was put together by joining, there is nothing to remove.
TEST(QuickFix, RemovesTheExtraBlankOrCommaWhereItWasWritten) {
    using C = FindingCode;
    const LineReader source = sourceLineReading;
    const struct {
        Lines lines;
        FindingCode code;
        LineReader reader;
        std::string fixes;
    } cases[] = {
        {{"inst", "\tnew: simp  ball 1 0 10 0", "endm"},
         C::TwoBlanks,
         source,
         "2:12+1= (Remove the extra blank) "},
        {{"inst", "\tsetv var0 1,", "endm"},
         C::TwoCommas,
         source,
         "2:13+1= (Remove the extra comma) "},
        {{"inst", "  ,setv var0 1", "endm"},
         C::TwoCommas,
         source,
         "2:3+1= (Remove the extra comma) "},
        {{"inst", "\tanim [1 2 3R]", "endm"},
         C::BlankInAnimation,
         source,
         "2:7+8=[123R] (Remove the blanks from the animation string) "},
        {{", ,tick 5"},
         C::TwoCommas,
         nullptr,
         "1:1+1= (Remove the extra comma) 1:2+2= (Remove the extra comma) "},
        {{"setv   var0 1"}, C::TwoBlanks, nullptr, "1:6+2= (Remove the extra blank) "},
        {{""}, C::TwoCommas, nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixesOf(c.lines, c.code, c.reader), c.fixes) << c.lines[1 % c.lines.size()];

    const Lines entry = {"inst,endm \t"};
    const std::vector<Finding> findings =
        checkMacro(MacroText(entry.front()), MacroKind::Routine, objectCheckOptions());
    ASSERT_EQ(findings.size(), 1u);
    const std::vector<QuickFix> fixes = quickFixesFor(findings.front(), entry, nullptr);
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].title.german, "Das Leerzeichen am Ende entfernen");
    EXPECT_EQ(std::tie(fixes[0].at.column, fixes[0].length, fixes[0].text),
              std::make_tuple(10, 2, std::string()));
}

}  // namespace
}  // namespace vek
