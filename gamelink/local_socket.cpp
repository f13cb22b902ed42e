#ifndef _WIN32

#include "gamelink/local_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "app/file_io.h"
#include "app/private_folder.h"
#include "app/socket_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "gamelink/link_frame.h"

namespace vek {

namespace fs = std::filesystem;
using Clock = SocketClock;

namespace {

std::string systemText(int error) { return std::strerror(error); }

// Reads until the reader holds a whole frame. A garbled or oversized frame throws VekError.
Io receiveFrame(int fd, FrameReader& reader, Clock::time_point deadline, LinkFrame& frame,
                int stopFd = -1) {
    char buffer[65536];
    while (true) {
        if (auto next = reader.next()) {
            frame = std::move(*next);
            return Io::Done;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
            continue;
        }
        if (got == 0) return Io::Closed;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            const Io ready = waitFor(fd, POLLIN, deadline, stopFd);
            if (ready != Io::Done) return ready;
            continue;
        }
        return errno == ECONNRESET ? Io::Closed : Io::Failed;
    }
}

const BilingualText kPeerClosed = textOf(Msg::ReasonPeerClosed);

// The socket's error in plain words, in both languages.
BilingualText socketFailed() {
    const std::string why = systemText(errno);
    return fill(Msg::ReasonSocketFailed, {why});
}

class LocalConversation : public LinkConversation {
  public:
    LocalConversation(UniqueFd socket, std::string topic)
        : m_socket(std::move(socket)), m_topic(std::move(topic)), m_reader(kMaxLinkAnswer) {}

    // Sends the Connect frame and waits for the service to take the topic.
    LinkResult open(std::chrono::milliseconds timeout) {
        LinkFrame reply;
        const LinkResult result =
            exchange({FrameKind::Connect, m_topic, {}, {}}, timeout, reply, false);
        if (result.status != LinkStatus::Ok) return result;
        return reply.kind == FrameKind::Ack ? LinkResult::ok() : LinkResult::refused();
    }

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds timeout) override {
        LinkFrame reply;
        LinkResult result = exchange(
            {FrameKind::Poke, m_topic, std::string(item), std::string(data.data(), data.size())},
            timeout, reply, false);
        if (result.status != LinkStatus::Ok) return result;
        if (reply.kind == FrameKind::Ack) return LinkResult::ok();
        if (reply.kind == FrameKind::Refused) return LinkResult::refused();
        return breakOff(textOf(Msg::ReasonPokeNotAcknowledged));
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                       std::string& answer) override {
        LinkFrame reply;
        // A poke acknowledged after its time-out may still come in first; it is passed over.
        LinkResult result =
            exchange({FrameKind::Request, m_topic, std::string(item), {}}, timeout, reply, true);
        if (result.status != LinkStatus::Ok) return result;
        if (reply.kind == FrameKind::Refused) return LinkResult::refused();
        if (reply.kind != FrameKind::Data) return breakOff(textOf(Msg::ReasonRequestNotAnswered));
        answer = std::move(reply.data);
        return LinkResult::ok();
    }

  private:
    LinkResult breakOff(BilingualText why) {
        m_broken = why;
        m_socket.reset();
        return LinkResult::broken(std::move(why));
    }

    LinkResult exchange(const LinkFrame& frame, std::chrono::milliseconds timeout, LinkFrame& reply,
                        bool skipAcks) {
        if (!m_broken.english.empty()) return LinkResult::broken(m_broken);
        const auto deadline = Clock::now() + timeout;
        const Io sent = sendAll(m_socket.get(), encodeFrame(frame), deadline);
        if (sent == Io::TimedOut) return LinkResult::timedOut();
        if (sent == Io::Closed) return breakOff(kPeerClosed);
        if (sent != Io::Done) return breakOff(socketFailed());
        while (true) {
            Io received;
            try {
                received = receiveFrame(m_socket.get(), m_reader, deadline, reply);
            } catch (const VekError& error) {
                return breakOff(fill(Msg::ReasonCreaturesSent,
                                     {BilingualText{std::string(error.text(kLanguageEnglish)),
                                                    std::string(error.text(kLanguageGerman))}}));
            }
            if (received == Io::TimedOut) return LinkResult::timedOut();
            if (received == Io::Closed) return breakOff(kPeerClosed);
            if (received != Io::Done) return breakOff(socketFailed());
            if (skipAcks && reply.kind == FrameKind::Ack) continue;
            return LinkResult::ok();
        }
    }

    UniqueFd m_socket;
    std::string m_topic;
    FrameReader m_reader;
    BilingualText m_broken;
};

VekError cannotListen(const fs::path& path) {
    const std::string why = systemText(errno);
    return VekError(fill(Msg::CannotListenAtSocket, {why}), ErrorDetail::ofFile(path));
}

// Why no game was reached at `path`, from connect's error and what lies there.
BilingualText notReachedAt(const fs::path& path, int error) {
    const BilingualText socket = untranslated(path.string());
    const auto at = [&socket](BilingualText why) {
        return fill(Msg::SocketNotReached, {socket, std::move(why)});
    };
    struct stat info {};
    const bool there = ::lstat(path.c_str(), &info) == 0;
    if (error == ENAMETOOLONG) return at(textOf(Msg::ReasonSocketPathTooLong));
    if (!there && error == ENOENT) return at(textOf(Msg::ReasonNoGameServes));
    if (there && !S_ISSOCK(info.st_mode)) return at(textOf(Msg::ReasonNotASocket));
    if (there && info.st_uid != ::getuid())
        return at(fill(Msg::ReasonOtherUser, {std::to_string(info.st_uid)}));
    if (error == ECONNREFUSED) return at(textOf(Msg::ReasonNobodyListens));
    return at(systemReason(error));
}

}  // namespace

fs::path localServicePath(std::string_view service) {
    if (const char* fixed = std::getenv("VEK_LINK_SOCKET"); fixed && *fixed) return fixed;
    return runtimeDirectory() / std::string(service);
}

std::unique_ptr<LinkConversation> LocalSocketTransport::connect(std::string_view service,
                                                                std::string_view topic,
                                                                std::chrono::milliseconds timeout) {
    const fs::path path = m_socketPath ? *m_socketPath : localServicePath(service);
    m_failure = LinkResult::refused();
    // The client trusts the runtime folder no more than the server does; a folder that is not
    // there yet only means that no game serves.
    std::error_code missing;
    if (path.parent_path() == runtimeDirectory() && fs::exists(path.parent_path(), missing))
        checkPrivateDirectory(path.parent_path());
    sockaddr_un address;
    if (!fillUnixAddress(path, address)) {
        m_failure.fault = notReachedAt(path, ENAMETOOLONG);
        return nullptr;
    }
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0) {
        m_failure.fault = notReachedAt(path, errno);
        return nullptr;
    }
    const auto deadline = Clock::now() + timeout;
    while (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
           0) {
        if (errno == EINTR) continue;
        // A full backlog: the server is busy with someone else; try again shortly.
        if (errno != EAGAIN || Clock::now() >= deadline) {
            m_failure.fault = notReachedAt(path, errno);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto conversation = std::make_unique<LocalConversation>(
        std::move(socket), std::string(topic.substr(0, kMaxFrameName)));
    // A game that took the connection but does not take the topic in time is there, but
    // stopped: that is a time-out, not a missing game.
    const LinkResult opened = conversation->open(
        std::max(std::chrono::milliseconds(0),
                 std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now())));
    if (opened.status == LinkStatus::Ok) return conversation;
    if (opened.status == LinkStatus::TimedOut) m_failure = opened;
    if (opened.status == LinkStatus::Broken) m_failure.fault = opened.fault;
    if (m_failure.fault.english.empty()) {
        m_failure.fault = fill(Msg::ReasonTopicRefused, {path.string()});
    }
    return nullptr;
}

std::shared_ptr<LinkTransport> platformLinkTransport() {
    return std::make_shared<LocalSocketTransport>();
}

WakePipe::WakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw VekError(fill(Msg::CannotCreatePipe, {systemText(errno)}));
    m_read = fds[0];
    m_write = fds[1];
}

WakePipe::~WakePipe() {
    ::close(m_read);
    ::close(m_write);
}

void WakePipe::signal() const {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(m_write, &byte, 1);
}

LocalSocketServer::LocalSocketServer(fs::path socketPath) : m_path(std::move(socketPath)) {
    sockaddr_un address;
    if (!fillUnixAddress(m_path, address)) {
        const std::string most = std::to_string(sizeof address.sun_path - 1);
        throw VekError(fill(Msg::SocketPathLength, {most}), ErrorDetail::ofFile(m_path));
    }
    const fs::path folder = m_path.parent_path();
    std::error_code error;
    if (!folder.empty() && (!fs::exists(folder, error) || folder == runtimeDirectory()))
        ensurePrivateDirectory(folder);
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (listener.get() < 0) {
        throw VekError(fill(Msg::CannotCreateSocket, {systemText(errno)}));
    }
    // The socket file takes this mode when it is bound: the user's alone.
    ::fchmod(listener.get(), 0600);
    auto bindIt = [&] {
        return ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    };
    if (bindIt() != 0) {
        if (errno != EADDRINUSE) throw cannotListen(m_path);
        struct stat info {};
        if (::lstat(m_path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
            throw VekError(Msg::ReasonPathNotSocket, ErrorDetail::ofFile(m_path));
        }
        UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
            0) {
            throw VekError(Msg::ReasonSocketServed, ErrorDetail::ofFile(m_path));
        }
        // Nobody listens: the file was left behind by a server that died.
        ::unlink(m_path.c_str());
        if (bindIt() != 0) throw cannotListen(m_path);
    }
    ::chmod(m_path.c_str(), 0600);
    if (::listen(listener.get(), 64) != 0) {
        const VekError failure = cannotListen(m_path);
        ::unlink(m_path.c_str());
        throw failure;
    }
    m_listener = listener.release();
}

LocalSocketServer::~LocalSocketServer() {
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(m_path.c_str());
    }
}

void LocalSocketServer::serve(LinkService& service, const WakePipe& stop,
                              std::chrono::milliseconds idleTimeout) {
    while (true) {
        const Io ready = waitFor(m_listener, POLLIN, Clock::time_point::max(), stop.readFd());
        if (ready == Io::Stopped) return;
        if (ready != Io::Done) continue;
        UniqueFd client(::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (client.get() < 0) continue;
        serveConversation(client.get(), service, stop, idleTimeout);
    }
}

void LocalSocketServer::serveConversation(int client, LinkService& service, const WakePipe& stop,
                                          std::chrono::milliseconds idleTimeout) {
    FrameReader reader(kMacroBufferLimit + 1);
    bool connected = false;
    while (true) {
        LinkFrame frame;
        Io received;
        try {
            received =
                receiveFrame(client, reader, Clock::now() + idleTimeout, frame, stop.readFd());
        } catch (const VekError& error) {
            sendAll(client, encodeFrame({FrameKind::Refused, {}, {}, std::string(error.what())}),
                    Clock::now() + idleTimeout);
            return;
        }
        if (received != Io::Done) return;
        LinkFrame reply{FrameKind::Refused, frame.topic, frame.item, {}};
        if (!connected) {
            connected = frame.kind == FrameKind::Connect && service.acceptTopic(frame.topic);
            if (connected) reply.kind = FrameKind::Ack;
        } else if (frame.kind == FrameKind::Poke) {
            const std::string_view text(frame.data.data(),
                                        std::min(frame.data.find('\0'), frame.data.size()));
            if (service.poke(frame.topic, frame.item, text)) reply.kind = FrameKind::Ack;
        } else if (frame.kind == FrameKind::Request) {
            if (auto answer = service.request(frame.topic, frame.item)) {
                reply.kind = FrameKind::Data;
                reply.data = std::move(*answer);
                reply.data.push_back('\0');
            }
        }
        if (sendAll(client, encodeFrame(reply), Clock::now() + idleTimeout, stop.readFd()) !=
            Io::Done)
            return;
        if (!connected) return;
    }
}

}  // namespace vek

#endif
