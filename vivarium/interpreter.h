#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "vivarium/world.h"

namespace vek::vivarium {

// Sums and products wrap around as the game's 32-bit arithmetic does, without undefined
// behaviour here.
inline int wrap(long long value) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// A class part asked for: 0 stands for any.
inline bool matches(int wanted, int value) { return wanted == 0 || wanted == value; }

// Runs one script (or macro) until it pauses, ends, or runs into a fault. Each command runs
// through its word's function (word_table.h); what those functions share is here.
class Interpreter {
  public:
    // What dde: commands write goes to `answer`; nowhere when it is null.
    Interpreter(World& world, Run& run, std::string* answer = nullptr)
        : m_world(world), m_run(run), m_answer(answer) {}

    void go();

    Run& run() { return m_run; }
    const Program& program() const { return *m_run.program; }

    // Arguments and values.
    int argument(const Instruction& instruction, std::size_t index) {
        return index < instruction.arguments.size() ? value(instruction.arguments[index]) : 0;
    }
    int value(const Operand& operand) {
        return operand.read ? operand.read(*this, operand) : operand.number;
    }
    // The place a setting command writes.
    int& place(const Operand& operand) { return operand.place(*this, operand); }
    bool holds(const std::vector<Clause>& condition);
    // Goes on after the instruction's block partner, or ends the program without one.
    void jumpPast(const Instruction& instruction) {
        m_run.next = instruction.jump >= 0 ? static_cast<std::size_t>(instruction.jump) + 1
                                           : m_run.program->instructions.size();
    }

    // The target object; a fault when there is none.
    Object& target(const Word* word, TextPosition position);
    Object& target(const Instruction& instruction) {
        return target(instruction.word, instruction.position);
    }
    Object& target(const Operand& operand) { return target(operand.word, operand.position); }

    // What happened, at a place of this run's program.
    void happen(HappeningKind kind, TextPosition position, std::string detail,
                BilingualText faultText = {}, bool freezes = false) const;
    void notModelled(const Word* word, TextPosition position) const {
        happen(HappeningKind::NotModelled, position, nameOf(word));
    }
    // Reports a fault and ends the script.
    [[noreturn]] void fault(TextPosition position, const BilingualText& reason,
                            bool freezes = false) const;
    [[noreturn]] void fault(const Instruction& instruction, const BilingualText& reason) const {
        fault(instruction.position, reason);
    }
    // Past a bound of the tick's work the whole game would freeze, not only this script.
    [[noreturn]] void freeze(TextPosition position, const Bilingual& reason, long long bound) const;
    void spend(std::size_t commands, TextPosition position) const;
    static std::string nameOf(const Word* word) { return word ? word->name : std::string("?"); }

    // The world's objects. A command that looks through every object costs the tick one
    // command for each.
    const std::deque<Object>& objectsLookedThrough(TextPosition position) const {
        spend(m_world.m_objects.size(), position);
        return m_world.m_objects;
    }
    // The living objects of a class (0 for any part), in the order of their creation.
    std::vector<int> objectsOfClass(int family, int genus, int species, TextPosition position);
    Object* findObject(int id) { return m_world.findObject(id); }
    // Whether an object of that number was ever made.
    bool wasMade(int id) const { return id > 0 && id < m_world.m_nextId; }
    // A new object, numbered next, while the world holds fewer than its bound; the world holds
    // it, as the target, once `addObject` adds it.
    Object newObject(TextPosition position);
    void addObject(Object object);
    // A new object of a creating word whose arguments begin with a sprite file's number of images
    // and first image.
    Object newPictured(const Instruction& instruction, int plane, ObjectShape shape);
    const SpriteSizes* spriteSizes(std::string_view name) const {
        return m_world.m_sprites ? m_world.m_sprites(name) : nullptr;
    }
    void kill(Object& object);
    // Queues an event for an object, from this run's owner; the tick freezes at the bound.
    void send(Object& object, int event, TextPosition position);
    int& editObject() { return m_world.m_edit; }
    Creature& creature() { return m_world.m_creature; }
    // The world's creature, placed at a world point when there is none yet; 0 past the bound.
    int creatureObject(int x, int y) {
        return m_world.findObject(m_world.m_creature.id) ? m_world.m_creature.id
                                                         : m_world.placeCreature(x, y);
    }
    Map& map() { return m_world.m_map; }
    // Moves an object as far towards a place as its room and the ground let it; where they
    // stop it, it gets a collision event.
    void moveTo(Object& object, int left, int top, TextPosition position);
    // Puts an object at a place whatever its room and the ground say, passengers and all.
    void placeAt(Object& object, int left, int top) {
        m_world.moveObject(object, left, top, false);
    }
    // Vehicles and lifts: boarding, the cabin's objects boarding, and the passengers leaving.
    void board(Object& carrier, Object& passenger) { m_world.board(carrier, passenger); }
    void takeOnCabin(Object& carrier, TextPosition position) {
        spend(m_world.m_objects.size(), position);
        m_world.takeOnCabin(carrier);
    }
    void letOut(Object& carrier) { m_world.letOut(carrier); }
    // The target as the kind a command or value works on; a fault for an object of another kind.
    template <typename Kind, typename Use>
    Kind& targetAs(const Use& use) {
        Object& object = target(use);
        Kind* kind = object.shape.as<Kind>();
        if (!kind) wrongKind(use.word, use.position, object);
        return *kind;
    }
    Carrier& carrierTarget(const Instruction& instruction);
    [[noreturn]] void wrongKind(const Word* word, TextPosition position,
                                const Object& object) const;
    std::map<ScriptKey, std::shared_ptr<const Program>>& scripts() { return m_world.m_scripts; }
    std::uint32_t random() { return m_world.random(); }

    // What dde: commands write, up to what one answer may hold.
    void write(std::string_view text, const Instruction& instruction);

    // Where a variable the world does not keep is written.
    int& scratch() {
        m_scratch = 0;
        return m_scratch;
    }

  private:
    World& m_world;
    Run& m_run;
    std::string* m_answer;
    Object* m_found = nullptr;
    int m_scratch = 0;
};

}  // namespace vek::vivarium
