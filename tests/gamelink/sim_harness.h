#pragma once

// Helpers for tests and benchmarks that talk to a game: the stand-in game vivarium-sim as a
// child process on a private socket, and a scripted in-process server for faults the
// stand-in never makes.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/creatures.h"
#include "gamelink/link_frame.h"
#include "gamelink/local_socket.h"

extern char** environ;

namespace vek::testing {

// Where the build put the programs.
inline std::filesystem::path binaryDirectory() {
    if (const char* dir = std::getenv("VEK_BINARY_DIR"); dir && *dir) return dir;
#ifdef VEK_BINARY_DIR
    return VEK_BINARY_DIR;
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().parent_path();
#endif
}

inline bool canConnect(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// A program run to its end; its exit status.
inline int runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::filesystem::path& output = {}) {
    std::vector<std::string> args = arguments;
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = extraEnvironment;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!output.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, (output.string() + ".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + arguments[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// An installation without sprite files beside the socket, for a stand-in that should not take
// the user's game or make the demo in the user's data folder.
inline std::string spritelessInstallation(const std::filesystem::path& socketPath) {
    const std::filesystem::path game = socketPath.parent_path() / "sim-installation";
    std::filesystem::create_directories(game / "Images");
    return game.string();
}

// vivarium-sim on a socket of its own, stopped with SIGTERM at the end. `environment` comes
// before the process's own, and an installation without sprite files after it; the standard
// output goes to `output`.
class SimProcess {
  public:
    explicit SimProcess(const std::filesystem::path& socketPath,
                        std::vector<std::string> options = {},
                        std::vector<std::string> environment = {},
                        const std::filesystem::path& output = "/dev/null")
        : m_socket(socketPath) {
        std::vector<std::string> args = {(binaryDirectory() / "vivarium-sim").string(), "--socket",
                                         socketPath.string()};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        environment.push_back("VEK_GAME_DIR=" + spritelessInstallation(socketPath));
        for (char** e = environ; *e; ++e) environment.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : environment) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            throw std::runtime_error("cannot start vivarium-sim from " +
                                     binaryDirectory().string());
        }
        posix_spawn_file_actions_destroy(&actions);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!canConnect(socketPath)) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return;
            }
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("vivarium-sim did not come up");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool running() const { return m_pid != 0; }
    const std::filesystem::path& socketPath() const { return m_socket; }

    // Sends `signal` and waits for the end; the exit status (-1 if it did not exit normally).
    int stop(int signal = SIGTERM) {
        if (m_pid != 0) {
            ::kill(m_pid, signal);
            int status = 0;
            while (::waitpid(m_pid, &status, 0) < 0) {
            }
            m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_pid = 0;
        }
        return m_exitStatus;
    }

  private:
    std::filesystem::path m_socket;
    pid_t m_pid = 0;
    int m_exitStatus = -1;
};

// A TCreatures that talks to the socket at `socketPath` only and never starts a game.
inline std::unique_ptr<TCreatures> creaturesAt(const std::filesystem::path& socketPath,
                                               LinkTimeouts timeouts = {}) {
    auto creatures = std::make_unique<TCreatures>();
    creatures->setPaths({});
    creatures->setLinkTransport(std::make_shared<LocalSocketTransport>(socketPath));
    creatures->setGameStarter([](const GamePaths&) { return ProcessProbe(); });
    creatures->setLinkTimeouts(timeouts);
    return creatures;
}

// A raw server on its own thread: each accepted connection is handed to `handler` (which
// reads and writes frames itself) until the server is destroyed.
class ScriptedServer {
  public:
    using Handler = std::function<void(int fd)>;

    ScriptedServer(const std::filesystem::path& socketPath, Handler handler) : m_path(socketPath) {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0) {
            throw std::runtime_error("cannot listen at " + socketPath.string());
        }
        m_thread = std::thread([this, handler] {
            while (true) {
                const int client = ::accept(m_listener, nullptr, nullptr);
                if (client < 0 || m_stopping) {
                    if (client >= 0) ::close(client);
                    return;
                }
                ++m_connections;
                handler(client);
                ::close(client);
            }
        });
    }
    ~ScriptedServer() {
        m_stopping = true;
        ::shutdown(m_listener, SHUT_RDWR);
        canConnect(m_path);  // wakes accept where shutdown does not
        m_thread.join();
        ::close(m_listener);
        ::unlink(m_path.c_str());
    }

    int connections() const { return m_connections; }

  private:
    std::filesystem::path m_path;
    int m_listener = -1;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::thread m_thread;
};

// Reads one frame from a blocking socket; nothing when the peer closed.
inline std::optional<LinkFrame> readFrame(int fd, FrameReader& reader) {
    char buffer[65536];
    while (true) {
        if (auto frame = reader.next()) return frame;
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) return std::nullopt;
        reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
}

inline void writeBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

inline void writeFrame(int fd, const LinkFrame& frame) { writeBytes(fd, encodeFrame(frame)); }

}  // namespace vek::testing
