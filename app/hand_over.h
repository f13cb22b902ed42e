#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/hand_over_message.h"

#ifndef _WIN32
#include "app/socket_io.h"
#else
#include <memory>
#endif

namespace vek {

// One running program per user and display (on Windows: per user and session): the first start
// listens on a channel only the user can open, a local socket in the user's private runtime
// folder or a named pipe; a later start hands its files to it (`hand_over_message.h`) and ends
// there.

// Later starts served at once; more wait until one of them is done.
inline constexpr std::size_t kMaxHandOverConnections = 8;
// The time a later start has to send its whole message.
inline constexpr std::chrono::seconds kHandOverSendTime{5};
// What the running program answers once it has taken the files.
inline constexpr std::string_view kHandOverTaken = "ok\n";

// The channel for this user (and display or session); on POSIX in the user's private runtime
// folder (made as needed). Throws VekError when none can be had.
std::filesystem::path handOverSocketPath();

// Hands `files` (absolute paths) to the program listening at `socket`: true once it has taken
// them. Nothing is sent to a channel or a program of another user.
bool handOverFiles(const std::filesystem::path& socket, const std::vector<std::string>& files,
                   std::chrono::milliseconds timeout);

#ifdef _WIN32
// The pipe's name for a user's SID (its text form) and a session: \\.\pipe\vekstudio-SID-SESSION.
std::filesystem::path handOverPipeName(std::string_view userSid, unsigned long session);
// The text form of this process's user's SID; empty where it cannot be had.
std::string currentUserSid();

// The running program's end of the pipe. A thread of its own serves the later starts one after
// another; each one's files reach `received` on that thread, after the start has its answer.
class HandOverServer {
  public:
    using Received = std::function<void(std::vector<std::string> files)>;

    HandOverServer();
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Takes the pipe, open to this user alone, and starts serving. False where a program (of
    // any user) holds the name already, or where it cannot be made.
    bool listen(const std::filesystem::path& pipe, Received received);

  private:
    struct Serving;
    std::unique_ptr<Serving> m_serving;
};
#else
// The display this process shows on: $WAYLAND_DISPLAY, else $DISPLAY; empty on none.
std::string currentDisplay();
// The socket's name for a display; it never leaves its folder.
std::string handOverSocketName(std::string_view display);
// A later start's connection, its message read as it arrives.
class HandOverPeer {
  public:
    explicit HandOverPeer(UniqueFd socket) : m_socket(std::move(socket)) {}

    int fd() const { return m_socket.get(); }
    // Reads what has arrived without waiting. A connection that ends, fails or sends more than
    // a message before the end is Refused.
    HandOverReader::State receive();
    const std::vector<std::string>& files() const { return m_reader.files(); }
    // Tells the later start that its files are taken (it may have gone: nothing waits).
    void acknowledge();

  private:
    UniqueFd m_socket;
    HandOverReader m_reader;
};

// The running program's end of the channel.
class HandOverServer {
  public:
    HandOverServer() = default;
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Takes the socket (mode 0600). False where a live program serves it, where what lies
    // there is no socket of this user (it is left alone), or where it cannot be bound. A
    // socket left behind by a program that ended is replaced.
    bool listen(const std::filesystem::path& socket);
    int fd() const { return m_listener.get(); }

    struct Accepted {
        std::optional<HandOverPeer> peer;  // none: nobody waits, or accepting failed
        bool failed = false;               // accepting failed (too many files open...)
    };
    // The next later start that waits. A start of another user is turned away. The socket stays
    // whatever happens.
    Accepted accept();

  private:
    UniqueFd m_listener;
    std::filesystem::path m_socket;
    ino_t m_inode = 0;
};
#endif

}  // namespace vek
