#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "app/file_lookup.h"
#include "app/process.h"

extern char** environ;

namespace vek {

namespace fs = std::filesystem;

struct Process::State {
    pid_t pid = -1;
    bool child = false;  // ours to collect
    std::optional<int> exitCode;
    int input = -1;
    int output = -1;

    // Collects the child when it ended; `block` waits for it.
    bool collect(bool block) {
        if (!child || exitCode) return exitCode.has_value();
        int status = 0;
        pid_t got;
        do {
            got = ::waitpid(pid, &status, block ? 0 : WNOHANG);
        } while (got < 0 && errno == EINTR);
        if (got == 0) return false;
        exitCode = got < 0               ? -1
                   : WIFEXITED(status)   ? WEXITSTATUS(status)
                   : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                         : -1;
        return true;
    }
    bool alive() {
        if (child) return !collect(false);
        return ::kill(pid, 0) == 0 || errno == EPERM;
    }
    void closePipes() {
        if (input >= 0) ::close(input);
        if (output >= 0) ::close(output);
        input = output = -1;
    }
    ~State() { closePipes(); }
};

namespace {

// The platform's error numbers for what can go wrong here.
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kNotEnoughMemory = 8;
constexpr int kInvalidExecutable = 11;
constexpr int kOtherSystem = 12;

int errorNumberOf(int error) {
    switch (error) {
        case ENOENT:
            return kFileNotFound;
        case ENOTDIR:
            return kPathNotFound;
        case EACCES:
        case EPERM:
            return kAccessDenied;
        case ENOMEM:
            return kNotEnoughMemory;
        case ENOEXEC:
            return kInvalidExecutable;
        default:
            return error;
    }
}

// The descriptors the child's standard streams become (-1: left as they are).
struct ChildStreams {
    int in = -1;
    int out = -1;
    int err = -1;
};

// Runs argv[0] in the child; an error before the program takes over goes back through `report`.
[[noreturn]] void becomeProgram(const std::vector<char*>& argv, char* const* envp,
                                const char* directory, const ChildStreams& streams, int report) {
    if (streams.in >= 0) ::dup2(streams.in, 0);
    if (streams.out >= 0) ::dup2(streams.out, 1);
    if (streams.err >= 0) ::dup2(streams.err, 2);
    int error = 0;
    if (directory && ::chdir(directory) != 0) {
        error = errno == ENOENT ? ENOTDIR : errno;
    } else {
        ::execve(argv[0], argv.data(), envp);
        error = errno;
    }
    [[maybe_unused]] const ssize_t ignored = ::write(report, &error, sizeof error);
    ::_exit(127);
}

std::vector<std::string> callerEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) entries.emplace_back(*entry);
    return entries;
}

// The program and its arguments as the system runs them, or the error number.
int argumentsOf(const ProcessLaunch& launch, std::vector<std::string>& arguments) {
    fs::path program = launch.exeName;
    if (launch.searchPath && !launch.exeName.empty() &&
        launch.exeName.find('/') == std::string::npos) {
        const auto found = findProgramOnPath(launch.exeName);
        if (!found) return kFileNotFound;
        program = *found;
    }
    std::error_code error;
    if (launch.exeName.empty() || !fs::is_regular_file(program, error)) return kFileNotFound;
    if (const WindowsMachine machine = windowsMachineOf(program); machine != WindowsMachine::None) {
        const auto wine = findWineLoader(machine);
        if (!wine) return kOtherSystem;
        arguments = {wine->string(), fs::absolute(program, error).string()};
    } else if (::access(program.c_str(), X_OK) == 0) {
        arguments = {fs::absolute(program, error).string()};
    } else {
        return kInvalidExecutable;
    }
    arguments.insert(arguments.end(), launch.params.begin(), launch.params.end());
    return 0;
}

bool readFully(int fd, void* into, std::size_t size) {
    ssize_t got;
    do {
        got = ::read(fd, into, size);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(size);
}

// Descriptors made for one start, closed when it is over.
struct Descriptors {
    int report[2] = {-1, -1};
    int toChild[2] = {-1, -1};
    int fromChild[2] = {-1, -1};
    int null = -1;
    ~Descriptors() {
        for (int fd :
             {report[0], report[1], toChild[0], toChild[1], fromChild[0], fromChild[1], null}) {
            if (fd >= 0) ::close(fd);
        }
    }
    static int take(int& fd) {
        const int taken = fd;
        fd = -1;
        return taken;
    }
};

}  // namespace

std::optional<fs::path> findWineLoader(WindowsMachine machine) {
    if (machine == WindowsMachine::X64) {
        if (auto wine64 = findProgramOnPath("wine64")) return wine64;
        if (::access("/usr/lib/wine/wine64", X_OK) == 0) return fs::path("/usr/lib/wine/wine64");
    }
    return findProgramOnPath("wine");
}

int launchProcess(const ProcessLaunch& launch, Process& process) {
    process = Process();
    std::vector<std::string> arguments;
    if (const int error = argumentsOf(launch, arguments); error != 0) return error;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment =
        mergeEnvironment(launch.environment, callerEnvironment());
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const char* directory =
        launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str();

    Descriptors fds;
    ChildStreams streams;
    if (::pipe2(fds.report, O_CLOEXEC) != 0) return errorNumberOf(errno);
    if (launch.streams != ProcessStreams::Inherit) {
        fds.null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (fds.null < 0) return errorNumberOf(errno);
        streams.out = streams.err = fds.null;
    }
    if (launch.streams == ProcessStreams::Pipes) {
        if (::pipe2(fds.toChild, O_CLOEXEC) != 0 || ::pipe2(fds.fromChild, O_CLOEXEC) != 0)
            return errorNumberOf(errno);
        streams.in = fds.toChild[0];
        streams.out = fds.fromChild[1];
    }
    const int report = fds.report[1];
    const pid_t child = ::fork();
    if (child < 0) return errorNumberOf(errno);
    if (child == 0) {
        if (!launch.detach) becomeProgram(argv, envp.data(), directory, streams, report);
        // Detached: the program runs as a grandchild of its own, so that it is not left behind
        // as our zombie when it ends. It sends its number first, then any error.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            const pid_t self = ::getpid();
            [[maybe_unused]] const ssize_t sent = ::write(report, &self, sizeof self);
            becomeProgram(argv, envp.data(), directory, streams, report);
        }
        if (grandchild < 0) {
            const int forkError = errno;
            [[maybe_unused]] ssize_t sent = ::write(report, &grandchild, sizeof grandchild);
            sent = ::write(report, &forkError, sizeof forkError);
        }
        ::_exit(0);
    }
    ::close(Descriptors::take(fds.report[1]));
    auto state = std::make_shared<Process::State>();
    state->pid = child;
    state->child = !launch.detach;
    int childError = 0;
    bool failed = false;
    if (launch.detach) {
        pid_t started = -1;
        if (readFully(fds.report[0], &started, sizeof started))
            failed = readFully(fds.report[0], &childError, sizeof childError);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (!failed && started <= 0) return 0;  // started, but not to be probed
        state->pid = started;
    } else {
        failed = readFully(fds.report[0], &childError, sizeof childError);
        // A program that never ran is collected now; its error is the answer.
        if (failed) state->collect(true);
    }
    if (failed) return errorNumberOf(childError);
    if (launch.streams == ProcessStreams::Pipes) {
        state->input = Descriptors::take(fds.toChild[1]);
        state->output = Descriptors::take(fds.fromChild[0]);
    }
    process.m_state = std::move(state);
    return 0;
}

bool Process::running() const { return m_state && m_state->alive(); }

std::optional<int> Process::wait(std::optional<std::chrono::milliseconds> timeout) {
    if (!m_state || !m_state->child) return std::nullopt;
    if (!timeout) {
        m_state->collect(true);
        return m_state->exitCode;
    }
    const auto deadline = std::chrono::steady_clock::now() + *timeout;
    while (!m_state->collect(false)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_state->exitCode;
}

void Process::waitUntilReady(std::chrono::milliseconds) {}

void Process::kill() {
    if (!m_state) return;
    m_state->closePipes();
    if (m_state->child && !m_state->collect(false)) {
        ::kill(m_state->pid, SIGKILL);
        m_state->collect(true);
    }
}

ProcessProbe Process::probe() const {
    if (!m_state) return {};
    return [state = m_state] { return state->alive(); };
}

int Process::input() const { return m_state ? m_state->input : -1; }
int Process::output() const { return m_state ? m_state->output : -1; }

}  // namespace vek

#endif
