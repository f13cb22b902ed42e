#include "gamelink/process_launch.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
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
#endif

namespace vek {

std::string commandLineOf(const ProcessLaunch& launch) {
    std::string line = launch.exeName;
    for (const std::string& param : launch.params) line += " " + param;
    return line;
}

#ifdef _WIN32

int launchProcess(const ProcessLaunch& launch) {
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
    CloseHandle(process.hProcess);
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

std::optional<fs::path> findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
    std::string_view rest = path;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (!folder.empty()) {
            const fs::path candidate = fs::path(std::string(folder)) / program;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

bool isWindowsProgram(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

// Runs argv[0] in the child; an error before the program takes over goes back through `report`.
[[noreturn]] void becomeProgram(const std::vector<char*>& argv, const char* directory, int report) {
    int error = 0;
    if (directory && ::chdir(directory) != 0) {
        error = errno == ENOENT ? ENOTDIR : errno;
    } else {
        ::execv(argv[0], argv.data());
        error = errno;
    }
    [[maybe_unused]] const ssize_t ignored = ::write(report, &error, sizeof error);
    ::_exit(127);
}

}  // namespace

int launchProcess(const ProcessLaunch& launch) {
    const fs::path program = launch.exeName;
    std::error_code error;
    if (launch.exeName.empty() || !fs::is_regular_file(program, error)) return kFileNotFound;
    std::vector<std::string> arguments;
    if (isWindowsProgram(program)) {
        const auto wine = findOnPath("wine");
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
        if (launch.wait) becomeProgram(argv, directory, report[1]);
        // Not waited for: the program runs as a grandchild of its own, so that it is not left
        // behind as our zombie when it ends.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) becomeProgram(argv, directory, report[1]);
        if (grandchild < 0) {
            const int forkError = errno;
            [[maybe_unused]] const ssize_t ignored =
                ::write(report[1], &forkError, sizeof forkError);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return got == sizeof childError ? errorNumberOf(childError) : 0;
}

#endif

}  // namespace vek
