#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/game_paths.h"
#include "app/macro_outcome.h"
#include "app/messages.h"
#include "app/process.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "gamelink/link_transport.h"

namespace vek {

// SendMacro's box when no conversation opens; English in both languages.
inline constexpr BilingualBox kCreaturesNotFoundBox{Msg::CreaturesNotFoundRun,
                                                    Msg::NoLinkGameCaption};

// The connection test's box.
inline constexpr BilingualBox kNoConnectionBox{Msg::CreaturesNotFoundOffline, Msg::NoLinkCaption};

// How long a game that SendMacro started may take to register its service.
inline constexpr std::chrono::milliseconds kGameStartWait{30000};

// The connection test's topic.
inline constexpr std::string_view kConnectionTestTopic = "VEK.EXE";

// The main window's one component for the game: its nine directories, its sounds, and the one
// link to the running game.
class TCreatures final : public GameInstallation {
  public:
    using SoundSink = std::function<void(const std::filesystem::path&)>;
    // Shows one of the link's messages in an OK box (the caller picks the language).
    using NoticeSink = std::function<void(const BilingualBox&)>;
    // Starts the game that the paths name; the started game's probe, empty when it failed.
    using GameStarter = std::function<ProcessProbe(const GamePaths&)>;
    // Told true while SendMacro waits for a game it started, false when it stops waiting.
    using BusySink = std::function<void(bool)>;

    explicit TCreatures(GamePathSources sources = {});

    void ReadPaths() override;
    const GamePaths& paths() const override { return m_paths; }
    void setPaths(GamePaths paths) { m_paths = std::move(paths); }

    // Silent where no sound output was installed.
    void PlayGameSound(const std::string& name) const override;
    void setSoundSink(SoundSink sink) { m_soundSink = std::move(sink); }

    // Sends one macro to the running game in a conversation of its own (connect, poke,
    // request, disconnect) and returns what became of it: the game's answer up to its first
    // zero, or why there is none. The text is the game's code page (Windows-1252) on the link
    // and UTF-8 here. When no conversation opens, the game is started once (never while one it
    // started still runs) and waited for up to kGameStartWait; if it does not answer, the "not
    // found" box is shown. A time-out or refusal shows nothing here (the fault says it); a
    // conversation or link that breaks is reported in a box of its own. Throws VekError for a
    // macro longer than the buffer (nothing is sent) and for a main directory that is not a
    // usable folder.
    MacroOutcome SendMacro(std::string_view macro);
    const LinkTimeouts& linkTimeouts() const { return m_timeouts; }

    // Opens a conversation on the test's topic and closes it at once; false when none opens.
    // The game is not started for it.
    bool testConnection();

    // Whether the link was chosen to reach the game in a Wine prefix, through the bridge.
    bool reachesGameUnderWine() const { return m_winePrefix.has_value(); }
    bool reachesStandIn() const { return m_transport && m_transport->reachesStandIn(); }

    // The parts of the link, replaceable for tests and other platforms.
    std::shared_ptr<LinkTransport> linkTransport() const { return m_transport; }
    void setLinkTransport(std::shared_ptr<LinkTransport> transport) {
        m_transport = std::move(transport);
        if (m_transport && m_slowLinkSink) m_transport->setSlowStartSink(m_slowLinkSink);
    }
    void setLinkTimeouts(LinkTimeouts timeouts) { m_timeouts = timeouts; }
    void setGameStarter(GameStarter starter) { m_gameStarter = std::move(starter); }
    void setNoticeSink(NoticeSink sink) { m_noticeSink = std::move(sink); }
    void setBusySink(BusySink sink) { m_busySink = std::move(sink); }
    // Told true while the link itself is slow to open (Wine and its bridge starting), false
    // when it is open.
    void setSlowLinkSink(BusySink sink) {
        m_slowLinkSink = std::move(sink);
        if (m_transport) m_transport->setSlowStartSink(m_slowLinkSink);
    }
    // How often and how long a game that was started is asked for its service.
    void setGameStartWait(std::chrono::milliseconds wait, std::chrono::milliseconds poll) {
        m_startWait = wait;
        m_startPoll = poll;
    }
    // The conversation's topic; by default the program's own command line.
    void setLinkTopic(std::string topic) { m_topic = std::move(topic); }

  private:
    void PrepareLink();
    std::unique_ptr<LinkConversation> connectOnce();
    // After a connect the game refused: starts it and waits for its service.
    std::unique_ptr<LinkConversation> startGameAndConnect();
    std::unique_ptr<LinkConversation> awaitStartedGame();
    void notify(const BilingualBox& box) const;
    void notifyNotFound() const;
    void notifyBroken(const BilingualText& fault) const;
    // The outcome of a conversation that failed; a broken one is reported in its box.
    MacroOutcome failed(const LinkResult& fault) const;

    GamePathSources m_sources;
    GamePaths m_paths;
    SoundSink m_soundSink;

    std::shared_ptr<LinkTransport> m_transport;
    std::optional<std::filesystem::path> m_winePrefix;  // where the bridge reaches the game
    LinkTimeouts m_timeouts;
    GameStarter m_gameStarter;
    NoticeSink m_noticeSink;
    BusySink m_busySink;
    BusySink m_slowLinkSink;
    std::optional<std::string> m_topic;

    // The game this component started, while it may still be coming up.
    ProcessProbe m_startedGame;
    std::chrono::steady_clock::time_point m_startedAt;
    std::chrono::milliseconds m_startWait = kGameStartWait;
    std::chrono::milliseconds m_startPoll{250};
};

// The game's start: CMainPath + "creatures.exe -Embedding", in the main directory.
ProcessLaunch gameStart(const GamePaths& paths);

// The platform's start of a game that is not running: the game's start, minimised and without
// taking the focus, in the Wine prefix when one is given. Empty when it could not start.
ProcessProbe startGameEmbedded(const GamePaths& paths,
                               const std::optional<std::filesystem::path>& winePrefix = {});

// The program's command line as the system passed it.
std::string programCommandLine();

// SendMacro's refusal of a macro longer than the buffer.
VekError macroTooLongError(std::size_t length);

}  // namespace vek
