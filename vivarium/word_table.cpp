#include "vivarium/word_table.h"

#include <array>
#include <unordered_map>

#include "vivarium/interpreter.h"

namespace vek::vivarium {

namespace {

template <typename Entry, typename Words>
std::unordered_map<std::string_view, const Entry*> indexOf(Words wordsOf) {
    std::unordered_map<std::string_view, const Entry*> index;
    for (const WordGroup& group : wordGroups()) {
        for (const Entry& entry : wordsOf(group)) index.emplace(entry.name, &entry);
    }
    return index;
}

template <typename Entry>
const Entry* lookUp(const std::unordered_map<std::string_view, const Entry*>& index,
                    std::string_view name) {
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

}  // namespace

std::span<const WordGroup> wordGroups() {
    static const std::array<WordGroup, 12> groups = {
        words::flow(),  words::variables(),  words::objects(),       words::movement(),
        words::rooms(), words::appearance(), words::communication(), words::sound(),
        words::link(),  words::kinds(),      words::outside(),       words::creature()};
    return groups;
}

const CommandWord* commandWord(std::string_view name) {
    static const auto index =
        indexOf<CommandWord>([](const WordGroup& group) { return group.commands; });
    return lookUp(index, name);
}

const ValueWord* valueWord(std::string_view name) {
    static const auto index =
        indexOf<ValueWord>([](const WordGroup& group) { return group.values; });
    return lookUp(index, name);
}

Modelling modellingOf(const Word& word) {
    if (word.isCommand()) {
        const CommandWord* entry = commandWord(word.name);
        return entry ? entry->modelling : Modelling::NotModelled;
    }
    const ValueWord* entry = valueWord(word.name);
    return entry ? entry->modelling : Modelling::NotModelled;
}

std::string_view modellingName(Modelling modelling) {
    switch (modelling) {
        case Modelling::Modelled:
            return "modelled";
        case Modelling::Neutral:
            return "answered neutrally";
        case Modelling::NotModelled:
            break;
    }
    return "not modelled";
}

void runNotModelled(Interpreter& interpreter, const Instruction& instruction) {
    interpreter.notModelled(instruction.word, instruction.position);
}

int readNotModelled(Interpreter& interpreter, const Operand& operand) {
    interpreter.notModelled(operand.word, operand.position);
    return 0;
}

int& placeNotModelled(Interpreter& interpreter, const Operand& operand) {
    interpreter.notModelled(operand.word, operand.position);
    return interpreter.scratch();
}

}  // namespace vek::vivarium
