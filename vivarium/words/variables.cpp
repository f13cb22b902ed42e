// Script and object variables and the arithmetic on them.
#include <array>
#include <utility>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace variable_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

// Sets the place the first argument names from what it held and the second argument.
template <typename Operation>
void assign(I& in, const Ins& ins, Operation operation) {
    if (ins.arguments.empty()) return;
    int& place = in.place(ins.arguments[0]);
    const long long left = place;
    const long long right = in.argument(ins, 1);
    place = operation(left, right);
}

void setv(I& in, const Ins& ins) {
    assign(in, ins, [](long long, long long right) { return static_cast<int>(right); });
}
void addv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long right) { return wrap(left + right); });
}
void subv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long right) { return wrap(left - right); });
}
void mulv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long right) { return wrap(left * right); });
}
void divv(I& in, const Ins& ins) {
    assign(in, ins, [&](long long left, long long right) {
        if (right == 0) in.fault(ins, textOf(Msg::VivariumDivisionByZero));
        return wrap(left / right);
    });
}
void modv(I& in, const Ins& ins) {
    assign(in, ins, [&](long long left, long long right) {
        if (right == 0) in.fault(ins, textOf(Msg::VivariumDivisionByZero));
        return wrap(left % right);
    });
}
void andv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long right) { return static_cast<int>(left & right); });
}
void orrv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long right) { return static_cast<int>(left | right); });
}
void negv(I& in, const Ins& ins) {
    assign(in, ins, [](long long left, long long) { return wrap(-left); });
}

void rndv(I& in, const Ins& ins) {
    if (ins.arguments.empty()) return;
    int& place = in.place(ins.arguments[0]);
    long long low = in.argument(ins, 1);
    long long high = in.argument(ins, 2);
    if (low > high) std::swap(low, high);
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    place = static_cast<int>(low + static_cast<long long>(in.random() % span));
}

int& scriptVariable(I& in, const Operand& operand) {
    return in.run().variables[static_cast<std::size_t>(operand.number)];
}
int readScriptVariable(I& in, const Operand& operand) { return scriptVariable(in, operand); }

int& objectVariable(I& in, const Operand& operand) {
    return in.target(operand).objectVariables[static_cast<std::size_t>(operand.number)];
}
int readObjectVariable(I& in, const Operand& operand) { return objectVariable(in, operand); }

// A name's number is the operand's own: the reading of the macro made it.
int tokn(I& in, const Operand& operand) {
    return operand.arguments.empty() ? 0 : in.value(operand.arguments[0]);
}

constexpr auto kCommands = std::to_array<CommandWord>({
    {"setv", setv},
    {"addv", addv},
    {"subv", subv},
    {"mulv", mulv},
    {"divv", divv},
    {"modv", modv},
    {"andv", andv},
    {"orrv", orrv},
    {"negv", negv},
    {"rndv", rndv},
});

constexpr ValueWord scriptVariableWord(std::string_view name, int slot) {
    return {name, readScriptVariable, scriptVariable, slot};
}
constexpr ValueWord objectVariableWord(std::string_view name, int slot) {
    return {name, readObjectVariable, objectVariable, slot};
}

constexpr auto kValues = std::to_array<ValueWord>({
    scriptVariableWord("var0", 0),
    scriptVariableWord("var1", 1),
    scriptVariableWord("var2", 2),
    scriptVariableWord("var3", 3),
    scriptVariableWord("var4", 4),
    scriptVariableWord("var5", 5),
    scriptVariableWord("var6", 6),
    scriptVariableWord("var7", 7),
    scriptVariableWord("var8", 8),
    scriptVariableWord("var9", 9),
    objectVariableWord("obv0", 0),
    objectVariableWord("obv1", 1),
    objectVariableWord("obv2", 2),
    {"tokn", tokn},
});

}  // namespace
}  // namespace variable_words

WordGroup variables() { return {variable_words::kCommands, variable_words::kValues}; }

}  // namespace vek::vivarium::words
