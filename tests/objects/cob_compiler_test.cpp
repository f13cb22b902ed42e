#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/cob_compiler.h"
#include "objects/sprite_file_pictures.h"
#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using testing::FakePictures;
using Lines = std::vector<std::string>;

class CobCompilerTest : public ::testing::Test {
  protected:
    CompiledObject compile(const Lines& lines) {
        return compileSource(lineViews(lines), {"/game/Images/", pictures});
    }
    CompileOutput read(const Lines& lines) {
        CompileOutput out;
        compileSourceInto(lineViews(lines), {"/game/Images/", pictures}, out);
        return out;
    }

    FakePictures pictures;
};

TEST_F(CobCompilerTest, ASourceOfOnlyCommentsGivesTheEmptyUnknownObject) {
    const CompiledObject result = compile({"* my object", "*", "** nothing else"});
    EXPECT_EQ(result.cob, CobData{});
    EXPECT_EQ(result.objectFileName, "unknown.COB");
    EXPECT_EQ(encodeCob(result.cob).size(), 43u);
}

TEST_F(CobCompilerTest, ASectionBecomesOneMacroTextJoinedByCommas) {
    const CompiledObject result = compile({"scrp 2 5 3 1", "A", "B", "endm"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 2 5 3 1,A,B,endm"});
    EXPECT_EQ(result.fields.scriptCount, "1");
}

TEST_F(CobCompilerTest, LinesAreStrippedOfBlanksAndTabsAtBothEnds) {
    const CompiledObject result = compile({"  \tscrp 1 2 3 4 \t", "\t\tsetv obv0 1  ", " endm"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 1 2 3 4,setv obv0 1,endm"});
}

TEST_F(CobCompilerTest, OnlyAStarInTheFirstColumnMakesAComment) {
    const CompiledObject outside =
        compile({"   *word", "scrp 1 1 1 1", "   *word", "*comment", "endm"});
    EXPECT_EQ(outside.cob.scripts, Lines{"scrp 1 1 1 1,*word,endm"});
}

TEST_F(CobCompilerTest, HeaderKeywordsArePrefixesWithFixedValuePositions) {
    const CompiledObject result =
        compile({"name My Ball", "quantity 5", "used 2", "month 3", "day 4", "year 1999"});
    EXPECT_EQ(result.fields.name, "My Ball");
    EXPECT_EQ(result.fields.quantity, " 5") << "the separating blank stays in the quantity";
    EXPECT_EQ(result.cob.name, "My Ball");
    EXPECT_EQ(result.cob.quantity, 5);
    EXPECT_EQ(result.cob.used, 2);
    EXPECT_EQ(result.cob.timelimitMonth, 3);
    EXPECT_EQ(result.cob.timelimitDay, 4);
    EXPECT_EQ(result.cob.timelimitYear, 1999);
    EXPECT_EQ(result.objectFileName, "My Ball.COB");

    // The value still starts at character 6, so the blank after "names" comes with it.
    EXPECT_EQ(compile({"names X"}).cob.name, " X");
    EXPECT_EQ(compile({"name"}).cob.name, "") << "a bare keyword gives an empty value";
}

TEST_F(CobCompilerTest, LinesBetweenSectionsAreIgnoredExceptHeaderLines) {
    const CompiledObject result = compile({"scrp 2 5 3 1", "A", "endm", "stray text", "name Late",
                                           "inst", "new: simp ball", "endm", "more"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 2 5 3 1,A,endm"});
    EXPECT_EQ(result.cob.imports, Lines{"inst,new: simp ball,endm"});
    EXPECT_EQ(result.cob.name, "Late");
}

TEST_F(CobCompilerTest, AHeaderKeywordInsideASectionIsACommand) {
    const CompiledObject result = compile({"scrp 1 1 1 1", "name Inner", "endm"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 1 1 1 1,name Inner,endm"});
    EXPECT_EQ(result.cob.name, "unknown");
}

TEST_F(CobCompilerTest, EndmEndsTheSectionAndTheRestOfItsLineIsLost) {
    const CompiledObject result = compile({"inst", "A", "endm,B,C", "D"});
    EXPECT_EQ(result.cob.imports, Lines{"inst,A,endm"});
}

TEST_F(CobCompilerTest, AnUnterminatedLastSectionIsDropped) {
    const CompiledObject result = compile({"scrp 1 1 1 1", "A", "endm", "scrp 1 1 1 2", "B"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 1 1 1 1,A,endm"});
}

TEST_F(CobCompilerTest, BlankLinesInsideASectionAddNoEmptyElements) {
    const CompiledObject result =
        compile({"scrp 1 1 1 1", "", "   ", "\t\t", " \t ", "A", "", "endm"});
    EXPECT_EQ(result.cob.scripts, Lines{"scrp 1 1 1 1,A,endm"});
}

TEST_F(CobCompilerTest, AQuantityThatIsNoWholeNumberStopsAfterTheSectionsAreIn) {
    CompileOutput out = read({"scrp 1 1 1 1", "endm", "name Ball", "quantity\t5"});
    EXPECT_EQ(out.cob.scripts.size(), 1u);
    EXPECT_EQ(out.fields.quantity, "\t5");
    EXPECT_EQ(errorOf([&] { takeFieldValues(out.fields, out.cob); }),
              "'\t5' ist kein gültiger Integerwert");
    EXPECT_EQ(out.cob.items, 1);
    EXPECT_EQ(out.cob.name, "unknown") << "fields after the failing one are not taken over";
    EXPECT_EQ(errorOf([&] { compile({"quantity many"}); }),
              "' many' ist kein gültiger Integerwert");
}

TEST_F(CobCompilerTest, ASpriteLineTakesThatSpriteOfTheImageDirectoryAsThePicture) {
    pictures.sprites.resize(4);
    pictures.sprites[3] = SpriteImage(2, 2);
    pictures.sprites[3].pixels = {1, 2, 3, 4};
    const CompiledObject result = compile({"sprite ball 3"});
    EXPECT_EQ(pictures.openedFiles, Lines{"/game/Images/ball.spr"});
    EXPECT_EQ(pictures.selected, 3);
    EXPECT_EQ(result.cob.pictureWidth, 2);
    EXPECT_EQ(result.cob.pictureHeight, 2);
    EXPECT_EQ(result.cob.pictureWidthCopy, 2);
    EXPECT_EQ(result.cob.picturePixels, (std::vector<std::uint8_t>{3, 4, 1, 2}));
    EXPECT_EQ(result.fields.width, "2");
    EXPECT_EQ(result.fields.height, "2");
}

TEST_F(CobCompilerTest, ASpriteNumberThatIsNoNumberStopsAtThatLineKeepingEarlierScripts) {
    CompileOutput out;
    const Lines source = {"scrp 1 1 1 1", "endm", "sprite ball x", "scrp 1 1 1 2", "endm"};
    EXPECT_EQ(errorOf([&] {
                  compileSourceInto(lineViews(source), {"/i/", pictures}, out);
              }),
              "'x' ist kein gültiger Integerwert");
    EXPECT_EQ(out.cob.scripts.size(), 1u);
    EXPECT_TRUE(pictures.openedFiles.empty()) << "the number is checked before the file is opened";
}

TEST_F(CobCompilerTest, MoreThanOneHundredScriptsAreRefusedNamingTheLimit) {
    Lines source;
    for (int k = 0; k < 101; ++k)
        source.insert(source.end(), {"scrp 1 1 1 " + std::to_string(k % 10), "endm"});
    CompileOutput out;
    const std::string message = errorOf([&] {
        compileSourceInto(lineViews(source), {"", pictures}, out);
    });
    EXPECT_NE(message.find("100 scripts"), std::string::npos) << message;
    EXPECT_EQ(out.cob.scripts.size(), 100u);
    source.resize(200);
    EXPECT_EQ(compile(source).cob.scripts.size(), 100u) << "exactly one hundred fit";
}

TEST(CobCompilerSpriteFiles, SpriteFilesAreReadFromTheImageDirectory) {
    testing::TempDir dir;
    SpriteImage first(3, 1, 5);
    SpriteImage second(2, 3);
    second.pixels = {1, 1, 2, 2, 3, 3};
    writeSpriteFile(dir / "ball.spr", std::vector<SpriteImage>{first, second});
    SpriteDocument sprites;
    SpriteFilePictures pictures(sprites);
    const std::string imagePath = pathToUtf8(dir.path()) + "/";
    const CompiledObject result =
        compileSource(lineViews(Lines{"sprite ball 1"}), {imagePath, pictures});
    EXPECT_EQ(result.cob.picturePixels, (std::vector<std::uint8_t>{3, 3, 2, 2, 1, 1}));
    // The name is found whatever its letter case, as the game's file system finds it.
    EXPECT_EQ(compileSource(lineViews(Lines{"sprite BALL 1"}), {imagePath, pictures}).cob,
              result.cob);

    const std::string beyond = errorOf([&] {
        compileSource(lineViews(Lines{"sprite ball 2"}), {imagePath, pictures});
    });
    EXPECT_NE(beyond.find("no sprite 2"), std::string::npos) << beyond;
    EXPECT_FALSE(errorOf([&] {
                     compileSource(lineViews(Lines{"sprite gone 0"}), {imagePath, pictures});
                 }).empty());
}

TEST(CobSourceFiles, SourcesAreAnsiTextWithCrLf) {
    testing::TempDir dir;
    writeSourceFile(dir / "a.cos", Lines{"name Bär", "", "scrp 1 1 1 1"});
    EXPECT_EQ(readFileText(dir / "a.cos"), "name B\xE4r\r\n\r\nscrp 1 1 1 1\r\n");
    EXPECT_EQ(readSourceFile(dir / "a.cos"), (Lines{"name Bär", "", "scrp 1 1 1 1"}));
    const auto missing = dir / "missing.cos";
    EXPECT_EQ(errorOf([&] { readSourceFile(missing); }),
              "Kann Datei " + pathToUtf8(missing) + " nicht öffnen");
    const auto unwritable = dir / "no" / "such" / "dir.cos";
    EXPECT_EQ(errorOf([&] { writeSourceFile(unwritable, Lines{"x"}); }),
              "Kann Datei " + pathToUtf8(unwritable) + " nicht erstellen");
}

}  // namespace
}  // namespace vek
