// Messages between objects.
#include <array>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace communication_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

void mesgWrit(I& in, const Ins& ins) {
    const int id = in.argument(ins, 0);
    const int number = in.argument(ins, 1);
    Object* object = in.findObject(id);
    if (!object) {
        if (in.wasMade(id)) in.fault(ins, fill(Msg::VivariumMessageToKilled, {std::to_string(id)}));
        in.fault(ins, fill(Msg::VivariumNoTarget, {I::nameOf(ins.word)}));
    }
    in.send(*object, eventOfMessage(number), ins.position);
    in.happen(HappeningKind::Message, ins.position,
              "mesg writ " + objectName(id) + " " + std::to_string(number));
}

constexpr auto kCommands = std::to_array<CommandWord>({
    {"mesg writ", mesgWrit},
});

}  // namespace
}  // namespace communication_words

WordGroup communication() { return {communication_words::kCommands, {}}; }

}  // namespace vek::vivarium::words
