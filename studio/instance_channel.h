#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <optional>

namespace vek::ui {

// One running program per user and display: the first start listens on a local server named for
// both; a later start hands its files to it and ends there.
class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    explicit InstanceChannel(QString serverName, QObject* parent = nullptr);

    // The server's name for a user and display.
    static QString serverNameFor(const QString& user, const QString& display);
    // The name for this process's user and display ($WAYLAND_DISPLAY, else $DISPLAY), in the
    // user's runtime folder where there is one.
    static QString currentServerName();

    // Hands the files to the running program; false when none answers in time.
    static bool handOver(const QString& serverName, const QStringList& files);

    // Starts listening (only the user may connect); false when the name cannot be taken.
    bool listen();

  Q_SIGNALS:
    // A later start's files (absolute paths); empty when it was started without files.
    void filesReceived(const QStringList& files);

  private:
    void accept();

    QString m_serverName;
    QLocalServer m_server;
};

// The files as absolute paths, one a line, and an empty line ending the message.
QByteArray encodeHandOver(const QStringList& files);
// The files of a complete message; nothing while the ending line has not arrived.
std::optional<QStringList> decodeHandOver(const QByteArray& message);

}  // namespace vek::ui
