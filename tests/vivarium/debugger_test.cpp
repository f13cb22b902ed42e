#include <gtest/gtest.h>

#include <algorithm>

#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/debugger.h"
#include "vivarium/session.h"
#include "vivarium/trace.h"

namespace vek::testing {
namespace {

using vivarium::Breakpoint;
using vivarium::StopReason;

const vivarium::ScriptKey kCounter{2, 5, 3, 1};

// A counter (2 5 3) at (0, 0) whose activation counts through a reps loop and a gsub, and a
// buzzer (2 5 4) at (100, 0) whose activation sounds twice a tick apart.
std::vector<std::string> source() {
    return {"inst",                                     // 1
            "  new: simp ball 4 0 20 0",                // 2
            "  " + classLine(2, 5, 3),                  // 3
            "  new: simp ball 4 0 20 0",                // 4
            "  " + classLine(2, 5, 4) + ",mvto 100 0",  // 5
            "endm",                                     // 6
            "scrp 2 5 3 1",                             // 7
            "  setv var0 5",                            // 8
            "  reps 3",                                 // 9
            "    addv var0 1",                          // 10
            "    gsub twice",                           // 11
            "  repe",                                   // 12
            "  snde done",                              // 13
            "  stop",                                   // 14
            "  subr twice",                             // 15
            "    addv var1 2",                          // 16
            "    retn",                                 // 17
            "endm",                                     // 18
            "scrp 2 5 4 1",                             // 19
            "  snde bee1,wait 1,snde bee2",             // 20
            "endm"};                                    // 21
}

class DebuggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeSpriteFile(dir.path() / "ball.spr",
                        std::vector<SpriteImage>(4, SpriteImage(20, 10, 7)));
        session.inject(vivarium::injectionOfSource(source(), "T.COS"));
        ASSERT_EQ(session.world().objects().size(), 2U);
    }
    void clickBoth() {
        ASSERT_EQ(session.click(1, 1, vivarium::kEventActivate1), 1);
        ASSERT_EQ(session.click(101, 1, vivarium::kEventActivate1), 2);
    }
    // The counter's instruction written on a line of the source.
    std::size_t instructionAt(int line) const {
        const auto& program = *session.world().scripts().at(kCounter);
        for (const vivarium::CommandRow& row : vivarium::commandRows(program))
            if (row.line == line) return row.instruction;
        ADD_FAILURE() << "no command on line " << line;
        return 0;
    }
    int heldLine() const {
        const auto place =
            vivarium::runningCommand(session.world(), session.world().objects().front());
        if (!place) return 0;
        return session.world()
            .scripts()
            .at(place->script)
            ->instructions[place->instruction]
            .position.line;
    }
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        for (const auto& happening : session.log())
            lines.push_back(vivarium::happeningLine(happening));
        return lines;
    }

    TempDir dir;
    vivarium::Session session{dir.path()};
};

TEST_F(DebuggerTest, TheScriptViewsRowsAreTheCommandsAsWritten) {
    const auto rows = vivarium::commandRows(*session.world().scripts().at(kCounter));
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(std::to_string(row.line) + " " + row.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"8 setv var0 5", "9 reps 3", "10 addv var0 1",
                                        "11 gsub twice", "12 repe", "13 snde done", "14 stop",
                                        "15 subr twice", "16 addv var1 2", "17 retn", "18 endm"}));
    const auto scripts = vivarium::scriptsOf(session.world(), session.world().objects().back());
    ASSERT_EQ(scripts.size(), 1U);
    EXPECT_EQ(scripts[0].first, (vivarium::ScriptKey{2, 5, 4, 1}));
}

// Breaks in the loop, steps into the gsub and back, goes on to the same breakpoint in the next
// round, and runs to the end.
TEST_F(DebuggerTest, ABreakpointInALoopThenStepsThroughTheGsubAndGoesOn) {
    session.debugger().toggleBreakpoint({kCounter, instructionAt(10)});
    clickBoth();
    struct Expected {
        const char* action;  // "tick" goes on, "step" steps the counter
        int line;            // where the counter is held; 0 when the world does not wait
        StopReason reason;
        int var0;
        int var1;
    };
    const Expected steps[] = {
        {"tick", 10, StopReason::Breakpoint, 5, 0}, {"step", 11, StopReason::Step, 6, 0},
        {"step", 16, StopReason::Step, 6, 0},       {"step", 17, StopReason::Step, 6, 2},
        {"step", 12, StopReason::Step, 6, 2},       {"step", 10, StopReason::Step, 6, 2},
        {"tick", 10, StopReason::Breakpoint, 7, 4}, {"tick", 0, StopReason::Step, 0, 0},
    };
    for (const Expected& expected : steps) {
        SCOPED_TRACE(std::string(expected.action) + " to line " + std::to_string(expected.line));
        if (std::string_view(expected.action) == "tick") {
            session.tick();
        } else {
            session.step(1);
        }
        EXPECT_EQ(session.world().currentTick(), 1);
        const auto stop = session.stop();
        ASSERT_EQ(stop.has_value(), expected.line != 0);
        if (!stop) break;
        EXPECT_EQ(stop->object, 1);
        EXPECT_EQ(stop->reason, expected.reason);
        EXPECT_EQ(heldLine(), expected.line);
        const auto rows = vivarium::variableRows(&*session.world().objects().front().run);
        ASSERT_EQ(rows.size(), 14U);
        EXPECT_EQ(rows[0].value, std::to_string(expected.var0));
        EXPECT_EQ(rows[1].value, std::to_string(expected.var1));
        EXPECT_EQ(rows[10].name + "=" + rows[10].value, "targ=#1");
        EXPECT_EQ(rows[12].name + "=" + rows[12].value, "from=0");
    }
    EXPECT_FALSE(session.world().objects().front().run.has_value());
    EXPECT_EQ(log(),
              (std::vector<std::string>{"tick 1 2 5 3 #1 snde done", "tick 1 2 5 4 #2 snde bee1"}));
}

// What happens, and its order among the objects, is the same with stops and steps as without.
TEST_F(DebuggerTest, StopsAndStepsChangeNothingOfWhatHappens) {
    clickBoth();
    for (int k = 0; k < 3; ++k) session.tick();
    const std::vector<std::string> plain = log();
    ASSERT_EQ(plain.size(), 3U);

    session.reset();
    session.inject(vivarium::injectionOfSource(source(), "T.COS"));
    session.debugger().toggleBreakpoint({kCounter, instructionAt(11)});
    session.debugger().toggleBreakpoint({{2, 5, 4, 1}, 2});  // the buzzer's second snde
    clickBoth();
    int stops = 0;
    while (session.world().currentTick() < 3 || session.stop()) {
        const auto stop = session.stop();
        stops += stop ? 1 : 0;
        if (stop && stops % 2 == 0) {
            session.step(stop->object);
        } else {
            session.tick();
        }
    }
    // Three rounds of the loop and two steps from them, the buzzer's second sound and a step.
    EXPECT_EQ(stops, 7);
    // The breakpoints stayed over the reset; the log was emptied by it.
    EXPECT_EQ(log(), plain);
}

// With no script held a step goes on until the object's script is before its first command.
TEST_F(DebuggerTest, AStepWithNothingHeldStopsBeforeTheObjectsNextCommand) {
    session.step(1);
    EXPECT_FALSE(session.stop());  // nothing to run: the tick ends
    EXPECT_EQ(session.world().currentTick(), 1);
    clickBoth();
    session.step(2);
    ASSERT_TRUE(session.stop());
    EXPECT_EQ(session.stop()->object, 2);
    EXPECT_EQ(session.world().currentTick(), 2);
    // The counter, earlier in the tick, ran to its end; the buzzer has not sounded yet.
    EXPECT_EQ(log(), (std::vector<std::string>{"tick 2 2 5 3 #1 snde done"}));
    session.step(2);  // snde bee1
    session.step(2);  // wait 1: the tick ends
    EXPECT_FALSE(session.stop());
    EXPECT_EQ(log().size(), 2U);
}

// A fault names the script and the command it stopped at, where the window marks it; the
// object's own variables stand beside the script's.
TEST_F(DebuggerTest, AFaultNamesItsCommandAndTheObjectsVariablesAreItsOwn) {
    session.runMacro("inst,scrp 2 5 3 2,setv obv1 7,addv obv2 -3,pose 40,snde none,endm");
    ASSERT_EQ(session.click(1, 1, vivarium::kEventActivate2), 1);
    session.tick();
    ASSERT_EQ(session.log().size(), 1U);
    const vivarium::Happening& fault = session.log().front();
    ASSERT_EQ(fault.kind, vivarium::HappeningKind::Fault);
    const vivarium::ScriptKey script{2, 5, 3, 2};
    ASSERT_EQ(fault.script, script);
    const auto rows = vivarium::commandRows(*session.world().scripts().at(script));
    const auto faulted = std::find_if(rows.begin(), rows.end(), [&](const auto& row) {
        return row.instruction == fault.instruction;
    });
    ASSERT_NE(faulted, rows.end());
    EXPECT_EQ(faulted->text, "pose 40");

    std::vector<std::string> shown;
    for (const auto& row : vivarium::objectVariableRows(&session.world().objects().front()))
        shown.push_back(row.name + "=" + row.value);
    EXPECT_EQ(shown, (std::vector<std::string>{"obv0=0", "obv1=7", "obv2=-3"}));
    for (const auto& row : vivarium::objectVariableRows(nullptr)) EXPECT_EQ(row.value, "");
}

TEST(DebuggerVariables, WithoutARunTheNamesStandWithEmptyValues) {
    const auto rows = vivarium::variableRows(nullptr);
    ASSERT_EQ(rows.size(), 14U);
    EXPECT_EQ(rows[9].name, "var9");
    EXPECT_EQ(rows[13].name, "_it_");
    for (const auto& row : rows) EXPECT_EQ(row.value, "") << row.name;
}

TEST(DebuggerBreakpoints, ToggleAddsAndRemoves) {
    vivarium::Debugger debugger;
    const Breakpoint at{kCounter, 3};
    debugger.toggleBreakpoint(at);
    EXPECT_TRUE(debugger.hasBreakpoint(at));
    EXPECT_FALSE(debugger.hasBreakpoint({kCounter, 4}));
    debugger.toggleBreakpoint(at);
    EXPECT_TRUE(debugger.breakpoints().empty());
}

}  // namespace
}  // namespace vek::testing
