#include "vivarium/session.h"

#include "app/file_io.h"
#include "app/scope_exit.h"
#include "app/text_names.h"
#include "language/macro_text.h"
#include "vivarium/scene.h"
#include "vivarium/world_file.h"

namespace vek::vivarium {

Session::Session(std::filesystem::path imageDirectory, std::uint64_t seed)
    : m_installation(std::move(imageDirectory)), m_seed(seed) {
    makeWorld();
}

void Session::makeWorld() {
    m_world = m_installation.makeWorld(m_seed);
    ++m_worldNumber;
    m_world->setObserver([this](const Happening& happening) { m_log.push_back(happening); });
    m_world->setCommandHook(
        [this](const Run& run, const Instruction&) { return m_debugger.allows(run); });
    m_debugger.goOn(0);
}

void Session::setChemicalNames(std::vector<std::string> names) {
    m_world->setChemicalNames(names);
    m_installation.setChemicalNames(std::move(names));
}

void Session::changed() const {
    if (m_changed) m_changed();
}

std::string Session::runMacro(std::string_view macro) {
    return runMacro(MacroText(macro), nullptr);
}

std::string Session::runMacro(const MacroText& macro, std::shared_ptr<const Origin> origin) {
    std::string answer = runLogged(macro, std::move(origin));
    changed();
    return answer;
}

std::string Session::runLogged(const MacroText& macro, std::shared_ptr<const Origin> origin) {
    const std::size_t logged = m_log.size();
    attachDebugger();
    std::string answer = m_world->runMacro(macro, std::move(origin));
    // A macro that ran into a fault is answered as the game answers one: "Error: ...".
    if (const Happening* fault = firstFaultSince(logged)) return "Error: " + fault->fault.english;
    return answer;
}

const Happening* Session::firstFaultSince(std::size_t logged) const {
    for (std::size_t k = logged; k < m_log.size(); ++k) {
        if (m_log[k].kind == HappeningKind::Fault) return &m_log[k];
    }
    return nullptr;
}

void Session::inject(std::span<const SentMacro> macros) {
    attachDebugger();
    for (const SentMacro& sent : macros) m_world->runMacro(sent.macro, sent.origin);
    changed();
}

void Session::tick() {
    m_debugger.goOn(m_world->suspendedObject());
    attachDebugger();
    m_world->tick();
    changed();
}

void Session::step(int object) {
    const int held = m_world->suspendedObject();
    m_debugger.goOn(held, held != 0 ? held : object);
    attachDebugger();
    m_world->tick();
    m_debugger.goOn(0);
    changed();
}

std::optional<Stop> Session::stop() const {
    if (!m_world->suspended()) return std::nullopt;
    return m_debugger.lastStop();
}

void Session::reset() {
    m_log.clear();
    makeWorld();
    changed();
}

void Session::saveWorld(const std::filesystem::path& file) const { saveWorldFile(*m_world, file); }

void Session::loadWorld(const std::filesystem::path& file) {
    const std::string text = readWorldFile(file);
    m_log.clear();
    makeWorld();
    // What the file made before a refused line is shown too.
    const ScopeExit show([this] { changed(); });
    const auto origin = std::make_shared<const Origin>(
        Origin{pathToUtf8(file.filename()), textOf(Msg::VivariumMacroName)});
    // A refused line is told in the user's language, not as the game's English answer.
    runWorldText(text, file,
                 [this, &origin](const MacroText& macro) -> std::optional<BilingualText> {
                     const std::size_t logged = m_log.size();
                     m_world->runMacro(macro, origin);
                     if (const Happening* fault = firstFaultSince(logged)) return fault->fault;
                     return std::nullopt;
                 });
}

int Session::click(int x, int y, int event) {
    const int object = objectAt(*m_world, x, y);
    if (object != 0) m_world->sendEvent(object, event);
    return object;
}

int Session::pickUp(int x, int y) {
    const int object = objectAt(*m_world, x, y);
    if (object != 0) m_world->sendEvent(object, kEventPickup);
    return object;
}

void Session::drop(int object, int left, int top) {
    if (!m_world->dropObject(object, left, top)) return;
    changed();
}

int Session::makeEditObject(int x, int y) {
    const int object = objectAt(*m_world, x, y);
    if (object != 0) m_world->setEditObject(object);
    return object;
}

int Session::placeCreature(int x, int y) {
    const int creature = m_world->placeCreature(x, y);
    changed();
    return creature;
}

int Session::orderCreature(CreatureAction action, int x, int y) {
    int object = action == CreatureAction::Drop ? 0 : objectAt(*m_world, x, y);
    if (object == 0 || object == m_world->creature().id)
        object = objectForCreature(*m_world, action);
    if (!m_world->orderCreature(action, object)) return 0;
    changed();
    return object;
}

}  // namespace vek::vivarium
