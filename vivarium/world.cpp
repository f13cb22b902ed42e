#include "vivarium/world.h"

#include <algorithm>
#include <limits>

#include "app/scope_exit.h"
#include "app/text_names.h"
#include "vivarium/interpreter.h"

namespace vek::vivarium {

namespace {

// The first object numbered `id` or more; objects are kept in the order of their numbers.
template <typename Objects>
auto firstFrom(Objects& objects, int id) {
    return std::lower_bound(objects.begin(), objects.end(), id,
                            [](const Object& o, int wanted) { return o.id < wanted; });
}

}  // namespace

// Built by appends: GCC 12 warns falsely about a concatenation with a literal here.
std::string objectName(int id) {
    std::string name(1, '#');
    name.append(std::to_string(id));
    return name;
}

int Object::classNumber() const {
    return wrap((static_cast<long long>(family) << 24) | (genus << 16) | (species << 8));
}

int Object::width() const {
    const int image = firstImage + base + pose;
    if (!sizes || image < 0 || static_cast<std::size_t>(image) >= sizes->sizes.size()) return 0;
    return sizes->sizes[static_cast<std::size_t>(image)].first;
}

int Object::height() const {
    const int image = firstImage + base + pose;
    if (!sizes || image < 0 || static_cast<std::size_t>(image) >= sizes->sizes.size()) return 0;
    return sizes->sizes[static_cast<std::size_t>(image)].second;
}

int eventOfMessage(int message) {
    switch (message) {
        case 0:
            return kEventActivate1;
        case 1:
            return kEventActivate2;
        case 2:
            return kEventDeactivate;
        default:
            return message;
    }
}

World::World(SpriteLookup sprites, std::uint64_t seed)
    : m_sprites(std::move(sprites)), m_random(seed) {}

std::uint32_t World::random() {
    // splitmix64: the same numbers from the same seed on every machine.
    std::uint64_t z = (m_random += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

void World::emit(Happening happening) const {
    if (m_observer) m_observer(happening);
}

const Object* World::find(int id) const {
    const auto found = firstFrom(m_objects, id);
    if (found == m_objects.end() || found->id != id || found->killed) return nullptr;
    return &*found;
}

Object* World::findObject(int id) { return const_cast<Object*>(std::as_const(*this).find(id)); }

std::string World::runMacro(const MacroText& macro, std::shared_ptr<const Origin> origin,
                            std::optional<Finding>* refusal) {
    MacroReading reading = readMacro(macro, origin);
    if (refusal) *refusal = reading.refusal;
    if (const auto& finding = reading.refusal) {
        Happening refused;
        refused.kind = HappeningKind::Fault;
        refused.tick = m_tick;
        refused.origin = origin;
        refused.position = finding->position;
        const BilingualText routine = origin ? origin->routine : textOf(Msg::VivariumMacroName);
        refused.fault = fill(Msg::VivariumFaultInMacro,
                             {routine, fill(Msg::VivariumMacroRefused, {finding->text})});
        emit(std::move(refused));
        return {};
    }
    // The macro's work is its own, not the tick's it arrives in.
    const TickWork tickWork = std::exchange(m_work, {});
    const ScopeExit restoreWork([this, tickWork] { m_work = tickWork; });
    Run run;
    run.program = std::move(reading.program);
    std::string answer;
    Interpreter(*this, run, &answer).go();
    if (!run.ended) m_macroRuns.push_back(std::move(run));
    removeKilled();
    return answer;
}

bool World::sendEvent(int object, int event) {
    Object* found = findObject(object);
    return found && queueEvent(*found, {event, 0});
}

bool World::queueEvent(Object& object, Object::Event event) {
    if (m_events >= kEventLimit) return false;
    object.events.push_back(event);
    ++m_events;
    return true;
}

Object::Event World::takeEvent(Object& object) {
    const Object::Event event = object.events.front();
    object.events.pop_front();
    --m_events;
    return event;
}

void World::dropEvents(Object& object) {
    m_events -= object.events.size();
    object.events.clear();
}

bool World::dropObject(int object, int x, int y) {
    Object* found = findObject(object);
    if (!found) return false;
    putDown(*found, x, y, 0);
    return true;
}

void World::putDown(Object& object, int x, int y, int from) {
    const Placement rest = m_map.settle(object.attr, object.width(), object.height(), x, y);
    object.x = rest.left;
    object.y = rest.top;
    queueEvent(object, {kEventDrop, from});
    if (rest.collided) queueEvent(object, {kEventCollision, 0});
}

bool World::setEditObject(int object) {
    if (!find(object)) return false;
    m_edit = object;
    return true;
}

void World::advanceAnimation(Object& object) {
    Animation& animation = object.animation;
    if (!animation.running) return;
    if (animation.frame + 1 < animation.frames.size()) {
        ++animation.frame;
    } else if (animation.repeats) {
        animation.frame = 0;
    } else {
        animation.running = false;
        return;
    }
    object.pose = animation.frames[animation.frame] - '0';
}

bool World::goesOn(Run& run) {
    if (run.waitTicks > 0) {
        return --run.waitTicks == 0;
    }
    if (run.animationWatched != 0) {
        const Object* watched = find(run.animationWatched);
        if (watched && watched->animation.running) return false;
        run.animationWatched = 0;
    }
    return true;
}

bool World::takeTurn(Object& object, bool resumed) {
    std::optional<std::size_t> waiting;
    if (resumed) {
        waiting = m_place.waiting;
    } else {
        advanceAnimation(object);
        if (!object.shape.simple()) travel(object);
        // A timer that comes due while a script runs is lost; the next comes `tick` ticks later.
        if (object.timerRate > 0 && --object.timerCount <= 0) {
            object.timerCount = object.timerRate;
            if (!object.run) queueEvent(object, {kEventTimer, 0});
        }
    }
    if (object.run && goesOn(*object.run)) Interpreter(*this, *object.run).go();
    if (object.run && object.run->held) {
        m_place.waiting = waiting;
        return false;
    }
    if (object.run && object.run->ended) object.run.reset();
    // The events waiting when the turn began, one after another while none pauses.
    return startEvents(object, waiting.value_or(object.events.size()));
}

bool World::startEvents(Object& object, std::size_t waiting) {
    while (!object.run && waiting > 0 && !object.killed && !object.events.empty() &&
           !m_work.frozen) {
        --waiting;
        const Object::Event event = takeEvent(object);
        const bool activates = event.number == kEventActivate1 || event.number == kEventActivate2;
        if (activates && object.shape.as<CallButton>()) pressCallButton(object);
        const ScriptKey key{object.family, object.genus, object.species, event.number};
        const auto script = m_scripts.find(key);
        if (script == m_scripts.end()) continue;
        object.run.emplace();
        Run& run = *object.run;
        run.program = script->second;
        run.script = key;
        run.owner = object.id;
        run.target = object.id;
        run.from = event.from;
        Interpreter(*this, run).go();
        if (run.held) {
            m_place.waiting = waiting;
            return false;
        }
        if (run.ended) object.run.reset();
    }
    return true;
}

void World::tick() {
    const bool resuming = m_place.suspended;
    if (!resuming) {
        ++m_tick;
        m_place = {};
        m_work = {};
        // Objects made during this tick take their first turn in the next.
        m_place.lastObject = m_objects.empty() ? 0 : m_objects.back().id;
        walkCreature();
    }
    m_place.suspended = false;
    if (!m_place.inMacros && !objectTurns(resuming)) return;
    // Paused macros go on after the objects, so that they see this tick's animations.
    if (!macroTurns()) return;
    std::erase_if(m_macroRuns, [](const Run& run) { return run.ended; });
    removeKilled();
}

bool World::objectTurns(bool resuming) {
    // By id, not by index: a macro run while the tick waits may have removed killed objects.
    const auto first = firstFrom(m_objects, m_place.object);
    for (auto k = static_cast<std::size_t>(first - m_objects.begin()); k < m_objects.size(); ++k) {
        Object& object = m_objects[k];  // by index: a script's new objects move none
        if (object.id > m_place.lastObject || m_work.frozen) break;
        const bool resumed = resuming && object.id == m_place.object;
        m_place.object = object.id;
        if (!object.killed && !takeTurn(object, resumed)) {
            m_place.suspended = true;
            return false;
        }
    }
    m_place.inMacros = true;
    return true;
}

bool World::macroTurns() {
    for (; m_place.macro < m_macroRuns.size() && !m_work.frozen; ++m_place.macro) {
        Run& run = m_macroRuns[m_place.macro];
        // A held macro goes on at once: it neither waits nor watches an animation.
        if (goesOn(run)) Interpreter(*this, run).go();
        if (run.held) {
            m_place.object = 0;
            m_place.suspended = true;
            return false;
        }
    }
    return true;
}

void World::removeKilled() {
    if (m_firstKilled == 0) return;
    // Only from the first object killed on, which is mostly the newest: a macro that makes and
    // kills an object costs nothing for every object before it.
    m_objects.erase(std::remove_if(firstFrom(m_objects, m_firstKilled), m_objects.end(),
                                   [](const Object& object) { return object.killed; }),
                    m_objects.end());
    m_firstKilled = 0;
}

}  // namespace vek::vivarium
