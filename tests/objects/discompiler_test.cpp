#include <gtest/gtest.h>

#include "objects/cob_compiler.h"
#include "objects/discompiler.h"
#include "objects/source_picture.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using Lines = std::vector<std::string>;

Lines discompileScripts(const Lines& scripts) {
    CobData cob;
    cob.scripts = scripts;
    const Lines lines = discompile(cob, fieldsOf(cob), "x.cob");
    return Lines(lines.begin() + 10, lines.end());
}

CompiledObject recompile(const Lines& lines, const SourcePicture* kept = nullptr) {
    testing::FakePictures pictures;
    return compileSource(lineViews(lines), {"", pictures, {{}, kept}});
}

TEST(Discompiler, TheHeaderBlockComesFromTheFieldsAndTheFileName) {
    CobData cob;
    CobFields fields = fieldsOf(cob);
    fields.name = "Ball";
    fields.quantity = " 5";
    const Lines expected = {"* Discompiled from ball.cob using VEK DUVIvodezoroze V1.5",
                            "",
                            "* Parameters",
                            "name Ball",
                            "quantity  5",
                            "used 0",
                            "day 0",
                            "month 0",
                            "year 0",
                            ""};
    EXPECT_EQ(discompile(cob, fields, "ball.cob"), expected);
}

TEST(Discompiler, AfterNewTheFileNameIsEmpty) {
    const Lines lines = discompile(CobData{}, fieldsOf(CobData{}), "");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "* Discompiled from  using VEK DUVIvodezoroze V1.5");
    EXPECT_EQ(lines[3], "name unknown");
}

TEST(Discompiler, BlocksAreIndentedAndElseStandsOneLevelOut) {
    const Lines expected = {"* Script  1 Activate(1)",
                            "scrp 2 5 3 1",
                            "\tdoif A",
                            "\t\tB",
                            "\telse",
                            "\t\tC",
                            "\tendi",
                            "endm",
                            ""};
    EXPECT_EQ(discompileScripts({"scrp 2 5 3 1,doif A,B,else,C,endi,endm"}), expected);
}

TEST(Discompiler, RoutinesComeFirstAndInstOpensALevelOnlyInThem) {
    CobData cob;
    cob.scripts = {"scrp 1 1 1 9,inst,A,endm"};
    cob.imports = {"inst,new: simp,endm"};
    const Lines lines = discompile(cob, fieldsOf(cob), "o.cob");
    const Lines body(lines.begin() + 10, lines.end());
    const Lines expected = {
        "* Installation routine", "inst",   "\tnew: simp", "endm", "", "* Script  9 TIMER",
        "scrp 1 1 1 9",           "\tinst", "\tA",         "endm", ""};
    EXPECT_EQ(body, expected);
}

TEST(Discompiler, UnnamedAndOutOfTableEventsGiveABareScriptLine) {
    EXPECT_EQ(discompileScripts({"scrp 1 1 1 12,endm"})[0], "* Script ");
    EXPECT_EQ(discompileScripts({"scrp 1 1 1 72,endm"})[0], "* Script 72 Death Script");
    EXPECT_EQ(discompileScripts({"scrp 1 1 1 99,endm"})[0], "* Script ");
    EXPECT_EQ(discompileScripts({"scrp 1 1 1-5,endm"})[0], "* Script ");
}

TEST(Discompiler, AnEventNumberThatIsNoNumberStopsKeepingTheLinesWritten) {
    CobData cob;
    cob.scripts = {"scrp 1 1 1 1,endm", "scrp 1 1 1 x,endm"};
    Lines lines;
    EXPECT_EQ(errorOf([&] { discompileInto(cob, fieldsOf(cob), "a.cob", lines); }),
              "' x' ist kein gültiger Integerwert");
    EXPECT_EQ(lines.size(), 10u + 4u);
    EXPECT_EQ(lines.back(), "");
}

TEST(Discompiler, MoreClosersThanOpenersStayAtLevelZero) {
    const Lines expected = {
        "* Script  3 Hit", "scrp 1 1 1 3", "endi", "endi", "endi", "A", "endm", ""};
    EXPECT_EQ(discompileScripts({"scrp 1 1 1 3,endi,endi,endi,A,endm"}), expected);
}

TEST(Discompiler, OnlyTheFirstFourCharactersAreCompared) {
    const Lines lines = discompileScripts({"scrp 1 1 1 0,elsewhere,A,endm"});
    EXPECT_EQ(lines[2], "elsewhere");
    EXPECT_EQ(lines[3], "\tA");
}

TEST(Discompiler, DeepNestingIsCutAtOneHundredTabs) {
    std::string script = "scrp 1 1 1 1";
    for (int k = 0; k < 150; ++k) script += ",doif a";
    script += ",X,endm";
    const Lines lines = discompileScripts({script});
    const std::string& deepest = lines[lines.size() - 3];
    EXPECT_EQ(deepest, std::string(100, '\t') + "X");
}

TEST(Discompiler, CommasInsideCommandsSplitThemAndBlanksAfterThemAreLostOnRecompiling) {
    CobData cob;
    cob.scripts = {"scrp 1 1 1 1,sndc \"a, b\",endm"};
    const Lines lines = discompile(cob, fieldsOf(cob), "c.cob");
    EXPECT_EQ(lines[12], "\tsndc \"a");
    EXPECT_EQ(lines[13], "\t b\"");
    EXPECT_EQ(recompile(lines).cob.scripts, Lines{"scrp 1 1 1 1,sndc \"a,b\",endm"});
}

TEST(Discompiler, TwoCommasGiveALineOfIndentationThatRecompilingDrops) {
    CobData cob;
    cob.scripts = {"scrp 1 1 1 1,A,,B,endm"};
    const Lines lines = discompile(cob, fieldsOf(cob), "c.cob");
    EXPECT_EQ(lines[13], "\t");
    EXPECT_EQ(recompile(lines).cob.scripts, Lines{"scrp 1 1 1 1,A,B,endm"});
}

TEST(Discompiler, AScriptThatCompilingDropsIsMarkedSoTheSourceSaysSo) {
    struct Case {
        std::string script;
        bool kept;
    };
    const Case cases[] = {
        {"scrp 1 2 3 4,endm", true}, {"SCRP 1 2 3 4,endm", false}, {"", false},
        {"pose 1,endm", false},      {"inst,endm", true},          {"*scrp 1 2 3 4,endm", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const Lines lines = discompileScripts({c.script});
        EXPECT_EQ(lines.front() == kDroppedByCompilingComment, !c.kept);
        // The comment tells the truth: the script is gone after compiling exactly when marked.
        const auto again = recompile(lines).cob;
        EXPECT_EQ(again.scripts.size() + again.imports.size() == 1, c.kept);
        CobData cob;
        cob.scripts = {c.script};
        EXPECT_EQ(countDroppedByCompiling(cob), c.kept ? 0u : 1u);
    }
}

TEST(Discompiler, DiscompilingAndCompilingAgainKeepsEverythingButItems) {
    CobData cob;
    cob.items = 2;
    cob.quantity = 12;
    cob.used = 3;
    cob.timelimitMonth = 6;
    cob.timelimitDay = 30;
    cob.timelimitYear = 2001;
    cob.name = "Spinning Top";
    cob.scripts = {"scrp 2 21 7 1,doif obv0 eq 0,setv obv0 1,anim [012],else,setv obv0 0,endi,endm",
                   "scrp 2 21 7 9,enum 2 0 0,reps 3,wait 5,repe,next,endm"};
    cob.imports = {"inst,new: simp sptp 3 0 2000 0,setv cls2 2 21 7,endm", "inst,sys: camt,endm"};
    cob.pictureWidth = 1;
    cob.pictureHeight = 1;
    cob.pictureWidthCopy = 1;
    cob.picturePixels = {4};
    const Lines source = discompile(cob, fieldsOf(cob), "top.cob");
    EXPECT_EQ(source[9], "picture top.spr");
    const std::optional<SourcePicture> picture = sourcePictureOf(cob, "top.cob", cob.name);
    const CompiledObject again = recompile(source, &*picture);
    CobData expected = cob;
    expected.items = 1;
    EXPECT_EQ(again.cob, expected);
    EXPECT_EQ(again.objectFileName, "Spinning Top.COB");
}

}  // namespace
}  // namespace vek
