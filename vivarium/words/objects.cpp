// Making, finding, naming and killing objects, and what each of them keeps.
#include <algorithm>
#include <array>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace object_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

void targ(I& in, const Ins& ins) { in.run().target = in.argument(ins, 0); }

void rtar(I& in, const Ins& ins) {
    const std::vector<int> found = in.objectsOfClass(in.argument(ins, 0), in.argument(ins, 1),
                                                     in.argument(ins, 2), ins.position);
    in.run().target = found.empty() ? 0 : found[in.random() % found.size()];
}

void newSimp(I& in, const Ins& ins) {
    in.addObject(in.newPictured(ins, in.argument(ins, 2), ObjectShape{}));
}

void kill(I& in, const Ins& ins) {
    Object* object = in.findObject(in.argument(ins, 0));
    if (!object) {
        // The program's own "kill edit" is harmless when nothing is held.
        const Word* named = ins.arguments.empty() ? nullptr : ins.arguments[0].word;
        if (named && named->is("edit")) return;
        in.fault(ins, fill(Msg::VivariumNoTarget, {I::nameOf(ins.word)}));
    }
    in.kill(*object);
}

void edit(I& in, const Ins& ins) { in.editObject() = in.target(ins).id; }

void setvClas(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    const auto clas = static_cast<std::uint32_t>(in.argument(ins, 0));
    object.family = static_cast<int>(clas >> 24);
    object.genus = static_cast<int>((clas >> 16) & 0xFF);
    object.species = static_cast<int>((clas >> 8) & 0xFF);
}

void tick(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    object.timerRate = std::max(0, in.argument(ins, 0));
    object.timerCount = object.timerRate;
}

void bhvr(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    object.click = in.argument(ins, 0);
    object.touch = in.argument(ins, 1);
}

int readTarg(I& in, const Operand&) { return in.run().target; }
int readOwnr(I& in, const Operand&) { return in.run().owner; }
int readFrom(I& in, const Operand&) { return in.run().from; }
int readIt(I& in, const Operand&) { return in.run().it; }
int readEdit(I& in, const Operand&) { return in.editObject(); }
int readClas(I& in, const Operand& operand) { return in.target(operand).classNumber(); }
int readFmly(I& in, const Operand& operand) { return in.target(operand).family; }
int readGnus(I& in, const Operand& operand) { return in.target(operand).genus; }
int readSpcs(I& in, const Operand& operand) { return in.target(operand).species; }
int& attr(I& in, const Operand& operand) { return in.target(operand).attr; }
int readAttr(I& in, const Operand& operand) { return attr(in, operand); }
int& actv(I& in, const Operand& operand) { return in.target(operand).actv; }
int readActv(I& in, const Operand& operand) { return actv(in, operand); }

int& objp(I& in, const Operand& operand) { return in.target(operand).objp; }
int readObjp(I& in, const Operand& operand) { return objp(in, operand); }

int totl(I& in, const Operand& operand) {
    std::array<int, 3> wanted{};
    for (std::size_t k = 0; k < wanted.size() && k < operand.arguments.size(); ++k)
        wanted[k] = in.value(operand.arguments[k]);
    const std::deque<Object>& objects = in.objectsLookedThrough(operand.position);
    return static_cast<int>(std::count_if(objects.begin(), objects.end(), [&](const Object& o) {
        return !o.killed && matches(wanted[0], o.family) && matches(wanted[1], o.genus) &&
               matches(wanted[2], o.species);
    }));
}

constexpr auto kCommands = std::to_array<CommandWord>({
    {"targ", targ},
    {"rtar", rtar},
    {"new: simp", newSimp},
    {"kill", kill},
    {"edit", edit},
    {"setv clas", setvClas},
    {"tick", tick},
    {"bhvr", bhvr},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"targ", readTarg},
    {"ownr", readOwnr},
    {"from", readFrom},
    {"_it_", readIt},
    {"edit", readEdit},
    {"clas", readClas},
    {"fmly", readFmly},
    {"gnus", readGnus},
    {"spcs", readSpcs},
    {"attr", readAttr, attr},
    {"actv", readActv, actv},
    {"totl", totl},
    {"objp", readObjp, objp},
});

}  // namespace
}  // namespace object_words

WordGroup objects() { return {object_words::kCommands, object_words::kValues}; }

}  // namespace vek::vivarium::words
