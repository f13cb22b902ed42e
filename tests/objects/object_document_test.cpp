#include "objects/object_document.h"

#include <gtest/gtest.h>

#include "app/file_io.h"
#include "objects/injection.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

class ObjectDocumentTest : public ::testing::Test {
  protected:
    ObjectDocumentTest() {
        m_observation = document.observe([this](const ObjectDocumentEvent& event) {
            events.push_back(event.change);
            lastEvent = event;
        });
    }

    void compile(const Lines& source) {
        document.compile(lineViews(source), {"/game/Images/", pictures});
    }
    std::filesystem::path saveObject(const CobData& cob, const char* name) {
        writeCobFile(dir / name, cob);
        return dir / name;
    }

    testing::TempDir dir;
    testing::FakePictures pictures;
    ObjectDocument document;
    std::vector<ObjectChange> events;
    ObjectDocumentEvent lastEvent{ObjectChange::Replaced};

  private:
    Subscription m_observation;
};

CobData ballObject() {
    CobData cob;
    cob.quantity = 5;
    cob.scripts = {"scrp 2 5 3 1,A,endm", "scrp 2 5 3 9,B,endm"};
    cob.imports = {"inst,C,endm"};
    cob.name = "Ball";
    return cob;
}

TEST_F(ObjectDocumentTest, LoadingReplacesTheObjectAndRemembersTheNamePart) {
    document.load(saveObject(ballObject(), "BALL.COB"));
    EXPECT_EQ(document.cob(), ballObject());
    EXPECT_EQ(document.objectFileName(), "BALL.COB");
    EXPECT_EQ(document.fieldTexts().quantity, "5");
    EXPECT_EQ(document.fieldTexts().scriptCount, "2");
    EXPECT_EQ(events, std::vector{ObjectChange::Replaced});

    document.newObject();
    EXPECT_EQ(document.cob(), CobData{});
    EXPECT_TRUE(document.objectFileName().empty());
    EXPECT_EQ(document.fieldTexts(), fieldsOf(CobData{}));
}

TEST_F(ObjectDocumentTest, AFailedLoadLeavesTheObjectAsItWas) {
    document.load(saveObject(ballObject(), "BALL.COB"));
    events.clear();
    const Bytes whole = encodeCob(ballObject());
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{23}, std::size_t{30}, whole.size() - 3}) {
        writeFileAtomically(dir / "cut.cob", Bytes(whole.begin(), whole.begin() + cut));
        EXPECT_THROW(document.load(dir / "cut.cob"), VekError) << cut;
    }
    Bytes tooMany(24, 0);
    tooMany[16] = 120;
    writeFileAtomically(dir / "many.cob", tooMany);
    try {
        document.load(dir / "many.cob");
        FAIL() << "loaded 120 scripts";
    } catch (const VekError& error) {
        EXPECT_NE(error.text(kLanguageEnglish).find("120 scripts"), std::string::npos);
        EXPECT_NE(error.text(kLanguageGerman).find("120 Scripts"), std::string::npos);
    }
    EXPECT_EQ(document.cob(), ballObject());
    EXPECT_EQ(document.objectFileName(), "BALL.COB");
    EXPECT_TRUE(events.empty());
}

TEST_F(ObjectDocumentTest, SavingTakesTheFieldsAndStopsAtOneThatIsNoNumber) {
    CobFields fields = fieldsOf(CobData{});
    fields.quantity = "70000";
    document.save(dir / "q.cob", fields);
    const Bytes bytes = readFileBytes(dir / "q.cob");
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 4464) << "the file keeps the low 16 bits";
    EXPECT_EQ(document.cob().quantity, 70000);
    EXPECT_EQ(document.objectFileName(), "q.cob");

    fields.day = "soon";
    EXPECT_THROW(document.save(dir / "bad.cob", fields), VekError);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.cob"));
    EXPECT_EQ(document.objectFileName(), "q.cob");
}

TEST_F(ObjectDocumentTest, CompilingReplacesTheObjectAndNamesItsFile) {
    compile({"name My Ball", "quantity 5", "scrp 2 5 3 1", "A", "endm", "inst", "B", "endm"});
    EXPECT_EQ(events, (std::vector{ObjectChange::Replaced, ObjectChange::Compiled}));
    EXPECT_EQ(document.cob().scripts, Lines{"scrp 2 5 3 1,A,endm"});
    EXPECT_EQ(document.cob().quantity, 5);
    EXPECT_EQ(document.fieldTexts().quantity, " 5") << "the fields show the source's texts";
    EXPECT_EQ(document.objectFileName(), "My Ball.COB");
    EXPECT_TRUE(document.source().compiled);
}

TEST_F(ObjectDocumentTest, AFailingFieldStopsCompilingAfterTheScriptsAreIn) {
    document.load(saveObject(ballObject(), "BALL.COB"));
    events.clear();
    EXPECT_THROW(compile({"scrp 1 1 1 1", "endm", "name Ball", "quantity\t5"}), VekError);
    EXPECT_EQ(events, (std::vector{ObjectChange::Replaced, ObjectChange::Compiled}));
    EXPECT_EQ(document.cob().scripts.size(), 1u);
    EXPECT_EQ(document.cob().name, "unknown") << "the fields after the failing one are not taken";
    EXPECT_EQ(document.fieldTexts().name, "Ball");
    EXPECT_EQ(document.objectFileName(), "BALL.COB");

    // A sprite line that fails stops at that line with what was collected: nothing compiled.
    document.typeSource("changed");
    events.clear();
    EXPECT_THROW(compile({"scrp 1 1 1 1", "endm", "sprite nope x", "scrp 1 1 1 2", "endm"}),
                 VekError);
    EXPECT_EQ(events, std::vector{ObjectChange::Replaced});
    EXPECT_EQ(document.cob().scripts.size(), 1u);
    EXPECT_FALSE(document.source().compiled);
}

TEST_F(ObjectDocumentTest, NewAddsAnEmptyEntryUnlessTheListEndsInOne) {
    document.addEntry(ObjectList::Scripts);
    document.addEntry(ObjectList::Scripts);
    EXPECT_EQ(document.cob().scripts, Lines{"<empty>"});
    EXPECT_EQ(events, std::vector{ObjectChange::EntryAdded});

    document.editEntry(ObjectList::Scripts, 0, "scrp 1 1 1 1,endm");
    EXPECT_EQ(lastEvent.change, ObjectChange::EntryEdited);
    document.addEntry(ObjectList::Scripts);
    EXPECT_EQ(document.cob().scripts, (Lines{"scrp 1 1 1 1,endm", "<empty>"}));
    EXPECT_EQ(lastEvent.index, 1u);

    document.addEntry(ObjectList::Imports);
    EXPECT_EQ(document.cob().imports, Lines{"<empty>"});
    EXPECT_EQ(lastEvent.list, ObjectList::Imports);
}

TEST_F(ObjectDocumentTest, AListHoldsAtMostOneHundredEntries) {
    Lines source;
    for (int k = 0; k < 100; ++k) source.insert(source.end(), {"scrp 1 1 1 1", "endm"});
    compile(source);
    ASSERT_EQ(document.cob().scripts.size(), 100u);
    try {
        document.addEntry(ObjectList::Scripts);
        FAIL() << "a 101st entry";
    } catch (const VekError& error) {
        EXPECT_EQ(error.text(kLanguageEnglish),
                  "An object holds at most 100 entries in each list.");
        EXPECT_EQ(error.text(kLanguageGerman),
                  "Ein Objekt hat höchstens 100 Einträge in jeder Liste.");
    }
    EXPECT_EQ(document.cob().scripts.size(), 100u);
}

TEST_F(ObjectDocumentTest, RemovingAndEditingTellWhichEntryAndPassOverOthers) {
    compile({"inst", "A", "endm", "inst", "B", "endm", "inst", "C", "endm"});
    events.clear();
    document.removeEntry(ObjectList::Imports, 1);
    EXPECT_EQ(document.cob().imports, (Lines{"inst,A,endm", "inst,C,endm"}));
    EXPECT_EQ(lastEvent.change, ObjectChange::EntryRemoved);
    EXPECT_EQ(lastEvent.index, 1u);
    document.removeEntry(ObjectList::Imports, 2);
    document.editEntry(ObjectList::Scripts, 0, "x");
    EXPECT_EQ(events.size(), 1u) << "entries the list lacks change nothing";
}

TEST_F(ObjectDocumentTest, TakingAPictureStoresItUpsideDown) {
    SpriteImage sprite(20, 10, 3);
    for (int x = 0; x < 20; ++x) sprite.at(x, 9) = static_cast<std::uint8_t>(100 + x);
    document.takePicture(sprite);
    EXPECT_EQ(events, std::vector{ObjectChange::PictureTaken});
    const CobData& cob = document.cob();
    EXPECT_EQ(cob.pictureWidthCopy, 20);
    EXPECT_EQ(cob.picturePixels[0], 100);
    EXPECT_EQ(cob.picturePixels[19], 119);
    EXPECT_EQ(cob.picturePixels[20], 3);
}

// Changed and saved follow the undo stack back to the text last loaded or saved; compiled comes
// back with the text it was compiled from.
TEST_F(ObjectDocumentTest, TheSourceStateFollowsUndoAndRedo) {
    writeFileAtomically(dir / "a.cos", std::string_view("scrp 1 1 1 1\r\nendm\r\n"));
    document.loadSource(dir / "a.cos");
    EXPECT_EQ(document.sourceText(), "scrp 1 1 1 1\nendm");
    EXPECT_TRUE(document.source().saved);
    document.compileSource({"/game/Images/", pictures});
    document.typeSource("scrp 1 1 1 1\nendm\n*");
    document.typeSource("scrp 1 1 1 1\nendm\n* a");
    EXPECT_TRUE(document.source().changedButNotCompiled());
    UndoStack& steps = document.undoStack();
    EXPECT_EQ(steps.undoLabel()->english, "Typing") << "one step for the run of typing";
    steps.undo();
    EXPECT_EQ(document.sourceText(), "scrp 1 1 1 1\nendm");
    EXPECT_FALSE(document.source().changed);
    EXPECT_TRUE(document.source().saved);
    EXPECT_TRUE(document.source().compiled);
    steps.undo();  // the compilation
    EXPECT_FALSE(document.source().compiled);
    EXPECT_TRUE(document.cob().scripts.empty());
    steps.undo();  // the load
    EXPECT_TRUE(document.sourceText().empty());
    EXPECT_TRUE(document.source().changedButNotSaved()) << "the loaded file's text is gone";
    EXPECT_TRUE(document.sourceFileName().empty());
    steps.redo();
    EXPECT_EQ(document.sourceFileName(), "a.cos");
    EXPECT_TRUE(document.source().saved);
}

// Every kind of change of the text leaves it changed, not compiled and not saved, and loading
// a file resets it; what observers are told last is the state as it then is, so that a mark or a
// question drawn from the news is never one change behind.
TEST_F(ObjectDocumentTest, ObserversHearTheSourceStateEveryChangeLeaves) {
    std::vector<SourceState> told;
    const Subscription watch =
        document.observe([&](const ObjectDocumentEvent&) { told.push_back(document.source()); });
    writeFileAtomically(dir / "a.cos", std::string_view("inst\r\nendm\r\n"));
    writeFileAtomically(dir / "b.cos", std::string_view("* b\r\n"));
    document.load(saveObject(ballObject(), "BALL.COB"));
    const SourceState edited{.changed = true, .compiled = false, .saved = false};
    const SourceState loaded{.changed = false, .compiled = false, .saved = true};
    const struct {
        const char* change;
        std::function<void()> make;
        SourceState after;
    } cases[] = {
        {"load", [&] { document.loadSource(dir / "a.cos"); }, loaded},
        {"typing", [&] { document.typeSource(document.sourceText() + "x"); }, edited},
        {"load over typing", [&] { document.loadSource(dir / "b.cos"); }, loaded},
        {"replace all", [&] { document.replaceSource("* c", Msg::ObjectReplaceAllLabel); }, edited},
        {"load again", [&] { document.loadSource(dir / "a.cos"); }, loaded},
        {"compile",
         [&] {
             document.compileSource({"/game/Images/", pictures});
         },
         {.changed = false, .compiled = true, .saved = true}},
        {"format", [&] { document.replaceSource("inst\nendm\n", Msg::ObjectFormatSourceLabel); },
         edited},
        {"save", [&] { document.saveSource(dir / "saved.cos"); }, loaded},
        {"generated source", [&] { document.replaceSource("* made", kGeneratedSourceLabel); },
         edited},
        {"discompile", [&] { document.discompile(); }, edited},
    };
    for (const auto& c : cases) {
        told.clear();
        c.make();
        EXPECT_EQ(document.source(), c.after) << c.change;
        ASSERT_FALSE(told.empty()) << c.change;
        EXPECT_EQ(told.back(), c.after) << c.change;
    }
}

// Undoing a load gives back the earlier source's text, name and folder together: its picture is
// read beside it again; redoing brings the later file back, undoing the first load nothing.
TEST_F(ObjectDocumentTest, UndoingALoadGivesBackTheEarlierFileWithItsNameAndFolder) {
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    writeFileAtomically(dir / "a" / "one.cos", std::string_view("picture p.spr\r\n"));
    writePictureFile(dir / "a" / "p.spr", SpriteImage(2, 3, 7));
    writeFileAtomically(dir / "b" / "two.cos", std::string_view("* two\r\n"));
    document.loadSource(dir / "a" / "one.cos");
    document.loadSource(dir / "b" / "two.cos");
    const struct {
        bool forward;
        const char* text;
        const char* name;
    } walk[] = {{false, "", ""},
                {true, "picture p.spr", "one.cos"},
                {true, "* two", "two.cos"},
                {false, "picture p.spr", "one.cos"}};
    document.undoStack().undo();
    for (const auto& step : walk) {
        step.forward ? document.undoStack().redo() : document.undoStack().undo();
        EXPECT_EQ(document.sourceText(), step.text);
        EXPECT_EQ(document.sourceFileName(), step.name);
    }
    document.compileSource({"", pictures});
    EXPECT_EQ(document.cob().pictureWidth, 2);
    EXPECT_EQ(document.cob().picturePixels.size(), 6u);
}

TEST_F(ObjectDocumentTest, TheSourceFileNameIsTheNamePart) {
    document.rememberSourceFile("C:\\Creatures\\BALL.COS");
    EXPECT_EQ(document.sourceFileName(), "BALL.COS");
    document.rememberSourceFile("/home/me/ball.cos");
    EXPECT_EQ(document.sourceFileName(), "ball.cos");
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

std::vector<std::pair<int, int>> errorPlaces(const InjectionCheck& check) {
    std::vector<std::pair<int, int>> places;
    for (const Finding& f : check.findings)
        if (f.isError()) places.emplace_back(f.position.line, f.position.column);
    return places;
}

// Before an injection, errors are named at the source's lines while the object is what the
// source compiles to; only what is sent counts (the scripts and the first routine).
TEST_F(ObjectDocumentTest, AnInjectionNamesErrorsAtSourceLinesWhileTheObjectIsTheSources) {
    document.typeSource(
        "name T\nscrp 2 5 3 1\n\ttikc 3\nendm\ninst\n\tnew: simp ball 1 0 1 0\nendm\n"
        "inst\n\tfrob\nendm");
    EXPECT_FALSE(checkBeforeInjecting(document).atSourceLines) << "not compiled yet";
    document.compileSource({"/game/Images/", pictures});
    const InjectionCheck fromSource = checkBeforeInjecting(document);
    EXPECT_TRUE(fromSource.atSourceLines);
    EXPECT_EQ(errorPlaces(fromSource), (std::vector<std::pair<int, int>>{{3, 2}}));

    // Typed since, or an object loaded over it: the object's own script numbers again.
    document.typeSource(document.sourceText() + "\n*");
    const InjectionCheck typed = checkBeforeInjecting(document);
    EXPECT_FALSE(typed.atSourceLines);
    EXPECT_EQ(errorPlaces(typed), (std::vector<std::pair<int, int>>{{1, 14}}));
    document.undoStack().undo();
    EXPECT_TRUE(checkBeforeInjecting(document).atSourceLines) << "the compiled text is back";
    CobData other;
    other.scripts = {"scrp 2 5 3 2,tikc 3,endm"};
    document.load(saveObject(other, "other.cob"));
    EXPECT_FALSE(checkBeforeInjecting(document).atSourceLines);
}

// Injection asks whether the source changed since it was compiled, and whether a text waits
// on the page that was never compiled since it last changed (the empty object's box advises
// compiling it).
TEST_F(ObjectDocumentTest, InjectionSeesWhetherTheSourceWaitsUncompiled) {
    writeFileAtomically(dir / "ball.cos", std::string_view("inst\r\nendm\r\n"));
    const struct {
        const char* state;
        std::function<void()> reach;
        bool changedNotCompiled;
        bool textNotCompiled;
    } cases[] = {
        {"fresh", [] {}, false, false},
        {"blanks typed", [&] { document.typeSource(" \t\n "); }, true, false},
        {"loaded", [&] { document.loadSource(dir / "ball.cos"); }, false, true},
        {"loaded and compiled",
         [&] {
             document.compileSource({"/game/Images/", pictures});
         },
         false, false},
        {"typed after compiling", [&] { document.typeSource(document.sourceText() + "*"); }, true,
         true},
        {"saved uncompiled", [&] { document.saveSource(dir / "saved.cos"); }, false, true},
    };
    for (const auto& c : cases) {
        c.reach();
        const SourceBeforeInjecting seen = sourceBeforeInjecting(document);
        EXPECT_EQ(seen.changedNotCompiled, c.changedNotCompiled) << c.state;
        EXPECT_EQ(seen.textNotCompiled, c.textNotCompiled) << c.state;
    }
}

}  // namespace
}  // namespace vek
