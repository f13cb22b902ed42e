#include "vivarium/debugger.h"

#include <algorithm>

namespace vek::vivarium {

void Debugger::toggleBreakpoint(const Breakpoint& breakpoint) {
    if (!m_breakpoints.erase(breakpoint)) m_breakpoints.insert(breakpoint);
}

bool Debugger::allows(const Run& run) {
    // Only the first command asked after going on can be the held one: its script goes first.
    if (std::exchange(m_pass, 0) == run.owner && run.owner != 0) return true;
    if (m_stepping != 0 && run.owner == m_stepping) return hold(run, StopReason::Step);
    if (run.script && hasBreakpoint({*run.script, run.next}))
        return hold(run, StopReason::Breakpoint);
    return true;
}

bool Debugger::hold(const Run& run, StopReason reason) {
    m_stop = {run.owner, reason};
    return false;
}

void Debugger::goOn(int held, int stepping) {
    m_pass = held;
    m_stepping = stepping;
}

std::vector<CommandRow> commandRows(const Program& program) {
    std::vector<CommandRow> rows;
    rows.reserve(program.instructions.size());
    // A macro the link sent has no file: its places are only within its one line.
    const bool named = program.origin && !program.origin->file.empty();
    for (std::size_t k = 0; k < program.instructions.size(); ++k) {
        const Instruction& instruction = program.instructions[k];
        // The endm the compiler adds to a script written without one has no text of its own.
        std::string text = instruction.source.empty() ? "endm" : instruction.source;
        const int line = named ? instruction.position.line : 0;
        rows.push_back({k, line, std::move(text)});
    }
    return rows;
}

std::vector<std::pair<ScriptKey, std::shared_ptr<const Program>>> scriptsOf(const World& world,
                                                                            const Object& object) {
    std::vector<std::pair<ScriptKey, std::shared_ptr<const Program>>> scripts;
    const ScriptKey first{object.family, object.genus, object.species, 0};
    for (auto it = world.scripts().lower_bound(first); it != world.scripts().end(); ++it) {
        const ScriptKey& key = it->first;
        if (key.family != object.family || key.genus != object.genus ||
            key.species != object.species)
            break;
        scripts.emplace_back(key, it->second);
    }
    return scripts;
}

std::optional<Breakpoint> runningCommand(const World& world, const Object& object) {
    if (!object.run || !object.run->script) return std::nullopt;
    const auto script = world.scripts().find(*object.run->script);
    // A script replaced while it runs goes on in its old text, which no view lists.
    if (script == world.scripts().end() || script->second != object.run->program)
        return std::nullopt;
    return Breakpoint{*object.run->script, object.run->next};
}

std::vector<VariableRow> variableRows(const Run* run) {
    const auto object = [](int id) { return id == 0 ? std::string("0") : objectName(id); };
    std::vector<VariableRow> rows;
    for (std::size_t k = 0; k < 10; ++k)
        rows.push_back(
            {"var" + std::to_string(k), run ? std::to_string(run->variables[k]) : std::string()});
    const std::pair<const char*, int> objects[] = {{"targ", run ? run->target : 0},
                                                   {"ownr", run ? run->owner : 0},
                                                   {"from", run ? run->from : 0},
                                                   {"_it_", run ? run->it : 0}};
    for (const auto& [name, id] : objects) rows.push_back({name, run ? object(id) : std::string()});
    return rows;
}

std::vector<VariableRow> objectVariableRows(const Object* object) {
    std::vector<VariableRow> rows;
    for (std::size_t k = 0; k < std::tuple_size_v<decltype(Object::objectVariables)>; ++k)
        rows.push_back({"obv" + std::to_string(k),
                        object ? std::to_string(object->objectVariables[k]) : std::string()});
    return rows;
}

}  // namespace vek::vivarium
