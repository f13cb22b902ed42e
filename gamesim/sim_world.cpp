#include "gamesim/sim_world.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "language/checker.h"
#include "objects/object_check.h"

namespace vek::sim {

namespace {

struct MacroError {
    std::string text;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> splitCommands(std::string_view macro) {
    std::vector<std::string_view> commands;
    while (true) {
        const std::size_t comma = macro.find(',');
        commands.push_back(trim(macro.substr(0, comma)));
        if (comma == std::string_view::npos) return commands;
        macro.remove_prefix(comma + 1);
    }
}

std::vector<std::string_view> wordsOf(std::string_view command) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < command.size()) {
        while (i < command.size() && isBlank(command[i])) ++i;
        const std::size_t start = i;
        while (i < command.size() && !isBlank(command[i])) ++i;
        if (i > start) words.push_back(command.substr(start, i - start));
    }
    return words;
}

std::string_view opOf(std::string_view command) {
    const auto words = wordsOf(command);
    return words.empty() ? std::string_view() : words.front();
}

std::optional<int> toInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool matches(int wanted, int value) { return wanted == 0 || wanted == value; }

// One run of a macro over a working copy of the world's state.
class Runner {
  public:
    Runner(std::vector<std::string_view> commands, const std::map<ScriptKey, std::string>& scripts)
        : m_commands(std::move(commands)), m_scripts(scripts) {}

    // Checks every command without running any; throws MacroError.
    void check() { block(0, m_commands.size(), false, nullptr); }

    void execute(WorldState& state) {
        m_stopped = false;
        block(0, m_commands.size(), true, &state);
    }

    const std::string& output() const { return m_output; }
    const std::vector<std::pair<ScriptKey, std::string>>& newScripts() const {
        return m_newScripts;
    }

  private:
    [[noreturn]] static void fail(std::string text) { throw MacroError{std::move(text)}; }

    int number(std::string_view word, std::string_view command) const {
        if (auto value = toInt(word)) return *value;
        fail("'" + std::string(word) + "' is not a number in '" + std::string(command) + "'");
    }

    void expectWords(const std::vector<std::string_view>& words, std::size_t count,
                     std::string_view command) const {
        if (words.size() != count) fail("wrong number of values in '" + std::string(command) + "'");
    }

    ScriptKey scriptKey(const std::vector<std::string_view>& words, std::size_t from,
                        std::string_view command) const {
        expectWords(words, from + 4, command);
        return {number(words[from], command), number(words[from + 1], command),
                number(words[from + 2], command), number(words[from + 3], command)};
    }

    // The index of the command that closes the block opened at `open`.
    std::size_t findClosing(std::size_t open, std::size_t end, std::string_view opener,
                            std::string_view closer) const {
        int depth = 0;
        for (std::size_t i = open + 1; i < end; ++i) {
            const std::string_view op = opOf(m_commands[i]);
            if (op == opener) ++depth;
            if (op == closer && depth-- == 0) return i;
        }
        fail(std::string(opener) + " without " + std::string(closer));
    }

    void block(std::size_t from, std::size_t to, bool run, WorldState* state) {
        for (std::size_t i = from; i < to && !m_stopped; ++i) {
            const std::string_view command = m_commands[i];
            const auto words = wordsOf(command);
            if (words.empty()) continue;
            const std::string_view op = words.front();
            if (op == "endm") {
                if (from != 0) fail("endm inside enum");
                m_stopped = run;
                return;
            }
            if (op == "scrp") {
                // A script definition: its commands are stored, not run, up to its endm.
                const ScriptKey key = scriptKey(words, 1, command);
                std::size_t last = i + 1;
                while (last < to && m_commands[last] != "endm") ++last;
                if (last == to) fail("scrp without endm");
                if (run) {
                    std::string body;
                    for (std::size_t k = i + 1; k <= last; ++k)
                        body += std::string(m_commands[k]) + (k < last ? "," : "");
                    m_newScripts.emplace_back(key, std::move(body));
                }
                i = last;
                continue;
            }
            if (op == "enum") {
                expectWords(words, 4, command);
                const int family = number(words[1], command);
                const int genus = number(words[2], command);
                const int species = number(words[3], command);
                const std::size_t close = findClosing(i, to, "enum", "next");
                if (!run) {
                    block(i + 1, close, false, nullptr);
                } else {
                    std::vector<int> ids;
                    for (const SimObject& object : state->objects) {
                        if (matches(family, object.family) && matches(genus, object.genus) &&
                            matches(species, object.species)) {
                            ids.push_back(object.id);
                        }
                    }
                    const int saved = state->target;
                    for (int id : ids) {
                        if (!find(*state, id)) continue;  // killed by an earlier round
                        state->target = id;
                        block(i + 1, close, true, state);
                        if (m_stopped) return;
                    }
                    state->target = saved;
                }
                i = close;
                continue;
            }
            if (op == "next") fail("next without enum");
            single(words, command, run ? state : nullptr);
        }
    }

    static SimObject* find(WorldState& state, int id) {
        auto it = std::find_if(state.objects.begin(), state.objects.end(),
                               [id](const SimObject& o) { return o.id == id; });
        return it == state.objects.end() ? nullptr : &*it;
    }

    SimObject& target(WorldState& state, std::string_view command) const {
        SimObject* object = find(state, state.target);
        if (!object) fail("no target for '" + std::string(command) + "'");
        return *object;
    }

    static void remove(WorldState& state, int id) {
        std::erase_if(state.objects, [id](const SimObject& o) { return o.id == id; });
        if (state.edit == id) state.edit = 0;
        if (state.target == id) state.target = 0;
    }

    int value(std::string_view operand, std::string_view command, WorldState* state) const {
        if (operand == "targ") return state ? state->target : 0;
        if (auto literal = toInt(operand)) return *literal;
        constexpr std::array<std::string_view, 6> fields = {"fmly", "gnus", "spcs",
                                                            "attr", "posx", "posy"};
        // The dictionary let every value through; the world keeps only these.
        if (!state || std::find(fields.begin(), fields.end(), operand) == fields.end()) return 0;
        const SimObject& object = target(*state, command);
        if (operand == "fmly") return object.family;
        if (operand == "gnus") return object.genus;
        if (operand == "spcs") return object.species;
        if (operand == "attr") return object.attr;
        return operand == "posx" ? object.x : object.y;
    }

    // One plain command; without a state it is only checked.
    void single(const std::vector<std::string_view>& words, std::string_view command,
                WorldState* state) {
        const std::string_view op = words.front();
        const std::string_view sub = words.size() > 1 ? words[1] : std::string_view();
        if (op == "inst") return expectWords(words, 1, command);
        if (op == "dde:" && sub == "putv") {
            // A value with arguments of its own ("chem 3") is one the world does not keep.
            if (words.size() < 3) fail("wrong number of values in '" + std::string(command) + "'");
            const int result = value(words[2], command, state);
            if (state) m_output += std::to_string(result) + "|";
            return;
        }
        if (op == "dde:" && sub == "scrp") {
            const ScriptKey key = scriptKey(words, 2, command);
            if (state) {
                if (auto it = m_scripts.find(key); it != m_scripts.end()) m_output += it->second;
            }
            return;
        }
        if (op == "dde:" && sub == "negg") return;
        if (op == "new:" && sub == "simp") {
            expectWords(words, 7, command);
            SimObject object;
            object.sprite = std::string(words[2]);
            object.imageCount = number(words[3], command);
            object.firstImage = number(words[4], command);
            object.plane = number(words[5], command);
            number(words[6], command);
            if (state) {
                object.id = state->nextId++;
                state->objects.push_back(object);
                state->target = object.id;
            }
            return;
        }
        if (op == "new:" && (sub == "gene" || sub == "crea")) return;
        if (op == "setv" && words.size() >= 3) {
            if (sub != "clas" && sub != "attr") return;
            expectWords(words, 3, command);
            const int v = number(words[2], command);
            if (!state) return;
            SimObject& object = target(*state, command);
            if (sub == "attr") {
                object.attr = v;
            } else {
                // The class number: family, genus and species from the highest byte down.
                const auto clas = static_cast<unsigned>(v);
                object.family = static_cast<int>(clas >> 24);
                object.genus = static_cast<int>((clas >> 16) & 0xFF);
                object.species = static_cast<int>((clas >> 8) & 0xFF);
            }
            return;
        }
        if (op == "bhvr" || op == "mvto") {
            expectWords(words, 3, command);
            const int a = number(words[1], command);
            const int b = number(words[2], command);
            if (!state) return;
            SimObject& object = target(*state, command);
            if (op == "bhvr") {
                object.click = a;
                object.creature = b;
            } else {
                object.x = a;
                object.y = b;
            }
            return;
        }
        if (op == "kill" && (sub == "targ" || sub == "edit")) {
            expectWords(words, 2, command);
            if (!state) return;
            if (sub == "targ") {
                remove(*state, target(*state, command).id);
            } else if (state->edit != 0) {
                remove(*state, state->edit);
            }
            return;
        }
        if (op == "edit") {
            expectWords(words, 1, command);
            if (state) state->edit = target(*state, command).id;
            return;
        }
        if (op == "targ") {
            expectWords(words, 2, command);
            const int id = value(words[1], command, state);
            if (!state) return;
            if (id != 0 && !find(*state, id))
                fail("no object " + std::to_string(id) + " for '" + std::string(command) + "'");
            state->target = id;
            return;
        }
        // Every other command the dictionary knows is taken and has no effect here.
    }

    std::vector<std::string_view> m_commands;
    const std::map<ScriptKey, std::string>& m_scripts;
    std::string m_output;
    std::vector<std::pair<ScriptKey, std::string>> m_newScripts;
    bool m_stopped = false;
};

}  // namespace

namespace {

// What the game's dictionary finds the stand-in cannot understand: an unknown word or a wrong
// number of arguments, in the words of the stand-in's answers.
std::optional<std::string> notUnderstood(std::string_view macro) {
    static const CheckOptions options = objectCheckOptions();
    for (const Finding& finding : checkMacro(MacroText(macro), MacroKind::Macro, options)) {
        const std::string command = "'" + finding.command + "'";
        switch (finding.code) {
            case FindingCode::UnknownCommand:
            case FindingCode::UnknownValue:
            case FindingCode::NotAValue:
            case FindingCode::UpperCase:
                if (finding.command.starts_with(finding.subject))
                    return "unknown command " + command;
                if (finding.command.starts_with("dde: putv"))
                    return "unknown value '" + finding.subject + "' in " + command;
                return "'" + finding.subject + "' is not a number in " + command;
            case FindingCode::TooFewArguments:
            case FindingCode::TooManyArguments:
                return "wrong number of values in " + command;
            default:
                break;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string World::run(std::string_view macro) {
    if (const auto error = notUnderstood(macro)) return "Error: " + *error;
    Runner runner(splitCommands(macro), m_scripts);
    try {
        runner.check();
        WorldState work = m_state;
        runner.execute(work);
        m_state = std::move(work);
    } catch (const MacroError& error) {
        return "Error: " + error.text;
    }
    for (const auto& [key, body] : runner.newScripts()) m_scripts[key] = body;
    return runner.output();
}

}  // namespace vek::sim
