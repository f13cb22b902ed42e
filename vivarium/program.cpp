#include "vivarium/program.h"

#include <algorithm>
#include <limits>

#include "app/text_names.h"
#include "language/checker.h"
#include "objects/object_check.h"
#include "vivarium/word_table.h"

namespace vek::vivarium {

namespace {

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// Reads one macro's parsed commands into programs.
class Compiler {
  public:
    Compiler(const MacroText& macro, std::shared_ptr<const Origin> origin)
        : m_macro(macro), m_origin(std::move(origin)), m_macroProgram(std::make_shared<Program>()) {
        m_macroProgram->origin = m_origin;
        m_macroProgram->text = m_macro.text();
        m_current = m_macroProgram.get();
    }

    // Takes the macro's next command, as the check reads it.
    void add(const CommandReading& command) {
        if (m_ended) return;
        // The script's text, as dde: scrp gives it back: its commands after the scrp line.
        if (m_bodyStarts) m_script->text = m_macro.text().substr(command.name.offset);
        m_bodyStarts = false;
        Instruction instruction = read(command);
        if (instruction.word && instruction.word->is("scrp") && !m_script) {
            m_script = std::make_shared<Program>();
            m_script->origin = scriptOrigin(instruction);
            m_bodyStarts = true;
            m_macroProgram->installs.push_back({keyOf(instruction), m_script});
            instruction.jump = static_cast<int>(m_macroProgram->installs.size()) - 1;
            append(*m_current, std::move(instruction));
            m_blocks.clear();
            m_current = m_script.get();
            return;
        }
        m_ended = instruction.word && instruction.word->is("endm");
        append(*m_current, std::move(instruction));
    }

    std::shared_ptr<const Program> program() {
        finish(*m_macroProgram);
        if (m_script) finish(*m_script);
        return m_macroProgram;
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

    // A four-letter name as the game keeps it: its first letter in the lowest byte.
    static int tokenNumber(std::string_view name) {
        std::uint32_t number = 0;
        for (std::size_t k = std::min<std::size_t>(name.size(), 4); k-- > 0;)
            number = (number << 8) | static_cast<unsigned char>(name[k]);
        return static_cast<int>(number);
    }

    Operand operand(const ParsedArgument& argument) const {
        Operand value;
        value.position = m_macro.position(argument.offset);
        if (argument.form == ParsedArgument::Form::Number) {
            value.number = clampToInt(argument.number);
            return value;
        }
        if (argument.form == ParsedArgument::Form::Name) {
            value.number = tokenNumber(textOf(argument));
            return value;
        }
        value.word = argument.word;
        value.read = readNotModelled;
        value.place = placeNotModelled;
        if (argument.form != ParsedArgument::Form::Value || !argument.word) return value;
        if (const ValueWord* known = valueWord(argument.word->name)) {
            value.read = known->read;
            if (known->place) value.place = known->place;
            value.number = known->slot;
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

    std::string sourceOf(const CommandReading& command,
                         const std::vector<ParsedArgument>& arguments) const {
        std::size_t end = command.name.offset + command.name.length;
        if (!arguments.empty())
            end = std::max(end, arguments.back().offset + arguments.back().length);
        return m_macro.text().substr(command.name.offset, end - command.name.offset);
    }

    static bool readsCondition(const Word& word) {
        return std::find(word.arguments.begin(), word.arguments.end(), ArgumentKind::Condition) !=
               word.arguments.end();
    }

    Instruction read(const CommandReading& command) const {
        const std::vector<ParsedArgument> arguments = parsedArguments(command, m_macro.text());
        Instruction instruction;
        instruction.word = command.word;
        instruction.position = m_macro.position(command.name.offset);
        instruction.source = sourceOf(command, arguments);
        instruction.run = runNotModelled;
        if (!command.word) return instruction;
        if (const CommandWord* known = commandWord(command.word->name))
            instruction.run = known->run;
        if (readsCondition(*command.word)) {
            instruction.condition = condition(arguments);
            return instruction;
        }
        for (const ParsedArgument& argument : arguments) {
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

    // Appends an instruction and ties the blocks as the dictionary forms them: each opener and
    // closer learns its partner, and a doif its else.
    void append(Program& program, Instruction instruction) {
        const int at = static_cast<int>(program.instructions.size());
        const Word* word = instruction.word;
        if (word && word->is("subr")) program.labels.emplace(instruction.text, at + 1);
        program.instructions.push_back(std::move(instruction));
        if (!word) return;
        std::vector<Instruction>& code = program.instructions;
        switch (word->block) {
            case BlockRole::None:
                return;
            case BlockRole::Opens:
                m_blocks.push_back({at, word});
                return;
            case BlockRole::Within:
                if (!m_blocks.empty() && m_blocks.back().opener->name == word->partners.front()) {
                    code[static_cast<std::size_t>(m_blocks.back().at)].jump = at;
                    m_blocks.back().at = at;
                }
                return;
            case BlockRole::Closes:
                if (!m_blocks.empty() && m_blocks.back().opener->closedBy(word->name)) {
                    code[static_cast<std::size_t>(m_blocks.back().at)].jump = at;
                    code.back().jump = m_blocks.back().at;
                    m_blocks.pop_back();
                }
                return;
        }
    }

    static void finish(Program& program) {
        if (program.instructions.empty() || !program.instructions.back().word ||
            !program.instructions.back().word->is("endm")) {
            Instruction end;
            end.word = Dictionary::builtIn().command("endm");
            end.run = commandWord("endm")->run;
            if (!program.instructions.empty()) end.position = program.instructions.back().position;
            program.instructions.push_back(std::move(end));
        }
    }

    // An open block: where its opener (or its else) stands.
    struct OpenBlock {
        int at;
        const Word* opener;
    };

    const MacroText& m_macro;
    std::shared_ptr<const Origin> m_origin;
    std::shared_ptr<Program> m_macroProgram;
    std::shared_ptr<Program> m_script;
    Program* m_current = nullptr;
    bool m_bodyStarts = false;
    bool m_ended = false;
    std::vector<OpenBlock> m_blocks;
};

std::optional<Finding> firstRefusal(const std::vector<Finding>& findings) {
    for (const Finding& finding : findings) {
        if (finding.isError() && finding.code != FindingCode::UnknownLabel) return finding;
    }
    return std::nullopt;
}

const CheckOptions& objectChecks() {
    static const CheckOptions options = objectCheckOptions();
    return options;
}

}  // namespace

MacroReading readMacro(const MacroText& macro, std::shared_ptr<const Origin> origin) {
    Compiler compiler(macro, std::move(origin));
    MacroReading reading;
    reading.refusal = firstRefusal(
        checkMacro(macro, MacroKind::Macro, objectChecks(),
                   [&compiler](const CommandReading& command) { compiler.add(command); }));
    if (!reading.refusal) reading.program = compiler.program();
    return reading;
}

}  // namespace vek::vivarium
