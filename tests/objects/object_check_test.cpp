#include <gtest/gtest.h>

#include "app/text_names.h"
#include "objects/injection.h"
#include "objects/object_check.h"
#include "objects/source_lines.h"
#include "support/findings.h"

namespace vek {
namespace {

using testing::describeFindings;

using Lines = std::vector<std::string>;

std::vector<std::tuple<FindingCode, int, int>> placesOf(const std::vector<Finding>& findings) {
    std::vector<std::tuple<FindingCode, int, int>> places;
    for (const Finding& f : findings)
        places.emplace_back(f.code, f.position.line, f.position.column);
    return places;
}

// Later-generation words across the sections of a source make one finding for the source.
TEST(SourceCheck, LaterGenerationWordsOfAllSectionsMakeOneFinding) {
    const Lines source{"inst",           "setv ov00 1", "endm", "scrp 2 5 3 9",
                       "setv va00 ov00", "\tperm 20",   "endm"};
    const auto findings = checkSourceLines(source);
    EXPECT_EQ(placesOf(findings), (std::vector<std::tuple<FindingCode, int, int>>{
                                      {FindingCode::LaterGenerationSource, 2, 6}}))
        << describeFindings(findings);
}

// Findings name the source's own lines and columns, by the compiler's line rules: comments and
// header lines are no commands, a section ends at its endm line, indentation counts.
TEST(SourceCheck, FindingsNameSourceLinesAndColumns) {
    const Lines source = {"* heading",
                          "name Test",
                          "inst",
                          "\tnew: simp ball 1 0 10 0",
                          "\ttikc 3",
                          "endm",
                          "",
                          "scrp 2 5 3 1",
                          "  doif obv0 eq 1",
                          "endm and the rest is lost",
                          "snde drip",
                          "scrp 2 5 3 80",
                          "  pose 0"};
    using C = FindingCode;
    EXPECT_EQ(placesOf(checkSourceLines(source)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 5, 2},
                                                              {C::BlockNotClosed, 9, 3},
                                                              {C::OutsideSection, 11, 1},
                                                              {C::MissingEndm, 12, 1},
                                                              {C::UnknownEvent, 12, 12}}))
        << describeFindings(checkSourceLines(source));
}

Lines bigSource(int sections) {
    Lines lines;
    for (int k = 0; k < sections; ++k) {
        lines.push_back("* script " + std::to_string(k));
        lines.push_back("scrp 2 5 3 " + std::to_string(k % 10));
        lines.push_back("  doif obv0 eq " + std::to_string(k));
        lines.push_back(k % 7 == 3 ? "    frob" : "    setv obv0 0");
        lines.push_back("  endi");
        lines.push_back("endm");
        lines.push_back("");
    }
    return lines;
}

// An edit checks again only what it changed, and ends with what a whole check finds.
TEST(SourceCheck, AnEditChecksAgainWhatItChangedAndAgreesWithAWholeCheck) {
    struct Edit {
        std::size_t first;
        std::size_t removed;
        Lines inserted;
        std::size_t mostLinesRead;
    };
    const std::vector<Edit> edits = {
        {10, 1, {"    tikc 4"}, 7},  // a command inside a section
        {12, 1, {}, 100},            // its endm removed: the next section joins it
        {12, 0, {"endm"}, 100},      // and back
        {21, 0, {"inst", "new: simp ball 1 0 1 0"}, 100},  // a section opened outside
        {21, 2, {}, 100},                                  // and gone again
        {3, 0, {"snde drip"}, 6},                          // a command inside the first section
        {0, 3, {}, 100},                                   // the start of the first section removed
        {60, 0, {"scrp 2 5 3 1", "  pose 0"}, 100},        // an unclosed section at the end
        {0, 0, {"* new first line"}, 7},
        {0, 100, bigSource(3), 100},  // everything replaced
    };
    SourceCheck check;
    check.reset(bigSource(9));
    for (const Edit& edit : edits) {
        check.replaceLines(edit.first, edit.removed, edit.inserted);
        EXPECT_EQ(describeFindings(check.findings()),
                  describeFindings(checkSourceLines(check.lines())))
            << "after editing line " << edit.first;
        EXPECT_LE(check.linesRead(), edit.mostLinesRead) << "after editing line " << edit.first;
    }
}

// A check that was never reset takes its first lines as an edit of nothing.
TEST(SourceCheck, AFreshCheckTakesItsFirstLinesAsAnEdit) {
    SourceCheck check;
    check.replaceLines(0, 0, bigSource(2));
    EXPECT_EQ(describeFindings(check.findings()), describeFindings(checkSourceLines(bigSource(2))));
}

// How each kind of source line is shown: comments, header lines, commands from their first
// character on, and whether the next line is inside a section.
TEST(SourceLines, EachLineReadsForHighlightingAsCompilingReadsIt) {
    const struct {
        const char* line;
        bool openBefore;
        LineRole role;
        std::size_t start;
        bool openAfter;
    } cases[] = {
        {"* scrp 2 5 3 1", false, LineRole::Comment, 0, false},
        {"*", true, LineRole::Comment, 0, true},
        {"", true, LineRole::Plain, 0, true},
        {"name Ball", false, LineRole::Header, 0, false},
        {"  scrp 2 5 3 1", false, LineRole::Commands, 2, true},
        {"\tinst", false, LineRole::Commands, 1, true},
        {"  snde drip", true, LineRole::Commands, 2, true},
        {"endm", true, LineRole::Commands, 0, false},
        {" endm", false, LineRole::Header, 1, false},
    };
    for (const auto& c : cases) {
        const LineReading reading = sourceLineReading(c.line, c.openBefore);
        EXPECT_EQ(reading.role, c.role) << c.line;
        EXPECT_EQ(reading.start, c.start) << c.line;
        EXPECT_EQ(reading.openAfter, c.openAfter) << c.line;
    }
}

TEST(ObjectCheck, ObjectFilesAndMacroFilesNameTheirEntriesAndLines) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,tikc,endm"};
    cob.imports = {"new: simp ball 1 0 1 0,endm"};
    using C = FindingCode;
    EXPECT_EQ(placesOf(checkCobData(cob)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 1, 14},
                                                              {C::RoutineWithoutInst, 2, 1}}));
    EXPECT_EQ(placesOf(checkMacroFileLines(Lines{"\"tikc 1", "frob", "endm\""})),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 1, 2},
                                                              {C::UnknownCommand, 2, 1}}));
    EXPECT_EQ(describeFindings(
                  checkMacroFileLines(Lines{"\"snde drip", "anim [0123]", "over", "endm\""})),
              "");
    // Inserted into a source, each line is stripped and an empty one dropped by compiling.
    EXPECT_EQ(describeFindings(checkMacroFileLines(
                  Lines{"\"  snde drip", "\t\tanim [0123]  ", "", "\t", "over", "endm\""})),
              "");
    EXPECT_EQ(placesOf(checkMacroFileLines(Lines{"\"  setv  obv0 1", "endm\""})),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::TwoBlanks, 1, 9}}));
}

// Compiling ignores every line outside a section that is no header line: a command is pointed
// out, and so is a word it does not know, with the commands it may have meant.
TEST(SourceCheck, LinesOutsideEverySectionThatCompilingIgnoresArePointedOut) {
    const Lines source = {
        "name Ball", "names X",  "quantity 5", "sprite ball 0", "picture ball.spr",
        "  tikc 3",  "mvto 1 2", "inst",       "endm",          "hello world",
        "* note"};
    const std::vector<Finding> findings = checkSourceLines(source);
    using C = FindingCode;
    EXPECT_EQ(
        placesOf(findings),
        (std::vector<std::tuple<FindingCode, int, int>>{
            {C::OutsideSection, 6, 3}, {C::OutsideSection, 7, 1}, {C::OutsideSection, 10, 1}}))
        << describeFindings(findings);
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_TRUE(findings[0].text.english.starts_with(
        "Unknown word \"tikc\" outside every script and installation routine: compiling ignores "
        "this line: did you mean \"tick\""))
        << findings[0].text.english;
    EXPECT_TRUE(findings[0].text.german.starts_with("Unbekanntes Wort \"tikc\" außerhalb"))
        << findings[0].text.german;
    EXPECT_EQ(findings[0].length, 4);
    EXPECT_EQ(findings[1].text.english, textOf(Msg::CommandOutsideScripts).english);
    EXPECT_EQ(findings[2].subject, "hello");
    EXPECT_TRUE(std::all_of(findings.begin(), findings.end(),
                            [](const Finding& f) { return !f.isError(); }));
}

// Injection sends the scripts and the first routine only: a later routine is not held against it.
TEST(ObjectCheck, AnInjectionIsCheckedForWhatItSends) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,inst,snde honk,endm"};
    cob.imports = {"inst,new: simp ball 1 0 1 0,endm", "inst,frob,endm"};
    using C = FindingCode;
    EXPECT_EQ(placesOf(checkCobData(cob)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 3, 6}}));
    EXPECT_EQ(describeFindings(checkInjection(cob)), "");
    cob.imports.front() = "inst,frob,endm";
    EXPECT_EQ(placesOf(checkInjection(cob)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 2, 6}}));
}

}  // namespace
}  // namespace vek
