#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vek {

// The show commands a new process's window gets (the platform's numbers).
enum class WindowState { Normal = 1, Minimized = 2, Maximized = 3 };

struct ProcessLaunch {
    std::string exeName;
    std::vector<std::string> params;
    std::string workingDirectory;  // empty: the caller's
    WindowState windowState = WindowState::Normal;
    bool wait = false;            // until the process ends
    bool withoutFocus = false;    // shown without taking the focus
    bool waitUntilReady = false;  // until it is ready for input, within the system's time-out
    std::vector<std::string> environment;  // NAME=VALUE set for the process (WINEPREFIX=...)
};

// Tells whether a process started without waiting still runs.
using ProcessProbe = std::function<bool()>;

// The command line as the platform shows it: the name and each parameter after one blank.
std::string commandLineOf(const ProcessLaunch& launch);

// Creates the process. Returns 0 on success, otherwise the system's error number (2 when the
// program is not there). Elsewhere than on Windows a Windows program runs through Wine when
// Wine is installed (12 when it is not), and a file that is no program gives 11.
// `probe`, when given, is set to tell whether the started process still runs.
int launchProcess(const ProcessLaunch& launch, ProcessProbe* probe = nullptr);

// The machine a Windows program is built for, from its file's header.
enum class WindowsMachine { None, X86, X64 };
WindowsMachine windowsMachineOf(const std::filesystem::path& program);

// The Wine loader that runs programs of `machine`: wine, and for 64 bits wine64 where it is
// installed beside it (Debian keeps it out of PATH). Nothing when Wine is not installed.
std::optional<std::filesystem::path> findWineLoader(WindowsMachine machine);

}  // namespace vek
