#include "objects/source_picture.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/discompiler.h"
#include "objects/object_check.h"
#include "objects/object_document.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::errorOf;

// An object like a user's: a 60 x 40 picture of distinct rows, scripts and installation routines.
CobData puppyObject() {
    CobData cob;
    cob.quantity = 3;
    cob.scripts = {"scrp 2 5 3 1,doif a,b,endi,endm", "scrp 2 5 3 9,snde wuff,endm"};
    cob.imports = {"inst,new: simp puppy 4 0 3000 0,endm"};
    SpriteImage picture(60, 40);
    for (std::size_t k = 0; k < picture.pixels.size(); ++k)
        picture.pixels[k] = static_cast<std::uint8_t>(k * 7 + k / 60);
    setCobPicture(cob, picture);
    cob.name = "Puppy";
    return cob;
}

class SourcePictureTest : public ::testing::Test {
  protected:
    void compile(ObjectDocument& on) { on.compileSource({"", pictures}); }
    fs::path saveObject(const CobData& cob, const char* name) {
        writeCobFile(dir / name, cob);
        return dir / name;
    }

    testing::TempDir dir;
    testing::FakePictures pictures;
};

// Discompile, compile, save the source, load it into another document and compile again: the
// picture comes back byte for byte every time, and lies beside the source as a one-sprite file.
TEST_F(SourcePictureTest, ARoundTripThroughTheSourceKeepsThePictureByteForByte) {
    const CobData puppy = puppyObject();
    ObjectDocument document;
    document.load(saveObject(puppy, "puppy.cob"));
    document.discompile();
    EXPECT_NE(document.sourceText().find("\nyear 0\npicture puppy.spr\n\n"), std::string::npos)
        << document.sourceText();
    ASSERT_TRUE(document.keptPicture());

    compile(document);  // not saved yet: the kept picture
    EXPECT_EQ(document.cob(), puppy);

    fs::create_directory(dir / "src");
    document.saveSource(dir / "src" / "puppy.cos");
    EXPECT_FALSE(document.keptPicture());
    const SpriteTable table = readSpriteTable(dir / "src" / "puppy.spr");
    ASSERT_EQ(table.count(), 1u);

    ObjectDocument fresh;
    fresh.loadSource(dir / "src" / "puppy.cos");
    compile(fresh);
    EXPECT_EQ(fresh.cob(), puppy);
    fresh.save(dir / "again.cob");
    EXPECT_EQ(readFileBytes(dir / "again.cob"), readFileBytes(dir / "puppy.cob"));
}

// A source that names no picture compiles to none, whatever an earlier object or a file beside
// it holds; the picture kept for the discompiled source belongs to that source alone.
TEST_F(SourcePictureTest, ASourceThatNamesNoPictureNeverTakesOneFromEarlier) {
    ObjectDocument document;
    document.load(saveObject(puppyObject(), "puppy.cob"));
    document.discompile();
    std::string withoutLine = document.sourceText();
    withoutLine.erase(withoutLine.find("picture puppy.spr\n"), 18);
    document.typeSource(withoutLine);
    compile(document);
    EXPECT_EQ(document.cob().pictureWidth, 0);
    EXPECT_TRUE(document.cob().picturePixels.empty());

    writePictureFile(dir / "puppy.spr", SpriteImage(2, 2, 9));
    writeSourceFile(dir / "plain.cos",
                    std::vector<std::string>{"name Plain", "scrp 2 5 3 1", "endm"});
    document.loadSource(dir / "plain.cos");
    EXPECT_FALSE(document.keptPicture()) << "the kept picture belongs to another source";
    compile(document);
    EXPECT_EQ(document.cob().pictureWidth, 0);
    EXPECT_EQ(document.cob().scripts.size(), 1u);

    // Saved under a name that does not name the kept picture: no file is written.
    document.load(dir / "puppy.cob");
    document.discompile();
    document.typeSource(withoutLine);
    document.saveSource(dir / "other.cos");
    EXPECT_EQ(readSpriteTable(dir / "puppy.spr").entries.front().width, 2) << "left as it was";
}

TEST_F(SourcePictureTest, APictureLineThatCannotBeReadStopsTheCompilationAtItsLine) {
    writeFileAtomically(dir / "empty.spr", std::string_view("\0\0", 2));
    writePictureFile(dir / "two.spr", SpriteImage(2, 1, 4));
    const struct {
        std::string line;
        fs::path folder;
        std::string error;  // empty: the picture is taken
    } cases[] = {
        {"picture two.spr", dir.path(), ""},
        {"picture \tTWO.SPR\t", dir.path(), ""},  // any case, blanks around the name
        {"picture ../two.spr", dir.path(), "without a folder: \"../two.spr\""},
        {"picture sub\\two.spr", dir.path(), "without a folder"},
        {"picture ..", dir.path(), "without a folder"},
        {"picture", dir.path(), "without a folder: \"\""},
        {"picture two.spr", {}, "The source names the picture two.spr but is no file yet"},
        {"picture empty.spr", dir.path(), "The picture file holds no sprite"},
        {"picture gone.spr", dir.path(), std::string(kFileNotFound)},
        {"pictures two.spr", dir.path(), ""},  // no picture line: ignored as before
    };
    for (const auto& c : cases) {
        const std::vector<std::string_view> lines = {"name X", c.line, "scrp 1 2 3 4", "endm"};
        CompileOutput out;
        const CompileSettings settings{"", pictures, {c.folder}};
        std::string error;
        try {
            compileSourceInto(lines, settings, out);
        } catch (const VekError& thrown) {
            error = thrown.text(kLanguageEnglish);
            if (thrown.detail().file.empty()) {
                EXPECT_EQ(thrown.detail().line, 2u) << c.line;
            }
        }
        if (c.error.empty()) {
            EXPECT_EQ(error, "") << c.line;
            EXPECT_EQ(out.cob.scripts.size(), 1u) << c.line;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
            EXPECT_TRUE(out.cob.scripts.empty()) << c.line;
        }
    }
}

TEST(SourcePicture, ThePictureIsNamedAfterTheObjectFileElseTheObject) {
    const CobData withPicture = puppyObject();
    const struct {
        std::string objectFile;
        std::string objectName;
        std::optional<std::string> name;
    } cases[] = {
        {"puppy.cob", "Puppy", "puppy.spr"},
        {"PUPPY.COB", "", "PUPPY.spr"},
        {"", "My Ball/2", "My_Ball_2.spr"},
        {".cob", "..", "_cob.spr"},
        {"", "..", "__.spr"},
        {"", "", "picture.spr"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pictureFileNameOf(withPicture, c.objectFile, c.objectName), c.name)
            << c.objectFile;
    EXPECT_FALSE(pictureFileNameOf(CobData{}, "puppy.cob", "Puppy")) << "no picture, no line";
    EXPECT_EQ(discompile(CobData{}, fieldsOf(CobData{}), "").size(), 10u);

    CobData wide;
    wide.pictureWidth = 70000;
    wide.pictureHeight = 1;
    wide.picturePixels.resize(70000);
    EXPECT_NE(errorOf([&] { sourcePictureOf(wide, "wide.cob", ""); }).find("65535"),
              std::string::npos);
}

// The checker knows the line as a header line of ours, not as a command outside every section.
TEST(SourcePicture, TheCheckerAcceptsThePictureLine) {
    const std::vector<Finding> findings =
        checkSourceLines({"name Puppy", "picture puppy.spr", "scrp 2 5 3 1", "endm"});
    EXPECT_TRUE(findings.empty()) << findings.front().text.english;
    EXPECT_EQ(pictureNameOfSource("* c\npicture a.spr\nscrp 1 1 1 1\npicture b.spr\nendm\n"),
              "a.spr");
    EXPECT_EQ(pictureNameOfSource("scrp 1 1 1 1\npicture b.spr\nendm\n"), std::nullopt)
        << "inside a section it is a command";
}

}  // namespace
}  // namespace vek
