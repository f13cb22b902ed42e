#include "gamelink/creatures.h"

#ifdef _WIN32
#include "app/windows_api.h"
#endif

#include <array>
#include <fstream>

#include <thread>

#include "app/ansi_text.h"
#include "app/file_io.h"
#include "app/process.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "gamelink/app_exec.h"
#include "gamelink/link_choice.h"

namespace vek {

namespace {

// The words of a broken conversation's box; the detail says what broke.
BilingualBox brokenConversationBox(const BilingualText& text) {
    return {{text.english, text.german}, Msg::NoLinkCaption};
}

// The macro up to its first zero, without blanks or line breaks at either end: the game crashes
// on extra blanks.
std::string_view sentPart(std::string_view macro) {
    macro = macro.substr(0, macro.find('\0'));
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = macro.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return macro.substr(first, macro.find_last_not_of(kBlanks) + 1 - first);
}

}  // namespace

TCreatures::TCreatures(GamePathSources sources) : m_sources(std::move(sources)) {
    ChosenLink link = linkFor(m_sources);
    m_transport = std::move(link.transport);
    // A game under Wine is started in its prefix.
    m_winePrefix = std::move(link.winePrefix);
    m_gameStarter = [prefix = m_winePrefix](const GamePaths& paths) {
        return startGameEmbedded(paths, prefix);
    };
    ReadPaths();
}

void TCreatures::ReadPaths() { m_paths = readGamePaths(m_sources); }

void TCreatures::PlayGameSound(const std::string& name) const {
    if (m_soundSink) m_soundSink(gameSoundFile(m_paths, name));
}

void TCreatures::notify(const BilingualBox& box) const {
    if (m_noticeSink) m_noticeSink(box);
}

void TCreatures::PrepareLink() {
    // The game is started in its main directory; one that is not a folder stops the call
    // before anything is sent.
    if (!m_paths.CMainPath.empty()) {
        std::error_code error;
        if (!std::filesystem::is_directory(pathFromUtf8(m_paths.CMainPath), error)) {
            throw inOutError(kPathNotFound);
        }
    }
    if (!m_topic) m_topic = programCommandLine();
}

std::unique_ptr<LinkConversation> TCreatures::connectOnce() {
    return m_transport ? m_transport->connect(kLinkService, *m_topic, m_timeouts.connect) : nullptr;
}

std::unique_ptr<LinkConversation> TCreatures::startGameAndConnect() {
    if (!m_transport || m_transport->connectFailure().status != LinkStatus::Refused) return nullptr;
    // Never a second copy while the one started here still runs; a game that ended may be
    // started again.
    if (!m_startedGame || !m_startedGame()) {
        m_startedGame = m_gameStarter ? m_gameStarter(m_paths) : ProcessProbe();
        if (!m_startedGame) return nullptr;
        m_startedAt = std::chrono::steady_clock::now();
    }
    return awaitStartedGame();
}

std::unique_ptr<LinkConversation> TCreatures::awaitStartedGame() {
    const auto deadline = m_startedAt + m_startWait;
    if (std::chrono::steady_clock::now() >= deadline) return nullptr;
    if (m_busySink) m_busySink(true);
    std::unique_ptr<LinkConversation> conversation;
    while (!(conversation = connectOnce()) &&
           m_transport->connectFailure().status == LinkStatus::Refused &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(m_startPoll);
    if (m_busySink) m_busySink(false);
    return conversation;
}

void TCreatures::notifyNotFound() const {
    // A prefix without the game is not fixed by running it: say where it was looked for.
    if (!m_winePrefix || !m_paths.CMainPath.empty()) return notify(kCreaturesNotFoundBox);
    const std::string prefix = pathToUtf8(*m_winePrefix);
    notify(brokenConversationBox(fill(Msg::CreaturesNotInPrefix, {prefix})));
}

void TCreatures::notifyBroken(const BilingualText& fault) const {
    notify(brokenConversationBox(fill(Msg::ConversationFailed, {fault})));
}

MacroOutcome TCreatures::SendMacro(std::string_view macro) {
    // The buffer: the macro in the game's code page, and the zero.
    std::string buffer = utf8ToAnsi(sentPart(macro));
    if (buffer.size() > kMacroBufferLimit) throw macroTooLongError(buffer.size());
    PrepareLink();
    buffer.push_back('\0');
    std::string answer;
    std::optional<LinkExchange> exchange;
    if (m_transport)
        exchange =
            m_transport->converse(kLinkService, *m_topic, kLinkItem, buffer, m_timeouts, answer);
    if (!exchange) {
        if (auto conversation = startGameAndConnect())
            exchange = conversation->pokeThenRequest(kLinkItem, buffer, m_timeouts, answer);
    }
    if (!exchange) {
        const LinkResult failure =
            m_transport ? m_transport->connectFailure() : LinkResult::refused();
        // A game that is there but silent is told by the outcome alone, without a box.
        if (failure.status == LinkStatus::TimedOut || failure.status == LinkStatus::Broken)
            return failed(failure);
        notifyNotFound();
        return MacroOutcome::failed(MacroOutcome::Kind::NotReached, failure.fault);
    }
    const auto& [poked, requested] = *exchange;
    if (poked.status != LinkStatus::Ok) return failed(poked);
    if (requested.status != LinkStatus::Ok) return failed(requested);
    answer.resize(std::min(answer.find('\0'), answer.size()));
    return MacroOutcome::answered(ansiToUtf8(answer));
}

MacroOutcome TCreatures::failed(const LinkResult& fault) const {
    using Kind = MacroOutcome::Kind;
    switch (fault.status) {
        case LinkStatus::TimedOut: {
            const std::string seconds =
                std::to_string(std::chrono::ceil<std::chrono::seconds>(m_timeouts.request).count());
            return MacroOutcome::failed(Kind::TimedOut, fill(Msg::GameAnswerTimedOut, {seconds}));
        }
        case LinkStatus::Refused:
            return MacroOutcome::failed(Kind::Refused, textOf(Msg::GameRefusedIt));
        case LinkStatus::Broken:
        case LinkStatus::Ok:
            break;
    }
    notifyBroken(fault.fault);
    return MacroOutcome::failed(Kind::Broken, fault.fault);
}

bool TCreatures::testConnection() {
    if (!m_transport) return false;
    // Closed at once: a conversation left open would keep the game from serving anyone else.
    return m_transport->connect(kLinkService, kConnectionTestTopic, m_timeouts.connect) != nullptr;
}

ProcessLaunch gameStart(const GamePaths& paths) {
    ProcessLaunch launch;
    launch.exeName = paths.CMainPath + "creatures.exe";
    launch.params = {"-Embedding"};
    launch.workingDirectory = paths.CMainPath;
    return launch;
}

ProcessProbe startGameEmbedded(const GamePaths& paths,
                               const std::optional<std::filesystem::path>& winePrefix) {
    ProcessLaunch launch = gameStart(paths);
    launch.windowState = WindowState::Minimized;
    launch.withoutFocus = true;
    if (winePrefix) launch.environment = wineEnvironment(*winePrefix);
    Process game;
    if (launchProcess(launch, game) != 0) return {};
    // Within the system's time-out for a program that gets ready for input.
    game.waitUntilReady(std::chrono::seconds(30));
    return game.started() ? game.probe() : ProcessProbe([] { return true; });
}

std::string programCommandLine() {
#ifdef _WIN32
    return GetCommandLineA();
#else
    // The arguments as the system passed them, separated by blanks. A file of /proc tells no
    // size, so it is read to its end.
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string line;
    std::array<char, 4096> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        line.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    while (!line.empty() && line.back() == '\0') line.pop_back();
    for (char& c : line) {
        if (c == '\0') c = ' ';
    }
    return line;
#endif
}

VekError macroTooLongError(std::size_t length) {
    const std::string is = std::to_string(length);
    const std::string most = std::to_string(kMacroBufferLimit);
    return VekError(fill(Msg::MacroTooLong, {is, most}));
}

}  // namespace vek
