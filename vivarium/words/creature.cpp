// The creature: the stimuli that reach it, the pet that norn names, and the words of its brain
// and chemistry, which the world answers neutrally.
#include <array>
#include <cstdlib>
#include <vector>

#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace creature_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

// Of a stimulus's twelve numbers (significance, input, intensity, features, then four pairs of
// chemical and amount), the pairs start here.
constexpr std::size_t kFirstChemical = 4;

bool creatureIsThere(I& in) { return in.findObject(in.creature().id) != nullptr; }

// Touching, as stim tact asks it: the creature holds the target or stands within its reach.
bool touchesTarget(I& in) {
    const Creature& creature = in.creature();
    const Object* self = in.findObject(creature.id);
    const Object* target = in.findObject(in.run().target);
    if (!self || !target) return false;
    if (creature.carried == target->id) return true;
    const int gap = (target->x + target->width() / 2) - (self->x + kCreatureWidth / 2);
    return std::abs(gap) <= kCreatureReach;
}

// Reports a stimulus with its numbers as written (from `first`: a writ names its object first),
// and what the creature got of it.
void stimulate(I& in, const Ins& ins, bool reaches, std::size_t first, bool withChemicals) {
    // Built by appends: GCC 12 warns falsely about a concatenation with a literal here.
    std::string detail = I::nameOf(ins.word);
    const auto addWord = [&detail](const std::string& word) {
        detail.push_back(' ');
        detail.append(word);
    };
    if (first > 0) addWord(objectName(in.argument(ins, 0)));
    std::vector<int> numbers;
    for (std::size_t k = first; k < ins.arguments.size(); ++k) {
        numbers.push_back(in.value(ins.arguments[k]));
        addWord(std::to_string(numbers.back()));
    }
    if (reaches) {
        std::span<const int> chemicals;
        if (withChemicals && numbers.size() > kFirstChemical)
            chemicals = std::span<const int>(numbers).subspan(kFirstChemical);
        addWord(receivedLine(in.creature(), chemicals));
    }
    in.happen(HappeningKind::Stimulus, ins.position, std::move(detail));
}

bool namesCreature(I& in, const Ins& ins) {
    return creatureIsThere(in) && in.argument(ins, 0) == in.creature().id;
}

// Hearing and sight are not modelled: a shout or a sign reaches the creature wherever it is.
void stimShou(I& in, const Ins& ins) { stimulate(in, ins, creatureIsThere(in), 0, true); }
void stimTact(I& in, const Ins& ins) { stimulate(in, ins, touchesTarget(in), 0, true); }
void stimFrom(I& in, const Ins& ins) {
    stimulate(in, ins, creatureIsThere(in) && in.run().from == in.creature().id, 0, true);
}
void stimWrit(I& in, const Ins& ins) { stimulate(in, ins, namesCreature(in, ins), 1, true); }
// A standard stimulus's chemicals are the game's own table, which is not modelled.
void stmShou(I& in, const Ins& ins) { stimulate(in, ins, creatureIsThere(in), 0, false); }
void stmTact(I& in, const Ins& ins) { stimulate(in, ins, touchesTarget(in), 0, false); }
void stmWrit(I& in, const Ins& ins) { stimulate(in, ins, namesCreature(in, ins), 1, false); }

// A creature from a genome is the world's one stand-in creature, standing on the ground at the
// world's left edge when it is new; its genome and sex are not modelled. It becomes the target.
void newCrea(I& in, const Ins& ins) {
    in.notModelled(ins.word, ins.position);
    const int creature = in.creatureObject(0, 0);
    if (creature == 0)
        in.freeze(ins.position, Msg::VivariumTooManyObjects, static_cast<long long>(kObjectLimit));
    in.run().target = creature;
}

// Its variable gets no gene: 0.
void newGene(I& in, const Ins& ins) {
    runNotModelled(in, ins);
    if (ins.arguments.size() > 2 && ins.arguments[2].place) in.place(ins.arguments[2]) = 0;
}

int& norn(I& in, const Operand&) { return in.creature().selected; }
int readNorn(I& in, const Operand& operand) { return norn(in, operand); }

// Its brain and chemistry are not modelled: their words answer neutrally and say so.
constexpr Modelling kNeutral = Modelling::Neutral;

constexpr auto kCommands = std::to_array<CommandWord>({
    {"stim shou", stimShou},
    {"stim sign", stimShou},
    {"stim tact", stimTact},
    {"stim from", stimFrom},
    {"stim writ", stimWrit},
    {"stm# shou", stmShou},
    {"stm# sign", stmShou},
    {"stm# tact", stmTact},
    {"stm# writ", stmWrit},
    {"new: crea", newCrea, kNeutral},
    {"new: gene", newGene, kNeutral},
    {"chem", runNotModelled, kNeutral},
    {"aslp", runNotModelled, kNeutral},
    {"drea", runNotModelled, kNeutral},
    {"appr", runNotModelled, kNeutral},
    {"walk", runNotModelled, kNeutral},
    {"touc", runNotModelled, kNeutral},
    {"drop", runNotModelled, kNeutral},
    {"done", runNotModelled, kNeutral},
    {"aim:", runNotModelled, kNeutral},
    {"impt", runNotModelled, kNeutral},
    {"ltcy", runNotModelled, kNeutral},
    {"say$", runNotModelled, kNeutral},
    {"sayn", runNotModelled, kNeutral},
    {"snez", runNotModelled, kNeutral},
    {"f**k", runNotModelled, kNeutral},
    {"mate", runNotModelled, kNeutral},
    {"dde: negg", runNotModelled, kNeutral},
    {"dde: died", runNotModelled, kNeutral},
    {"dde: live", runNotModelled, kNeutral},
    {"dde: hatc", runNotModelled, kNeutral},
    {"dde: cell", runNotModelled, kNeutral},
    {"dde: lobe", runNotModelled, kNeutral},
    {"dde: gene", runNotModelled, kNeutral},
    {"dde: panc", runNotModelled, kNeutral},
    {"dde: word", runNotModelled, kNeutral},
});

// Read, each is 0: alive, awake, not pregnant, no drive pressing, no chemical, nothing attended.
constexpr auto kValues = std::to_array<ValueWord>({
    {"norn", readNorn, norn},
    {"dead", readNotModelled, nullptr, 0, kNeutral},
    {"aslp", readNotModelled, nullptr, 0, kNeutral},
    {"cage", readNotModelled, nullptr, 0, kNeutral},
    {"baby", readNotModelled, placeNotModelled, 0, kNeutral},
    {"drv!", readNotModelled, nullptr, 0, kNeutral},
    {"driv", readNotModelled, nullptr, 0, kNeutral},
    {"chem", readNotModelled, nullptr, 0, kNeutral},
    {"attn", readNotModelled, nullptr, 0, kNeutral},
    {"touc", readNotModelled, nullptr, 0, kNeutral},
});

}  // namespace
}  // namespace creature_words

WordGroup creature() { return {creature_words::kCommands, creature_words::kValues}; }

}  // namespace vek::vivarium::words
