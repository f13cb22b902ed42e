#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vek {

// The show commands a new process's window gets (the platform's numbers).
enum class WindowState { Normal = 1, Minimized = 2, Maximized = 3 };

// Where the started program's standard streams go.
enum class ProcessStreams {
    Inherit,  // the caller's
    Null,     // output and errors thrown away
    Pipes,    // input and output connected to the caller, errors thrown away
};

struct ProcessLaunch {
    std::string exeName{};
    std::vector<std::string> params{};
    std::string workingDirectory{};  // empty: the caller's
    WindowState windowState = WindowState::Normal;
    bool withoutFocus = false;               // shown without taking the focus
    std::vector<std::string> environment{};  // NAME=VALUE over the caller's (WINEPREFIX=...)
    ProcessStreams streams = ProcessStreams::Inherit;
    bool searchPath = false;  // a bare name is looked up on PATH
    // A detached program runs on its own and can only be probed; otherwise it is the caller's
    // child, to be waited for or ended.
    bool detach = true;
};

// Tells whether a started process still runs.
using ProcessProbe = std::function<bool()>;

// A started program. A child that is not detached and still runs is ended with its handle.
class Process {
  public:
    Process();
    ~Process();
    Process(Process&&) noexcept;
    Process& operator=(Process&&) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const;
    bool running() const;
    // The exit code once the program ended, within `timeout` when given; nothing while it still
    // runs (and always for a detached program).
    std::optional<int> wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    // Until the program is ready for input; at once where the platform cannot tell.
    void waitUntilReady(std::chrono::milliseconds timeout);
    // Ends a child at once and collects it.
    void kill();
    // Outlives the handle; false once the program ended.
    ProcessProbe probe() const;
    // The ends of the pipes (ProcessStreams::Pipes): the program's input and output; -1 else.
    int input() const;
    int output() const;

    struct State;

  private:
    friend int launchProcess(const ProcessLaunch& launch, Process& process);
    std::shared_ptr<State> m_state;
};

// The command line as the platform shows it: the name and each parameter after one blank.
std::string commandLineOf(const ProcessLaunch& launch);

// Creates the process. Returns 0 on success, otherwise the system's error number (2 when the
// program is not there). Elsewhere than on Windows a Windows program runs through Wine when
// Wine is installed (12 when it is not), and a file that is no program gives 11.
int launchProcess(const ProcessLaunch& launch, Process& process);

// `base` (NAME=VALUE entries) with `own` values in place of the same names, own ones first.
std::vector<std::string> mergeEnvironment(const std::vector<std::string>& own,
                                          const std::vector<std::string>& base);

// What a program run in a Wine prefix gets besides the caller's environment: the prefix, and
// Wine's debug output silenced unless the user asked for it.
std::vector<std::string> wineEnvironment(const std::filesystem::path& prefix);

// The machine a Windows program is built for, from its file's header.
enum class WindowsMachine { None, X86, X64 };
WindowsMachine windowsMachineOf(const std::filesystem::path& program);

#ifndef _WIN32
// The Wine loader that runs programs of `machine`: wine, and for 64 bits wine64 where it is
// installed beside it (Debian keeps it out of PATH). Nothing when Wine is not installed.
std::optional<std::filesystem::path> findWineLoader(WindowsMachine machine);
#endif

}  // namespace vek
