// Words about what lies outside the world: the camera, the game's window and controls, the
// event bar, debug output, the link's files, and the world's weather. The world records what
// they ask for and obeys none of it; their values are neutral.
#include <array>

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace outside_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

constexpr Modelling kNeutral = Modelling::Neutral;

// The command with its values and its text, as a log line shows it: "sys: cmra 400 300".
void record(I& in, const Ins& ins) {
    std::string detail = I::nameOf(ins.word);
    for (std::size_t k = 0; k < ins.arguments.size(); ++k)
        detail.append(1, ' ').append(std::to_string(in.argument(ins, k)));
    if (!ins.text.empty()) detail.append(1, ' ').append(ins.text);
    in.happen(HappeningKind::Record, ins.position, std::move(detail));
}

// Marks, versions and preloading change nothing the world keeps.
void ignore(I&, const Ins&) {}

int zero(I&, const Operand&) { return 0; }
int& nowhere(I& in, const Operand&) { return in.scratch(); }
// The sound is on, in its first mode.
int soundOn(I&, const Operand&) { return 1; }
// The view window may be as large as the game's screen.
int widestWindow(I&, const Operand&) { return 640; }
int highestWindow(I&, const Operand&) { return 480; }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"iscr", ignore, kNeutral},      {"rscr", ignore, kNeutral},
    {"vrsn", ignore, kNeutral},      {"plds", ignore, kNeutral},
    {"slim", ignore, kNeutral},      {"dde: getb", ignore, kNeutral},
    {"dde: putb", ignore, kNeutral}, {"dde: pict", ignore, kNeutral},
    {"evnt", record, kNeutral},      {"rmev", record, kNeutral},
    {"knob", record, kNeutral},      {"stpc", record, kNeutral},
    {"fade", record, kNeutral},      {"tool", record, kNeutral},
    {"sys: camt", record, kNeutral}, {"sys: cmra", record, kNeutral},
    {"sys: cmnd", record, kNeutral}, {"sys: edit", record, kNeutral},
    {"sys: wpos", record, kNeutral}, {"sys: wrld", record, kNeutral},
    {"sys: quit", record, kNeutral}, {"sys: abrt", record, kNeutral},
    {"dbug", record, kNeutral},      {"dbgv", record, kNeutral},
    {"dbgm", record, kNeutral},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"pntr", zero, nullptr, 0, kNeutral},
    {"exec", zero, nullptr, 0, kNeutral},
    {"snds", soundOn, nullptr, 0, kNeutral},
    {"winw", widestWindow, nullptr, 0, kNeutral},
    {"winh", highestWindow, nullptr, 0, kNeutral},
    {"movs", zero, nowhere, 0, kNeutral},
    {"neid", zero, nullptr, 0, kNeutral},
    {"wind", zero, nullptr, 0, kNeutral},
    {"temp", zero, nowhere, 0, kNeutral},
    {"vrsn", zero, nullptr, 0, kNeutral},
});

}  // namespace
}  // namespace outside_words

WordGroup outside() { return {outside_words::kCommands, outside_words::kValues}; }

}  // namespace vek::vivarium::words
