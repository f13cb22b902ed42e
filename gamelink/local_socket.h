#pragma once

#ifndef _WIN32

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamelink/link_transport.h"

namespace vek {

// Where a service of the local link listens: $VEK_LINK_SOCKET when set; otherwise a socket
// named after the service in the user's runtime directory ($XDG_RUNTIME_DIR, or a private
// folder /tmp/vekstudio-UID where that is not set).
std::filesystem::path localServicePath(std::string_view service);

// How long the server keeps a client's place before its first whole frame: every client sends
// one as it connects, so connections that stay silent cannot hold every place for long.
inline constexpr std::chrono::milliseconds kFirstFrameTimeout{2000};

// The client side: each conversation is one connection to the service's socket.
class LocalSocketTransport : public LinkTransport {
  public:
    // The socket of each service where localServicePath says.
    LocalSocketTransport() = default;
    // One socket for every service (tests, a private game).
    explicit LocalSocketTransport(std::filesystem::path socketPath)
        : m_socketPath(std::move(socketPath)) {}

    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds timeout) override;
    LinkResult connectFailure() const override { return m_failure; }
    // Only vivarium-sim serves a local socket.
    bool reachesStandIn() const override { return true; }

  private:
    std::optional<std::filesystem::path> m_socketPath;
    LinkResult m_failure = LinkResult::refused();
};

// A pipe whose signal stops a server; signal() may be called from a signal handler.
class WakePipe {
  public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    void signal() const;
    int readFd() const { return m_read; }

  private:
    int m_read = -1;
    int m_write = -1;
};

struct ServedClient;

// The server side: listens on a socket that only the user may use and serves up to 32 clients
// at once, one frame of each in turn, so that a client that keeps its conversation open never
// keeps the others waiting. A socket file left behind by a server that died is replaced; a live
// server or a file that is not a socket is refused with a clear message.
class LocalSocketServer {
  public:
    explicit LocalSocketServer(std::filesystem::path socketPath);
    ~LocalSocketServer();
    LocalSocketServer(const LocalSocketServer&) = delete;
    LocalSocketServer& operator=(const LocalSocketServer&) = delete;

    const std::filesystem::path& socketPath() const { return m_path; }

    // Serves until `stop` is signalled. A client that stays silent for `idleTimeout` in the
    // middle of a conversation, or does not take its reply for as long, is dropped, and so is one
    // that has not sent a whole first frame within kFirstFrameTimeout (or a shorter idleTimeout).
    void serve(LinkService& service, const WakePipe& stop, std::chrono::milliseconds idleTimeout);

  private:
    void acceptClients(std::vector<std::unique_ptr<ServedClient>>& clients,
                       std::chrono::milliseconds idleTimeout);

    std::filesystem::path m_path;
    int m_listener = -1;
};

}  // namespace vek

#endif
