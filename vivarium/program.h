#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/messages.h"
#include "language/checker.h"
#include "language/dictionary.h"
#include "language/macro_text.h"

namespace vek::vivarium {

class Interpreter;
struct Instruction;
struct Operand;

// How the interpreter runs a command, reads a value, and finds the place a setting command
// writes; each word's functions come from the table of words (word_table.h).
using CommandRunner = void (*)(Interpreter&, const Instruction&);
using ValueReader = int (*)(Interpreter&, const Operand&);
using PlaceFinder = int& (*)(Interpreter&, const Operand&);

enum class Comparison : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge, Bt, Bf };

// A value as a command reads it: a number, a variable, or a value word with its arguments.
struct Operand {
    ValueReader read = nullptr;  // none: the number written out
    PlaceFinder place = nullptr;
    int number = 0;  // the number, or a variable's index
    std::vector<Operand> arguments;
    const Word* word = nullptr;  // the value word; none for a number or an unknown word
    TextPosition position;
};

// One part of a condition: a comparison, joined to the next by and (or by or).
struct Clause {
    Operand left;
    Comparison comparison = Comparison::Eq;
    Operand right;
    bool orNext = false;
};

struct Instruction {
    CommandRunner run = nullptr;
    const Word* word = nullptr;
    std::vector<Operand> arguments;
    std::vector<Clause> condition;  // doif and untl
    std::string text;               // a name (sprite, sound, label) or a byte string's content
    std::string source;             // the command as written, from its word to its last argument
    int jump = -1;                  // the block partner this instruction goes to
    TextPosition position;
};

// Where a program's text came from, for naming places in faults and the trace.
struct Origin {
    std::string file;       // as the user named it
    BilingualText routine;  // "script 2 21 7 1", "installation routine" or "macro"
    // The text is the object compiler's source page: its places are lines of that page.
    bool onSourcePage = false;
};

struct ScriptKey {
    int family = 0;
    int genus = 0;
    int species = 0;
    int event = 0;
    auto operator<=>(const ScriptKey&) const = default;
};

struct Program;

// A script that a macro installs (scrp ... endm): its key and body.
struct InstalledScript {
    ScriptKey key;
    std::shared_ptr<const Program> program;
};

// A run of instructions ending in Endm: a macro's own commands (up to a scrp, whose Scrp
// instruction installs the rest as a script, or to its endm), or a script's body.
struct Program {
    std::vector<Instruction> instructions;
    std::unordered_map<std::string, int> labels;  // a subr's label: the instruction after it
    std::shared_ptr<const Origin> origin;
    std::string text;  // the commands as sent; a script's without its scrp line, for dde: scrp
    std::vector<InstalledScript> installs;  // a Scrp instruction's jump indexes these
};

// A macro as the world takes it from the link: its program, or the first error the link would
// refuse it for (a gsub to a missing label is not among them: the game meets it only when it
// runs). The macro is read once, for both.
struct MacroReading {
    std::shared_ptr<const Program> program;
    std::optional<Finding> refusal;
};
// Reads a macro. What the world does not run (a word the language does not know, or one the
// world does not model) becomes an instruction that says so, so that any text makes a program
// that runs.
MacroReading readMacro(const MacroText& macro, std::shared_ptr<const Origin> origin);

}  // namespace vek::vivarium
