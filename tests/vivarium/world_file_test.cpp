#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/sim_harness.h"
#include "language/checker.h"
#include "support/temp_dir.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/world_file.h"

namespace vek::testing {
namespace {

// Everything of an object that a world file keeps, as one line to compare.
std::string everything(const vivarium::Object& o) {
    std::ostringstream text;
    text << "#" << o.id << " " << o.family << " " << o.genus << " " << o.species << " " << o.sprite
         << " first " << o.firstImage << " images " << o.imageCount << " plane " << o.plane
         << " at " << o.x << "," << o.y << " base " << o.base << " pose " << o.pose << " attr "
         << o.attr << " actv " << o.actv << " bhvr " << o.click << "," << o.touch << " tick "
         << o.timerRate << " obv " << o.objectVariables[0] << "," << o.objectVariables[1] << ","
         << o.objectVariables[2];
    if (o.animation.running) {
        text << " anim";
        // The frames still to come, in the order they come.
        const std::string& frames = o.animation.frames;
        for (std::size_t k = 0; k < 2 * frames.size(); ++k) {
            const std::size_t at = o.animation.frame + k;
            if (at >= frames.size() && !o.animation.repeats) break;
            text << frames[at % frames.size()];
        }
    }
    return text.str();
}

std::vector<std::string> everyObject(const vivarium::World& world) {
    std::vector<std::string> lines;
    for (const vivarium::Object& object : world.objects()) lines.push_back(everything(object));
    return lines;
}

std::map<vivarium::ScriptKey, std::string> scriptTexts(const vivarium::World& world) {
    std::map<vivarium::ScriptKey, std::string> texts;
    for (const auto& [key, script] : world.scripts()) texts[key] = script->text;
    return texts;
}

// Runs a world file's text in a world, as the link delivers each macro.
void load(vivarium::World& world, std::string_view text, const std::string& file = "W.TXT") {
    vivarium::runWorldText(text, pathFromUtf8(file), [&world](const MacroText& macro) {
        std::optional<BilingualText> fault;
        world.setObserver([&fault](const vivarium::Happening& happening) {
            if (happening.kind == vivarium::HappeningKind::Fault && !fault) fault = happening.fault;
        });
        world.runMacro(macro, nullptr);
        world.setObserver({});
        return fault;
    });
}

// Sprite files "ball" (4 images) and "lamp" (10 images).
class WorldFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sprites.add("ball", 4);
        sprites.add("lamp", 10, 30, 40);
    }
    vivarium::World fresh() const { return vivarium::World(sprites.lookup()); }
    void run(vivarium::World& world, const std::string& macro) const {
        world.runMacro(MacroText(macro), nullptr);
    }

    FakeSprites sprites;
};

TEST_F(WorldFileTest, AWorldAfterSomeTicksIsMadeAnewWithTheSameObjectsAndScripts) {
    vivarium::World world = fresh();
    // Scripts: a ball that animates when activated and a lamp whose timer counts in obv0.
    run(world, "inst,scrp 2 5 3 1,anim [0123R],setv obv1 7,endm");
    run(world, "inst,scrp 2 6 1 9,addv obv0 1,endm");
    run(world, "inst,scrp 2 5 3 2,pose 3,base 1,endm");
    run(world, "inst,new: simp ball 4 0 10 0," + classLine(2, 5, 3) + ",mvto 10 20,endm");  // #1
    run(world, "inst,new: simp ball 4 0 10 0,kill targ,endm");                              // #2
    run(world,
        "inst,new: simp lamp 9 1 2000 0," + classLine(2, 6, 1) +
            ",mvto -40 300,setv attr 3,setv actv 1,bhvr 1 2,tick 3,setv obv2 -5,endm");  // #3
    run(world, "inst,new: comp lamp 1 0 0," + classLine(3, 1, 1) + ",mvto 7 8,endm");    // #4
    run(world, "inst,new: simp ball 4 0 30 0," + classLine(2, 5, 3) + ",endm");          // #5
    run(world, "inst,new: simp ball 4 0 30 0,edit,endm");                                // #6
    run(world, "inst,new: simp ball 4 0 30 0,kill targ,endm");                           // #7
    world.sendEvent(1, vivarium::kEventActivate1);
    world.sendEvent(5, vivarium::kEventActivate2);  // a pose its later base no longer shows
    for (int tick = 0; tick < 6; ++tick) world.tick();
    ASSERT_EQ(world.find(1)->animation.frame, 1u) << "the ball is amid its animation";
    ASSERT_EQ(world.find(3)->objectVariables[0], 2) << "the lamp's timer came twice";

    const std::string saved = vivarium::worldFileText(world);
    vivarium::World loaded = fresh();
    ASSERT_NO_THROW(load(loaded, saved)) << saved;
    EXPECT_EQ(everyObject(loaded), everyObject(world)) << saved;
    EXPECT_EQ(scriptTexts(loaded), scriptTexts(world)) << saved;
    EXPECT_EQ(loaded.editObject(), 6);
    EXPECT_EQ(loaded.nextObjectId(), world.nextObjectId());
    // Saved again, the loaded world writes the same file.
    EXPECT_EQ(vivarium::worldFileText(loaded), saved);

    // Both go on alike: the ball's animation, and the pose its base no longer shows.
    for (int tick = 0; tick < 5; ++tick) {
        world.tick();
        loaded.tick();
    }
    EXPECT_EQ(everyObject(loaded)[0], everyObject(world)[0]);
    EXPECT_EQ(everyObject(loaded)[3], everyObject(world)[3]);
}

// Each object is one macro that makes it as its creation and commands would: read back, a
// world of that macro alone writes the same macro.
TEST_F(WorldFileTest, AnObjectIsOneMacroOfItsCreationAndWhatDiffersFromANewObject) {
    const std::string cases[] = {
        "inst,new: simp ball 4 0 10 0,endm",
        "inst,new: simp lamp 6 3 500 0,setv clas 33882880,mvto 10 -20,pose 2,setv attr 3,"
        "setv actv 1,bhvr 1 2,tick 5,setv obv0 -4,setv obv2 7,endm",
        "inst,new: simp ball 4 0 10 0,base 1,anim [120R],endm",
        "inst,new: simp ball 4 0 10 0,anim [23],endm",
        "inst,new: simp ball 4 0 10 0,base -3,pose 3,base 2,endm",
        "inst,new: simp lamp 10 0 10 0,base -1,anim [1232R],base 8,endm",
        "inst,new: comp none 0 0 0,setv clas -16711936,mvto 5 5,endm",
        "inst,new: comp hous 2 0 900,new: part 1 30 5 1 910,new: part 4 -2 0 0 890,part 4,"
        "spot 0 1 2 3 4,mvto 5 5,endm",
        "inst,new: vhcl car_ 2 0,cabn 1 2 30 20,setv xvec 3,setv yvec -1,mvto 5 5,endm",
        "inst,new: lift lift 1 0,cabn 0 0 10 10,endm",
        "inst,new: cbtn cbtn 1 0 500,mvto 7 8,endm",
        "inst,new: bkbd hous 1 0 700 0 0 0 0,bbd: word 0 5 [carrot],bbd: word 2 1 [a b],"
        "bbd: show 1,endm",
    };
    for (const std::string& line : cases) {
        vivarium::World world = fresh();
        load(world, line);
        const std::vector<std::string> lines = vivarium::worldFileLines(world);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), line);
    }
}

TEST_F(WorldFileTest, ScriptsAreScrpMacrosAndTheNumbersOfGoneObjectsAreTakenAgain) {
    vivarium::World world = fresh();
    run(world, "dde: scrp 0 0 0 17,inst,scrp 2 5 3 9,snde honk,\nmvby 1 0,endm");
    for (int k = 0; k < 5; ++k) run(world, "inst,new: simp ball 4 0 10 0,endm");
    run(world, "inst,kill 2,kill 3,kill 5,endm");
    const std::vector<std::string> expected = {
        "scrp 2 5 3 9,snde honk, mvby 1 0,endm",
        "* object #1 class 0 0 0",
        "inst,new: simp ball 4 0 10 0,endm",
        "* numbers 2 to 3: objects that are gone",
        "inst,reps 2,new: simp none 0 0 0 0,kill targ,repe,endm",
        "* object #4 class 0 0 0",
        "inst,new: simp ball 4 0 10 0,endm",
        "* numbers 5 to 5: objects that are gone",
        "inst,reps 1,new: simp none 0 0 0 0,kill targ,repe,endm",
    };
    std::vector<std::string> lines = vivarium::worldFileLines(world);
    // After the comments that open the file and its scriptorium.
    std::erase_if(lines, [](const std::string& line) {
        return line.starts_with("* A world") || line.starts_with("* Timer") ||
               line.starts_with("* The ");
    });
    EXPECT_EQ(lines, expected);
    vivarium::World loaded = fresh();
    load(loaded, vivarium::worldFileText(world));
    EXPECT_EQ(everyObject(loaded), everyObject(world));
    EXPECT_EQ(loaded.nextObjectId(), 6);
}

// However many numbers are gone, before an object or after the last, the saved world loads:
// no line makes and kills more objects than one macro may.
TEST_F(WorldFileTest, AWorldOfManyGoneNumbersIsSavedAsLinesThatEachLoad) {
    struct Case {
        int goneBefore;  // numbers gone before the ball
        int goneAfter;   // and after it
    };
    for (const Case c : {Case{60000, 0}, Case{0, 60000}, Case{33334, 33334}}) {
        vivarium::World world = fresh();
        const auto makeGone = [&](int count) {
            for (; count > 0; count -= 10000) {
                run(world, "inst,reps " + std::to_string(std::min(count, 10000)) +
                               ",new: simp ball 4 0 10 0,kill targ,repe,endm");
            }
        };
        makeGone(c.goneBefore);
        run(world, "inst,new: simp ball 4 0 10 0,mvto 3 4,endm");
        makeGone(c.goneAfter);
        ASSERT_EQ(world.nextObjectId(), c.goneBefore + c.goneAfter + 2);

        vivarium::World loaded = fresh();
        const std::string saved = vivarium::worldFileText(world);
        EXPECT_NO_THROW(load(loaded, saved)) << c.goneBefore << " gone, then " << c.goneAfter;
        EXPECT_EQ(everyObject(loaded), everyObject(world));
        EXPECT_EQ(loaded.nextObjectId(), world.nextObjectId());
    }
}

// A world that would not fit in a world file is not saved, so that no file is written that a
// load would refuse; the file is not written at all.
TEST_F(WorldFileTest, AWorldLargerThanAWorldFileHoldsIsNotSaved) {
    vivarium::World world = fresh();
    const std::string body = " 9,dde: puts [" + std::string(kMacroTextLimit - 100, 'a') + "],endm";
    const std::size_t scripts = vivarium::kMaxWorldFileSize / body.size() + 1;
    for (std::size_t k = 0; k < scripts; ++k) {
        run(world, "inst,scrp 1 " + std::to_string(k / 255 + 1) + " " +
                       std::to_string(k % 255 + 1) + body);
    }
    ASSERT_EQ(world.scripts().size(), scripts);
    TempDir dir;
    try {
        vivarium::saveWorldFile(world, dir / "world.txt");
        ADD_FAILURE() << "the world is too large to be saved";
    } catch (const VekError& error) {
        EXPECT_NE(std::string(error.text("english")).find("a world file holds at most 67108864"),
                  std::string::npos)
            << error.text("english");
        EXPECT_NE(std::string(error.text("deutsch")).find("höchstens 67108864"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "world.txt"));
}

TEST_F(WorldFileTest, CommentsAndEmptyLinesAreSkippedAndEachMacroKnowsItsLine) {
    const auto macros = vivarium::worldFileMacros(
        "* a world\r\n\r\ninst,endm\r\n*inst,bogus,endm\ninst,  mvto 1 2,endm");
    ASSERT_EQ(macros.size(), 2u);
    EXPECT_EQ(macros[0].line, 3u);
    EXPECT_EQ(macros[0].macro.text(), "inst,endm");
    EXPECT_EQ(macros[1].line, 5u);
    EXPECT_EQ(macros[1].macro.text(), "inst,  mvto 1 2,endm");
    // The command's place is its line in the file.
    EXPECT_EQ(macros[1].macro.position(7), (TextPosition{5, 8}));
}

TEST_F(WorldFileTest, ALineTheWorldRefusesStopsTheLoadingNamingTheFileAndLine) {
    vivarium::World world = fresh();
    const std::string text =
        "inst,new: simp ball 4 0 10 0,endm\n"
        "* then a pose the ball does not have\n"
        "inst,new: simp ball 4 0 10 0,pose 7,endm\n"
        "inst,new: simp ball 4 0 10 0,endm\n";
    try {
        load(world, text, "saved.txt");
        FAIL() << "the third line is refused";
    } catch (const VekError& error) {
        EXPECT_EQ(error.detail().file, "saved.txt");
        EXPECT_EQ(error.detail().line, 3u);
        EXPECT_NE(std::string(error.text("english")).find("pose 7 is beyond the object's 4 images"),
                  std::string::npos)
            << error.text("english");
        // German throughout, the world's reason too.
        EXPECT_NE(std::string(error.text("deutsch"))
                      .find("Die Weltdatei hat eine Zeile, die die Welt ablehnt: Makro: Pose 7 "
                            "liegt jenseits der 4 Bilder des Objekts"),
                  std::string::npos)
            << error.text("deutsch");
    }
    // What ran before the refused line stays; the line after it never runs.
    EXPECT_EQ(world.objects().size(), 2u);
}

TEST_F(WorldFileTest, AFileThatCannotBeReadOrWrittenIsNamed) {
    TempDir dir;
    const auto missing = dir / "missing.txt";
    try {
        vivarium::runWorldFile(missing,
                               [](const MacroText&) { return std::optional<BilingualText>(); });
        FAIL() << "a missing file throws";
    } catch (const VekError& error) {
        EXPECT_EQ(error.detail().file, pathToUtf8(missing));
    }
    std::filesystem::create_directories(dir / "folder");
    writeFileAtomically(dir / "folder" / "plain", std::string_view("x"));
    try {
        vivarium::saveWorldFile(fresh(), dir / "folder" / "plain" / "world.txt");
        FAIL() << "a file inside a file cannot be written";
    } catch (const VekError& error) {
        EXPECT_NE(error.detail().file.find("world.txt"), std::string::npos) << error.detail().file;
    }
}

// vivarium-sim --seed reads what the window saves: its objects and scripts answer the link.
TEST_F(WorldFileTest, TheStandInGameStartsWithASavedWorld) {
    vivarium::World world = fresh();
    run(world, "inst,scrp 2 5 3 1,snde honk,endm");
    run(world,
        "inst,new: simp ball 4 0 10 0," + classLine(2, 5, 3) + ",mvto 10 20,setv obv1 42,endm");
    run(world, "inst,new: simp ball 4 0 10 0,kill targ,endm");
    run(world, "inst,new: simp ball 4 0 10 0," + classLine(2, 5, 4) + ",mvto 30 40,endm");
    TempDir dir;
    vivarium::saveWorldFile(world, dir / "world.txt");
    SimProcess sim(dir / "game", {"--seed", (dir / "world.txt").string()});
    ASSERT_TRUE(sim.running());
    auto link = creaturesAt(sim.socketPath());
    EXPECT_EQ(link->SendMacro("inst,enum 2 5 0,dde: putv spcs,dde: putv posl,dde: putv post,"
                              "dde: putv obv1,next,endm")
                  .answer,
              "3|10|20|42|4|30|40|0|");
    EXPECT_EQ(link->SendMacro("inst,dde: scrp 2 5 3 1,endm").answer, "snde honk,endm");
    EXPECT_EQ(link->SendMacro("inst,targ 3,dde: putv spcs,endm").answer, "4|");
}

}  // namespace
}  // namespace vek::testing
