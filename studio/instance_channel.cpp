#include "studio/instance_channel.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>
#include <memory>

namespace vek::ui {

namespace {

constexpr int kConnectMilliseconds = 1000;
constexpr int kAnswerMilliseconds = 5000;
const QByteArray kAcknowledged = QByteArrayLiteral("ok\n");
// A message larger than this is no list of files.
constexpr qsizetype kMaxMessageBytes = 1 << 20;

}  // namespace

QByteArray encodeHandOver(const QStringList& files) {
    QByteArray message;
    for (const QString& file : files) {
        // A name with a line break cannot travel as a line: it stays behind.
        if (file.contains(QLatin1Char('\n')) || file.isEmpty()) continue;
        message += QDir::cleanPath(QDir::current().absoluteFilePath(file)).toUtf8() + '\n';
    }
    return message + '\n';
}

std::optional<QStringList> decodeHandOver(const QByteArray& message) {
    const qsizetype end = message.startsWith('\n') ? 0 : message.indexOf("\n\n");
    if (end < 0) return std::nullopt;
    QStringList files;
    for (const QByteArray& line : message.left(end).split('\n')) {
        if (!line.isEmpty()) files << QString::fromUtf8(line);
    }
    return files;
}

InstanceChannel::InstanceChannel(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

QString InstanceChannel::serverNameFor(const QString& user, const QString& display) {
    QString place = display.isEmpty() ? QStringLiteral("none") : display;
    place.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.]")), QStringLiteral("_"));
    return QStringLiteral("vekstudio-%1-%2").arg(user, place);
}

QString InstanceChannel::currentServerName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    const QString name = serverNameFor(QString::number(::getuid()), display);
    // The user's own runtime folder, where nobody else can put a socket of that name first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
}

bool InstanceChannel::handOver(const QString& serverName, const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectMilliseconds)) return false;
    socket.write(encodeHandOver(files));
    if (!socket.waitForBytesWritten(kAnswerMilliseconds)) return false;
    // The running program answers once it has the files; a hung one does not.
    QByteArray answer;
    while (answer.size() < kAcknowledged.size() && socket.waitForReadyRead(kAnswerMilliseconds))
        answer += socket.readAll();
    return answer == kAcknowledged;
}

bool InstanceChannel::listen() {
    if (m_server.listen(m_serverName)) return true;
    // A socket file left by a program that ended without closing it: nobody answers there.
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(kConnectMilliseconds)) return false;
    QLocalServer::removeServer(m_serverName);
    return m_server.listen(m_serverName);
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            if (received->size() > kMaxMessageBytes) return socket->abort();
            const std::optional<QStringList> files = decodeHandOver(*received);
            if (!files) return;
            received->clear();
            socket->write(kAcknowledged);
            socket->flush();
            Q_EMIT filesReceived(*files);
        });
    }
}

}  // namespace vek::ui
