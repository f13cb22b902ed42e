// What a macro writes into its answer on the link, and the game's window.
#include <array>

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace link_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

void ddePutv(I& in, const Ins& ins) { in.write(std::to_string(in.argument(ins, 0)) + "|", ins); }

void ddePuts(I& in, const Ins& ins) { in.write(ins.text, ins); }

void ddeScrp(I& in, const Ins& ins) {
    const auto found = in.scripts().find(
        {in.argument(ins, 0), in.argument(ins, 1), in.argument(ins, 2), in.argument(ins, 3)});
    if (found != in.scripts().end()) in.write(found->second->text, ins);
}

// The stand-in has no window of the game to bring to the front.
void sysWtop(I&, const Ins&) {}

constexpr auto kCommands = std::to_array<CommandWord>({
    {"dde: putv", ddePutv},
    {"dde: puts", ddePuts},
    {"dde: scrp", ddeScrp},
    {"sys: wtop", sysWtop},
});

}  // namespace
}  // namespace link_words

WordGroup link() { return {link_words::kCommands, {}}; }

}  // namespace vek::vivarium::words
