// Sounds, which the world reports for whoever plays them.
#include <array>

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace sound_words {
namespace {

// The sound words differ only in where and when the game plays them.
void playSound(Interpreter& in, const Instruction& ins) {
    in.happen(HappeningKind::Sound, ins.position, Interpreter::nameOf(ins.word) + " " + ins.text);
}

constexpr auto kCommands = std::to_array<CommandWord>({
    {"snde", playSound},
    {"sndc", playSound},
    {"sndl", playSound},
    {"sndq", playSound},
    {"sndv", playSound},
    {"sndf", playSound},
});

}  // namespace
}  // namespace sound_words

WordGroup sound() { return {sound_words::kCommands, {}}; }

}  // namespace vek::vivarium::words
