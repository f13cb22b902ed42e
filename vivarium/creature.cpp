#include "vivarium/creature.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "vivarium/world.h"

namespace vek::vivarium {

namespace {

struct ActionName {
    CreatureAction action;
    std::string_view name;
    int event;
};

constexpr std::array<ActionName, 6> kActions = {{
    {CreatureAction::Activate1, "activate1", kEventActivate1},
    {CreatureAction::Activate2, "activate2", kEventActivate2},
    {CreatureAction::Deactivate, "deactivate", kEventDeactivate},
    {CreatureAction::Hit, "hit", kEventHit},
    {CreatureAction::Pickup, "pickup", kEventPickup},
    {CreatureAction::Drop, "drop", kEventDrop},
}};

const ActionName& entryOf(CreatureAction action) {
    return kActions[static_cast<std::size_t>(action)];
}

int centreX(const Object& object, int width) { return object.x + width / 2; }
int centreY(const Object& object, int height) { return object.y + height / 2; }

}  // namespace

int eventOfCreatureAction(CreatureAction action) { return entryOf(action).event; }

std::string_view creatureActionName(CreatureAction action) { return entryOf(action).name; }

std::optional<CreatureAction> creatureActionNamed(std::string_view name) {
    for (const ActionName& entry : kActions) {
        if (entry.name == name) return entry.action;
    }
    return std::nullopt;
}

int objectForCreature(const World& world, CreatureAction action) {
    const Creature& creature = world.creature();
    const Object* self = world.find(creature.id);
    if (!self) return 0;
    if (action == CreatureAction::Drop) return world.find(creature.carried) ? creature.carried : 0;
    const long long x = centreX(*self, kCreatureWidth);
    const long long y = centreY(*self, kCreatureHeight);
    int nearest = 0;
    long long nearestDistance = std::numeric_limits<long long>::max();
    for (const Object& object : world.objects()) {
        if (object.killed || object.id == self->id) continue;
        const long long dx = centreX(object, object.width()) - x;
        const long long dy = centreY(object, object.height()) - y;
        const long long distance = dx * dx + dy * dy;
        if (distance < nearestDistance) {
            nearest = object.id;
            nearestDistance = distance;
        }
    }
    return nearest;
}

std::string receivedLine(const Creature& creature, std::span<const int> chemicalPairs) {
    // Built by appends: GCC 12 warns falsely about a concatenation with a literal here.
    std::string line("reaches creature ");
    line.append(objectName(creature.id));
    bool first = true;
    for (std::size_t k = 0; k + 1 < chemicalPairs.size(); k += 2) {
        const int chemical = chemicalPairs[k];
        if (chemical == 0) continue;
        line.append(first ? " (chemical " : ", chemical ");
        first = false;
        line.append(std::to_string(chemical));
        const auto number = static_cast<std::size_t>(chemical);
        if (chemical > 0 && number < creature.chemicalNames.size() &&
            !creature.chemicalNames[number].empty()) {
            line.push_back(' ');
            line.append(creature.chemicalNames[number]);
        }
        line.push_back(' ');
        line.append(std::to_string(chemicalPairs[k + 1]));
    }
    if (!first) line.push_back(')');
    return line;
}

int World::placeCreature(int x, int y) {
    Object* self = findObject(m_creature.id);
    if (!self) {
        if (m_objects.size() >= kObjectLimit) return 0;
        Object made;
        made.id = m_nextId++;
        made.family = kCreatureFamily;
        made.genus = kCreatureGenus;
        made.species = kCreatureSpecies;
        // One image of its size, without pictures, so that posr, posb and the walls know it.
        static const SpriteSizes kFigure{{{kCreatureWidth, kCreatureHeight}}};
        made.sizes = &kFigure;
        made.imageCount = 1;
        m_objects.push_back(std::move(made));
        self = &m_objects.back();
        m_creature.id = self->id;
        m_creature.selected = self->id;
        m_creature.carried = 0;
        m_creature.order.reset();
    }
    self->x = x;
    self->y = m_map.settle(Map::kGroundbound, kCreatureWidth, kCreatureHeight, x, y).top;
    return self->id;
}

bool World::orderCreature(CreatureAction action, int object) {
    if (!find(m_creature.id) || !find(object) || object == m_creature.id) return false;
    if (action == CreatureAction::Drop && object != m_creature.carried) return false;
    m_creature.order = CreatureOrder{action, object};
    return true;
}

void World::walkCreature() {
    Object* self = findObject(m_creature.id);
    if (!self) return;
    if (m_creature.order) {
        const CreatureOrder order = *m_creature.order;
        Object* goal = findObject(order.object);
        const int gap = goal ? centreX(*goal, goal->width()) - centreX(*self, kCreatureWidth) : 0;
        if (goal && order.action != CreatureAction::Drop && std::abs(gap) > kCreatureReach) {
            self->x += std::clamp(gap, -kCreatureStride, kCreatureStride);
            self->y =
                m_map.settle(Map::kGroundbound, kCreatureWidth, kCreatureHeight, self->x, self->y)
                    .top;
        } else {
            m_creature.order.reset();
            if (goal) creatureActs(*self, *goal, order.action);
        }
    }
    // What it holds goes with it, at its middle.
    if (Object* carried = findObject(m_creature.carried)) {
        carried->x = centreX(*self, kCreatureWidth) - carried->width() / 2;
        carried->y = centreY(*self, kCreatureHeight) - carried->height() / 2;
    } else {
        m_creature.carried = 0;
    }
}

void World::creatureActs(Object& self, Object& goal, CreatureAction action) {
    Happening acted;
    acted.kind = HappeningKind::Message;
    acted.tick = m_tick;
    acted.object = self.id;
    acted.family = self.family;
    acted.genus = self.genus;
    acted.species = self.species;
    acted.detail = creatureActionName(action);
    acted.detail.push_back(' ');
    acted.detail.append(objectName(goal.id));
    emit(std::move(acted));
    switch (action) {
        case CreatureAction::Drop:
            m_creature.carried = 0;
            putDown(goal, goal.x, goal.y, self.id);
            return;
        case CreatureAction::Pickup:
            m_creature.carried = goal.id;
            break;
        default:
            break;
    }
    queueEvent(goal, {eventOfCreatureAction(action), self.id});
}

}  // namespace vek::vivarium
