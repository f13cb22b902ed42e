#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "objects/cob_data.h"
#include "objects/object_document.h"
#include "vivarium/map.h"
#include "vivarium/world.h"

namespace vek::vivarium {

// One macro that an injection sends, with where its text came from.
struct SentMacro {
    MacroText macro;
    std::shared_ptr<const Origin> origin;
};

// Which installation routines go with the scripts: the object compiler's injection sends the
// first alone; a run of `vek try` takes each, in order.
enum class Routines { First, Every };

// What injecting one object sends, in order: every script, then the installation routines,
// then the closing macro. Places are those `vek check` names: for an object file line N is its
// N-th script or routine (scripts first), for a source the source's own lines.
std::vector<SentMacro> injectionOfCob(const CobData& cob, std::string_view file,
                                      Routines routines = Routines::First);
std::vector<SentMacro> injectionOfSource(std::span<const std::string> lines, std::string_view file,
                                         Routines routines = Routines::First);
// The injection of an object file (.cob) or, for any other name, a source, read as the checker
// and the compiler read them (bytes no source holds are refused); `name` is the places' file.
std::vector<SentMacro> injectionOfFile(const std::filesystem::path& file, std::string_view name,
                                       Routines routines = Routines::First);
// Whether an injection sends nothing of an object: no script and no routine.
bool sendsNothing(std::span<const SentMacro> sent);

// A macro that arrives over the link, with where it was written when the object compiler's
// injection of the document's object sent it: where the object is what its source compiles to,
// the source page's lines (origins `onSourcePage`); else the object's N-th script or routine. A
// macro of neither (one typed in the command interface) comes from no file.
SentMacro placedMacro(const ObjectDocument& document, std::string_view macro);

// An event sent from outside at the start of a tick to every object of the run.
struct TimedEvent {
    int tick = 1;
    int event = kEventActivate1;
};

// An order to the creature at the start of a tick, for the object nearest it then
// (objectForCreature).
struct TimedCreatureOrder {
    int tick = 1;
    CreatureAction action = CreatureAction::Activate1;
};

struct TryOptions {
    int ticks = 100;
    std::vector<TimedEvent> events;
    std::uint64_t seed = 1;
    bool trace = false;
    Map map;  // the installation's rooms and ground
    // Where the creature is placed after the injections (its top left corner), if at all.
    std::optional<std::pair<int, int>> creature;
    std::vector<TimedCreatureOrder> creatureOrders;
    std::vector<std::string> chemicalNames;
};

// Runs the objects in a fresh world: injects each, then runs the ticks as fast as they go.
// Writes each fault, and with `trace` every line of the trace, to `out` as they happen. A
// fault that freezes the game ends the run after its tick. Returns whether any fault happened.
bool tryObjects(std::span<const std::vector<SentMacro>> objects, const SpriteLookup& sprites,
                const TryOptions& options, std::ostream& out);
// The same run without `trace`, its faults kept rather than written, in the order they happened.
std::vector<Happening> faultsOfTry(std::span<const std::vector<SentMacro>> objects,
                                   const SpriteLookup& sprites, const TryOptions& options);

}  // namespace vek::vivarium
