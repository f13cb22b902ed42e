#include "studio/instance_channel.h"

#include <QDir>
#include <QTimer>
#ifndef _WIN32
#include <QSocketNotifier>
#endif

#include "app/hand_over.h"
#include "app/ui/qt_convert.h"
#include "app/vek_error.h"

namespace vek::ui {

namespace {

// A later start waits this long for the answer: longer than a running program that serves
// others first may take.
constexpr std::chrono::milliseconds kAnswerTime = 3 * kHandOverSendTime;
// A program that cannot accept now (too many files open) tries again after this pause.
constexpr int kAcceptPauseMilliseconds = 200;

}  // namespace

#ifdef _WIN32
// The pipe is served on a thread of the core's; its files come to the event loop.
struct InstanceChannel::Listener {
    HandOverServer server;
};
#else
struct InstanceChannel::Listener {
    HandOverServer server;
    std::unique_ptr<QSocketNotifier> notifier;
};

// One later start's connection: its message, its notifier and its time to send it.
class InstanceChannel::Session : public QObject {
  public:
    Session(HandOverPeer peer, QObject* parent)
        : QObject(parent), m_peer(std::move(peer)), m_notifier(m_peer.fd(), QSocketNotifier::Read) {
        m_deadline.setSingleShot(true);
        m_deadline.start(kHandOverSendTime);
    }

    HandOverPeer& peer() { return m_peer; }
    QSocketNotifier& notifier() { return m_notifier; }
    QTimer& deadline() { return m_deadline; }
    // Ends the session once: nothing more is read, and it goes when control is back in the loop.
    bool end() {
        if (m_ended) return false;
        m_ended = true;
        m_notifier.setEnabled(false);
        m_deadline.stop();
        deleteLater();
        return true;
    }

  private:
    bool m_ended = false;
    HandOverPeer m_peer;
    QSocketNotifier m_notifier;
    QTimer m_deadline;
};
#endif

InstanceChannel::InstanceChannel(std::filesystem::path socket, QObject* parent)
    : QObject(parent), m_socket(std::move(socket)), m_listener(std::make_unique<Listener>()) {}

InstanceChannel::~InstanceChannel() = default;

std::filesystem::path InstanceChannel::currentSocket() {
    try {
        return handOverSocketPath();
    } catch (const VekError&) {
        return {};
    }
}

bool InstanceChannel::handOver(const std::filesystem::path& socket, const QStringList& files) {
    std::vector<std::string> paths;
    for (const QString& file : files) {
        if (!file.isEmpty())
            paths.push_back(toStdString(QDir::cleanPath(QDir::current().absoluteFilePath(file))));
    }
    return handOverFiles(socket, paths, kAnswerTime);
}

void InstanceChannel::deliverLater(const std::vector<std::string>& paths) {
    QStringList files;
    // The message's paths are UTF-8 on every platform.
    for (const std::string& file : paths) files << toQString(file);
    // Whatever opening them shows runs from the event loop, after the later start has its answer.
    QMetaObject::invokeMethod(
        this, [this, files] { Q_EMIT filesReceived(files); }, Qt::QueuedConnection);
}

#ifdef _WIN32
bool InstanceChannel::listen() {
    return m_listener->server.listen(
        m_socket, [this](std::vector<std::string> files) { deliverLater(files); });
}
#else
bool InstanceChannel::listen() {
    if (!m_listener->server.listen(m_socket)) return false;
    m_listener->notifier =
        std::make_unique<QSocketNotifier>(m_listener->server.fd(), QSocketNotifier::Read);
    connect(m_listener->notifier.get(), &QSocketNotifier::activated, this,
            &InstanceChannel::acceptWaiting);
    return true;
}

void InstanceChannel::acceptWaiting() {
    QSocketNotifier& listening = *m_listener->notifier;
    while (m_sessions < kMaxHandOverConnections) {
        HandOverServer::Accepted accepted = m_listener->server.accept();
        if (accepted.failed) {
            // The socket stays; the starts that wait are taken once accepting works again.
            listening.setEnabled(false);
            QTimer::singleShot(kAcceptPauseMilliseconds, this, [this] { acceptWaiting(); });
            return;
        }
        if (!accepted.peer) break;
        auto* session = new Session(std::move(*accepted.peer), this);
        ++m_sessions;
        connect(&session->notifier(), &QSocketNotifier::activated, this,
                [this, session] { receive(session); });
        connect(&session->deadline(), &QTimer::timeout, this, [this, session] { finish(session); });
    }
    // Further starts wait in the socket's queue until a session ends.
    listening.setEnabled(m_sessions < kMaxHandOverConnections);
}

void InstanceChannel::receive(Session* session) {
    const HandOverReader::State state = session->peer().receive();
    if (state == HandOverReader::State::Incomplete) return;
    if (state == HandOverReader::State::Complete) {
        session->peer().acknowledge();
        deliverLater(session->peer().files());
    }
    finish(session);
}

void InstanceChannel::finish(Session* session) {
    if (!session->end()) return;
    --m_sessions;
    if (m_listener->notifier && !m_listener->notifier->isEnabled()) acceptWaiting();
}
#endif

}  // namespace vek::ui
