#include <gtest/gtest.h>

#include "app/text_names.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

using vivarium::Happening;
using vivarium::HappeningKind;
using vivarium::kEventLimit;
using vivarium::kObjectLimit;
using vivarium::kTickWorkLimit;

std::string bounded(const Bilingual& reason, long long bound) {
    return fill(reason, {std::to_string(bound)}).english;
}

// An installation routine that makes `count` objects of class 2 10 `species` with timer 1.
std::vector<std::string> objectsWithTimer(int count, int species) {
    return {"inst",
            "  reps " + std::to_string(count),
            "    new: simp pupy 6 0 1000 0",
            "    " + classLine(2, 10, species),
            "    tick 1",
            "  repe",
            "endm"};
}

std::vector<std::string> script(int species, int event, std::vector<std::string> body) {
    std::vector<std::string> lines = {"scrp 2 10 " + std::to_string(species) + " " +
                                      std::to_string(event)};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("endm");
    return lines;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (const std::vector<std::string>& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

struct Fault {
    int tick = 0;
    int object = 0;
    std::string text;
    bool freezes = false;
};

// Injects a source into a fresh world and runs ticks until the first fault (or `ticks`).
std::vector<Fault> faultsOf(const std::vector<std::string>& source, int ticks,
                            const std::function<void(vivarium::World&, int)>& beforeTick = {}) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    vivarium::World world(sprites.lookup());
    std::vector<Fault> faults;
    world.setObserver([&](const Happening& happening) {
        if (happening.kind != HappeningKind::Fault) return;
        faults.push_back(
            {happening.tick, happening.object, happening.fault.english, happening.freezes});
    });
    for (const vivarium::SentMacro& sent :
         vivarium::injectionOfSource(source, "T.COS", vivarium::Routines::Every))
        world.runMacro(sent.macro, sent.origin);
    for (int tick = 1; tick <= ticks && faults.empty(); ++tick) {
        if (beforeTick) beforeTick(world, tick);
        world.tick();
    }
    return faults;
}

TEST(TickBound, EachBoundOfATicksWorkFreezesTheGameInTheTickThatPassesIt) {
    // Forty timers whose scripts each run an empty loop of 30,000 rounds: the reps, each
    // round's repe and the endm. The tick's bound is passed by the object whose run crosses it.
    constexpr int kRounds = 30000;
    constexpr long long kRunCommands = kRounds + 2;
    const int crossingObject = static_cast<int>(kTickWorkLimit / kRunCommands) + 1;
    // A timer that makes 30,000 objects a tick: the world holds 1 + 30,000 per tick.
    constexpr int kMadeATick = 30000;
    const int objectsFull = static_cast<int>((kObjectLimit - 1) / kMadeATick) + 1;
    // A timer sends 40,000 messages a tick to an object whose script waits for ever: its first
    // event runs, the rest wait.
    constexpr int kSentATick = 40000;
    const int eventsFull = static_cast<int>(kEventLimit / kSentATick) + 1;
    struct Case {
        const char* what;
        std::vector<std::string> source;
        std::string reason;
        int tick;    // 0: any
        int object;  // 0: any
    };
    const Case cases[] = {
        {"commands of all scripts",
         joined({objectsWithTimer(40, 1),
                 script(1, 9, {"  reps " + std::to_string(kRounds), "  repe"})}),
         bounded(Msg::VivariumTickTooBusy, kTickWorkLimit), 1, crossingObject},
        {"objects the world holds",
         joined({objectsWithTimer(1, 1), script(1, 9,
                                                {"  reps " + std::to_string(kMadeATick),
                                                 "    new: simp pupy 6 0 1000 0", "  repe"})}),
         bounded(Msg::VivariumTooManyObjects, kObjectLimit), objectsFull, 1},
        {"objects that each make two more",
         joined({objectsWithTimer(1, 1),
                 script(1, 9,
                        {"  new: simp pupy 6 0 1000 0", "  " + classLine(2, 10, 1), "  tick 1",
                         "  new: simp pupy 6 0 1000 0", "  " + classLine(2, 10, 1), "  tick 1",
                         "  targ ownr", "  tick 0"})}),
         bounded(Msg::VivariumTooManyObjects, kObjectLimit), 0, 0},
        {"events waiting",
         joined(
             {objectsWithTimer(1, 1),
              objectsWithTimer(1, 2),
              {"inst", "  targ 2", "  tick 0", "endm"},
              script(1, 9, {"  reps " + std::to_string(kSentATick), "    mesg writ 2 0", "  repe"}),
              script(2, 1, {"  wait 2000000000"})}),
         bounded(Msg::VivariumTooManyEvents, static_cast<long long>(kEventLimit)), eventsFull, 1},
    };
    for (const Case& c : cases) {
        const std::vector<Fault> faults = faultsOf(c.source, 100);
        ASSERT_EQ(faults.size(), 1u) << c.what;
        EXPECT_TRUE(faults[0].text.ends_with(": " + c.reason)) << c.what << ": " << faults[0].text;
        EXPECT_TRUE(faults[0].freezes) << c.what;
        if (c.tick != 0) {
            EXPECT_EQ(faults[0].tick, c.tick) << c.what;
        }
        if (c.object != 0) {
            EXPECT_EQ(faults[0].object, c.object) << c.what;
        }
    }
}

TEST(TickBound, MessagesThatEachSendTwoBackFreezeTheGameWithinTheRun) {
    // Objects #1 and #2 answer every activation with two messages to the other.
    const std::vector<std::string> source =
        joined({objectsWithTimer(1, 1), objectsWithTimer(1, 2),
                script(1, 1, {"  mesg writ 2 0", "  mesg writ 2 0"}),
                script(2, 1, {"  mesg writ 1 0", "  mesg writ 1 0"})});
    const std::vector<Fault> faults = faultsOf(source, 100, [](vivarium::World& world, int tick) {
        if (tick == 1) world.sendEvent(1, vivarium::kEventActivate1);
    });
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_TRUE(faults[0].freezes);
    EXPECT_TRUE(faults[0].text.ends_with("the game would freeze")) << faults[0].text;
}

TEST(TickBound, LookingThroughTheObjectsAndLongTextsCostMoreAndAMacroHasItsOwnBound) {
    constexpr long long kObjects = 1000;
    const std::string longName(1600, 'a');
    const long long textCost =
        static_cast<long long>(longName.size() / vivarium::kTextBytesPerCommand);
    struct Case {
        std::string command;
        long long roundCost;  // besides the round's two commands, the command and repe
    };
    const Case cases[] = {
        {"setv var0 totl 0 0 0", kObjects},
        {"rtar 0 0 0", kObjects},
        {"enum 9 9 9,next", kObjects},
        {"snde " + longName, textCost},
    };
    for (const Case& c : cases) {
        const long long fits = kTickWorkLimit / (c.roundCost + 2) - 1;
        for (const long long rounds : {fits, 2 * fits}) {
            vivarium::World world;
            std::vector<Happening> faults;
            world.setObserver([&](const Happening& happening) {
                if (happening.kind == HappeningKind::Fault) faults.push_back(happening);
            });
            world.runMacro(MacroText("inst,reps " + std::to_string(kObjects) +
                                     ",new: simp pupy 6 0 1000 0,repe,endm"),
                           nullptr);
            const MacroText loop("inst,reps " + std::to_string(rounds) + "," + c.command +
                                 ",repe,endm");
            // Two macros in a row: neither takes the other's work.
            world.runMacro(loop, nullptr);
            world.runMacro(loop, nullptr);
            const bool freezes = rounds > fits;
            ASSERT_EQ(faults.size(), freezes ? 2u : 0u) << c.command.substr(0, 20) << " " << rounds;
            if (freezes) {
                EXPECT_EQ(faults[0].fault.english,
                          "macro: " + bounded(Msg::VivariumTickTooBusy, kTickWorkLimit));
            }
        }
    }
}

TEST(TickBound, AnAnswerStopsAtWhatTheLinkCarriesWithAFaultThatDoesNotFreeze) {
    vivarium::World world;
    std::vector<Happening> faults;
    world.setObserver([&](const Happening& happening) {
        if (happening.kind == HappeningKind::Fault) faults.push_back(happening);
    });
    const std::string piece(200000, 'x');
    const std::size_t rounds = vivarium::kAnswerLimit / piece.size() + 1;
    const std::string answer = world.runMacro(
        MacroText("inst,reps " + std::to_string(rounds) + ",dde: puts [" + piece + "],repe,endm"),
        nullptr);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_FALSE(faults[0].freezes);
    EXPECT_EQ(faults[0].fault.english,
              "macro: " + bounded(Msg::VivariumAnswerTooLong,
                                  static_cast<long long>(vivarium::kAnswerLimit)));
    EXPECT_EQ(answer.size(), (rounds - 1) * piece.size());
    // One round fewer fits whole.
    const std::string fits = world.runMacro(MacroText("inst,reps " + std::to_string(rounds - 1) +
                                                      ",dde: puts [" + piece + "],repe,endm"),
                                            nullptr);
    EXPECT_EQ(faults.size(), 1u);
    EXPECT_EQ(fits.size(), (rounds - 1) * piece.size());
    // What a script writes goes nowhere: it is neither kept nor bounded.
    world.runMacro(MacroText("scrp 2 10 1 1,reps " + std::to_string(rounds) + ",dde: puts [" +
                             piece + "],repe,endm"),
                   nullptr);
    world.runMacro(MacroText("inst,new: simp pupy 6 0 1000 0," + classLine(2, 10, 1) + ",endm"),
                   nullptr);
    ASSERT_TRUE(world.sendEvent(world.objects().back().id, vivarium::kEventActivate1));
    world.tick();
    EXPECT_EQ(faults.size(), 1u);
}

TEST(TickBound, AFreezeEndsTheTryRunAfterItsTick) {
    // Without the end, each of the 100 ticks would freeze again and print its fault.
    FakeSprites sprites;
    sprites.add("pupy", 6);
    vivarium::TryOptions options;
    const TryResult run =
        trySource(joined({objectsWithTimer(40, 1), script(1, 9, {"  reps 30000", "  repe"})}),
                  sprites, options);
    EXPECT_TRUE(run.faulted);
    ASSERT_EQ(run.lines.size(), 1u) << run.out;
    EXPECT_NE(run.lines[0].find(bounded(Msg::VivariumTickTooBusy, kTickWorkLimit)),
              std::string::npos);
}

}  // namespace
}  // namespace vek::testing
