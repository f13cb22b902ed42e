#pragma once

#ifndef _WIN32

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/process.h"
#include "gamelink/bridge_frame.h"
#include "gamelink/link_transport.h"

namespace vek {

// One build of vek-bridge.exe and the Wine loader that runs it.
struct BridgeProgram {
    std::filesystem::path loader;  // wine or wine64
    std::filesystem::path exe;
};

// The bridge builds beside the program ($VEK_BRIDGE_DIR, else the program's folder) in the
// order they are tried, 32 bits first: wine/i686/vek-bridge.exe, wine/x86_64/vek-bridge.exe.
// Only builds that are there and whose loader is installed.
std::vector<BridgeProgram> installedBridges(const std::filesystem::path& programFolder);

// The link to a game under Wine: vek-bridge.exe runs in the game's prefix and holds the DDE
// conversations; this side sends it one frame a step. The bridge is started on first use and
// kept; one that dies is started once more, then the link reports it in plain words.
class WineBridgeTransport : public LinkTransport {
  public:
    WineBridgeTransport(std::filesystem::path prefix, std::vector<BridgeProgram> bridges);
    ~WineBridgeTransport() override;
    WineBridgeTransport(const WineBridgeTransport&) = delete;
    WineBridgeTransport& operator=(const WineBridgeTransport&) = delete;

    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds timeout) override;
    // Connect, poke, request and disconnect in one write, the three replies read after it.
    std::optional<LinkExchange> converse(std::string_view service, std::string_view topic,
                                         std::string_view item, std::span<const char> data,
                                         const LinkTimeouts& timeouts,
                                         std::string& answer) override;
    LinkResult connectFailure() const override { return m_failure; }
    void setSlowStartSink(std::function<void(bool)> sink) override {
        m_slowStart = std::move(sink);
    }

    // One step of a conversation: the bridge's reply, or the failure in the result.
    LinkResult exchange(const BridgeFrame& request, BridgeFrame& reply);
    // Frames the bridge answers in order, sent in one write; false (the bridge stopped) when
    // it is gone.
    bool send(std::string_view frames);
    // The next reply, waited for the step's time-out and the grace Wine needs beyond it.
    LinkResult receive(std::chrono::milliseconds timeout, BridgeFrame& reply);
    // The build that answers ("i686" or "x86_64"); empty before the first start.
    const std::string& build() const { return m_build; }

  private:
    bool ensureRunning();
    bool start(const BridgeProgram& program);
    void stop();

    std::filesystem::path m_prefix;
    std::vector<BridgeProgram> m_bridges;
    Process m_bridge;
    BridgeFrameReader m_reader;
    std::string m_build;
    int m_starts = 0;
    LinkResult m_failure = LinkResult::refused();
    std::function<void(bool)> m_slowStart;
};

}  // namespace vek

#endif
