#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "language/dictionary.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/debugger.h"
#include "vivarium/word_table.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

// A misspelt name in the table would leave its word not modelled without a sign.
TEST(WordTable, EveryEntryNamesADictionaryWordOfItsKindOnlyOnce) {
    const Dictionary& dictionary = Dictionary::builtIn();
    std::set<std::string_view> commands;
    std::set<std::string_view> values;
    for (const vivarium::WordGroup& group : vivarium::wordGroups()) {
        for (const vivarium::CommandWord& entry : group.commands) {
            SCOPED_TRACE(entry.name);
            EXPECT_NE(dictionary.command(entry.name), nullptr);
            EXPECT_TRUE(commands.insert(entry.name).second);
            EXPECT_EQ(vivarium::commandWord(entry.name), &entry);
        }
        for (const vivarium::ValueWord& entry : group.values) {
            SCOPED_TRACE(entry.name);
            EXPECT_NE(dictionary.value(entry.name), nullptr);
            EXPECT_TRUE(values.insert(entry.name).second);
            EXPECT_EQ(vivarium::valueWord(entry.name), &entry);
        }
    }
    EXPECT_EQ(vivarium::commandWord("zzzz"), nullptr);
}

// Every word runs: what lies outside the world and the creature's insides give a neutral
// answer.
TEST(WordTable, EveryWordRunsModelledOrNeutrally) {
    const std::set<std::string_view> neutral = {
        "sys: quit", "sys: cmra", "dbgm",      "pntr", "temp", "chem", "aslp",
        "drea",      "dde: lobe", "new: gene", "dead", "drv!", "baby"};
    for (const Word& word : Dictionary::builtIn().words()) {
        SCOPED_TRACE(word.name);
        const vivarium::Modelling modelling = vivarium::modellingOf(word);
        EXPECT_NE(modelling, vivarium::Modelling::NotModelled);
        EXPECT_TRUE(!neutral.contains(word.name) || modelling == vivarium::Modelling::Neutral);
    }
    for (const char* modelled : {"new: lift", "cabn", "gpas", "xvec", "tokn", "carr"}) {
        const vivarium::CommandWord* command = vivarium::commandWord(modelled);
        const vivarium::ValueWord* value = vivarium::valueWord(modelled);
        ASSERT_TRUE(command || value) << modelled;
        EXPECT_EQ(command ? command->modelling : value->modelling, vivarium::Modelling::Modelled)
            << modelled;
    }
}

struct Ran {
    std::string answer;
    std::vector<std::string> notModelled;
    std::vector<std::string> faults;
};

Ran runIn(vivarium::World& world, const std::string& commands) {
    Ran ran;
    world.setObserver([&](const vivarium::Happening& happening) {
        if (happening.kind == vivarium::HappeningKind::NotModelled)
            ran.notModelled.push_back(happening.detail);
        if (happening.kind == vivarium::HappeningKind::Fault)
            ran.faults.push_back(happening.fault.english);
    });
    ran.answer = world.runMacro(MacroText("inst," + commands + ",endm"), nullptr);
    return ran;
}

// Each word the world does not model (a creature's insides) is reported by its name and the
// macro goes on: a command is passed over, a value reads 0 and, set, keeps nothing.
TEST(WordTable, WordsNotModelledAreReportedByNameAndTheMacroGoesOn) {
    int commandsTried = 0;
    int valuesTried = 0;
    for (const Word& word : Dictionary::builtIn().words()) {
        SCOPED_TRACE(word.name);
        vivarium::World world;
        const vivarium::CommandWord* command = vivarium::commandWord(word.name);
        const vivarium::ValueWord* value = vivarium::valueWord(word.name);
        if (word.isCommand() && word.arguments.empty() && word.block == BlockRole::None &&
            (!command || command->run == vivarium::runNotModelled)) {
            const Ran ran = runIn(world, word.name + ",dde: putv 7");
            EXPECT_EQ(ran.notModelled, std::vector<std::string>{word.name});
            EXPECT_EQ(ran.answer, "7|");
            EXPECT_EQ(ran.faults, std::vector<std::string>());
            ++commandsTried;
        } else if (word.kind == WordKind::Variable && word.arguments.empty() &&
                   (!value || value->read == vivarium::readNotModelled)) {
            const Ran ran = runIn(world, "setv " + word.name + " 5,dde: putv " + word.name);
            EXPECT_EQ(ran.notModelled, (std::vector<std::string>{word.name, word.name}));
            EXPECT_EQ(ran.answer, "0|");
            ++valuesTried;
        }
    }
    EXPECT_GT(commandsTried, 0);
    EXPECT_GT(valuesTried, 0);
}

// Blocks are tied as the dictionary forms them, also inside one another and in subroutines.
TEST(WordTable, NestedBlocksAndSubroutinesGoWhereTheirPartnersAre) {
    struct Case {
        const char* commands;
        const char* answer;
    };
    const Case cases[] = {
        {"setv var0 3,gsub pick,setv var0 4,gsub pick,stop,"
         "subr pick,doif var0 eq 3,dde: putv 1,else,dde: putv 2,endi,retn",
         "1|2|"},
        {"reps 2,reps 3,addv var0 1,repe,addv var1 1,repe,dde: putv var0,dde: putv var1", "6|2|"},
        {"loop,addv var0 1,doif var0 eq 4,dde: putv var0,stop,endi,ever", "4|"},
        {"doif 1 eq 2,reps 2,dde: putv 9,repe,else,loop,addv var0 1,untl var0 eq 2,endi,"
         "dde: putv var0",
         "2|"},
    };
    for (const Case& c : cases) {
        vivarium::World world;
        const Ran ran = runIn(world, c.commands);
        EXPECT_EQ(ran.answer, c.answer) << c.commands;
        EXPECT_EQ(ran.faults, std::vector<std::string>()) << c.commands;
    }
}

// The link refuses a macro with an error before any of it runs, and says why.
TEST(WordTable, ARefusedMacroRunsNothingAndNamesItsError) {
    vivarium::World world;
    std::optional<Finding> refusal;
    EXPECT_EQ(world.runMacro(MacroText("inst,dde: putv 1,setv var0,endm"), nullptr, &refusal), "");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->code, FindingCode::TooFewArguments);
    EXPECT_EQ(world.runMacro(MacroText("inst,dde: putv 1,endm"), nullptr, &refusal), "1|");
    EXPECT_FALSE(refusal);
}

TEST(CommandHook, IsAskedForEachCommandOnlyWhileAttached) {
    vivarium::World world;
    std::vector<std::string> asked;
    world.setCommandHook([&](const vivarium::Run&, const vivarium::Instruction& instruction) {
        asked.push_back(instruction.source);
        return true;
    });
    const MacroText macro("inst,setv var0 1,endm");
    world.runMacro(macro, nullptr);
    EXPECT_EQ(asked, (std::vector<std::string>{"inst", "setv var0 1", "endm"}));
    world.attachCommandHook(false);
    world.runMacro(macro, nullptr);
    EXPECT_EQ(asked.size(), 3u);
    world.attachCommandHook(true);
    world.runMacro(macro, nullptr);
    EXPECT_EQ(asked.size(), 6u);
    // An empty hook is never attached.
    world.setCommandHook({});
    world.attachCommandHook(true);
    world.runMacro(macro, nullptr);
    EXPECT_EQ(asked.size(), 6u);
}

TEST(CommandHook, ADebuggerIsAttachedWhileItCouldHoldAScript) {
    vivarium::Debugger debugger;
    EXPECT_FALSE(debugger.attached());
    const vivarium::Breakpoint breakpoint{{2, 5, 4, 1}, 2};
    debugger.toggleBreakpoint(breakpoint);
    EXPECT_TRUE(debugger.attached());
    debugger.toggleBreakpoint(breakpoint);
    EXPECT_FALSE(debugger.attached());
    debugger.goOn(0, 5);  // a step of object 5
    EXPECT_TRUE(debugger.attached());
    debugger.goOn(3);  // a held command of object 3 to let go
    EXPECT_TRUE(debugger.attached());
    vivarium::Run held;
    held.owner = 3;
    EXPECT_TRUE(debugger.allows(held));
    EXPECT_FALSE(debugger.attached());
}

}  // namespace
}  // namespace vek::testing
