// Compound objects, vehicles, lifts with their call buttons and blackboards: making them and
// what their own commands and values do.
#include <algorithm>
#include <array>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace kind_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

// The number a part, a hot spot or a blackboard's word is kept by: 0 to kMaxKindNumber.
int keptNumber(I& in, const Ins& ins) {
    const int number = in.argument(ins, 0);
    if (number < 0 || number > kMaxKindNumber)
        in.fault(ins, fill(Msg::VivariumNumberBeyond,
                           {I::nameOf(ins.word), std::to_string(kMaxKindNumber),
                            std::to_string(number)}));
    return number;
}

// The fourth number of new: comp is taken as the plane, as new: simp's third.
void newComp(I& in, const Ins& ins) {
    in.addObject(in.newPictured(ins, in.argument(ins, 2), Compound{}));
}

void newVhcl(I& in, const Ins& ins) { in.addObject(in.newPictured(ins, 0, Vehicle{})); }

void newLift(I& in, const Ins& ins) { in.addObject(in.newPictured(ins, 0, Lift{})); }

// A call button calls the newest lift, as buttons are made right after their lift.
void newCbtn(I& in, const Ins& ins) {
    const std::deque<Object>& objects = in.objectsLookedThrough(ins.position);
    const auto lift = std::find_if(objects.rbegin(), objects.rend(), [](const Object& object) {
        return !object.killed && object.shape.as<Lift>() != nullptr;
    });
    const CallButton button{lift == objects.rend() ? 0 : lift->id};
    in.addObject(in.newPictured(ins, in.argument(ins, 2), button));
}

// The numbers after the plane lay out the board's text, which the world does not draw.
void newBkbd(I& in, const Ins& ins) {
    in.addObject(in.newPictured(ins, in.argument(ins, 2), Blackboard{}));
}

// A part of the same number is replaced; part 0 is the object itself.
void newPart(I& in, const Ins& ins) {
    Compound& compound = in.targetAs<Compound>(ins);
    const Part part{keptNumber(in, ins), in.argument(ins, 1), in.argument(ins, 2),
                    in.argument(ins, 3), in.argument(ins, 4)};
    if (part.number == 0) return;
    std::vector<Part>& parts = compound.parts;
    const auto at = std::lower_bound(parts.begin(), parts.end(), part.number,
                                     [](const Part& p, int number) { return p.number < number; });
    if (at != parts.end() && at->number == part.number) {
        *at = part;
    } else {
        parts.insert(at, part);
    }
}

void part(I& in, const Ins& ins) { in.targetAs<Compound>(ins).selectedPart = in.argument(ins, 0); }

void spot(I& in, const Ins& ins) {
    Compound& compound = in.targetAs<Compound>(ins);
    const Hotspot hotspot{keptNumber(in, ins), in.argument(ins, 1), in.argument(ins, 2),
                          in.argument(ins, 3), in.argument(ins, 4)};
    std::erase_if(compound.hotspots,
                  [&](const Hotspot& kept) { return kept.number == hotspot.number; });
    compound.hotspots.push_back(hotspot);
}

void cabn(I& in, const Ins& ins) {
    in.carrierTarget(ins).cabin = Carrier::Cabin{in.argument(ins, 0), in.argument(ins, 1),
                                                 in.argument(ins, 2), in.argument(ins, 3)};
}

Object& objectArgument(I& in, const Ins& ins, std::size_t index) {
    Object* object = in.findObject(in.argument(ins, index));
    if (!object) in.fault(ins, fill(Msg::VivariumNoTarget, {I::nameOf(ins.word)}));
    return *object;
}

void spas(I& in, const Ins& ins) {
    Object& vehicle = objectArgument(in, ins, 0);
    Object& passenger = objectArgument(in, ins, 1);
    if (!carrierOf(vehicle)) in.wrongKind(ins.word, ins.position, vehicle);
    in.board(vehicle, passenger);
}

void gpas(I& in, const Ins& ins) {
    in.carrierTarget(ins);
    in.takeOnCabin(in.target(ins), ins.position);
}

void dpas(I& in, const Ins& ins) {
    in.carrierTarget(ins);
    in.letOut(in.target(ins));
}

void bbdWord(I& in, const Ins& ins) {
    in.targetAs<Blackboard>(ins).words[keptNumber(in, ins)] = {in.argument(ins, 1), ins.text};
}

void bbdShow(I& in, const Ins& ins) {
    in.targetAs<Blackboard>(ins).shown = in.argument(ins, 0) != 0;
}

void bbdEdit(I& in, const Ins& ins) {
    in.targetAs<Blackboard>(ins).editing = in.argument(ins, 0) != 0;
}

// No creature hears it: the word spoken is reported as a message.
void bbdEmit(I& in, const Ins& ins) {
    const Blackboard& board = in.targetAs<Blackboard>(ins);
    const auto word = board.words.find(in.argument(ins, 0));
    if (word == board.words.end()) return;
    in.happen(HappeningKind::Message, ins.position,
              "bbd: emit " + objectName(in.run().target) + " " + word->second.text);
}

int& vehicleSpeedAcross(I& in, const Operand& operand) {
    return in.targetAs<Vehicle>(operand).xvec;
}
int& vehicleSpeedDown(I& in, const Operand& operand) { return in.targetAs<Vehicle>(operand).yvec; }
int readSpeedAcross(I& in, const Operand& operand) { return vehicleSpeedAcross(in, operand); }
int readSpeedDown(I& in, const Operand& operand) { return vehicleSpeedDown(in, operand); }
int bump(I& in, const Operand& operand) { return in.targetAs<Vehicle>(operand).bump; }

// The carrier of an object that is still there; 0 when it rides in nothing.
int carrierNumber(I& in, int id) {
    const Object* object = in.findObject(id);
    if (!object || object->carriedBy == 0) return 0;
    return in.findObject(object->carriedBy) ? object->carriedBy : 0;
}
int carr(I& in, const Operand&) { return carrierNumber(in, in.run().owner); }
int tcar(I& in, const Operand&) { return carrierNumber(in, in.run().target); }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"new: comp", newComp},
    {"new: part", newPart},
    {"new: vhcl", newVhcl},
    {"new: lift", newLift},
    {"new: cbtn", newCbtn},
    {"new: bkbd", newBkbd},
    {"part", part},
    {"spot", spot},
    {"cabn", cabn},
    {"spas", spas},
    {"gpas", gpas},
    {"dpas", dpas},
    {"bbd: word", bbdWord},
    {"bbd: show", bbdShow},
    {"bbd: emit", bbdEmit},
    {"bbd: edit", bbdEdit},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"xvec", readSpeedAcross, vehicleSpeedAcross},
    {"yvec", readSpeedDown, vehicleSpeedDown},
    {"bump", bump},
    {"carr", carr},
    {"tcar", tcar},
});

}  // namespace
}  // namespace kind_words

WordGroup kinds() { return {kind_words::kCommands, kind_words::kValues}; }

}  // namespace vek::vivarium::words
