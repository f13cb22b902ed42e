#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/game_paths.h"
#include "app/messages.h"
#include "app/vek_error.h"
#include "gamelink/link_transport.h"
#include "gamelink/process_launch.h"

namespace vek {

// SendMacro's box when no conversation opens; English in both languages.
inline constexpr BilingualBox kCreaturesNotFoundBox{
    {"Creatures not found! Run Creatures! ", "Creatures not found! Run Creatures! "},
    {"Error! No link possible!", "Error! No link possible!"}};

// The connection test's box.
inline constexpr BilingualBox kNoConnectionBox{
    {"Creatures not found! Run Creatures or continue your work offline!",
     "Creatures wurde nicht gefunden! Starten Sie Creatures oder arbeiten Sie ohne Verbindung "
     "weiter!"},
    {"Error! No link possible!", "Fehler! Keine Verbindung möglich!"}};

// The connection test's topic.
inline constexpr std::string_view kConnectionTestTopic = "VEK.EXE";

// The main window's one component for the game: its nine directories, its sounds, and the one
// link to the running game.
class TCreatures final : public GameInstallation {
  public:
    using SoundSink = std::function<void(const std::filesystem::path&)>;
    // Shows one of the link's messages in an OK box (the caller picks the language).
    using NoticeSink = std::function<void(const BilingualBox&)>;
    // Starts the game that the paths name; true when the start succeeded.
    using GameStarter = std::function<bool(const GamePaths&)>;

    explicit TCreatures(GamePathSources sources = {});

    void ReadPaths() override;
    const GamePaths& paths() const override { return m_paths; }
    void setPaths(GamePaths paths) { m_paths = std::move(paths); }

    // Silent where no sound output was installed.
    void PlayGameSound(const std::string& name) const override;
    void setSoundSink(SoundSink sink) { m_soundSink = std::move(sink); }

    // Sends one macro to the running game in a conversation of its own (connect, poke,
    // request, disconnect) and returns the game's answer up to its first zero. When no
    // conversation opens, the game is started once and, if that fails, the "not found" box is
    // shown and the answer is empty. A time-out or refusal gives an empty answer silently; a
    // conversation that breaks off is reported in a box. Throws VekError for a macro longer than
    // the buffer (nothing is sent) and for a main directory that is not a usable folder.
    std::string SendMacro(std::string_view macro);

    // Opens a conversation on the test's topic and closes it at once; false when none opens.
    // The game is not started for it.
    bool testConnection();

    // The parts of the link, replaceable for tests and other platforms.
    void setLinkTransport(std::shared_ptr<LinkTransport> transport) {
        m_transport = std::move(transport);
    }
    void setLinkTimeouts(LinkTimeouts timeouts) { m_timeouts = timeouts; }
    void setGameStarter(GameStarter starter) { m_gameStarter = std::move(starter); }
    void setNoticeSink(NoticeSink sink) { m_noticeSink = std::move(sink); }
    // The conversation's topic; by default the program's own command line.
    void setLinkTopic(std::string topic) { m_topic = std::move(topic); }

  private:
    void PrepareLink();
    std::unique_ptr<LinkConversation> openConversation();
    void notify(const BilingualBox& box) const;

    GamePathSources m_sources;
    GamePaths m_paths;
    SoundSink m_soundSink;

    std::shared_ptr<LinkTransport> m_transport;
    LinkTimeouts m_timeouts;
    GameStarter m_gameStarter;
    NoticeSink m_noticeSink;
    std::optional<std::string> m_topic;
};

// The game's start: CMainPath + "creatures.exe -Embedding", in the main directory.
ProcessLaunch gameStart(const GamePaths& paths);

// The platform's start of a game that is not running: the game's start, minimised and without
// taking the focus.
bool startGameEmbedded(const GamePaths& paths);

// The program's command line as the system passed it.
std::string programCommandLine();

// SendMacro's refusal of a macro longer than the buffer.
VekError macroTooLongError(std::size_t length);

}  // namespace vek
