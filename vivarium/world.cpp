#include "vivarium/world.h"

#include <algorithm>
#include <limits>

#include "app/scope_exit.h"
#include "app/text_names.h"
#include "objects/object_check.h"

namespace vek::vivarium {

namespace {

// Thrown once a fault has been reported: it ends the script that ran into it.
struct ScriptFault {};

// Sums and products wrap around as the game's 32-bit arithmetic does, without undefined
// behaviour here.
int wrap(long long value) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

bool matches(int wanted, int value) { return wanted == 0 || wanted == value; }

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

// Runs one script (or macro) until it pauses, ends, or runs into a fault.
class Interpreter {
  public:
    // What dde: commands write goes to `answer`; nowhere when it is null.
    Interpreter(World& world, Run& run, std::string* answer = nullptr)
        : m_world(world), m_run(run), m_answer(answer) {}

    void go() {
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
                if (m_world.m_commandHook && !m_world.m_commandHook(m_run, instruction)) {
                    m_run.held = true;
                    break;
                }
                ++m_run.next;
                if (++commands > kCommandsPerTickLimit) {
                    fault(instruction, fill(Msg::VivariumTooManyCommands,
                                            {std::to_string(kCommandsPerTickLimit)}));
                }
                spend(1 + instruction.text.size() / kTextBytesPerCommand, instruction.position);
                execute(instruction);
            }
        } catch (const ScriptFault&) {
            m_run.ended = true;
        }
    }

  private:
    // Reports a happening of this run at an instruction's place.
    void happen(HappeningKind kind, TextPosition position, std::string detail,
                BilingualText faultText = {}, bool freezes = false) const {
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
        happening.fault = std::move(faultText);
        happening.freezes = freezes;
        m_world.emit(std::move(happening));
    }

    [[noreturn]] void fault(TextPosition position, const BilingualText& reason,
                            bool freezes = false) const {
        BilingualText routine =
            m_run.program->origin ? m_run.program->origin->routine : textOf(Msg::VivariumMacroName);
        BilingualText text;
        if (const Object* owner = m_world.find(m_run.owner)) {
            const std::string name = std::to_string(owner->family) + " " +
                                     std::to_string(owner->genus) + " " +
                                     std::to_string(owner->species);
            text = fill(Msg::VivariumFaultPlace, {untranslated(std::to_string(owner->id)),
                                                  untranslated(name), routine, reason});
        } else {
            text = fill(Msg::VivariumFaultInMacro, {routine, reason});
        }
        happen(HappeningKind::Fault, position, {}, std::move(text), freezes);
        throw ScriptFault{};
    }
    [[noreturn]] void fault(const Instruction& instruction, const BilingualText& reason) const {
        fault(instruction.position, reason);
    }

    // Past a bound of the tick's work the whole game would freeze, not only this script.
    [[noreturn]] void freeze(TextPosition position, const Bilingual& reason,
                             long long bound) const {
        m_world.m_work.frozen = true;
        fault(position, fill(reason, {std::to_string(bound)}), true);
    }

    void spend(std::size_t commands, TextPosition position) const {
        m_world.m_work.commands += static_cast<long long>(commands);
        if (m_world.m_work.commands > kTickWorkLimit)
            freeze(position, Msg::VivariumTickTooBusy, kTickWorkLimit);
    }

    // A command that looks through every object costs the tick one command for each.
    const std::deque<Object>& objectsLookedThrough(TextPosition position) const {
        spend(m_world.m_objects.size(), position);
        return m_world.m_objects;
    }

    // What dde: commands write, up to what one answer may hold.
    void write(std::string_view text, const Instruction& instruction) {
        if (!m_answer) return;
        if (text.size() > kAnswerLimit - m_answer->size())
            fault(instruction, fill(Msg::VivariumAnswerTooLong, {std::to_string(kAnswerLimit)}));
        m_answer->append(text);
    }

    static std::string nameOf(const Word* word) { return word ? word->name : std::string("?"); }

    void notModelled(const Word* word, TextPosition position) const {
        happen(HappeningKind::NotModelled, position, nameOf(word));
    }

    Object& target(const Word* word, TextPosition position) const {
        // Objects stay where they are while a script runs (the killed are removed after it), so
        // the last one found serves again while the target is the same.
        if (!m_found || m_found->id != m_run.target || m_found->killed)
            m_found = m_world.findObject(m_run.target);
        if (!m_found) fault(position, fill(Msg::VivariumNoTarget, {nameOf(word)}));
        return *m_found;
    }
    Object& target(const Instruction& instruction) const {
        return target(instruction.word, instruction.position);
    }

    int argument(const Instruction& instruction, std::size_t index) {
        return index < instruction.arguments.size() ? value(instruction.arguments[index]) : 0;
    }

    int value(const Operand& operand) {
        switch (operand.kind) {
            case Val::Number:
                return operand.number;
            case Val::NotModelled:
                notModelled(operand.word, operand.position);
                return 0;
            case Val::ScriptVariable:
                return m_run.variables[static_cast<std::size_t>(operand.number)];
            case Val::Targ:
                return m_run.target;
            case Val::Ownr:
                return m_run.owner;
            case Val::From:
                return m_run.from;
            case Val::It:
                return m_run.it;
            case Val::Edit:
                return m_world.m_edit;
            case Val::Totl:
                return totalOf(operand);
            default:
                return property(operand);
        }
    }

    int totalOf(const Operand& operand) {
        std::array<int, 3> wanted{};
        for (std::size_t k = 0; k < 3 && k < operand.arguments.size(); ++k)
            wanted[k] = value(operand.arguments[k]);
        const std::deque<Object>& objects = objectsLookedThrough(operand.position);
        return static_cast<int>(std::count_if(objects.begin(), objects.end(), [&](const Object& o) {
            return !o.killed && matches(wanted[0], o.family) && matches(wanted[1], o.genus) &&
                   matches(wanted[2], o.species);
        }));
    }

    // A value of the target object.
    int property(const Operand& operand) const {
        const Object& object = target(operand.word, operand.position);
        switch (operand.kind) {
            case Val::ObjectVariable:
                return object.objectVariables[static_cast<std::size_t>(operand.number)];
            case Val::Pose:
                return object.pose;
            case Val::Clas:
                return object.classNumber();
            case Val::Fmly:
                return object.family;
            case Val::Gnus:
                return object.genus;
            case Val::Spcs:
                return object.species;
            case Val::Attr:
                return object.attr;
            case Val::Actv:
                return object.actv;
            case Val::Posx:
                return object.x + object.width() / 2;
            case Val::Posy:
                return object.y + object.height() / 2;
            case Val::Posl:
                return object.x;
            case Val::Posr:
                return object.x + object.width();
            case Val::Post:
                return object.y;
            case Val::Posb:
                return object.y + object.height();
            case Val::Wdth:
                return object.width();
            case Val::Hght:
                return object.height();
            default:
                return 0;
        }
    }

    // The place a setting command writes; a variable the world does not keep writes nowhere.
    int& variable(const Operand& operand) {
        switch (operand.kind) {
            case Val::ScriptVariable:
                return m_run.variables[static_cast<std::size_t>(operand.number)];
            case Val::ObjectVariable:
                return target(operand.word, operand.position)
                    .objectVariables[static_cast<std::size_t>(operand.number)];
            case Val::Attr:
                return target(operand.word, operand.position).attr;
            case Val::Actv:
                return target(operand.word, operand.position).actv;
            default:
                notModelled(operand.word, operand.position);
                m_scratch = 0;
                return m_scratch;
        }
    }

    bool holds(const Clause& clause) {
        const int left = value(clause.left);
        const int right = value(clause.right);
        switch (clause.comparison) {
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

    // Clauses are read from left to right, each joined to the result so far by and or or.
    bool holds(const std::vector<Clause>& condition) {
        bool result = true;
        bool joinByOr = false;
        for (std::size_t k = 0; k < condition.size(); ++k) {
            const bool clause = holds(condition[k]);
            result = k == 0 ? clause : (joinByOr ? result || clause : result && clause);
            joinByOr = condition[k].orNext;
        }
        return result;
    }

    void jumpPast(const Instruction& instruction) {
        m_run.next = instruction.jump >= 0 ? static_cast<std::size_t>(instruction.jump) + 1
                                           : m_run.program->instructions.size();
    }

    void arithmetic(const Instruction& instruction) {
        if (instruction.arguments.empty()) return;
        int& place = variable(instruction.arguments[0]);
        const long long left = place;
        const long long right = argument(instruction, 1);
        switch (instruction.op) {
            case Op::Setv:
                place = static_cast<int>(right);
                break;
            case Op::Addv:
                place = wrap(left + right);
                break;
            case Op::Subv:
                place = wrap(left - right);
                break;
            case Op::Mulv:
                place = wrap(left * right);
                break;
            case Op::Divv:
            case Op::Modv:
                if (right == 0) fault(instruction, textOf(Msg::VivariumDivisionByZero));
                place = wrap(instruction.op == Op::Divv ? left / right : left % right);
                break;
            case Op::Andv:
                place = static_cast<int>(left & right);
                break;
            case Op::Orrv:
                place = static_cast<int>(left | right);
                break;
            case Op::Negv:
                place = wrap(-left);
                break;
            default:
                break;
        }
    }

    // Whether a pose (counted from the object's base) is one of its images.
    static bool hasImage(const Object& object, long long pose) {
        const long long image = object.base + pose;
        return image >= 0 && image < object.imageCount;
    }

    void setPose(const Instruction& instruction) {
        Object& object = target(instruction);
        const int pose = argument(instruction, 0);
        if (!hasImage(object, pose)) {
            fault(instruction, fill(Msg::VivariumPoseBeyond,
                                    {std::to_string(pose), std::to_string(object.imageCount)}));
        }
        object.pose = pose;
        object.animation.running = false;
    }

    void animate(const Instruction& instruction) {
        Object& object = target(instruction);
        Animation animation;
        for (const char c : instruction.text) {
            if (c >= '0' && c <= '9') {
                if (!hasImage(object, c - '0')) {
                    fault(instruction,
                          fill(Msg::VivariumFrameBeyond,
                               {std::string(1, c), std::to_string(object.imageCount)}));
                }
                animation.frames.push_back(c);
            } else if (c == 'R' || c == 'r') {
                animation.repeats = true;
            }
        }
        animation.running = !animation.frames.empty();
        if (animation.running) object.pose = animation.frames.front() - '0';
        object.animation = std::move(animation);
    }

    // A new object, numbered next, while the world holds fewer than its bound.
    Object newObject(TextPosition position) const {
        if (m_world.m_objects.size() >= kObjectLimit)
            freeze(position, Msg::VivariumTooManyObjects, static_cast<long long>(kObjectLimit));
        Object object;
        object.id = m_world.m_nextId++;
        return object;
    }

    void create(const Instruction& instruction) {
        Object object = newObject(instruction.position);
        object.sprite = instruction.text;
        object.imageCount = std::max(0, argument(instruction, 0));
        object.firstImage = std::max(0, argument(instruction, 1));
        object.plane = argument(instruction, 2);
        if (m_world.m_sprites) object.sizes = m_world.m_sprites(object.sprite);
        if (object.sizes) {
            const long long available =
                static_cast<long long>(object.sizes->sizes.size()) - object.firstImage;
            object.imageCount =
                static_cast<int>(std::clamp<long long>(available, 0, object.imageCount));
        }
        m_run.target = object.id;
        m_world.m_objects.push_back(std::move(object));
    }

    void createStandIn(const Instruction& instruction) {
        Object object = newObject(instruction.position);
        m_run.target = object.id;
        m_world.m_objects.push_back(std::move(object));
    }

    void kill(const Instruction& instruction) {
        const int id = argument(instruction, 0);
        Object* object = m_world.findObject(id);
        if (!object) {
            // The program's own "kill edit" is harmless when nothing is held.
            if (!instruction.arguments.empty() && instruction.arguments[0].kind == Val::Edit)
                return;
            fault(instruction, fill(Msg::VivariumNoTarget, {nameOf(instruction.word)}));
        }
        object->killed = true;
        if (m_world.m_firstKilled == 0 || id < m_world.m_firstKilled) m_world.m_firstKilled = id;
        m_world.dropEvents(*object);
        if (m_world.m_edit == id) m_world.m_edit = 0;
        if (id == m_run.owner) m_run.ended = true;
    }

    void message(const Instruction& instruction) {
        const int id = argument(instruction, 0);
        const int number = argument(instruction, 1);
        Object* object = m_world.findObject(id);
        if (!object) {
            if (id > 0 && id < m_world.m_nextId) {
                fault(instruction, fill(Msg::VivariumMessageToKilled, {std::to_string(id)}));
            }
            fault(instruction, fill(Msg::VivariumNoTarget, {nameOf(instruction.word)}));
        }
        if (!m_world.queueEvent(*object, {eventOfMessage(number), m_run.owner})) {
            freeze(instruction.position, Msg::VivariumTooManyEvents,
                   static_cast<long long>(kEventLimit));
        }
        happen(HappeningKind::Message, instruction.position,
               "mesg writ " + objectName(id) + " " + std::to_string(number));
    }

    void stimulus(const Instruction& instruction) {
        std::string detail("stim writ ");
        detail.append(objectName(argument(instruction, 0)));
        for (std::size_t k = 1; k < instruction.arguments.size(); ++k) {
            detail.push_back(' ');
            detail.append(std::to_string(value(instruction.arguments[k])));
        }
        happen(HappeningKind::Stimulus, instruction.position, std::move(detail));
    }

    void enumerate(const Instruction& instruction) {
        Run::Enumeration enumeration;
        const int family = argument(instruction, 0);
        const int genus = argument(instruction, 1);
        const int species = argument(instruction, 2);
        for (const Object& object : objectsLookedThrough(instruction.position)) {
            if (!object.killed && matches(family, object.family) && matches(genus, object.genus) &&
                matches(species, object.species)) {
                enumeration.objects.push_back(object.id);
            }
        }
        if (enumeration.objects.empty() || instruction.jump < 0) return jumpPast(instruction);
        enumeration.savedTarget = m_run.target;
        m_run.target = enumeration.objects.front();
        m_run.enumerations.push_back(std::move(enumeration));
    }

    void nextOfEnumeration(const Instruction& instruction) {
        if (m_run.enumerations.empty()) return;
        Run::Enumeration& enumeration = m_run.enumerations.back();
        // An object killed by an earlier round is passed over.
        while (++enumeration.index < enumeration.objects.size()) {
            if (m_world.findObject(enumeration.objects[enumeration.index])) {
                m_run.target = enumeration.objects[enumeration.index];
                m_run.next = static_cast<std::size_t>(instruction.jump) + 1;
                return;
            }
        }
        m_run.target = enumeration.savedTarget;
        m_run.enumerations.pop_back();
    }

    void call(const Instruction& instruction) {
        const auto label = m_run.program->labels.find(instruction.text);
        if (label == m_run.program->labels.end())
            fault(instruction, fill(Msg::VivariumMissingLabel, {instruction.text}));
        if (m_run.calls.size() >= kCallDepthLimit) {
            fault(instruction, fill(Msg::VivariumCallsTooDeep, {std::to_string(kCallDepthLimit)}));
        }
        m_run.calls.push_back(m_run.next);
        m_run.next = static_cast<std::size_t>(label->second);
    }

    void execute(const Instruction& instruction) {
        switch (instruction.op) {
            case Op::NotModelled:
                return notModelled(instruction.word, instruction.position);
            case Op::NoEffect:
            case Op::Endi:
            case Op::Loop:
                return;
            case Op::Doif:
                if (!holds(instruction.condition)) jumpPast(instruction);
                return;
            case Op::Else:
                return jumpPast(instruction);
            case Op::Reps: {
                const int rounds = argument(instruction, 0);
                if (rounds <= 0 || instruction.jump < 0) return jumpPast(instruction);
                m_run.repeats.push_back(rounds);
                return;
            }
            case Op::Repe:
                if (m_run.repeats.empty() || instruction.jump < 0) return;
                if (--m_run.repeats.back() > 0) return jumpPast(instruction);
                m_run.repeats.pop_back();
                return;
            case Op::Untl:
                if (instruction.jump >= 0 && !holds(instruction.condition)) jumpPast(instruction);
                return;
            case Op::Ever:
                if (instruction.jump >= 0) jumpPast(instruction);
                return;
            case Op::Enum:
                return enumerate(instruction);
            case Op::Next:
                if (instruction.jump >= 0) nextOfEnumeration(instruction);
                return;
            case Op::Subr:  // a script never falls into a subroutine: it ends there
            case Op::Stop:
            case Op::Endm:
                m_run.ended = true;
                return;
            case Op::Gsub:
                return call(instruction);
            case Op::Retn:
                if (m_run.calls.empty()) fault(instruction, textOf(Msg::VivariumReturnWithoutCall));
                m_run.next = m_run.calls.back();
                m_run.calls.pop_back();
                return;
            case Op::Wait:
                m_run.waitTicks = std::max(1, argument(instruction, 0));
                return;
            case Op::Scrp:
                if (instruction.jump >= 0) {
                    const InstalledScript& script =
                        m_run.program->installs[static_cast<std::size_t>(instruction.jump)];
                    m_world.m_scripts[script.key] = script.program;
                }
                m_run.ended = true;
                return;
            case Op::Scrx:
                m_world.m_scripts.erase({argument(instruction, 0), argument(instruction, 1),
                                         argument(instruction, 2), argument(instruction, 3)});
                return;
            case Op::Setv:
            case Op::Addv:
            case Op::Subv:
            case Op::Mulv:
            case Op::Divv:
            case Op::Modv:
            case Op::Andv:
            case Op::Orrv:
            case Op::Negv:
                return arithmetic(instruction);
            case Op::SetvClas: {
                Object& object = target(instruction);
                const auto clas = static_cast<std::uint32_t>(argument(instruction, 0));
                object.family = static_cast<int>(clas >> 24);
                object.genus = static_cast<int>((clas >> 16) & 0xFF);
                object.species = static_cast<int>((clas >> 8) & 0xFF);
                return;
            }
            case Op::Rndv: {
                if (instruction.arguments.empty()) return;
                int& place = variable(instruction.arguments[0]);
                long long low = argument(instruction, 1);
                long long high = argument(instruction, 2);
                if (low > high) std::swap(low, high);
                const auto span = static_cast<std::uint64_t>(high - low) + 1;
                place = static_cast<int>(low + static_cast<long long>(m_world.random() % span));
                return;
            }
            case Op::Targ:
                m_run.target = argument(instruction, 0);
                return;
            case Op::Rtar: {
                std::vector<int> found;
                const int family = argument(instruction, 0);
                const int genus = argument(instruction, 1);
                const int species = argument(instruction, 2);
                for (const Object& object : objectsLookedThrough(instruction.position)) {
                    if (!object.killed && matches(family, object.family) &&
                        matches(genus, object.genus) && matches(species, object.species))
                        found.push_back(object.id);
                }
                m_run.target = found.empty() ? 0 : found[m_world.random() % found.size()];
                return;
            }
            case Op::NewSimp:
                return create(instruction);
            case Op::NewStandIn:
                // What follows the creation still has its target: a creature's or compound's
                // macro runs on, only what it looks like is not shown.
                notModelled(instruction.word, instruction.position);
                return createStandIn(instruction);
            case Op::Kill:
                return kill(instruction);
            case Op::Edit:
                m_world.m_edit = target(instruction).id;
                return;
            case Op::Mvto:
            case Op::Mvby: {
                Object& object = target(instruction);
                const int x = argument(instruction, 0);
                const int y = argument(instruction, 1);
                object.x =
                    instruction.op == Op::Mvto ? x : wrap(static_cast<long long>(object.x) + x);
                object.y =
                    instruction.op == Op::Mvto ? y : wrap(static_cast<long long>(object.y) + y);
                return;
            }
            case Op::Pose:
                return setPose(instruction);
            case Op::Base:
                target(instruction).base = argument(instruction, 0);
                return;
            case Op::Anim:
                return animate(instruction);
            case Op::Over:
                if (target(instruction).animation.running) m_run.animationWatched = m_run.target;
                return;
            case Op::Tick: {
                Object& object = target(instruction);
                object.timerRate = std::max(0, argument(instruction, 0));
                object.timerCount = object.timerRate;
                return;
            }
            case Op::Bhvr: {
                Object& object = target(instruction);
                object.click = argument(instruction, 0);
                object.touch = argument(instruction, 1);
                return;
            }
            case Op::MesgWrit:
                return message(instruction);
            case Op::Snde:
            case Op::Sndc:
            case Op::Sndl:
                happen(HappeningKind::Sound, instruction.position,
                       nameOf(instruction.word) + " " + instruction.text);
                return;
            case Op::StimWrit:
                return stimulus(instruction);
            case Op::DdePutv:
                return write(std::to_string(argument(instruction, 0)) + "|", instruction);
            case Op::DdePuts:
                return write(instruction.text, instruction);
            case Op::DdeScrp: {
                const auto found =
                    m_world.m_scripts.find({argument(instruction, 0), argument(instruction, 1),
                                            argument(instruction, 2), argument(instruction, 3)});
                if (found != m_world.m_scripts.end()) write(found->second->text, instruction);
                return;
            }
        }
    }

    World& m_world;
    Run& m_run;
    std::string* m_answer;
    mutable Object* m_found = nullptr;
    int m_scratch = 0;
};

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

std::optional<Finding> refusalOf(const MacroText& macro) {
    static const CheckOptions options = objectCheckOptions();
    for (Finding& finding : checkMacro(macro, MacroKind::Macro, options)) {
        if (finding.isError() && finding.code != FindingCode::UnknownLabel) return finding;
    }
    return std::nullopt;
}

std::string World::runMacro(const MacroText& macro, std::shared_ptr<const Origin> origin) {
    if (const auto finding = refusalOf(macro)) {
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
    run.program = compileMacro(macro, std::move(origin));
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

bool World::moveObject(int object, int x, int y) {
    Object* found = findObject(object);
    if (!found) return false;
    found->x = x;
    found->y = y;
    return true;
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
