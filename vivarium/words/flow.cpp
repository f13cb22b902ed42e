// Blocks, loops, subroutines, pauses and the scriptorium.
#include <algorithm>
#include <array>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace flow_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

// The world never pauses between a macro's commands: inst has nothing left to do.
void inst(I&, const Ins&) {}

// A block opener without its partner (which the link refuses) ends the program when it skips.
void doif(I& in, const Ins& ins) {
    if (!in.holds(ins.condition)) in.jumpPast(ins);
}

void elseOfDoif(I& in, const Ins& ins) { in.jumpPast(ins); }

void endOfBlock(I&, const Ins&) {}

void reps(I& in, const Ins& ins) {
    const int rounds = in.argument(ins, 0);
    if (rounds <= 0 || ins.jump < 0) return in.jumpPast(ins);
    in.run().repeats.push_back(rounds);
}

void repe(I& in, const Ins& ins) {
    Run& run = in.run();
    if (run.repeats.empty() || ins.jump < 0) return;
    if (--run.repeats.back() > 0) return in.jumpPast(ins);
    run.repeats.pop_back();
}

// untl and ever go back to just after their loop.
void untl(I& in, const Ins& ins) {
    if (ins.jump >= 0 && !in.holds(ins.condition)) in.jumpPast(ins);
}

void ever(I& in, const Ins& ins) {
    if (ins.jump >= 0) in.jumpPast(ins);
}

void enumerate(I& in, const Ins& ins) {
    Run::Enumeration enumeration;
    enumeration.objects = in.objectsOfClass(in.argument(ins, 0), in.argument(ins, 1),
                                            in.argument(ins, 2), ins.position);
    if (enumeration.objects.empty() || ins.jump < 0) return in.jumpPast(ins);
    Run& run = in.run();
    enumeration.savedTarget = run.target;
    run.target = enumeration.objects.front();
    run.enumerations.push_back(std::move(enumeration));
}

void next(I& in, const Ins& ins) {
    Run& run = in.run();
    if (ins.jump < 0 || run.enumerations.empty()) return;
    Run::Enumeration& enumeration = run.enumerations.back();
    // An object killed by an earlier round is passed over.
    while (++enumeration.index < enumeration.objects.size()) {
        if (in.findObject(enumeration.objects[enumeration.index])) {
            run.target = enumeration.objects[enumeration.index];
            run.next = static_cast<std::size_t>(ins.jump) + 1;
            return;
        }
    }
    run.target = enumeration.savedTarget;
    run.enumerations.pop_back();
}

// A script never falls into a subroutine: it ends there, as at stop and endm.
void end(I& in, const Ins&) { in.run().ended = true; }

void gsub(I& in, const Ins& ins) {
    Run& run = in.run();
    const auto label = in.program().labels.find(ins.text);
    if (label == in.program().labels.end())
        in.fault(ins, fill(Msg::VivariumMissingLabel, {ins.text}));
    if (run.calls.size() >= kCallDepthLimit)
        in.fault(ins, fill(Msg::VivariumCallsTooDeep, {std::to_string(kCallDepthLimit)}));
    run.calls.push_back(run.next);
    run.next = static_cast<std::size_t>(label->second);
}

void retn(I& in, const Ins& ins) {
    Run& run = in.run();
    if (run.calls.empty()) in.fault(ins, textOf(Msg::VivariumReturnWithoutCall));
    run.next = run.calls.back();
    run.calls.pop_back();
}

void wait(I& in, const Ins& ins) { in.run().waitTicks = std::max(1, in.argument(ins, 0)); }

ScriptKey keyOf(I& in, const Ins& ins) {
    return {in.argument(ins, 0), in.argument(ins, 1), in.argument(ins, 2), in.argument(ins, 3)};
}

// The macro's own commands end at scrp; the rest is the script it installs.
void scrp(I& in, const Ins& ins) {
    if (ins.jump >= 0) {
        const InstalledScript& script = in.program().installs[static_cast<std::size_t>(ins.jump)];
        in.scripts()[script.key] = script.program;
    }
    in.run().ended = true;
}

void scrx(I& in, const Ins& ins) { in.scripts().erase(keyOf(in, ins)); }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"inst", inst}, {"doif", doif},      {"else", elseOfDoif}, {"endi", endOfBlock},
    {"reps", reps}, {"repe", repe},      {"loop", endOfBlock}, {"untl", untl},
    {"ever", ever}, {"enum", enumerate}, {"next", next},       {"subr", end},
    {"gsub", gsub}, {"retn", retn},      {"wait", wait},       {"stop", end},
    {"endm", end},  {"scrp", scrp},      {"scrx", scrx},
});

}  // namespace
}  // namespace flow_words

WordGroup flow() { return {flow_words::kCommands, {}}; }

}  // namespace vek::vivarium::words
