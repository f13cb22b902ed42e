#pragma once

#ifndef _WIN32

#include <sys/un.h>

#include <chrono>
#include <filesystem>
#include <string_view>
#include <utility>

namespace vek {

// A file descriptor that closes with its owner.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset();

  private:
    int m_fd;
};

using SocketClock = std::chrono::steady_clock;

enum class Io { Done, TimedOut, Closed, Stopped, Failed };

// Waits until `fd` is ready for `events` (poll's), the deadline passes or the stop pipe fires
// (a `stopFd` below 0: none).
Io waitFor(int fd, short events, SocketClock::time_point deadline, int stopFd = -1);

// Sends all of `bytes` on a non-blocking socket before the deadline.
Io sendAll(int fd, std::string_view bytes, SocketClock::time_point deadline, int stopFd = -1);

// `address` for a local socket at `path`; false when the path is empty or too long for one.
bool fillUnixAddress(const std::filesystem::path& path, sockaddr_un& address);

// The user id of the process at the other end of a local socket; -1 when it cannot be told.
long peerUserId(int fd);

}  // namespace vek

#endif
