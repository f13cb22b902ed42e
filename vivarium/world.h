#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "language/checker.h"
#include "vivarium/creature.h"
#include "vivarium/map.h"
#include "vivarium/object_kinds.h"
#include "vivarium/program.h"

namespace vek::vivarium {

// The game's events that scripts answer, by number.
inline constexpr int kEventDeactivate = 0;
inline constexpr int kEventActivate1 = 1;
inline constexpr int kEventActivate2 = 2;
inline constexpr int kEventHit = 3;
inline constexpr int kEventPickup = 4;
inline constexpr int kEventDrop = 5;
inline constexpr int kEventCollision = 6;  // a wall of its room or the ground stopped it
inline constexpr int kEventTimer = 9;

// A script that runs more commands than this in one tick without pausing would freeze the game.
inline constexpr int kCommandsPerTickLimit = 100000;
// What a whole tick may do before the game would freeze: the commands of all its scripts (a
// command that looks through the objects, as enum, rtar and totl do, counts one for each), the
// objects the world holds (those killed in the tick among them until it ends) and the events
// waiting. A command with a text (a name, a byte string) counts one more for each
// kTextBytesPerCommand bytes of it. A macro from the link gets a tick's work of its own.
inline constexpr long long kTickWorkLimit = 1000000;
inline constexpr std::size_t kTextBytesPerCommand = 64;
inline constexpr std::size_t kObjectLimit = 100000;
inline constexpr std::size_t kEventLimit = 1000000;
// What dde: commands may write into one answer: what the link carries with its closing zero.
// Only a macro's run at once answers; what scripts and paused macros write goes nowhere.
inline constexpr std::size_t kAnswerLimit = (std::size_t{16} << 20) - 1;
// How deep gsub may call.
inline constexpr std::size_t kCallDepthLimit = 64;

// The pictures of a sprite file: the size of each image, by number.
struct SpriteSizes {
    std::vector<std::pair<int, int>> sizes;  // width, height
};
// Finds a sprite file's sizes by its four-letter name; nullptr when the installation has none.
using SpriteLookup = std::function<const SpriteSizes*(std::string_view name)>;

// A script that is running on an object (or a macro that runs on none): where it is, its
// variables and what it waits for.
struct Run {
    std::shared_ptr<const Program> program;
    std::optional<ScriptKey> script;  // the script of the scriptorium it runs; none for a macro
    std::size_t next = 0;             // the instruction it goes on with
    std::array<int, 10> variables{};
    int owner = 0;
    int target = 0;
    int from = 0;
    int it = 0;
    int waitTicks = 0;         // ticks until it goes on; 0 when not waiting
    int animationWatched = 0;  // over: the object whose animation must end first
    bool held = false;         // the command hook holds it before its next command
    bool ended = false;
    std::vector<std::size_t> calls;  // where each gsub returns to
    std::vector<int> repeats;        // the rounds still to run of each reps
    struct Enumeration {
        std::vector<int> objects;
        std::size_t index = 0;
        int savedTarget = 0;
    };
    std::vector<Enumeration> enumerations;
};

struct Animation {
    std::string frames;  // one digit a frame
    bool repeats = false;
    std::size_t frame = 0;
    bool running = false;
};

struct Object {
    int id = 0;
    int family = 0;
    int genus = 0;
    int species = 0;
    std::string sprite;
    const SpriteSizes* sizes = nullptr;  // the sprite file's images, when the installation has it
    int firstImage = 0;
    int imageCount = 0;  // of new: simp, cut to the images the sprite file holds
    int base = 0;
    int pose = 0;
    int plane = 0;
    int x = 0;
    int y = 0;
    int attr = 0;
    int actv = 0;
    int click = 0;  // bhvr's values
    int touch = 0;
    std::array<int, 3> objectVariables{};
    int timerRate = 0;  // tick's value
    int timerCount = 0;
    Animation animation;
    std::optional<Run> run;
    struct Event {
        int number = 0;
        int from = 0;
    };
    std::deque<Event> events;
    bool killed = false;
    ObjectShape shape;    // what a compound object, vehicle, lift, call button or blackboard adds
    int carriedBy = 0;    // the vehicle or lift it rides in; 0 for none
    int objp = 0;         // an object number its scripts keep
    bool placed = false;  // moved once by a script: walls and the ground hold it from then on

    int width() const;
    int height() const;
    // The class as `clas` reads it: family, genus and species in the upper three bytes.
    int classNumber() const;
};

// The passengers and cabin of a vehicle or lift; nullptr for every other kind.
Carrier* carrierOf(Object& object);
// Where a compound object's part has its top left corner; none for a part it lacks.
std::optional<std::pair<int, int>> partPlace(const Object& object, int number);

// An object as traces and views name it: "#7".
std::string objectName(int id);

// What happened in the world that a trace or a window shows.
// Record: what the world notes and does not obey (the camera, the game's window, debug output).
enum class HappeningKind { Sound, Message, Stimulus, NotModelled, Fault, Record };

struct Happening {
    HappeningKind kind = HappeningKind::Sound;
    int tick = 0;
    // The object whose script it was (all 0 for a macro that runs on none).
    int object = 0;
    int family = 0;
    int genus = 0;
    int species = 0;
    std::string detail;  // "snde spin", "mesg writ #2 0", the word not modelled
    std::shared_ptr<const Origin> origin;
    TextPosition position;
    // The script and the index of the command it happened at; no script for a macro's.
    std::optional<ScriptKey> script;
    std::size_t instruction = 0;
    BilingualText fault;   // what went wrong, for a fault
    bool freezes = false;  // a fault that stops the whole game, not only its script
};

// The stand-in world: objects, their scripts, the scriptorium and the ticks. Deterministic: the
// same macros, seed and events give the same happenings in the same order.
class World {
  public:
    explicit World(SpriteLookup sprites = {}, std::uint64_t seed = 1);

    // Runs a macro at once, as the link delivers it; what its dde: commands wrote is returned.
    // A macro that pauses (wait, over) goes on in later ticks. A macro with an error the
    // checker finds is refused, as the link would refuse it: a fault, and nothing runs.
    // With `refusal`, what refused it is kept there (none when it ran).
    std::string runMacro(const MacroText& macro, std::shared_ptr<const Origin> origin,
                         std::optional<Finding>* refusal = nullptr);

    // An event from outside (a click, a pickup) for an object: it runs when the object's turn
    // comes, after any script the object is running. False when there is no such object or
    // the world's events are at their bound.
    bool sendEvent(int object, int event);

    // The hand's own doings, outside any script; false when there is no such object. It puts
    // an object down with its top left corner at a place: the object gets its drop event and,
    // groundbound, comes to rest on the ground, with a collision event after it when it fell
    // onto it. And it makes an object the edit object.
    bool dropObject(int object, int x, int y);
    bool setEditObject(int object);
    int editObject() const { return m_edit; }

    // The stand-in creature (creature.h). Placing it makes its object, with its top left corner
    // at a place and standing on the ground there, or moves the one there is; 0 past the bound of
    // objects. An order replaces the one before: from the next tick on it walks along the ground
    // to the object and acts on it; false without a creature or such an object, or for a drop
    // of what it does not carry.
    int placeCreature(int x, int y);
    bool orderCreature(CreatureAction action, int object);
    const Creature& creature() const { return m_creature; }
    void setChemicalNames(std::vector<std::string> names) {
        m_creature.chemicalNames = std::move(names);
    }

    // One tick: each object in the order of its creation moves its animation on, counts its
    // timer, and goes on with its script or starts the next event's; then the paused macros go
    // on. A tick that goes past a bound of its work freezes: that fault is reported and the
    // turns still to come wait for the next tick. When the command hook holds a script the tick is
    // suspended right there, and the next call goes on with the same tick from the held command
    // (asking the hook again), so that holding and going on change nothing of what happens, nor its
    // order.
    void tick();
    // Whether a tick waits at a held command, and the object whose script is held (0 for a
    // macro that runs on none).
    bool suspended() const { return m_place.suspended; }
    int suspendedObject() const { return m_place.suspended ? m_place.object : 0; }

    int currentTick() const { return m_tick; }
    // The rooms and the ground; the room and ground words change them too.
    const Map& map() const { return m_map; }
    void setMap(Map map) { m_map = std::move(map); }
    // The number the next object made gets.
    int nextObjectId() const { return m_nextId; }
    // The living objects, in the order of their creation.
    const std::deque<Object>& objects() const { return m_objects; }
    const Object* find(int id) const;
    const std::map<ScriptKey, std::shared_ptr<const Program>>& scripts() const { return m_scripts; }
    // Every happening goes here as it happens.
    void setObserver(std::function<void(const Happening&)> observer) {
        m_observer = std::move(observer);
    }
    // Asked before each command runs while it is attached, for a stepper or a breakpoint: false
    // holds the script before the command and suspends the tick (see tick()); a macro that
    // runMacro runs is held until the next tick. Setting a hook attaches it; an empty one is
    // never asked. Detached, a command costs only the look at a flag.
    using CommandHook = std::function<bool(const Run&, const Instruction&)>;
    void setCommandHook(CommandHook hook) {
        m_commandHook = std::move(hook);
        m_hookAttached = static_cast<bool>(m_commandHook);
    }
    void attachCommandHook(bool attached) {
        m_hookAttached = attached && static_cast<bool>(m_commandHook);
    }

  private:
    friend class Interpreter;

    Object* findObject(int id);
    void removeKilled();
    // The events waiting, counted over all objects against kEventLimit.
    bool queueEvent(Object& object, Object::Event event);
    Object::Event takeEvent(Object& object);
    void dropEvents(Object& object);
    // Lets an object come to rest where it is put down, with its drop event from `from`.
    void putDown(Object& object, int x, int y, int from);
    // The creature's step of a tick, before the objects' turns.
    void walkCreature();
    void creatureActs(Object& self, Object& goal, CreatureAction action);
    // How much of its bound a tick (or a macro from the link) has used.
    struct TickWork {
        long long commands = 0;
        bool frozen = false;
    };
    // Where a suspended tick goes on: the turn of an object (or, with `inMacros`, of a paused
    // macro) that a held command interrupted.
    struct TickPlace {
        bool suspended = false;
        bool inMacros = false;
        int object = 0;         // whose turn, by id; ids grow in the order of creation
        int lastObject = 0;     // the newest object when the tick began: later ones wait
        std::size_t macro = 0;  // the paused macro's index
        // The events still to start in the interrupted turn; none when it was interrupted in
        // the script that went on from the last tick, before they were counted.
        std::optional<std::size_t> waiting;
    };
    bool objectTurns(bool resuming);
    bool macroTurns();
    // False when the hook held the object's script: its turn is not over.
    bool takeTurn(Object& object, bool resumed);
    bool startEvents(Object& object, std::size_t waiting);
    // The kinds' own doings (object_kinds.cpp). Moving an object moves its passengers by as
    // much; `limited`, its room and the ground stop it as they stop a mvto.
    Placement moveObject(Object& object, int left, int top, bool limited);
    // A vehicle's speeds and a lift's journey, once a tick.
    void travel(Object& object);
    void pressCallButton(const Object& button);
    void board(Object& carrier, Object& passenger);
    void alight(Object& passenger);
    // The objects in a carrier's cabin board it; its passengers leave it.
    void takeOnCabin(Object& carrier);
    void letOut(Object& carrier);
    void advanceAnimation(Object& object);
    bool goesOn(Run& run);
    void emit(Happening happening) const;
    std::uint32_t random();

    SpriteLookup m_sprites;
    std::uint64_t m_random;
    std::deque<Object> m_objects;  // a deque: objects made while a script runs move none
    std::vector<Run> m_macroRuns;
    std::map<ScriptKey, std::shared_ptr<const Program>> m_scripts;
    Map m_map;
    Creature m_creature;
    int m_nextId = 1;
    int m_tick = 0;
    int m_edit = 0;
    int m_firstKilled = 0;  // the lowest number killed since the last removal; 0: none
    std::size_t m_events = 0;
    TickWork m_work;
    TickPlace m_place;
    std::function<void(const Happening&)> m_observer;
    CommandHook m_commandHook;
    bool m_hookAttached = false;
};

// The event that a message number (mesg writ) starts: 0 activates 1, 1 activates 2, 2
// deactivates; every other number is the event of that number.
int eventOfMessage(int message);

}  // namespace vek::vivarium
