#include "vivarium/program.h"

#include <algorithm>
#include <limits>

#include "app/text_names.h"
#include "language/checker.h"

namespace vek::vivarium {

namespace {

const std::unordered_map<std::string_view, Op>& commandOps() {
    static const std::unordered_map<std::string_view, Op> ops = {
        {"inst", Op::NoEffect},
        {"sys: wtop", Op::NoEffect},
        {"doif", Op::Doif},
        {"else", Op::Else},
        {"endi", Op::Endi},
        {"reps", Op::Reps},
        {"repe", Op::Repe},
        {"loop", Op::Loop},
        {"untl", Op::Untl},
        {"ever", Op::Ever},
        {"enum", Op::Enum},
        {"next", Op::Next},
        {"subr", Op::Subr},
        {"gsub", Op::Gsub},
        {"retn", Op::Retn},
        {"wait", Op::Wait},
        {"stop", Op::Stop},
        {"endm", Op::Endm},
        {"scrp", Op::Scrp},
        {"scrx", Op::Scrx},
        {"setv", Op::Setv},
        {"setv clas", Op::SetvClas},
        {"addv", Op::Addv},
        {"subv", Op::Subv},
        {"mulv", Op::Mulv},
        {"divv", Op::Divv},
        {"modv", Op::Modv},
        {"andv", Op::Andv},
        {"orrv", Op::Orrv},
        {"negv", Op::Negv},
        {"rndv", Op::Rndv},
        {"targ", Op::Targ},
        {"rtar", Op::Rtar},
        {"new: simp", Op::NewSimp},
        {"kill", Op::Kill},
        {"edit", Op::Edit},
        {"mvto", Op::Mvto},
        {"mvby", Op::Mvby},
        {"pose", Op::Pose},
        {"base", Op::Base},
        {"anim", Op::Anim},
        {"over", Op::Over},
        {"tick", Op::Tick},
        {"bhvr", Op::Bhvr},
        {"mesg writ", Op::MesgWrit},
        {"snde", Op::Snde},
        {"sndc", Op::Sndc},
        {"sndl", Op::Sndl},
        {"stim writ", Op::StimWrit},
        {"dde: putv", Op::DdePutv},
        {"dde: puts", Op::DdePuts},
        {"dde: scrp", Op::DdeScrp},
        {"new: comp", Op::NewStandIn},
        {"new: vhcl", Op::NewStandIn},
        {"new: bkbd", Op::NewStandIn},
        {"new: crea", Op::NewStandIn},
        {"new: lift", Op::NewStandIn},
        {"new: cbtn", Op::NewStandIn},
    };
    return ops;
}

const std::unordered_map<std::string_view, Val>& valueKinds() {
    static const std::unordered_map<std::string_view, Val> values = {
        {"targ", Val::Targ}, {"ownr", Val::Ownr}, {"from", Val::From}, {"_it_", Val::It},
        {"edit", Val::Edit}, {"pose", Val::Pose}, {"clas", Val::Clas}, {"fmly", Val::Fmly},
        {"gnus", Val::Gnus}, {"spcs", Val::Spcs}, {"attr", Val::Attr}, {"actv", Val::Actv},
        {"posx", Val::Posx}, {"posy", Val::Posy}, {"posl", Val::Posl}, {"posr", Val::Posr},
        {"post", Val::Post}, {"posb", Val::Posb}, {"wdth", Val::Wdth}, {"hght", Val::Hght},
        {"totl", Val::Totl},
    };
    return values;
}

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

std::string lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Reads one macro's parsed commands into programs.
class Compiler {
  public:
    Compiler(const MacroText& macro, std::shared_ptr<const Origin> origin)
        : m_macro(macro), m_origin(std::move(origin)) {}

    std::shared_ptr<const Program> compile(const std::vector<ParsedCommand>& commands) {
        auto macroProgram = std::make_shared<Program>();
        macroProgram->origin = m_origin;
        macroProgram->text = m_macro.text();
        std::shared_ptr<Program> script;
        Program* current = macroProgram.get();
        bool bodyStarts = false;
        for (const ParsedCommand& command : commands) {
            // The script's text, as dde: scrp gives it back: its commands after the scrp line.
            if (bodyStarts) script->text = m_macro.text().substr(command.offset);
            bodyStarts = false;
            Instruction instruction = read(command);
            if (instruction.op == Op::Scrp && !script) {
                script = std::make_shared<Program>();
                script->origin = scriptOrigin(instruction);
                bodyStarts = true;
                macroProgram->installs.push_back({keyOf(instruction), script});
                instruction.jump = static_cast<int>(macroProgram->installs.size()) - 1;
                add(*current, std::move(instruction));
                m_blocks.clear();
                current = script.get();
                continue;
            }
            const bool end = instruction.op == Op::Endm;
            add(*current, std::move(instruction));
            if (end) break;
        }
        finish(*macroProgram);
        if (script) finish(*script);
        return macroProgram;
    }

  private:
    std::shared_ptr<const Origin> scriptOrigin(const Instruction& scrp) const {
        auto origin = std::make_shared<Origin>(m_origin ? *m_origin : Origin{});
        const ScriptKey key = keyOf(scrp);
        const std::string name = std::to_string(key.family) + " " + std::to_string(key.genus) +
                                 " " + std::to_string(key.species) + " " +
                                 std::to_string(key.event);
        origin->routine = fill(Msg::VivariumScriptName, {name});
        return origin;
    }

    static ScriptKey keyOf(const Instruction& instruction) {
        const auto number = [&](std::size_t k) {
            return k < instruction.arguments.size() ? instruction.arguments[k].number : 0;
        };
        return {number(0), number(1), number(2), number(3)};
    }

    std::string_view textOf(const ParsedArgument& argument) const {
        return std::string_view(m_macro.text()).substr(argument.offset, argument.length);
    }

    Operand operand(const ParsedArgument& argument) const {
        Operand value;
        value.position = m_macro.position(argument.offset);
        if (argument.form == ParsedArgument::Form::Number) {
            value.number = clampToInt(argument.number);
            return value;
        }
        value.kind = Val::NotModelled;
        value.word = argument.word;
        if (argument.form != ParsedArgument::Form::Value || !argument.word) return value;
        const std::string& name = argument.word->name;
        if (name.size() == 4 && name.starts_with("var") && name[3] >= '0' && name[3] <= '9') {
            value.kind = Val::ScriptVariable;
            value.number = name[3] - '0';
        } else if (name.size() == 4 && name.starts_with("obv") && name[3] >= '0' &&
                   name[3] <= '2') {
            value.kind = Val::ObjectVariable;
            value.number = name[3] - '0';
        } else if (const auto found = valueKinds().find(name); found != valueKinds().end()) {
            value.kind = found->second;
        }
        for (const ParsedArgument& inner : argument.arguments)
            value.arguments.push_back(operand(inner));
        return value;
    }

    static Comparison comparisonOf(std::string_view text) {
        static constexpr std::pair<std::string_view, Comparison> kNames[] = {
            {"eq", Comparison::Eq}, {"ne", Comparison::Ne}, {"lt", Comparison::Lt},
            {"gt", Comparison::Gt}, {"le", Comparison::Le}, {"ge", Comparison::Ge},
            {"bt", Comparison::Bt}, {"bf", Comparison::Bf}, {"=", Comparison::Eq},
            {"<>", Comparison::Ne}, {"<", Comparison::Lt},  {">", Comparison::Gt},
            {"<=", Comparison::Le}, {">=", Comparison::Ge}};
        const std::string lower = lowered(text);
        for (const auto& [name, comparison] : kNames) {
            if (name == lower) return comparison;
        }
        return Comparison::Eq;
    }

    std::vector<Clause> condition(const std::vector<ParsedArgument>& arguments) const {
        std::vector<Clause> clauses;
        std::size_t k = 0;
        while (k < arguments.size()) {
            Clause clause;
            clause.left = operand(arguments[k++]);
            if (k < arguments.size() && arguments[k].form == ParsedArgument::Form::Comparison)
                clause.comparison = comparisonOf(textOf(arguments[k++]));
            if (k < arguments.size()) clause.right = operand(arguments[k++]);
            if (k < arguments.size() && arguments[k].form == ParsedArgument::Form::Joint)
                clause.orNext = lowered(textOf(arguments[k++])) == "or";
            clauses.push_back(std::move(clause));
        }
        return clauses;
    }

    std::string sourceOf(const ParsedCommand& command) const {
        std::size_t end = command.offset + command.length;
        if (!command.arguments.empty())
            end = std::max(end, command.arguments.back().offset + command.arguments.back().length);
        return m_macro.text().substr(command.offset, end - command.offset);
    }

    Instruction read(const ParsedCommand& command) const {
        Instruction instruction;
        instruction.word = command.word;
        instruction.position = m_macro.position(command.offset);
        instruction.source = sourceOf(command);
        if (command.word) {
            const auto found = commandOps().find(command.word->name);
            if (found != commandOps().end()) instruction.op = found->second;
        }
        if (instruction.op == Op::Doif || instruction.op == Op::Untl) {
            instruction.condition = condition(command.arguments);
            return instruction;
        }
        for (const ParsedArgument& argument : command.arguments) {
            if (argument.form == ParsedArgument::Form::ByteString) {
                std::string_view text = textOf(argument);
                text.remove_prefix(1);
                if (text.ends_with(']')) text.remove_suffix(1);
                instruction.text = text;
            } else if (argument.form == ParsedArgument::Form::Name) {
                instruction.text = textOf(argument);
            } else {
                instruction.arguments.push_back(operand(argument));
            }
        }
        return instruction;
    }

    // Appends an instruction and ties the blocks: each opener and closer learns its partner.
    void add(Program& program, Instruction instruction) {
        const int at = static_cast<int>(program.instructions.size());
        const Op op = instruction.op;
        if (op == Op::Subr) program.labels.emplace(instruction.text, at + 1);
        program.instructions.push_back(std::move(instruction));
        std::vector<Instruction>& code = program.instructions;
        switch (op) {
            case Op::Doif:
            case Op::Reps:
            case Op::Loop:
            case Op::Enum:
                m_blocks.push_back(at);
                break;
            case Op::Else:
                if (!m_blocks.empty() && code[m_blocks.back()].op == Op::Doif) {
                    code[m_blocks.back()].jump = at;
                    m_blocks.back() = at;
                }
                break;
            case Op::Endi:
            case Op::Repe:
            case Op::Untl:
            case Op::Ever:
            case Op::Next:
                if (!m_blocks.empty()) {
                    code[m_blocks.back()].jump = at;
                    code.back().jump = m_blocks.back();
                    m_blocks.pop_back();
                }
                break;
            default:
                break;
        }
    }

    static void finish(Program& program) {
        if (program.instructions.empty() || program.instructions.back().op != Op::Endm) {
            Instruction end;
            end.op = Op::Endm;
            if (!program.instructions.empty()) end.position = program.instructions.back().position;
            program.instructions.push_back(std::move(end));
        }
    }

    const MacroText& m_macro;
    std::shared_ptr<const Origin> m_origin;
    std::vector<int> m_blocks;
};

}  // namespace

std::shared_ptr<const Program> compileMacro(const MacroText& macro,
                                            std::shared_ptr<const Origin> origin,
                                            const Dictionary& dictionary) {
    Compiler compiler(macro, std::move(origin));
    return compiler.compile(parseCommands(macro.text(), dictionary));
}

}  // namespace vek::vivarium
