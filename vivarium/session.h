#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vivarium/debugger.h"
#include "vivarium/installation.h"
#include "vivarium/try_run.h"
#include "vivarium/world.h"

namespace vek::vivarium {

// A world that a window shows and a hand plays with: the world on the installation's sprites
// and map,
// what happened in it, and the hand's clicks, pickups and drops. It has no clock: whoever shows
// it calls tick().
class Session {
  public:
    explicit Session(std::filesystem::path imageDirectory, std::uint64_t seed = 1);

    const World& world() const { return *m_world; }
    // What every fresh world starts on: the installation's sprites, rooms and ground.
    const StandInInstallation& installation() const { return m_installation; }
    // Counts the worlds made: a reset and a load each make a new one, with an empty log.
    std::uint64_t worldNumber() const { return m_worldNumber; }
    // Every happening since the last reset, oldest first.
    const std::vector<Happening>& log() const { return m_log; }

    // Runs a macro as the link delivers it; what its dde: commands wrote, or "Error: ..." with
    // the first fault it ran into.
    std::string runMacro(std::string_view macro);
    // The same for a macro that knows where it was written.
    std::string runMacro(const MacroText& macro, std::shared_ptr<const Origin> origin);
    // Injects an object: its macros in order, each with where its text came from.
    void inject(std::span<const SentMacro> macros);
    // One tick; when the world waits at a held command, the rest of that tick, from the held
    // command on without stopping there again.
    void tick();
    // One command of the held script, which is held again before its next; when no script is
    // held, the world goes on until the script of `object` is before a command it runs, or to
    // the end of the tick. Other scripts run as in a tick, and stop at their breakpoints.
    void step(int object);
    // Where the world waits at a held command (a breakpoint or a step); none while it does not.
    std::optional<Stop> stop() const;
    Debugger& debugger() { return m_debugger; }
    const Debugger& debugger() const { return m_debugger; }
    // The chemicals' names for what reaches the creature, in this world and the ones after it.
    void setChemicalNames(std::vector<std::string> names);
    // A fresh world on the same sprites, with an empty log; the breakpoints stay.
    void reset();
    // Writes the world as a world file (world_file.h).
    void saveWorld(const std::filesystem::path& file) const;
    // A fresh world made by a world file's macros, each at its place in the file. A file that
    // cannot be read leaves the world as it was; a line the world refuses stops the loading
    // (with an error naming the file and line) and what ran before it stays.
    void loadWorld(const std::filesystem::path& file);

    // The hand clicks at a world point: the object in front there gets `event` (activate 1 or
    // 2). The object, or 0 when the hand hit none.
    int click(int x, int y, int event);
    // The hand picks the object in front up (event 4); the object, or 0.
    int pickUp(int x, int y);
    // The hand puts what it holds down with its top left corner at a place (event 5).
    void drop(int object, int left, int top);
    // Makes the object in front the edit object, as the hand's shift-click does.
    int makeEditObject(int x, int y);

    // The creature (creature.h), placed with its top left corner at a world point; its object,
    // or 0 past the bound of objects.
    int placeCreature(int x, int y);
    // Orders the creature to act on the object in front at a world point, or, where there is
    // none (or for a drop), on the one objectForCreature names. The object, or 0 when the
    // creature takes no order.
    int orderCreature(CreatureAction action, int x, int y);

    // Told after every change the world shows.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

  private:
    void makeWorld();
    void changed() const;
    // Before the world runs: the debugger's hook is asked only while it could hold a script.
    void attachDebugger() { m_world->attachCommandHook(m_debugger.attached()); }
    // Runs a macro and logs what happened, without telling the listener.
    std::string runLogged(const MacroText& macro, std::shared_ptr<const Origin> origin);
    // The first fault logged at or after index `logged`; nullptr where none was.
    const Happening* firstFaultSince(std::size_t logged) const;

    StandInInstallation m_installation;
    std::uint64_t m_seed;
    std::unique_ptr<World> m_world;
    Debugger m_debugger;
    std::uint64_t m_worldNumber = 0;
    std::vector<Happening> m_log;
    std::function<void()> m_changed;
};

}  // namespace vek::vivarium
