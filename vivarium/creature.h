#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vek::vivarium {

class World;

// What the stand-in creature does to an object on command; each gives the object the event the
// hand's doing of it gives, from the creature.
enum class CreatureAction { Activate1, Activate2, Deactivate, Hit, Pickup, Drop };

int eventOfCreatureAction(CreatureAction action);
// "activate1", "activate2", "deactivate", "hit", "pickup", "drop".
std::string_view creatureActionName(CreatureAction action);
std::optional<CreatureAction> creatureActionNamed(std::string_view name);

// The creature has no sprite file: a class of the creatures' family and a size of its own.
inline constexpr int kCreatureFamily = 4;
inline constexpr int kCreatureGenus = 1;
inline constexpr int kCreatureSpecies = 0;
inline constexpr int kCreatureWidth = 40;
inline constexpr int kCreatureHeight = 60;
// How far it walks in a tick, and how near its centre must be to an object's (across) to act.
inline constexpr int kCreatureStride = 8;
inline constexpr int kCreatureReach = 24;

struct CreatureOrder {
    CreatureAction action = CreatureAction::Activate1;
    int object = 0;
};

// The one creature a world may hold. Its brain and chemistry are not modelled: it walks and
// acts only on command, and what it receives is reported.
struct Creature {
    int id = 0;        // its object; 0 while none is placed
    int selected = 0;  // what norn names: the creature once placed, unless a script set it
    int carried = 0;   // the object it holds; 0 for none
    std::optional<CreatureOrder> order;
    std::vector<std::string> chemicalNames;  // by number, from the installation's list
};

// The object nearest the creature (centre to centre; the older where two are as near) that an
// order names when none is given: for a drop, what it carries. 0 when there is none.
int objectForCreature(const World& world, CreatureAction action);

// What a stimulus gives the creature, for the log and the trace: "reaches creature #3
// (chemical 12 Glucose 30)" from the pairs of chemical number and amount (number 0: unused).
std::string receivedLine(const Creature& creature, std::span<const int> chemicalPairs);

}  // namespace vek::vivarium
