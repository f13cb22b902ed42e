#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "vivarium/world.h"

namespace vek::vivarium {

// A command of a script where the world stops: the script's key and the instruction's index.
// Macros that run on none have no key and no breakpoints: they run as the link delivers them.
struct Breakpoint {
    ScriptKey script;
    std::size_t instruction = 0;
    auto operator<=>(const Breakpoint&) const = default;
};

enum class StopReason { Breakpoint, Step };

// Where the world waits: the object whose script is held before a command, and why.
struct Stop {
    int object = 0;
    StopReason reason = StopReason::Breakpoint;
};

// Breakpoints and single steps, through the world's command hook. Holding a script suspends
// the tick (World::tick), so what happens and its order are those of a run without stops.
class Debugger {
  public:
    void toggleBreakpoint(const Breakpoint& breakpoint);
    bool hasBreakpoint(const Breakpoint& breakpoint) const {
        return m_breakpoints.contains(breakpoint);
    }
    const std::set<Breakpoint>& breakpoints() const { return m_breakpoints; }
    void setBreakpoints(std::set<Breakpoint> breakpoints) {
        m_breakpoints = std::move(breakpoints);
    }

    // The world's command hook: false holds the script before the command.
    bool allows(const Run& run);
    // Whether the hook could hold anything: without breakpoints, a step or a held command to
    // let go, the world need not ask it.
    bool attached() const { return !m_breakpoints.empty() || m_stepping != 0 || m_pass != 0; }
    // Before the world goes on from where it waits: the held command of `held`'s script runs
    // without stopping again; with `stepping` the script of that object is held before the
    // command after it (or, when none is held, before the first it runs).
    void goOn(int held, int stepping = 0);
    // Why the world stopped last; meaningful while it waits.
    const Stop& lastStop() const { return m_stop; }

  private:
    bool hold(const Run& run, StopReason reason);

    std::set<Breakpoint> m_breakpoints;
    int m_pass = 0;
    int m_stepping = 0;
    Stop m_stop;
};

// One command of a script as a script view lists it.
struct CommandRow {
    std::size_t instruction = 0;
    int line = 0;      // in its file; 0 for a macro the link sent
    std::string text;  // as the source wrote it
};
std::vector<CommandRow> commandRows(const Program& program);

// The scripts of the scriptorium for an object's classifier, in the order of their events.
std::vector<std::pair<ScriptKey, std::shared_ptr<const Program>>> scriptsOf(const World& world,
                                                                            const Object& object);

// The command the object's script goes on with, when it runs a script of the scriptorium.
std::optional<Breakpoint> runningCommand(const World& world, const Object& object);

// A script variable as a variable table shows it: var0 to var9, then targ, ownr, from, _it_
// (objects as "#id", none as 0); without a run, the names with empty values.
struct VariableRow {
    std::string name;
    std::string value;
};
std::vector<VariableRow> variableRows(const Run* run);
// The object's own variables, obv0 to obv2, which outlive its scripts; without an object, the
// names with empty values.
std::vector<VariableRow> objectVariableRows(const Object* object);

}  // namespace vek::vivarium
