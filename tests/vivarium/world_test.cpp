#include <gtest/gtest.h>

#include "app/file_io.h"
#include "demo/demo_installation.h"
#include "objects/cob_compiler.h"
#include "support/temp_dir.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/sprite_shelf.h"
#include "vivarium/trace.h"

namespace vek::testing {
namespace {

using vivarium::TryOptions;

// The demo installation, made once for the tests that run its objects.
class DemoObjects : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        demo::generateDemoInstallation(demo::DemoLayout{s_dir->path()});
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    static std::filesystem::path game() { return demo::DemoLayout{s_dir->path()}.gameDirectory(); }
    static std::vector<vivarium::SentMacro> injection(const std::string& name) {
        return vivarium::injectionOfSource(readSourceFile(game() / name), name);
    }

    static TempDir* s_dir;
};
TempDir* DemoObjects::s_dir = nullptr;

// Runs objects in one world, tick by tick, writing the trace; `beforeTick` may send events.
std::vector<std::string> traceOf(vivarium::World& world,
                                 const std::vector<std::vector<vivarium::SentMacro>>& objects,
                                 int ticks, const std::function<void(int)>& beforeTick = {}) {
    std::vector<std::string> lines;
    world.setObserver([&](const vivarium::Happening& happening) {
        lines.push_back(vivarium::happeningLine(happening));
    });
    const auto states = [&] {
        for (const vivarium::Object& object : world.objects())
            lines.push_back(vivarium::stateLine(world.currentTick(), object));
    };
    for (const auto& object : objects) {
        for (const vivarium::SentMacro& sent : object) world.runMacro(sent.macro, sent.origin);
    }
    states();
    for (int tick = 1; tick <= ticks; ++tick) {
        if (beforeTick) beforeTick(tick);
        world.tick();
        states();
    }
    return lines;
}

TEST_F(DemoObjects, SpinningTopSpinsThreeRoundsThenItsTimerStopsIt) {
    // Activated at tick 1: three rounds of "anim [0123]" and "wait 4", one frame a tick; then
    // "tick 20" starts the timer, whose script waits 10 ticks and sets pose 0 at tick 43.
    std::vector<std::string> expected = {state(0, "2 21 7 #1", 4400, 600, 0),
                                         "tick 1 2 21 7 #1 snde spin"};
    for (int tick = 1; tick <= 45; ++tick) {
        int pose = 3;
        if (tick <= 12) pose = (tick - 1) % 4;
        if (tick >= 43) pose = 0;
        expected.push_back(state(tick, "2 21 7 #1", 4400, 600, pose));
    }
    vivarium::SpriteShelf sprites(game() / "Images");
    TryOptions options;
    options.ticks = 45;
    options.events = {{1, vivarium::kEventActivate1}};
    options.trace = true;
    std::ostringstream out;
    const std::vector<std::vector<vivarium::SentMacro>> objects = {injection("SPTOP.COS")};
    EXPECT_FALSE(vivarium::tryObjects(objects, sprites.lookup(), options, out));
    EXPECT_EQ(out.str(), [&] {
        std::string text;
        for (const std::string& line : expected) text += line + "\n";
        return text;
    }());
}

TEST_F(DemoObjects, HitBallHopsAndActivatesTheOtherToyByMessage) {
    vivarium::SpriteShelf sprites(game() / "Images");
    vivarium::World world(sprites.lookup());
    const auto lines =
        traceOf(world, {injection("BALL.COS"), injection("SPTOP.COS")}, 4, [&](int tick) {
            if (tick == 1) world.sendEvent(1, vivarium::kEventHit);
        });
    // The ball: pose 1 and 6 right, 12 up for "wait 3", then back. Its enum reaches the top,
    // whose activate script runs in the same tick, after the ball's turn.
    const std::vector<std::string> expected = {
        state(0, "2 5 3 #1", 5200, 700, 0), state(0, "2 21 7 #2", 4400, 600, 0),
        "tick 1 2 5 3 #1 mesg writ #2 0",   "tick 1 2 21 7 #2 snde spin",
        state(1, "2 5 3 #1", 5206, 688, 1), state(1, "2 21 7 #2", 4400, 600, 0),
        state(2, "2 5 3 #1", 5206, 688, 1), state(2, "2 21 7 #2", 4400, 600, 1),
        state(3, "2 5 3 #1", 5206, 688, 1), state(3, "2 21 7 #2", 4400, 600, 2),
        state(4, "2 5 3 #1", 5200, 700, 0), state(4, "2 21 7 #2", 4400, 600, 3)};
    EXPECT_EQ(lines, expected);
}

TEST_F(DemoObjects, HeaterWithoutSpriteFileKeepsItsOwnImageCountAndTimesOut) {
    vivarium::SpriteShelf sprites(game() / "Images");
    vivarium::World world(sprites.lookup());
    traceOf(world, {injection("HEATER.COS")}, 201, [&](int tick) {
        if (tick == 1) world.sendEvent(1, vivarium::kEventActivate1);
    });
    ASSERT_EQ(world.objects().size(), 1u);
    const vivarium::Object& heater = world.objects().front();
    EXPECT_EQ(heater.imageCount, 1);
    // Switched on at tick 1 with "tick 200": the timer comes at tick 201 and switches it off.
    EXPECT_EQ(heater.objectVariables[0], 0);
    EXPECT_EQ(heater.timerRate, 0);
}

TEST_F(DemoObjects, EveryDemoObjectRunsAThousandTicksWithoutAFault) {
    vivarium::SpriteShelf sprites(game() / "Images");
    for (const char* name : {"SPTOP.COS", "BALL.COS", "HEATER.COS", "SPTOP.COB", "BALL.COB"}) {
        const std::string file(name);
        const auto sent = file.ends_with(".COB")
                              ? vivarium::injectionOfCob(readCobFile(game() / file), file)
                              : injection(file);
        TryOptions options;
        options.ticks = 1000;
        options.events = {{1, vivarium::kEventActivate1},
                          {50, vivarium::kEventPickup},
                          {60, vivarium::kEventDrop}};
        std::ostringstream out;
        const std::vector<std::vector<vivarium::SentMacro>> objects = {sent};
        EXPECT_FALSE(vivarium::tryObjects(objects, sprites.lookup(), options, out)) << out.str();
    }
}

// A puppy: its timer picks one of two animations at random, then trots 10 to the right twice.
const std::vector<std::string> kPuppy = {"inst",
                                         "  new: simp pupy 6 0 1000 0",
                                         "  " + classLine(2, 10, 1),
                                         "  mvto 100 200",
                                         "  tick 5",
                                         "endm",
                                         "scrp 2 10 1 9",
                                         "  rndv var0 0 1",
                                         "  doif var0 eq 0",
                                         "    anim [012]",
                                         "  else",
                                         "    anim [345]",
                                         "  endi",
                                         "  reps 2",
                                         "    setv var1 posl",
                                         "    addv var1 10",
                                         "    mvto var1 200",
                                         "    wait 1",
                                         "  repe",
                                         "endm"};

// What the guide's meaning gives, tick by tick, once the two timer rounds' animations are known
// (their first frames, 0 or 3).
std::vector<std::string> puppyTrace(int first, int second) {
    const std::string puppy = "2 10 1 #1";
    std::vector<std::string> lines;
    for (int tick = 0; tick <= 4; ++tick) lines.push_back(state(tick, puppy, 100, 200, 0));
    // The timer comes every 5 ticks; each round moves at once and one tick later, and shows its
    // three frames on three ticks, the last staying.
    lines.push_back(state(5, puppy, 110, 200, first));
    lines.push_back(state(6, puppy, 120, 200, first + 1));
    for (int tick = 7; tick <= 9; ++tick) lines.push_back(state(tick, puppy, 120, 200, first + 2));
    lines.push_back(state(10, puppy, 130, 200, second));
    lines.push_back(state(11, puppy, 140, 200, second + 1));
    lines.push_back(state(12, puppy, 140, 200, second + 2));
    return lines;
}

TEST(Puppy, TimerScriptMovesAndAnimatesAsTheCommandsSayWhicheverWayRndvFalls) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    TryOptions options;
    options.ticks = 12;
    options.trace = true;
    std::set<int> firstFrames;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        options.seed = seed;
        const TryResult run = trySource(kPuppy, sprites, options);
        ASSERT_FALSE(run.faulted) << run.out;
        ASSERT_EQ(run.lines.size(), 13u) << run.out;
        const int first = run.lines[5].back() - '0';
        const int second = run.lines[10].back() - '0';
        ASSERT_TRUE(first == 0 || first == 3) << run.out;
        ASSERT_TRUE(second == 0 || second == 3) << run.out;
        EXPECT_EQ(run.lines, puppyTrace(first, second)) << "seed " << seed;
        firstFrames.insert(first);
        // The same seed gives the same trace, byte for byte.
        EXPECT_EQ(trySource(kPuppy, sprites, options).out, run.out);
    }
    EXPECT_EQ(firstFrames, (std::set<int>{0, 3})) << "rndv should fall both ways over 12 seeds";
}

TEST(Flow, BlocksSubroutinesAndArithmeticGiveTheAnswersTheirMeaningSays) {
    struct Case {
        const char* commands;
        const char* answer;
    };
    const Case cases[] = {
        {"setv var0 0,reps 3,addv var0 2,repe,gsub twic,dde: putv var0,stop,subr twic,"
         "mulv var0 2,retn",
         "12|"},
        {"setv var0 5,loop,subv var0 2,untl var0 lt 0,dde: putv var0", "-1|"},
        {"doif 1 eq 1 and 2 eq 3 or 4 eq 4,dde: putv 1,else,dde: putv 2,endi", "1|"},
        {"doif 1 eq 2,dde: putv 1,else,dde: putv 2,endi,dde: putv 3", "2|3|"},
        {"setv var0 17,divv var0 5,setv var1 17,modv var1 5,setv var2 6,negv var2,"
         "dde: putv var0,dde: putv var1,dde: putv var2",
         "3|2|-6|"},
        {"setv var0 12,andv var0 10,setv var1 12,orrv var1 3,dde: putv var0,dde: putv var1",
         "8|15|"},
        {"doif 12 bt 4,dde: putv 1,endi,doif 12 bf 3,dde: putv 2,endi", "1|2|"},
        // Classes 2 5 3 and 2 5 4; after the enum the target is again the one made last.
        {"new: simp pupy 6 0 1000 0,setv clas 33882880,"
         "new: simp pupy 6 0 1000 0,setv clas 33883136,dde: putv totl 2 5 0,"
         "enum 2 5 3,dde: putv fmly,dde: putv spcs,next,dde: putv spcs",
         "2|2|3|4|"},
        {"reps 0,dde: putv 1,repe,dde: putv 2", "2|"},
        {"new: simp pupy 6 0 1000 0,mvto 30 40,dde: putv posl,dde: putv post,dde: putv posr,"
         "dde: putv posb,dde: putv posx,dde: putv posy,dde: putv wdth",
         "30|40|50|50|40|45|20|"},
    };
    FakeSprites sprites;
    sprites.add("pupy", 6);
    for (const Case& c : cases) {
        vivarium::World world(sprites.lookup());
        std::vector<std::string> faults;
        world.setObserver([&](const vivarium::Happening& h) { faults.push_back(h.fault.english); });
        const std::string macro = "inst," + std::string(c.commands) + ",endm";
        EXPECT_EQ(world.runMacro(MacroText(macro), nullptr), c.answer) << c.commands;
        EXPECT_EQ(faults, std::vector<std::string>()) << c.commands;
    }
}

TEST(Flow, OverWaitsForTheAnimationAndWaitForItsTicks) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    const TryResult run = trySource({"inst", "new: simp pupy 6 0 1000 0", "anim [012]", "over",
                                     "snde done", "wait 2", "sndl last", "endm"},
                                    sprites, [] {
                                        TryOptions options;
                                        options.ticks = 6;
                                        options.trace = true;
                                        return options;
                                    }());
    // Frames 0, 1, 2 at ticks 0, 1, 2; the animation is over at tick 3; two ticks later, 5.
    const std::vector<std::string> expected = {
        state(0, "0 0 0 #1", 0, 0, 0), state(1, "0 0 0 #1", 0, 0, 1),
        state(2, "0 0 0 #1", 0, 0, 2), "tick 3 0 0 0 #0 snde done",
        state(3, "0 0 0 #1", 0, 0, 2), state(4, "0 0 0 #1", 0, 0, 2),
        "tick 5 0 0 0 #0 sndl last",   state(5, "0 0 0 #1", 0, 0, 2),
        state(6, "0 0 0 #1", 0, 0, 2)};
    EXPECT_EQ(run.lines, expected);
}

TEST(Flow, WordsTheWorldDoesNotModelAreTracedAtTheirLineWithoutAFault) {
    FakeSprites sprites;
    TryOptions options;
    options.ticks = 0;
    options.trace = true;
    const TryResult run = trySource(
        {"inst", "  aslp 1", "  setv var0 dead", "  new: crea 0 1", "  mvto 10 20", "endm"},
        sprites, options, "N.COS");
    // The creature is made (class 4 1 0) and is the target of the commands after it.
    EXPECT_FALSE(run.faulted);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{"tick 0 0 0 0 #0 not modelled aslp at N.COS:2:3",
                                        "tick 0 0 0 0 #0 not modelled dead at N.COS:3:13",
                                        "tick 0 0 0 0 #0 not modelled new: crea at N.COS:4:3",
                                        "tick 0 4 1 0 #1 10 20 pose 0"}));
}

TEST(Flow, AnActivatedRepeatingAnimationRunsOneFrameATickAndTimersKeepTheirRate) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    vivarium::World world(sprites.lookup());
    world.runMacro(MacroText("inst,new: simp pupy 6 0 1000 0,anim [01R],tick 3,endm"), nullptr);
    world.runMacro(MacroText("scrp 0 0 0 9,targ ownr,addv obv0 1,endm"), nullptr);
    std::vector<int> poses;
    for (int tick = 1; tick <= 7; ++tick) {
        world.tick();
        poses.push_back(world.objects().front().pose);
    }
    EXPECT_EQ(poses, (std::vector<int>{1, 0, 1, 0, 1, 0, 1}));
    // The timer came at ticks 3 and 6.
    EXPECT_EQ(world.objects().front().objectVariables[0], 2);
}

// A held command suspends the tick: the next tick() goes on with the same tick, and the objects
// after the held one take their turn only once it is let go.
TEST(Flow, ACommandHookHoldsAScriptAndSuspendsTheTickUntilItLetsItGo) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    vivarium::World world(sprites.lookup());
    world.runMacro(MacroText("scrp 0 0 0 1,pose 1,\npose 2,pose 3,endm"), nullptr);
    world.runMacro(MacroText("scrp 0 0 1 1,pose 4,endm"), nullptr);
    world.runMacro(MacroText("inst,new: simp pupy 6 0 1000 0,endm"), nullptr);
    world.runMacro(MacroText("inst,new: simp pupy 6 0 1000 0," + classLine(0, 0, 1) + ",endm"),
                   nullptr);
    // Line 2 (pose 2) is held the first two times it is asked for.
    int asked = 0;
    world.setCommandHook([&](const vivarium::Run&, const vivarium::Instruction& instruction) {
        return instruction.position.line != 2 || ++asked > 2;
    });
    world.sendEvent(1, vivarium::kEventActivate1);
    world.sendEvent(2, vivarium::kEventActivate1);
    struct After {
        int tick;
        bool suspended;
        int firstPose;
        int secondPose;
    };
    const After expected[] = {{1, true, 1, 0}, {1, true, 1, 0}, {1, false, 3, 4}, {2, false, 3, 4}};
    for (const After& after : expected) {
        world.tick();
        SCOPED_TRACE(asked);
        EXPECT_EQ(world.currentTick(), after.tick);
        EXPECT_EQ(world.suspended(), after.suspended);
        EXPECT_EQ(world.suspendedObject(), after.suspended ? 1 : 0);
        EXPECT_EQ(world.objects()[0].pose, after.firstPose);
        EXPECT_EQ(world.objects()[1].pose, after.secondPose);
    }
}

}  // namespace
}  // namespace vek::testing
