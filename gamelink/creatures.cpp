#include "gamelink/creatures.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <array>
#include <fstream>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/app_exec.h"
#include "gamelink/process_launch.h"

namespace vek {

namespace {

constexpr int kPathNotFound = 3;

// The words of a broken conversation's box; the detail says what broke.
BilingualBox brokenConversationBox(const std::string& english, const std::string& german) {
    return {{english, german}, {"Error! No link possible!", "Fehler! Keine Verbindung möglich!"}};
}

}  // namespace

TCreatures::TCreatures(GamePathSources sources)
    : m_sources(std::move(sources)),
      m_transport(platformLinkTransport()),
      m_gameStarter(startGameEmbedded) {
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

std::unique_ptr<LinkConversation> TCreatures::openConversation() {
    if (!m_transport) return nullptr;
    auto conversation = m_transport->connect(kLinkService, *m_topic, m_timeouts.connect);
    if (!conversation && m_gameStarter && m_gameStarter(m_paths)) {
        conversation = m_transport->connect(kLinkService, *m_topic, m_timeouts.connect);
    }
    return conversation;
}

std::string TCreatures::SendMacro(std::string_view macro) {
    if (macro.size() > kMacroBufferLimit) throw macroTooLongError(macro.size());
    PrepareLink();
    auto conversation = openConversation();
    if (!conversation) {
        notify(kCreaturesNotFoundBox);
        return {};
    }
    // The buffer: the macro up to its first zero, and the zero.
    std::string buffer(macro.substr(0, macro.find('\0')));
    buffer.push_back('\0');
    const LinkResult poked = conversation->poke(kLinkItem, buffer, m_timeouts.poke);
    std::string answer;
    const LinkResult requested = conversation->request(kLinkItem, m_timeouts.request, answer);
    conversation.reset();

    const LinkResult& fault = poked.status == LinkStatus::Broken ? poked : requested;
    if (fault.status == LinkStatus::Broken) {
        const std::string english =
            "The conversation with Creatures failed: " + fault.fault.english + ".";
        const std::string german =
            "Die Verbindung mit Creatures ist gescheitert: " + fault.fault.german + ".";
        notify(brokenConversationBox(english, german));
    }
    if (requested.status != LinkStatus::Ok) return {};
    answer.resize(std::min(answer.find('\0'), answer.size()));
    return answer;
}

bool TCreatures::testConnection() {
    if (!m_transport) return false;
    // Closed at once: a conversation left open would keep the game from serving anyone else.
    return m_transport->connect(kLinkService, kConnectionTestTopic, m_timeouts.connect) != nullptr;
}

ProcessLaunch gameStart(const GamePaths& paths) {
    return {paths.CMainPath + "creatures.exe", {"-Embedding"}, paths.CMainPath};
}

bool startGameEmbedded(const GamePaths& paths) {
    ProcessLaunch launch = gameStart(paths);
    launch.windowState = WindowState::Minimized;
    launch.withoutFocus = true;
    launch.waitUntilReady = true;
    return launchProcess(launch) == 0;
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
    return VekError("The macro is " + is + " characters long; at most " + most +
                        " characters can be sent to Creatures.",
                    "Das Makro ist " + is + " Zeichen lang; hoechstens " + most +
                        " Zeichen koennen an Creatures gesendet werden.");
}

}  // namespace vek
