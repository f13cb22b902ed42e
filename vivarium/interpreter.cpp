#include "vivarium/interpreter.h"

#include <algorithm>

#include "app/text_names.h"

namespace vek::vivarium {

namespace {

// Thrown once a fault has been reported: it ends the script that ran into it.
struct ScriptFault {};

bool holdsClause(int left, Comparison comparison, int right) {
    switch (comparison) {
        case Comparison::Eq:
            return left == right;
        case Comparison::Ne:
            return left != right;
        case Comparison::Lt:
            return left < right;
        case Comparison::Gt:
            return left > right;
        case Comparison::Le:
            return left <= right;
        case Comparison::Ge:
            return left >= right;
        case Comparison::Bt:
            return (left & right) == right;
        case Comparison::Bf:
            return (left & right) == 0;
    }
    return false;
}

}  // namespace

void Interpreter::go() {
    const std::vector<Instruction>& code = m_run.program->instructions;
    int commands = 0;
    m_run.held = false;
    // A frozen tick runs nothing more: the script goes on in the next.
    if (m_world.m_work.frozen) return;
    try {
        while (!m_run.ended && m_run.waitTicks == 0 && m_run.animationWatched == 0) {
            if (m_run.next >= code.size()) {
                m_run.ended = true;
                break;
            }
            const Instruction& instruction = code[m_run.next];
            if (m_world.m_hookAttached && !m_world.m_commandHook(m_run, instruction)) {
                m_run.held = true;
                break;
            }
            ++m_run.next;
            if (++commands > kCommandsPerTickLimit) {
                fault(instruction,
                      fill(Msg::VivariumTooManyCommands, {std::to_string(kCommandsPerTickLimit)}));
            }
            spend(1 + instruction.text.size() / kTextBytesPerCommand, instruction.position);
            instruction.run(*this, instruction);
        }
    } catch (const ScriptFault&) {
        m_run.ended = true;
    }
}

void Interpreter::happen(HappeningKind kind, TextPosition position, std::string detail,
                         BilingualText faultText, bool freezes) const {
    Happening happening;
    happening.kind = kind;
    happening.tick = m_world.m_tick;
    happening.object = m_run.owner;
    if (const Object* owner = m_world.find(m_run.owner)) {
        happening.family = owner->family;
        happening.genus = owner->genus;
        happening.species = owner->species;
    }
    happening.detail = std::move(detail);
    happening.origin = m_run.program->origin;
    happening.position = position;
    happening.script = m_run.script;
    // The command running is the one before the next.
    happening.instruction = m_run.next > 0 ? m_run.next - 1 : 0;
    happening.fault = std::move(faultText);
    happening.freezes = freezes;
    m_world.emit(std::move(happening));
}

void Interpreter::fault(TextPosition position, const BilingualText& reason, bool freezes) const {
    BilingualText routine =
        m_run.program->origin ? m_run.program->origin->routine : textOf(Msg::VivariumMacroName);
    BilingualText text;
    if (const Object* owner = m_world.find(m_run.owner)) {
        const std::string name = std::to_string(owner->family) + " " +
                                 std::to_string(owner->genus) + " " +
                                 std::to_string(owner->species);
        text = fill(Msg::VivariumFaultPlace,
                    {untranslated(std::to_string(owner->id)), untranslated(name), routine, reason});
    } else {
        text = fill(Msg::VivariumFaultInMacro, {routine, reason});
    }
    happen(HappeningKind::Fault, position, {}, std::move(text), freezes);
    throw ScriptFault{};
}

void Interpreter::wrongKind(const Word* word, TextPosition position, const Object& object) const {
    fault(position, fill(Msg::VivariumWrongKind, {nameOf(word), std::to_string(object.id)}));
}

Carrier& Interpreter::carrierTarget(const Instruction& instruction) {
    Object& object = target(instruction);
    Carrier* carrier = carrierOf(object);
    if (!carrier) wrongKind(instruction.word, instruction.position, object);
    return *carrier;
}

void Interpreter::freeze(TextPosition position, const Bilingual& reason, long long bound) const {
    m_world.m_work.frozen = true;
    fault(position, fill(reason, {std::to_string(bound)}), true);
}

void Interpreter::spend(std::size_t commands, TextPosition position) const {
    m_world.m_work.commands += static_cast<long long>(commands);
    if (m_world.m_work.commands > kTickWorkLimit)
        freeze(position, Msg::VivariumTickTooBusy, kTickWorkLimit);
}

// Clauses are read from left to right, each joined to the result so far by and or or.
bool Interpreter::holds(const std::vector<Clause>& condition) {
    bool result = true;
    bool joinByOr = false;
    for (std::size_t k = 0; k < condition.size(); ++k) {
        const Clause& clause = condition[k];
        const int left = value(clause.left);
        const bool holdsHere = holdsClause(left, clause.comparison, value(clause.right));
        result = k == 0 ? holdsHere : (joinByOr ? result || holdsHere : result && holdsHere);
        joinByOr = clause.orNext;
    }
    return result;
}

Object& Interpreter::target(const Word* word, TextPosition position) {
    // Objects stay where they are while a script runs (the killed are removed after it), so
    // the last one found serves again while the target is the same.
    if (!m_found || m_found->id != m_run.target || m_found->killed)
        m_found = m_world.findObject(m_run.target);
    if (!m_found) fault(position, fill(Msg::VivariumNoTarget, {nameOf(word)}));
    return *m_found;
}

std::vector<int> Interpreter::objectsOfClass(int family, int genus, int species,
                                             TextPosition position) {
    std::vector<int> found;
    for (const Object& object : objectsLookedThrough(position)) {
        if (!object.killed && matches(family, object.family) && matches(genus, object.genus) &&
            matches(species, object.species))
            found.push_back(object.id);
    }
    return found;
}

Object Interpreter::newObject(TextPosition position) {
    if (m_world.m_objects.size() >= kObjectLimit)
        freeze(position, Msg::VivariumTooManyObjects, static_cast<long long>(kObjectLimit));
    Object object;
    object.id = m_world.m_nextId++;
    return object;
}

Object Interpreter::newPictured(const Instruction& instruction, int plane, ObjectShape shape) {
    Object object = newObject(instruction.position);
    object.sprite = instruction.text;
    object.imageCount = std::max(0, argument(instruction, 0));
    object.firstImage = std::max(0, argument(instruction, 1));
    object.plane = plane;
    object.sizes = spriteSizes(object.sprite);
    if (object.sizes) {
        const long long available =
            static_cast<long long>(object.sizes->sizes.size()) - object.firstImage;
        object.imageCount =
            static_cast<int>(std::clamp<long long>(available, 0, object.imageCount));
    }
    object.shape = std::move(shape);
    return object;
}

void Interpreter::addObject(Object object) {
    m_run.target = object.id;
    m_world.m_objects.push_back(std::move(object));
}

void Interpreter::kill(Object& object) {
    object.killed = true;
    if (m_world.m_firstKilled == 0 || object.id < m_world.m_firstKilled)
        m_world.m_firstKilled = object.id;
    m_world.dropEvents(object);
    m_world.alight(object);
    if (carrierOf(object)) m_world.letOut(object);
    if (m_world.m_edit == object.id) m_world.m_edit = 0;
    if (object.id == m_run.owner) m_run.ended = true;
}

void Interpreter::send(Object& object, int event, TextPosition position) {
    if (!m_world.queueEvent(object, {event, m_run.owner}))
        freeze(position, Msg::VivariumTooManyEvents, static_cast<long long>(kEventLimit));
}

void Interpreter::moveTo(Object& object, int left, int top, TextPosition position) {
    // An object's first move puts it where its script places it; from then on the walls of the
    // room it stands in and the ground hold it.
    const bool limited = object.placed;
    object.placed = true;
    const Placement placement = m_world.moveObject(object, left, top, limited);
    if (placement.collided && !m_world.queueEvent(object, {kEventCollision, 0}))
        freeze(position, Msg::VivariumTooManyEvents, static_cast<long long>(kEventLimit));
}

void Interpreter::write(std::string_view text, const Instruction& instruction) {
    if (!m_answer) return;
    if (text.size() > kAnswerLimit - m_answer->size())
        fault(instruction, fill(Msg::VivariumAnswerTooLong, {std::to_string(kAnswerLimit)}));
    m_answer->append(text);
}

}  // namespace vek::vivarium
