#ifndef _WIN32

#include "app/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace vek {

void UniqueFd::reset() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

Io waitFor(int fd, short events, SocketClock::time_point deadline, int stopFd) {
    while (true) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - SocketClock::now()).count();
        if (left <= 0) return Io::TimedOut;
        pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
        const int ready =
            ::poll(fds, stopFd >= 0 ? 2 : 1, static_cast<int>(std::min<long long>(left, 60000)));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Io::Failed;
        }
        if (stopFd >= 0 && (fds[1].revents & POLLIN)) return Io::Stopped;
        if (fds[0].revents != 0) return Io::Done;
    }
}

Io sendAll(int fd, std::string_view bytes, SocketClock::time_point deadline, int stopFd) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const Io ready = waitFor(fd, POLLOUT, deadline, stopFd);
            if (ready != Io::Done) return ready;
            continue;
        }
        return (sent < 0 && (errno == EPIPE || errno == ECONNRESET)) ? Io::Closed : Io::Failed;
    }
    return Io::Done;
}

bool fillUnixAddress(const std::filesystem::path& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.empty() || text.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, text.data(), text.size());
    return true;
}

long peerUserId(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return -1;
    return static_cast<long>(credentials.uid);
}

}  // namespace vek

#endif
