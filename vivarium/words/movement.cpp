// Where objects are and how far they reach.
#include <array>

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace movement_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

void mvto(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    const int x = in.argument(ins, 0);
    const int y = in.argument(ins, 1);
    in.moveTo(object, x, y, ins.position);
}

void mvby(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    const int x = in.argument(ins, 0);
    const int y = in.argument(ins, 1);
    in.moveTo(object, wrap(static_cast<long long>(object.x) + x),
              wrap(static_cast<long long>(object.y) + y), ins.position);
}

int posx(I& in, const Operand& operand) {
    const Object& object = in.target(operand);
    return object.x + object.width() / 2;
}
int posy(I& in, const Operand& operand) {
    const Object& object = in.target(operand);
    return object.y + object.height() / 2;
}
int posl(I& in, const Operand& operand) { return in.target(operand).x; }
int posr(I& in, const Operand& operand) {
    const Object& object = in.target(operand);
    return object.x + object.width();
}
int post(I& in, const Operand& operand) { return in.target(operand).y; }
int posb(I& in, const Operand& operand) {
    const Object& object = in.target(operand);
    return object.y + object.height();
}
int wdth(I& in, const Operand& operand) { return in.target(operand).width(); }
int hght(I& in, const Operand& operand) { return in.target(operand).height(); }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"mvto", mvto},
    {"mvby", mvby},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"posx", posx},
    {"posy", posy},
    {"posl", posl},
    {"posr", posr},
    {"post", post},
    {"posb", posb},
    {"wdth", wdth},
    {"hght", hght},
});

}  // namespace
}  // namespace movement_words

WordGroup movement() { return {movement_words::kCommands, movement_words::kValues}; }

}  // namespace vek::vivarium::words
