#include "gamelink/process_launch.h"

#include "app/file_lookup.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

extern char** environ;
#endif

namespace vek {

std::string commandLineOf(const ProcessLaunch& launch) {
    std::string line = launch.exeName;
    for (const std::string& param : launch.params) line += " " + param;
    return line;
}

#ifdef _WIN32

int launchProcess(const ProcessLaunch& launch, ProcessProbe* probe) {
    std::string commandLine = commandLineOf(launch);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow =
        static_cast<WORD>(launch.withoutFocus && launch.windowState == WindowState::Minimized
                              ? SW_SHOWMINNOACTIVE
                              : static_cast<int>(launch.windowState));
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr,
                        launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str(),
                        &startup, &process)) {
        return static_cast<int>(GetLastError());
    }
    if (launch.waitUntilReady) WaitForInputIdle(process.hProcess, 30000);
    if (launch.wait) WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    if (probe) {
        // The handle is kept by the probe and closed with it.
        const std::shared_ptr<void> handle(process.hProcess, CloseHandle);
        *probe = [handle] { return WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT; };
    } else {
        CloseHandle(process.hProcess);
    }
    return 0;
}

#else

namespace {

namespace fs = std::filesystem;

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

// Runs argv[0] in the child; an error before the program takes over goes back through `report`.
[[noreturn]] void becomeProgram(const std::vector<char*>& argv, char* const* envp,
                                const char* directory, int report) {
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

// The caller's environment with the launch's own values in place of the same names.
std::vector<std::string> environmentOf(const ProcessLaunch& launch) {
    std::vector<std::string> environment = launch.environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view text = *entry;
        const std::string_view name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : launch.environment) replaced |= own.starts_with(name);
        if (!replaced) environment.emplace_back(text);
    }
    return environment;
}

}  // namespace

WindowsMachine windowsMachineOf(const fs::path& program) {
    std::ifstream in(program, std::ios::binary);
    unsigned char header[64] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (in.gcount() < 2 || header[0] != 'M' || header[1] != 'Z') return WindowsMachine::None;
    // A program too short for its header is the game's own kind: 32 bits.
    if (in.gcount() < static_cast<std::streamsize>(sizeof header)) return WindowsMachine::X86;
    in.clear();
    const std::uint32_t peOffset = header[60] | (header[61] << 8) | (header[62] << 16) |
                                   (static_cast<std::uint32_t>(header[63]) << 24);
    unsigned char pe[6] = {};
    in.seekg(peOffset);
    if (!in.read(reinterpret_cast<char*>(pe), sizeof pe) || pe[0] != 'P' || pe[1] != 'E')
        return WindowsMachine::X86;
    return (pe[4] | (pe[5] << 8)) == 0x8664 ? WindowsMachine::X64 : WindowsMachine::X86;
}

std::optional<fs::path> findWineLoader(WindowsMachine machine) {
    if (machine == WindowsMachine::X64) {
        if (auto wine64 = findProgramOnPath("wine64")) return wine64;
        if (::access("/usr/lib/wine/wine64", X_OK) == 0) return fs::path("/usr/lib/wine/wine64");
    }
    return findProgramOnPath("wine");
}

int launchProcess(const ProcessLaunch& launch, ProcessProbe* probe) {
    const fs::path program = launch.exeName;
    std::error_code error;
    if (launch.exeName.empty() || !fs::is_regular_file(program, error)) return kFileNotFound;
    std::vector<std::string> arguments;
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
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = environmentOf(launch);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const char* directory =
        launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errorNumberOf(errno);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return errorNumberOf(errno);
    }
    if (child == 0) {
        ::close(report[0]);
        if (launch.wait) becomeProgram(argv, envp.data(), directory, report[1]);
        // Not waited for: the program runs as a grandchild of its own, so that it is not left
        // behind as our zombie when it ends. It sends its number first, then any error.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            const pid_t self = ::getpid();
            [[maybe_unused]] const ssize_t sent = ::write(report[1], &self, sizeof self);
            becomeProgram(argv, envp.data(), directory, report[1]);
        }
        if (grandchild < 0) {
            const int forkError = errno;
            [[maybe_unused]] ssize_t sent = ::write(report[1], &grandchild, sizeof grandchild);
            sent = ::write(report[1], &forkError, sizeof forkError);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    pid_t started = -1;
    int childError = 0;
    ssize_t got = 0;
    auto readInto = [&](void* into, std::size_t size) {
        do {
            got = ::read(report[0], into, size);
        } while (got < 0 && errno == EINTR);
        return got == static_cast<ssize_t>(size);
    };
    bool failed = false;
    if (launch.wait) {
        failed = readInto(&childError, sizeof childError);
    } else if (readInto(&started, sizeof started)) {
        failed = readInto(&childError, sizeof childError);
    }
    ::close(report[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed) return errorNumberOf(childError);
    if (probe && started > 0)
        *probe = [started] { return ::kill(started, 0) == 0 || errno == EPERM; };
    return 0;
}

#endif

}  // namespace vek
