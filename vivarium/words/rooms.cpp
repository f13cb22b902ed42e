// The world's rooms and its ground.
#include <array>
#include <string>

#include "app/text_names.h"

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace room_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

void room(I& in, const Ins& ins) {
    Room made;
    made.number = in.argument(ins, 0);
    made.left = in.argument(ins, 1);
    made.top = in.argument(ins, 2);
    made.right = in.argument(ins, 3);
    made.bottom = in.argument(ins, 4);
    made.type = in.argument(ins, 5);
    if (!in.map().setRoom(made))
        in.fault(ins, fill(Msg::VivariumTooManyRooms, {std::to_string(Map::kMaxRooms)}));
}

// The place is a point of the ground line, one for each kGroundPointWidth pixels.
void sysGrnd(I& in, const Ins& ins) {
    const int point = in.argument(ins, 0);
    if (!in.map().setGround(point, in.argument(ins, 1)))
        in.fault(ins, fill(Msg::VivariumGroundPointBeyond,
                           {std::to_string(point), std::to_string(Map::kMaxGroundPoints - 1)}));
}

int argumentOf(I& in, const Operand& operand, std::size_t index) {
    return index < operand.arguments.size() ? in.value(operand.arguments[index]) : 0;
}

int roomAt(I& in, const Operand& operand) {
    const int x = argumentOf(in, operand, 0);
    return in.map().roomAt(x, argumentOf(in, operand, 1));
}
int grnd(I& in, const Operand& operand) { return in.map().groundAt(argumentOf(in, operand, 0)); }
int groundPoints(I& in, const Operand&) { return in.map().groundPoints(); }
int groundWidth(I& in, const Operand&) { return in.map().groundPoints() * kGroundPointWidth; }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"room", room},
    {"sys: grnd", sysGrnd},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"room", roomAt},
    {"grnd", grnd},
    {"gnd#", groundPoints},
    {"gndw", groundWidth},
});

}  // namespace
}  // namespace room_words

WordGroup rooms() { return {room_words::kCommands, room_words::kValues}; }

}  // namespace vek::vivarium::words
