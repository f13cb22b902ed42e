#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace vek::ui {

// One running program per user and display (`app/hand_over.h`): the running program listens;
// a later start hands its files to it and ends there.
class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    explicit InstanceChannel(std::filesystem::path socket, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // The socket for this user and display; empty where no private folder can be had.
    static std::filesystem::path currentSocket();

    // Hands the files (relative ones are taken from the working folder) to the running program;
    // false when none of this user's answers in time.
    static bool handOver(const std::filesystem::path& socket, const QStringList& files);

    // Starts listening; false when the socket cannot be taken (another program serves it).
    bool listen();
    // The later starts served now.
    std::size_t sessionsOpen() const { return m_sessions; }

  Q_SIGNALS:
    // A later start's files (absolute paths); empty when it was started without files. Sent from
    // the event loop once the later start has its answer, never from within a socket's event.
    void filesReceived(const QStringList& files);

  private:
    class Session;

    // Sends filesReceived for a later start's files from the event loop (any thread may call it).
    void deliverLater(const std::vector<std::string>& paths);
    void acceptWaiting();
    void receive(Session* session);
    void finish(Session* session);

    std::filesystem::path m_socket;
    struct Listener;
    std::unique_ptr<Listener> m_listener;
    std::size_t m_sessions = 0;
};

}  // namespace vek::ui
