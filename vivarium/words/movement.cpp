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

// mcrt lifts the limits of the room and the ground for its move; tele moves within them.
void mcrt(I& in, const Ins& ins) {
    in.placeAt(in.target(ins), in.argument(ins, 0), in.argument(ins, 1));
}

// The limits of a move are the room the object is in (map.h): the edges of that room.
const Room* limitingRoom(I& in, const Operand& operand) {
    const Object& object = in.target(operand);
    const Map& map = in.map();
    return map.roomContaining(object.x + object.width() / 2, object.y + object.height() / 2);
}
int liml(I& in, const Operand& operand) {
    const Room* room = limitingRoom(in, operand);
    return room ? room->left : 0;
}
int limr(I& in, const Operand& operand) {
    const Room* room = limitingRoom(in, operand);
    return room ? room->right : 0;
}
int limt(I& in, const Operand& operand) {
    const Room* room = limitingRoom(in, operand);
    return room ? room->top : 0;
}
int limb(I& in, const Operand& operand) {
    const Room* room = limitingRoom(in, operand);
    return room ? room->bottom : 0;
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
    {"mcrt", mcrt},
    {"tele", mvto},
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
    {"liml", liml},
    {"limr", limr},
    {"limt", limt},
    {"limb", limb},
});

}  // namespace
}  // namespace movement_words

WordGroup movement() { return {movement_words::kCommands, movement_words::kValues}; }

}  // namespace vek::vivarium::words
