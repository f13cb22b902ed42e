#include "app/hand_over.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <future>
#include <stdexcept>

#include "app/private_folder.h"
#include "app/vek_error.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using State = HandOverReader::State;

const std::vector<std::string> kFiles = {"/a/b.spr", "/Ä ö/ß.cob", "/notes\nof today.spr", "/x\ty"};

TEST(HandOverMessageTest, EveryPathTravelsWholeHoweverTheBytesArrive) {
    for (const auto& files : {kFiles, std::vector<std::string>{}}) {
        const std::string message = encodeHandOver(files);
        // Cut in two at every place: nothing is taken from half a message.
        for (std::size_t cut = 0; cut <= message.size(); ++cut) {
            HandOverReader reader;
            const State first = reader.append(std::string_view(message).substr(0, cut));
            EXPECT_EQ(first, cut == message.size() ? State::Complete : State::Incomplete) << cut;
            EXPECT_EQ(reader.append(std::string_view(message).substr(cut)), State::Complete);
            EXPECT_EQ(reader.files(), files);
        }
    }
}

TEST(HandOverMessageTest, WhatIsNoMessageOfOursIsRefused) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::string longPath = "/" + std::string(kMaxHandOverMessage, 'a');
    const Case cases[] = {
        {"a relative path", std::string("a.spr\0\0", 7)},
        {"bytes after the end", std::string("/a.spr\0\0/b", 10)},
        {"a path longer than a message may be", longPath},
        {"a message without an end beyond the limit", longPath.substr(0, 1000) + '\0' + longPath},
    };
    for (const Case& c : cases) {
        HandOverReader reader;
        EXPECT_EQ(reader.append(c.bytes), State::Refused) << c.what;
        EXPECT_EQ(reader.append("\0"), State::Refused) << c.what;
    }
    // Exactly the limit is a message still.
    HandOverReader atLimit;
    const std::string full = longPath.substr(0, kMaxHandOverMessage - 2) + std::string(2, '\0');
    EXPECT_EQ(atLimit.append(full), State::Complete);
    EXPECT_THROW(encodeHandOver({"relative.spr"}), std::invalid_argument);
    EXPECT_THROW(encodeHandOver({std::string("/a\0b", 4)}), std::invalid_argument);
}

TEST(HandOverSocketTest, OneSocketPerDisplayThatNeverLeavesItsFolder) {
    EXPECT_NE(handOverSocketName(":0"), handOverSocketName(":1"));
    EXPECT_EQ(handOverSocketName("../x/y").find('/'), std::string::npos);
    EXPECT_EQ(handOverSocketName(""), "vekstudio-none");
    const ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    const ScopedEnv x("DISPLAY", ":7");
    EXPECT_EQ(currentDisplay(), ":7");
}

// The socket's folder: the runtime folder where it is private, else the shared temporary
// folder's one of this user, else one in the user's data folder.
TEST(HandOverSocketTest, TheFolderIsAlwaysOneNoOtherUserCanEnter) {
    TempDir dir;
    const fs::path runtime = dir / "runtime";
    const fs::path temp = dir / "tmp";
    const fs::path fallback = temp / ("vekstudio-" + std::to_string(::getuid()));
    const fs::path data = dir / "data";
    fs::create_directories(runtime);
    fs::create_directories(temp);
    ::chmod(temp.c_str(), 01777);
    const ScopedEnv tmpdir("TMPDIR", temp.c_str());
    const ScopedEnv xdgData("XDG_DATA_HOME", data.c_str());

    struct Case {
        const char* what;
        const char* runtimeVariable;
        unsigned runtimeMode;
        std::function<void()> prepare;
        fs::path expected;
    };
    const uid_t stranger = 4711;
    std::vector<Case> cases = {
        {"a private runtime folder", runtime.c_str(), 0700, [] {}, runtime},
        {"no runtime folder", nullptr, 0700, [] {}, fallback},
        {"a runtime folder others may enter", runtime.c_str(), 0755, [] {}, fallback},
        {"the shared temporary folder as runtime folder", temp.c_str(), 0700, [] {}, fallback},
        {"a fallback folder others may write", nullptr, 0700,
         [&] {
             fs::create_directories(fallback);
             ::chmod(fallback.c_str(), 0777);
         },
         data / "Vekstudio" / "run"},
    };
    if (::getuid() == 0) {
        cases.push_back({"a fallback folder of another user", nullptr, 0700,
                         [&] {
                             fs::create_directories(fallback);
                             ::chmod(fallback.c_str(), 0700);
                             ASSERT_EQ(::chown(fallback.c_str(), stranger, stranger), 0);
                         },
                         data / "Vekstudio" / "run"});
    }
    for (const Case& c : cases) {
        fs::remove_all(fallback);
        fs::remove_all(data);
        ::chmod(runtime.c_str(), c.runtimeMode);
        c.prepare();
        const ScopedEnv variable("XDG_RUNTIME_DIR", c.runtimeVariable);
        const fs::path chosen = privateRuntimeDirectory();
        EXPECT_EQ(chosen, c.expected) << c.what;
        EXPECT_TRUE(isPrivateDirectory(chosen)) << c.what;
        EXPECT_EQ(handOverSocketPath().parent_path(), chosen) << c.what;
    }
}

// Serves later starts at `server` one after another, as the running program does, until one
// hands files over; those files, or nothing.
std::optional<std::vector<std::string>> serveOne(HandOverServer& server) {
    const auto deadline = SocketClock::now() + 5s;
    while (waitFor(server.fd(), POLLIN, deadline) == Io::Done) {
        HandOverServer::Accepted accepted = server.accept();
        if (!accepted.peer) continue;
        State state = State::Incomplete;
        while (state == State::Incomplete &&
               waitFor(accepted.peer->fd(), POLLIN, deadline) == Io::Done)
            state = accepted.peer->receive();
        if (state == State::Complete) {
            accepted.peer->acknowledge();
            return accepted.peer->files();
        }
    }
    return std::nullopt;
}

TEST(HandOverSocketTest, TheFilesReachTheRunningProgramAndOnlyOneServes) {
    TempDir dir;
    const fs::path socket = dir / "vekstudio-_0";
    {
        HandOverServer server;
        ASSERT_TRUE(server.listen(socket));
        struct stat info {};
        ASSERT_EQ(::stat(socket.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        HandOverServer second;
        EXPECT_FALSE(second.listen(socket)) << "a live program keeps its socket";

        auto delivered =
            std::async(std::launch::async, [&] { return handOverFiles(socket, kFiles, 5s); });
        EXPECT_EQ(serveOne(server), kFiles);
        EXPECT_TRUE(delivered.get());
    }
    EXPECT_FALSE(fs::exists(socket)) << "the socket goes with its program";
    EXPECT_FALSE(handOverFiles(socket, kFiles, 1s)) << "nobody listens";

    // A socket left by a program that ended is taken over; a file that is no socket is not.
    {
        HandOverServer ended;
        ASSERT_TRUE(ended.listen(socket));
        ::link(socket.c_str(), (dir / "kept").c_str());
    }
    ::rename((dir / "kept").c_str(), socket.c_str());
    HandOverServer next;
    EXPECT_TRUE(next.listen(socket));
    const fs::path notes = dir / "notes";
    std::ofstream(notes) << "mine";
    HandOverServer onAFile;
    EXPECT_FALSE(onAFile.listen(notes));
    EXPECT_TRUE(fs::is_regular_file(notes));
}

// Runs `work` in a child process as user nobody; its exit status (or -1 where that cannot be).
int asNobody(const std::function<int()>& work) {
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(99);
        ::_exit(work());
    }
    return child;
}

int waitForChild(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A socket of another user gets nothing, nor does a program of another user that serves behind
// a socket file of this one; the running program turns a start of another user away.
TEST(HandOverSocketTest, NoOtherUserReceivesOrHandsOverFiles) {
    if (::getuid() != 0 || !::getpwnam("nobody")) GTEST_SKIP() << "needs root to act as nobody";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const fs::path socket = dir / "vekstudio-_0";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);

    for (const bool chownedToUs : {false, true}) {
        fs::remove(socket);
        // Nobody listens and counts the bytes it receives (its exit status: 0 when none).
        const pid_t listener = asNobody([&] {
            UniqueFd server(::socket(AF_UNIX, SOCK_STREAM, 0));
            sockaddr_un address;
            fillUnixAddress(socket, address);
            if (::bind(server.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::listen(server.get(), 4) != 0)
                return 98;
            [[maybe_unused]] const ssize_t told = ::write(ready[1], "r", 1);
            pollfd waiting{server.get(), POLLIN, 0};
            if (::poll(&waiting, 1, 2000) != 1) return 0;
            UniqueFd client(::accept(server.get(), nullptr, nullptr));
            char byte;
            const ssize_t got = ::recv(client.get(), &byte, 1, 0);
            ::send(client.get(), "ok\n", 3, MSG_NOSIGNAL);
            return got > 0 ? 1 : 0;
        });
        char signal;
        ASSERT_EQ(::read(ready[0], &signal, 1), 1);
        if (chownedToUs) {
            ASSERT_EQ(::chown(socket.c_str(), 0, 0), 0);
        }
        EXPECT_FALSE(handOverFiles(socket, kFiles, 1s)) << chownedToUs;
        EXPECT_EQ(waitForChild(listener), 0) << "nobody received nothing; chowned " << chownedToUs;
    }

    fs::remove(socket);
    HandOverServer server;
    ASSERT_TRUE(server.listen(socket));
    ::chmod(socket.c_str(), 0777);
    // Nobody connects and sends a message; its answer is the end of the connection.
    const pid_t sender = asNobody([&] {
        UniqueFd client(::socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un address;
        fillUnixAddress(socket, address);
        if (::connect(client.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return 98;
        const std::string message = encodeHandOver({"/etc/shadow"});
        ::send(client.get(), message.data(), message.size(), MSG_NOSIGNAL);
        char answer[4];
        return ::recv(client.get(), answer, sizeof answer, 0) > 0 ? 1 : 0;
    });
    ASSERT_EQ(waitFor(server.fd(), POLLIN, SocketClock::now() + 3s), Io::Done);
    const HandOverServer::Accepted accepted = server.accept();
    EXPECT_FALSE(accepted.peer.has_value());
    EXPECT_FALSE(accepted.failed);
    EXPECT_EQ(waitForChild(sender), 0) << "the start of another user was turned away";
    ::close(ready[0]);
    ::close(ready[1]);
}

}  // namespace
}  // namespace vek::testing
