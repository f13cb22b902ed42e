#include "gamesim/sim_world.h"

#include <optional>

#include "gamelink/link_transport.h"
#include "language/macro_text.h"

namespace vek::sim {

// A macro that writes more is answered with an error, so that every answer reaches the client.
static_assert(vivarium::kAnswerLimit + 1 == kMaxLinkAnswer);

namespace {

// What the game answers a macro it will not run, in the words of its answers.
std::string refusalAnswer(const Finding& finding) {
    const std::string command = "'" + finding.command + "'";
    switch (finding.code) {
        case FindingCode::UnknownCommand:
        case FindingCode::UnknownValue:
        case FindingCode::NotAValue:
        case FindingCode::UpperCase:
            if (finding.command.starts_with(finding.subject)) return "unknown command " + command;
            if (finding.command.starts_with("dde: putv"))
                return "unknown value '" + finding.subject + "' in " + command;
            return "'" + finding.subject + "' is not a number in " + command;
        case FindingCode::TooFewArguments:
        case FindingCode::TooManyArguments:
            return "wrong number of values in " + command;
        default:
            return finding.text.english;
    }
}

constexpr std::string_view kErrorPrefix = "Error: ";

}  // namespace

World::World(std::unique_ptr<vivarium::World> world,
             std::function<void(const vivarium::Happening&)> onFault)
    : m_world(world ? std::move(world) : std::make_unique<vivarium::World>()),
      m_onFault(std::move(onFault)) {
    m_world->setObserver([this](const vivarium::Happening& happening) {
        if (happening.kind != vivarium::HappeningKind::Fault) return;
        if (!m_macroRunning) {
            if (m_onFault) m_onFault(happening);
        } else if (m_firstFault.empty()) {
            m_firstFault = happening.fault.english;
        }
    });
}

std::string World::run(std::string_view macro) {
    const MacroText text(macro);
    const std::lock_guard lock(m_mutex);
    m_macroRunning = true;
    m_firstFault.clear();
    std::optional<Finding> refusal;
    std::string answer = m_world->runMacro(text, nullptr, &refusal);
    m_macroRunning = false;
    if (refusal) return std::string(kErrorPrefix) + refusalAnswer(*refusal);
    // The game runs a macro up to its fault; what it wrote before is lost in the error.
    if (!m_firstFault.empty()) return std::string(kErrorPrefix) + m_firstFault;
    return answer;
}

void World::tick() {
    const std::lock_guard lock(m_mutex);
    m_world->tick();
}

std::size_t World::objectCount() const {
    const std::lock_guard lock(m_mutex);
    return m_world->objects().size();
}

std::size_t World::scriptCount() const {
    const std::lock_guard lock(m_mutex);
    return m_world->scripts().size();
}

WorldClock::WorldClock(World& world, std::chrono::milliseconds interval)
    : m_thread([this, &world, interval] { run(world, interval); }) {}

WorldClock::~WorldClock() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void WorldClock::run(World& world, std::chrono::milliseconds interval) {
    // Ticks are due at fixed times, so that a slow tick does not slow the clock.
    auto due = std::chrono::steady_clock::now() + interval;
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_until(lock, due, [this] { return m_stopping; })) {
        lock.unlock();
        world.tick();
        lock.lock();
        due += interval;
    }
}

}  // namespace vek::sim
