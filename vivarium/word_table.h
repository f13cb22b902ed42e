#pragma once

#include <span>
#include <string_view>

#include "vivarium/program.h"

namespace vek::vivarium {

// How far the world takes a word: it does what the word means here, or gives a neutral answer
// (a recorded happening, a value of 0, a place that keeps nothing), or only reports it.
enum class Modelling { Modelled, Neutral, NotModelled };

// A command the world runs, by its dictionary name.
struct CommandWord {
    std::string_view name;
    CommandRunner run;
    Modelling modelling = Modelling::Modelled;
};

// A value the world reads, by its dictionary name; `place` is where a setting command writes it
// (none: it cannot be set here), `slot` the number of a numbered variable (var3, obv1).
struct ValueWord {
    std::string_view name;
    ValueReader read;
    PlaceFinder place = nullptr;
    int slot = 0;
    Modelling modelling = Modelling::Modelled;
};

// The words of one domain, each kept in its file under words/.
struct WordGroup {
    std::span<const CommandWord> commands;
    std::span<const ValueWord> values;
};

namespace words {
WordGroup flow();
WordGroup variables();
WordGroup objects();
WordGroup movement();
WordGroup rooms();
WordGroup appearance();
WordGroup communication();
WordGroup sound();
WordGroup link();
WordGroup kinds();
WordGroup outside();
WordGroup creature();
}  // namespace words

// Every domain's words, in the order above.
std::span<const WordGroup> wordGroups();

// The command or value of that dictionary name that the world runs; nullptr for a word it does
// not model.
const CommandWord* commandWord(std::string_view name);
const ValueWord* valueWord(std::string_view name);

// How far the world takes a word of the dictionary; NotModelled for one the table lacks.
Modelling modellingOf(const Word& word);
std::string_view modellingName(Modelling modelling);

// What a word the world does not model does: it is reported, never a fault; read it is 0, set
// it writes nowhere.
void runNotModelled(Interpreter& interpreter, const Instruction& instruction);
int readNotModelled(Interpreter& interpreter, const Operand& operand);
int& placeNotModelled(Interpreter& interpreter, const Operand& operand);

}  // namespace vek::vivarium
