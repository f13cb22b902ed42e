#ifndef _WIN32

#include "gamelink/local_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

// How many clients are served at once; further ones wait in the listen queue.
constexpr std::size_t kMaxServedClients = 32;

// One client of the server: its connection, the bytes it sent that make no whole frame yet,
// the bytes of replies it has not taken yet, and its conversation.
struct ServedClient {
    ServedClient(int fd, Clock::time_point due) : socket(fd), deadline(due) {}

    UniqueFd socket;
    FrameReader reader{kMacroBufferLimit + 1};
    bool connected = false;
    // The item last poked in this conversation and the answer the poke gave.
    std::string pokedItem;
    std::optional<std::string> pokedAnswer;
    std::string outbox;
    bool framesMayWait = false;  // bytes came that may hold a whole frame
    bool peerClosed = false;     // no more bytes will come
    bool closeWhenSent = false;  // the conversation ends once the outbox is sent
    bool failed = false;         // the connection failed: dropped at once
    Clock::time_point deadline;  // a client silent or stalled until then is dropped
};

namespace {

// The reply to one frame. A poke's answer is taken at once and kept with the conversation,
// so that a macro of another client in between does not change what this one is told.
LinkFrame replyTo(ServedClient& client, const LinkFrame& frame, LinkService& service) {
    LinkFrame reply{FrameKind::Refused, frame.topic, frame.item, {}};
    if (!client.connected) {
        client.connected = frame.kind == FrameKind::Connect && service.acceptTopic(frame.topic);
        if (client.connected) reply.kind = FrameKind::Ack;
        client.closeWhenSent = !client.connected;
    } else if (frame.kind == FrameKind::Poke) {
        const std::string_view text(frame.data.data(),
                                    std::min(frame.data.find('\0'), frame.data.size()));
        if (service.poke(frame.topic, frame.item, text)) {
            reply.kind = FrameKind::Ack;
            client.pokedItem = frame.item;
            client.pokedAnswer = service.request(frame.topic, frame.item);
        }
    } else if (frame.kind == FrameKind::Request) {
        std::optional<std::string> answer = client.pokedAnswer && client.pokedItem == frame.item
                                                ? client.pokedAnswer
                                                : service.request(frame.topic, frame.item);
        if (answer) {
            reply.kind = FrameKind::Data;
            reply.data = std::move(*answer);
            reply.data.push_back('\0');
        }
    }
    return reply;
}

// Reads what the client has sent; false when its connection failed.
bool takeInput(ServedClient& client) {
    char buffer[65536];
    const ssize_t got = ::recv(client.socket.get(), buffer, sizeof buffer, 0);
    if (got > 0) {
        client.reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
        client.framesMayWait = true;
        return true;
    }
    if (got == 0) {
        client.peerClosed = true;
        return true;
    }
    return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK;
}

// Writes what the client takes of its outbox without waiting; false when its connection failed.
bool sendOutbox(ServedClient& client, std::chrono::milliseconds idleTimeout) {
    while (!client.outbox.empty()) {
        const ssize_t sent =
            ::send(client.socket.get(), client.outbox.data(), client.outbox.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            client.outbox.erase(0, static_cast<std::size_t>(sent));
            client.deadline = Clock::now() + idleTimeout;
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        return sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return true;
}

// Answers the client's next whole frame, if it sent one and has taken every earlier reply.
void answerNextFrame(ServedClient& client, LinkService& service,
                     std::chrono::milliseconds idleTimeout) {
    if (!client.outbox.empty() || !client.framesMayWait || client.closeWhenSent) return;
    try {
        const std::optional<LinkFrame> frame = client.reader.next();
        if (!frame) {
            client.framesMayWait = false;
            return;
        }
        client.outbox = encodeFrame(replyTo(client, *frame, service));
    } catch (const VekError& error) {
        // A garbled frame ends the conversation with the reason.
        client.outbox = encodeFrame({FrameKind::Refused, {}, {}, std::string(error.what())});
        client.closeWhenSent = true;
    }
    client.deadline = Clock::now() + idleTimeout;
}

// Done with: its connection failed or ended, its conversation ended, or it stalled too long.
bool finished(const ServedClient& client, Clock::time_point now) {
    if (client.failed) return true;
    if (!client.outbox.empty()) return now >= client.deadline;
    if (client.closeWhenSent) return true;
    if (client.peerClosed && !client.framesMayWait) return true;
    return now >= client.deadline;
}

}  // namespace

void LocalSocketServer::serve(LinkService& service, const WakePipe& stop,
                              std::chrono::milliseconds idleTimeout) {
    std::vector<std::unique_ptr<ServedClient>> clients;
    std::vector<pollfd> fds;
    while (true) {
        // The stop pipe, the listener while there is room, then every client: reading once it
        // has taken its replies and no whole frame of it waits (so what it holds stays within
        // a frame and one read), writing while it has not.
        fds.assign({{stop.readFd(), POLLIN, 0}, {m_listener, 0, 0}});
        if (clients.size() < kMaxServedClients) fds[1].events = POLLIN;
        bool frameWaiting = false;
        auto wake = Clock::now() + std::chrono::minutes(1);
        for (const auto& client : clients) {
            const bool reads = !client->framesMayWait && !client->peerClosed;
            const short events = !client->outbox.empty() ? POLLOUT : reads ? POLLIN : 0;
            fds.push_back({client->socket.get(), events, 0});
            frameWaiting = frameWaiting || (client->framesMayWait && client->outbox.empty());
            wake = std::min(wake, client->deadline);
        }
        const auto wait = std::max<long long>(
            0, std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count());
        if (::poll(fds.data(), fds.size(), frameWaiting ? 0 : static_cast<int>(wait)) < 0 &&
            errno != EINTR)
            continue;
        if (fds[0].revents & POLLIN) return;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            ServedClient& client = *clients[i];
            const short ready = fds[i + 2].revents;
            if ((ready & (POLLIN | POLLHUP | POLLERR)) && !client.framesMayWait)
                client.failed = !takeInput(client);
            if (client.failed) continue;
            // One frame per client and round, so that no client keeps the others waiting.
            answerNextFrame(client, service, idleTimeout);
            client.failed = !sendOutbox(client, idleTimeout);
        }
        const auto now = Clock::now();
        std::erase_if(clients, [now](const auto& client) { return finished(*client, now); });
        if (fds[1].revents & POLLIN) acceptClients(clients, idleTimeout);
    }
}

void LocalSocketServer::acceptClients(std::vector<std::unique_ptr<ServedClient>>& clients,
                                      std::chrono::milliseconds idleTimeout) {
    while (clients.size() < kMaxServedClients) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        // Until its first frame a client gets the shorter time: it holds a place others wait for.
        const auto firstFrameDue = Clock::now() + std::min(idleTimeout, kFirstFrameTimeout);
        clients.push_back(std::make_unique<ServedClient>(fd, firstFrameDue));
    }
}

}  // namespace vek

#endif
