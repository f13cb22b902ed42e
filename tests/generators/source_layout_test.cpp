#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_installation.h"
#include "generators/object_assistant.h"
#include "generators/simple_object_source.h"
#include "language/layout.h"
#include "objects/cob_compiler.h"
#include "objects/cob_data.h"
#include "objects/cob_fields.h"
#include "objects/discompiler.h"
#include "objects/macro_insertion.h"
#include "objects/source_lines.h"
#include "objects/source_picture.h"
#include "objects/sprite_file_pictures.h"
#include "sprites/sprite_document.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

using Lines = std::vector<std::string>;

Lines formatted(const Lines& lines) { return formatSourceLines(lines, sourceLineReading); }

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "|";
    return text;
}

TEST(SourceLayout, LaysOutSectionsAndBlocksAsTheDiscompilerDoes) {
    const std::pair<Lines, Lines> cases[] = {
        // Blocks, else, a header line and a comment at the margin; blanks become tabs.
        {{"name Ball", " * note", "inst", "new: simp ball 1 0 10 0", "endm", "", "  scrp 2 5 3 9",
          "doif obv0 eq 1", "   reps 2", "pose 0", "repe", "  else", "loop", "untl obv0 eq 0",
          "endi", "   endm"},
         {"name Ball", "\t* note", "inst", "\tnew: simp ball 1 0 10 0", "endm", "", "scrp 2 5 3 9",
          "\tdoif obv0 eq 1", "\t\treps 2", "\t\t\tpose 0", "\t\trepe", "\telse", "\t\tloop",
          "\t\tuntl obv0 eq 0", "\tendi", "endm"}},
        // Several commands on a line; a subroutine; a stray closer stays one tab in; a comment
        // inside a section and a blank-only line.
        {{"scrp 2 5 3 0,doif obv0 eq 1", "gsub move,endi", "subr move", "*x", "  ", "mvby 1 0",
          "retn", "endi", "endm"},
         {"scrp 2 5 3 0,doif obv0 eq 1", "\t\tgsub move,endi", "\tsubr move", "*x", "",
          "\t\tmvby 1 0", "\tretn", "\tendi", "endm"}},
        // Upper case words, an unknown word, and carriage returns kept.
        {{"inst\r", "DOIF var0 eq 1\r", "frob\r", "ENDI\r", "endm\r", "\r"},
         {"inst\r", "\tDOIF var0 eq 1\r", "\t\tfrob\r", "\tENDI\r", "endm\r", "\r"}},
    };
    for (const auto& [source, expected] : cases) {
        EXPECT_EQ(joined(formatted(source)), joined(expected));
        EXPECT_EQ(joined(formatted(expected)), joined(expected));
    }
    EXPECT_EQ(formatSourceText("inst\r\nsetv var0 1\r\nendm", sourceLineReading),
              "inst\r\n\tsetv var0 1\r\nendm");
}

// Every source the program writes: the demo's, the generators', the discompiled ones.
// A discompiled source's picture is written into `pictureFolder`, where its "picture" line finds
// it.
std::vector<Lines> everyGeneratedSource(const std::filesystem::path& gameDirectory,
                                        const std::filesystem::path& pictureFolder) {
    std::vector<Lines> sources;
    for (const auto& entry : std::filesystem::directory_iterator(gameDirectory)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".COS") sources.push_back(readSourceFile(entry.path()));
        if (extension == ".COB") {
            const CobData cob = readCobFile(entry.path());
            const std::string name = entry.path().filename().string();
            if (const auto picture = sourcePictureOf(cob, name, name))
                writePictureFile(pictureFolder / picture->fileName, picture->image);
            sources.push_back(discompile(cob, fieldsOf(cob), name));
        }
    }
    const ClassSelection ball = ClassSelection::of("2 5 3 {Ball}");
    SimpleObjectForm form;
    form.name = "Ball";
    form.file = "vbal";  // the demo's ball, for the source's "sprite" line
    for (int click = 0; click < 5; ++click) {
        form.click = click;
        form.edit = click % 2 == 1;
        sources.push_back(simpleObjectSource(form, ball));
    }
    const ChemicalDose doses[kInfusionChemicals] = {{12, "30"}, {0, "0"}, {255, "255"}, {7, "1"}};
    sources.push_back(infusionSource(doses));
    for (const ArrivalForm arrival : {ArrivalForm::Egg, ArrivalForm::Creature}) {
        sources.push_back(creatureFromParentsSource("mumm", "dadd", CreatureSex::Male, arrival));
        sources.push_back(cloneSource("abcd", CreatureSex::Female, arrival));
    }
    sources.push_back(macroInsertionLines(
        "02050309.MAC", Lines{"\"doif obv0 eq 1", "reps 2", "pose 0", "repe", "endi", "endm\""}));
    return sources;
}

// Every blank at a line's start taken away, except where the line would become a comment.
Lines flattened(Lines lines) {
    for (std::string& line : lines) {
        const std::size_t text = line.find_first_not_of(" \t");
        if (text != std::string::npos && line[text] != '*') line.erase(0, text);
    }
    return lines;
}

TEST(SourceLayout, EveryGeneratedSourceCompilesTheSameAfterFormattingTwice) {
    testing::TempDir dir;
    const demo::DemoLayout demo{dir.path()};
    demo::generateDemoInstallation(demo);
    const std::vector<Lines> sources = everyGeneratedSource(demo.gameDirectory(), dir.path());
    ASSERT_GE(sources.size(), 6u + 5 + 5 + 1);
    // The demo's "sprite" lines read its own sprite files.
    SpriteDocument sprites;
    SpriteFilePictures pictures(sprites);
    const std::string images = gamePathsUnder(demo.gameDirectory()).CImagePath;
    const auto compiled = [&](const Lines& lines) {
        const CompiledObject object =
            compileSource(lineViews(lines), {images, pictures, {dir.path()}});
        return std::pair(object.cob, object.fields);
    };
    for (const Lines& source : sources) {
        const Lines once = formatted(source);
        EXPECT_EQ(joined(formatted(once)), joined(once));
        EXPECT_EQ(joined(formatted(flattened(source))), joined(once));
        EXPECT_TRUE(compiled(once) == compiled(source)) << joined(source);
    }
}

TEST(SourceLayout, ADiscompiledSourceIsAlreadyLaidOut) {
    CobData cob;
    cob.imports = {"inst,new: simp ball 1 0 10 0,doif var0 eq 1,setv var0 2,endi,endm"};
    cob.scripts = {"scrp 2 5 3 9,reps 2,doif obv0 eq 1,pose 0,else,pose 1,endi,repe,endm",
                   "scrp 2 5 3 1,subr move,mvby 1 0,retn,endm"};
    const Lines source = discompile(cob, fieldsOf(cob), "BALL.COB");
    EXPECT_EQ(joined(formatted(source)), joined(source));
}

}  // namespace
}  // namespace vek
