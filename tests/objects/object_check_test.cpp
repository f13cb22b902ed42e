#include <gtest/gtest.h>

#include "objects/injection.h"
#include "objects/object_check.h"
#include "objects/source_lines.h"

namespace vek {
namespace {

using Lines = std::vector<std::string>;

std::string describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) {
        text += std::to_string(f.position.line) + ":" + std::to_string(f.position.column) + " " +
                std::string(severityName(f.severity)) + " " + f.text.english + "\n";
    }
    return text;
}

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
        << describe(findings);
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
        << describe(checkSourceLines(source));
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
        EXPECT_EQ(describe(check.findings()), describe(checkSourceLines(check.lines())))
            << "after editing line " << edit.first;
        EXPECT_LE(check.linesRead(), edit.mostLinesRead) << "after editing line " << edit.first;
    }
}

// A check that was never reset takes its first lines as an edit of nothing.
TEST(SourceCheck, AFreshCheckTakesItsFirstLinesAsAnEdit) {
    SourceCheck check;
    check.replaceLines(0, 0, bigSource(2));
    EXPECT_EQ(describe(check.findings()), describe(checkSourceLines(bigSource(2))));
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
    EXPECT_EQ(describe(checkMacroFileLines(Lines{"\"snde drip", "anim [0123]", "over", "endm\""})),
              "");
}

// Injection sends the scripts and the first routine only: a later routine is not held against it.
TEST(ObjectCheck, AnInjectionIsCheckedForWhatItSends) {
    CobData cob;
    cob.scripts = {"scrp 2 5 3 1,inst,snde honk,endm"};
    cob.imports = {"inst,new: simp ball 1 0 1 0,endm", "inst,frob,endm"};
    using C = FindingCode;
    EXPECT_EQ(placesOf(checkCobData(cob)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 3, 6}}));
    EXPECT_EQ(describe(checkInjection(cob)), "");
    cob.imports.front() = "inst,frob,endm";
    EXPECT_EQ(placesOf(checkInjection(cob)),
              (std::vector<std::tuple<FindingCode, int, int>>{{C::UnknownCommand, 2, 6}}));
}

}  // namespace
}  // namespace vek
