#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/messages.h"
#include "language/dictionary.h"
#include "language/macro_text.h"

namespace vek::vivarium {

// What a command does in the world; every word the world does not model is NotModelled.
enum class Op : std::uint8_t {
    NotModelled,
    NoEffect,  // a word with nothing to do here: inst, sys: wtop
    Doif,
    Else,
    Endi,
    Reps,
    Repe,
    Loop,
    Untl,
    Ever,
    Enum,
    Next,
    Subr,
    Gsub,
    Retn,
    Wait,
    Stop,
    Endm,
    Scrp,
    Scrx,
    Setv,
    SetvClas,
    Addv,
    Subv,
    Mulv,
    Divv,
    Modv,
    Andv,
    Orrv,
    Negv,
    Rndv,
    Targ,
    Rtar,
    NewSimp,
    NewStandIn,  // a creating word the world does not model: an object without pictures
    Kill,
    Edit,
    Mvto,
    Mvby,
    Pose,
    Base,
    Anim,
    Over,
    Tick,
    Bhvr,
    MesgWrit,
    Snde,
    Sndc,
    Sndl,
    StimWrit,
    DdePutv,
    DdePuts,
    DdeScrp,
};

// What a value reads.
enum class Val : std::uint8_t {
    Number,
    NotModelled,
    ScriptVariable,  // var0 to var9
    ObjectVariable,  // obv0 to obv2 of the target
    Targ,
    Ownr,
    From,
    It,
    Edit,
    Pose,
    Clas,
    Fmly,
    Gnus,
    Spcs,
    Attr,
    Actv,
    Posx,
    Posy,
    Posl,
    Posr,
    Post,
    Posb,
    Wdth,
    Hght,
    Totl,
};

enum class Comparison : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge, Bt, Bf };

// A value as a command reads it: a number, a variable, or a value word with its arguments.
struct Operand {
    Val kind = Val::Number;
    int number = 0;  // the number, or the variable's index
    std::vector<Operand> arguments;
    const Word* word = nullptr;  // a value word that is not modelled
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
    Op op = Op::NotModelled;
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

// Reads a macro. What it cannot read (a word the language does not know) becomes a NotModelled
// instruction, so that any text makes a program that runs.
std::shared_ptr<const Program> compileMacro(const MacroText& macro,
                                            std::shared_ptr<const Origin> origin,
                                            const Dictionary& dictionary = Dictionary::builtIn());

}  // namespace vek::vivarium
