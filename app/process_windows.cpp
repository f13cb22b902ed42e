#ifdef _WIN32

#include "app/windows_api.h"

#include <cstring>

#include "app/process.h"

namespace vek {

struct Process::State {
    HANDLE process = nullptr;
    bool child = false;
    ~State() {
        if (process) CloseHandle(process);
    }
};

namespace {

std::vector<std::string> callerEnvironment() {
    std::vector<std::string> entries;
    char* block = GetEnvironmentStringsA();
    if (!block) return entries;
    for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
        // Entries naming a drive's folder ("=C:=C:\\") start with '=' and stay as they are.
        entries.emplace_back(entry);
    }
    FreeEnvironmentStringsA(block);
    return entries;
}

// The block CreateProcess takes: each entry ends with a zero, the block with one more.
std::string environmentBlock(const std::vector<std::string>& own) {
    std::string block;
    for (const std::string& entry : mergeEnvironment(own, callerEnvironment())) {
        block += entry;
        block += '\0';
    }
    block += '\0';
    return block;
}

}  // namespace

int launchProcess(const ProcessLaunch& launch, Process& process) {
    process = Process();
    std::string commandLine = commandLineOf(launch);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow =
        static_cast<WORD>(launch.withoutFocus && launch.windowState == WindowState::Minimized
                              ? SW_SHOWMINNOACTIVE
                              : static_cast<int>(launch.windowState));
    // Pipes are only asked for where the link runs under Wine, never on Windows itself.
    if (launch.streams == ProcessStreams::Pipes) return ERROR_NOT_SUPPORTED;
    HANDLE null = INVALID_HANDLE_VALUE;
    if (launch.streams == ProcessStreams::Null) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        null = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, OPEN_EXISTING, 0, nullptr);
        if (null == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = null;
    }
    std::string environment;
    if (!launch.environment.empty()) environment = environmentBlock(launch.environment);
    PROCESS_INFORMATION created{};
    const BOOL ok =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, null != INVALID_HANDLE_VALUE,
                       CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                       environment.empty() ? nullptr : environment.data(),
                       launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str(),
                       &startup, &created);
    const DWORD error = GetLastError();
    if (null != INVALID_HANDLE_VALUE) CloseHandle(null);
    if (!ok) return static_cast<int>(error);
    CloseHandle(created.hThread);
    auto state = std::make_shared<Process::State>();
    state->process = created.hProcess;
    state->child = !launch.detach;
    process.m_state = std::move(state);
    return 0;
}

bool Process::running() const {
    return m_state && WaitForSingleObject(m_state->process, 0) == WAIT_TIMEOUT;
}

std::optional<int> Process::wait(std::optional<std::chrono::milliseconds> timeout) {
    if (!m_state || !m_state->child) return std::nullopt;
    const DWORD limit = timeout ? static_cast<DWORD>(timeout->count()) : INFINITE;
    if (WaitForSingleObject(m_state->process, limit) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_state->process, &code);
    return static_cast<int>(code);
}

void Process::waitUntilReady(std::chrono::milliseconds timeout) {
    if (m_state) WaitForInputIdle(m_state->process, static_cast<DWORD>(timeout.count()));
}

void Process::kill() {
    if (m_state && m_state->child && running()) {
        TerminateProcess(m_state->process, 1);
        WaitForSingleObject(m_state->process, INFINITE);
    }
}

ProcessProbe Process::probe() const {
    if (!m_state) return {};
    return [state = m_state] { return WaitForSingleObject(state->process, 0) == WAIT_TIMEOUT; };
}

int Process::input() const { return -1; }
int Process::output() const { return -1; }

}  // namespace vek

#endif
