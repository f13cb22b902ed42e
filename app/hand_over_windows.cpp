#ifdef _WIN32

#include "app/hand_over.h"

#include "app/windows_api.h"
// The security functions need the types of windows.h first.
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <system_error>
#include <thread>

#include "app/messages.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Closes a handle once.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~Handle() {
        if (m_handle) CloseHandle(m_handle);
    }
    Handle(Handle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

  private:
    HANDLE m_handle = nullptr;
};

Handle manualEvent() { return Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<DWORD>(std::clamp<long long>(left.count(), 0, INFINITE - 1));
}

enum class PipeIo { Done, Failed, TimedOut, Stopped };

// Waits for an overlapped operation until the deadline or until `stop` is set; one that does not
// end in time is cancelled, and waited for, so that nothing writes to its buffer afterwards.
PipeIo awaitIo(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD& transferred, HANDLE stop,
               Clock::time_point deadline) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return PipeIo::Failed;
    const HANDLE waitFor[] = {overlapped.hEvent, stop};
    const DWORD woke =
        WaitForMultipleObjects(stop ? 2 : 1, waitFor, FALSE, millisecondsUntil(deadline));
    if (woke != WAIT_OBJECT_0) {
        CancelIoEx(pipe, &overlapped);
        GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        return woke == WAIT_OBJECT_0 + 1 ? PipeIo::Stopped : PipeIo::TimedOut;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) ? PipeIo::Done
                                                                       : PipeIo::Failed;
}

// One read of what has arrived, at most `size` bytes; Failed at the end of the connection.
PipeIo readSome(HANDLE pipe, char* buffer, DWORD size, DWORD& got, HANDLE stop,
                Clock::time_point deadline) {
    const Handle event = manualEvent();
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    got = 0;
    const BOOL started = ReadFile(pipe, buffer, size, nullptr, &overlapped);
    return awaitIo(pipe, overlapped, started, got, stop, deadline);
}

PipeIo writeAll(HANDLE pipe, std::string_view bytes, HANDLE stop, Clock::time_point deadline) {
    const Handle event = manualEvent();
    while (!bytes.empty()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event.get();
        ResetEvent(event.get());
        DWORD sent = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 16));
        const BOOL started = WriteFile(pipe, bytes.data(), chunk, nullptr, &overlapped);
        if (const PipeIo io = awaitIo(pipe, overlapped, started, sent, stop, deadline);
            io != PipeIo::Done)
            return io;
        bytes.remove_prefix(sent);
    }
    return PipeIo::Done;
}

// This process's user, as a SID in a buffer of its own.
std::vector<BYTE> currentUserSidBytes() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
    const Handle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size))
        return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    std::vector<BYTE> copy(GetLengthSid(sid));
    if (!CopySid(static_cast<DWORD>(copy.size()), copy.data(), sid)) return {};
    return copy;
}

// Whether the pipe's owner is this process's user: a pipe another user made under our name
// (waiting for our files) is not spoken to.
bool ownedByThisUser(HANDLE pipe) {
    const std::vector<BYTE> self = currentUserSidBytes();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (self.empty() || GetSecurityInfo(pipe, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                        nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool same = owner && EqualSid(owner, const_cast<BYTE*>(self.data()));
    LocalFree(descriptor);
    return same;
}

// Opens the pipe before the deadline; a busy one (serving another start) is waited for.
Handle openPipe(const fs::path& pipe, Clock::time_point deadline) {
    while (true) {
        // Identification only: the program at the other end cannot act in this user's name.
        Handle opened(CreateFileW(
            pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (opened) return opened;
        if (GetLastError() != ERROR_PIPE_BUSY || Clock::now() >= deadline) return {};
        WaitNamedPipeW(pipe.c_str(), std::max<DWORD>(millisecondsUntil(deadline), 1));
    }
}

// The running program's answer, read before the deadline.
bool taken(HANDLE pipe, Clock::time_point deadline) {
    std::string answer;
    char buffer[16];
    while (answer.size() < kHandOverTaken.size()) {
        DWORD got = 0;
        if (readSome(pipe, buffer, sizeof buffer, got, nullptr, deadline) != PipeIo::Done)
            return false;
        answer.append(buffer, got);
    }
    return answer == kHandOverTaken;
}

}  // namespace

std::string currentUserSid() {
    std::vector<BYTE> sid = currentUserSidBytes();
    LPSTR text = nullptr;
    if (sid.empty() || !ConvertSidToStringSidA(sid.data(), &text)) return {};
    std::string result(text);
    LocalFree(text);
    return result;
}

fs::path handOverPipeName(std::string_view userSid, unsigned long session) {
    return fs::path(L"\\\\.\\pipe\\") /
           ("vekstudio-" + std::string(userSid) + "-" + std::to_string(session));
}

fs::path handOverSocketPath() {
    const std::string sid = currentUserSid();
    DWORD session = 0;
    if (sid.empty() || !ProcessIdToSessionId(GetCurrentProcessId(), &session)) {
        const auto why = std::system_category().message(static_cast<int>(GetLastError()));
        throw VekError(fill(Msg::CannotCreatePipe, {why}));
    }
    return handOverPipeName(sid, session);
}

bool handOverFiles(const fs::path& socket, const std::vector<std::string>& files,
                   std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const Handle pipe = openPipe(socket, deadline);
    return pipe && ownedByThisUser(pipe.get()) &&
           writeAll(pipe.get(), encodeHandOver(files), nullptr, deadline) == PipeIo::Done &&
           taken(pipe.get(), deadline);
}

// The pipe, its serving thread and the event that stops it.
struct HandOverServer::Serving {
    Handle pipe;
    Handle stop = manualEvent();
    Received received;
    std::thread thread;

    void serve();
    void serveConnected();
    // Waits for the next start: Done once one is connected, Stopped once the server ends.
    PipeIo awaitConnection();
};

PipeIo HandOverServer::Serving::awaitConnection() {
    const Handle event = manualEvent();
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    DWORD unused = 0;
    const BOOL started = ConnectNamedPipe(pipe.get(), &overlapped);
    // A start that connected between two waits.
    if (!started && GetLastError() == ERROR_PIPE_CONNECTED) return PipeIo::Done;
    return awaitIo(pipe.get(), overlapped, started, unused, stop.get(), Clock::time_point::max());
}

void HandOverServer::Serving::serveConnected() {
    const auto deadline = Clock::now() + kHandOverSendTime;
    HandOverReader reader;
    std::vector<char> buffer(65536);
    while (reader.state() == HandOverReader::State::Incomplete) {
        DWORD got = 0;
        if (readSome(pipe.get(), buffer.data(), static_cast<DWORD>(buffer.size()), got, stop.get(),
                     deadline) != PipeIo::Done)
            return;
        reader.append(std::string_view(buffer.data(), got));
    }
    if (reader.state() != HandOverReader::State::Complete) return;
    if (writeAll(pipe.get(), kHandOverTaken, stop.get(), deadline) != PipeIo::Done) return;
    // The answer must be read before the connection is cut, which would drop it: the start
    // closes its end once it has it.
    DWORD got = 0;
    char rest[16];
    while (readSome(pipe.get(), rest, sizeof rest, got, stop.get(), deadline) == PipeIo::Done) {
    }
    received(reader.files());
}

void HandOverServer::Serving::serve() {
    // A connection that failed (a start that came and went at once) ends that start only.
    constexpr DWORD kPauseAfterFailure = 50;
    while (true) {
        const PipeIo connected = awaitConnection();
        if (connected == PipeIo::Stopped) return;
        if (connected == PipeIo::Done) serveConnected();
        DisconnectNamedPipe(pipe.get());
        if (WaitForSingleObject(stop.get(), connected == PipeIo::Done ? 0 : kPauseAfterFailure) ==
            WAIT_OBJECT_0)
            return;
    }
}

HandOverServer::HandOverServer() = default;

HandOverServer::~HandOverServer() {
    if (!m_serving) return;
    SetEvent(m_serving->stop.get());
    m_serving->thread.join();
}

bool HandOverServer::listen(const fs::path& pipe, Received received) {
    const std::string sid = currentUserSid();
    if (m_serving || sid.empty()) return false;
    // Owned by the user, and nobody but the user may open it; protected from inherited rights.
    const std::string rights = "O:" + sid + "D:P(A;;GA;;;" + sid + ")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(rights.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    // One instance, taken first: a second program of this name is refused, and a pipe leaves
    // nothing behind when its program ends.
    Handle made(CreateNamedPipeW(
        pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 65536,
        65536, 0, &attributes));
    LocalFree(descriptor);
    if (!made) return false;
    auto serving = std::make_unique<Serving>();
    serving->pipe = std::move(made);
    serving->received = std::move(received);
    if (!serving->stop) return false;
    serving->thread = std::thread([state = serving.get()] { state->serve(); });
    m_serving = std::move(serving);
    return true;
}

}  // namespace vek

#endif
