#ifndef _WIN32

#include "app/hand_over.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/private_folder.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

// The socket's file, when it is a socket of this user; another user's is never used.
std::optional<struct stat> ownSocket(const fs::path& socket) {
    struct stat info {};
    if (::lstat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != ::getuid())
        return std::nullopt;
    return info;
}

UniqueFd localSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

bool connectTo(int fd, const sockaddr_un& address) {
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// Connects before the deadline; a full backlog means a busy program, which is waited for.
bool connectBefore(int fd, const sockaddr_un& address, SocketClock::time_point deadline) {
    while (!connectTo(fd, address)) {
        if (errno == EINTR) continue;
        if (errno != EAGAIN || SocketClock::now() >= deadline) return false;
        ::usleep(10000);
    }
    return true;
}

// Whether a program listens at the address (a full backlog counts: it is busy, not gone).
bool someoneListens(const sockaddr_un& address) {
    const UniqueFd probe = localSocket();
    return connectTo(probe.get(), address) || errno == EAGAIN;
}

// The answer of the running program, read before the deadline.
bool taken(int fd, SocketClock::time_point deadline) {
    std::string answer;
    char buffer[16];
    while (answer.size() < kHandOverTaken.size()) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && errno == EAGAIN) {
            if (waitFor(fd, POLLIN, deadline) != Io::Done) return false;
        } else {
            return false;
        }
    }
    return answer == kHandOverTaken;
}

}  // namespace

std::string currentDisplay() {
    for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        if (const char* display = std::getenv(variable); display && *display) return display;
    }
    return {};
}

std::string handOverSocketName(std::string_view display) {
    std::string place(display.empty() ? "none" : display);
    for (char& c : place) {
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
        if (!plain) c = '_';
    }
    return "vekstudio-" + place;
}

fs::path handOverSocketPath() {
    return privateRuntimeDirectory() / handOverSocketName(currentDisplay());
}

bool handOverFiles(const fs::path& socket, const std::vector<std::string>& files,
                   std::chrono::milliseconds timeout) {
    sockaddr_un address;
    if (!fillUnixAddress(socket, address) || !ownSocket(socket)) return false;
    const auto deadline = SocketClock::now() + timeout;
    const UniqueFd connection = localSocket();
    if (!connectBefore(connection.get(), address, deadline)) return false;
    // The folder is the user's alone; should a socket of another user's program still sit
    // there, it learns nothing.
    if (peerUserId(connection.get()) != static_cast<long>(::getuid())) return false;
    return sendAll(connection.get(), encodeHandOver(files), deadline) == Io::Done &&
           taken(connection.get(), deadline);
}

HandOverReader::State HandOverPeer::receive() {
    char buffer[65536];
    while (m_reader.state() == HandOverReader::State::Incomplete) {
        const ssize_t got = ::recv(m_socket.get(), buffer, sizeof buffer, 0);
        if (got > 0) {
            m_reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && errno == EAGAIN) {
            return HandOverReader::State::Incomplete;
        } else {
            return HandOverReader::State::Refused;
        }
    }
    return m_reader.state();
}

void HandOverPeer::acknowledge() {
    [[maybe_unused]] const ssize_t sent =
        ::send(m_socket.get(), kHandOverTaken.data(), kHandOverTaken.size(), MSG_NOSIGNAL);
}

HandOverServer::~HandOverServer() {
    if (m_listener.get() < 0) return;
    m_listener.reset();
    // Only the socket this server made: a later program may have taken the name since.
    const std::optional<struct stat> there = ownSocket(m_socket);
    if (there && there->st_ino == m_inode) ::unlink(m_socket.c_str());
}

bool HandOverServer::listen(const fs::path& socket) {
    sockaddr_un address;
    if (m_listener.get() >= 0 || !fillUnixAddress(socket, address)) return false;
    UniqueFd listener = localSocket();
    // The socket file takes this mode when it is bound: the user's alone.
    ::fchmod(listener.get(), 0600);
    const auto bindIt = [&] {
        return ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address),
                      sizeof address) == 0;
    };
    if (!bindIt()) {
        // Only a socket of this user that nobody serves any more is replaced.
        if (errno != EADDRINUSE || !ownSocket(socket) || someoneListens(address)) return false;
        ::unlink(socket.c_str());
        if (!bindIt()) return false;
    }
    const std::optional<struct stat> bound = ownSocket(socket);
    if (!bound || ::listen(listener.get(), 16) != 0) {
        if (bound) ::unlink(socket.c_str());
        return false;
    }
    m_listener = std::move(listener);
    m_socket = socket;
    m_inode = bound->st_ino;
    return true;
}

HandOverServer::Accepted HandOverServer::accept() {
    while (true) {
        UniqueFd client(
            ::accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (client.get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return {std::nullopt, errno != EAGAIN};
        }
        if (peerUserId(client.get()) == static_cast<long>(::getuid()))
            return {HandOverPeer(std::move(client)), false};
    }
}

}  // namespace vek

#endif
