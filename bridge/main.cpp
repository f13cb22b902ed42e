// vek-bridge: the program's DDE client inside a Wine prefix. The program on Linux starts it
// under Wine and talks to it in frames over its standard input and output; each conversation
// with the game is opened, used and closed here in the order the program asks.

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include "app/windows_api.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/vek_error.h"
#include "gamelink/bridge_frame.h"
#include "gamelink/dde_directed.h"
#include "gamelink/link_transport.h"

namespace {

using vek::BridgeFrame;
using vek::BridgeKind;

#ifdef _WIN64
constexpr const char* kBuild = "x86_64";
#else
constexpr const char* kBuild = "i686";
#endif

bool writeBytes(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

bool writeFrame(const BridgeFrame& frame) { return writeBytes(vek::encodeBridgeFrame(frame)); }

// The conversation of plain messages aimed at the game's window, unless VEK_DDE=ddeml asks for
// the management library.
bool managementLibraryAsked() {
    const char* choice = std::getenv("VEK_DDE");
    return choice && std::string_view(choice) == "ddeml";
}

BridgeFrame replyOf(const vek::LinkResult& result) {
    switch (result.status) {
        case vek::LinkStatus::Ok:
            return {BridgeKind::Ok, 0, {}, {}};
        case vek::LinkStatus::TimedOut:
            return {BridgeKind::TimedOut, 0, {}, {}};
        case vek::LinkStatus::Refused:
            return {BridgeKind::Refused, 0, {}, {}};
        case vek::LinkStatus::Broken:
            break;
    }
    return {BridgeKind::Broken, 0, {}, result.fault.english};
}

class Bridge {
  public:
    // The reply to one frame; nothing for Disconnect.
    std::optional<BridgeFrame> handle(const BridgeFrame& frame) {
        const std::chrono::milliseconds timeout(frame.timeoutMs);
        switch (frame.kind) {
            case BridgeKind::Connect:
                m_conversation.reset();
                m_conversation = m_transport->connect(frame.name, frame.data, timeout);
                return m_conversation ? replyOf(vek::LinkResult::ok())
                                      : replyOf(m_transport->connectFailure());
            case BridgeKind::Disconnect:
                m_conversation.reset();
                return std::nullopt;
            case BridgeKind::Poke:
                if (!m_conversation) return notConnected();
                return replyOf(m_conversation->poke(frame.name, frame.data, timeout));
            case BridgeKind::Request: {
                if (!m_conversation) return notConnected();
                std::string answer;
                const vek::LinkResult result = m_conversation->request(frame.name, timeout, answer);
                if (result.status != vek::LinkStatus::Ok) return replyOf(result);
                return BridgeFrame{BridgeKind::Data, 0, {}, std::move(answer)};
            }
            default:
                return BridgeFrame{
                    BridgeKind::Broken, 0, {}, "the bridge got a frame it never takes"};
        }
    }

  private:
    static BridgeFrame notConnected() {
        return {BridgeKind::Broken, 0, {}, "no conversation is open"};
    }

    std::shared_ptr<vek::LinkTransport> m_transport =
        managementLibraryAsked() ? vek::platformLinkTransport() : vek::directedLinkTransport();
    std::unique_ptr<vek::LinkConversation> m_conversation;
};

// The program's frames. With the management library they are read on a thread of their own: its
// windows are reached by everyone's broadcast, so the main thread keeps taking their messages
// while it waits. The directed client's one window is message-only, beyond any broadcast: the
// main thread reads the pipe itself and spares a thread's wake-up a conversation.
class FrameInbox {
  public:
    explicit FrameInbox(bool pumpWhileWaiting)
        : m_ready(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        InitializeCriticalSection(&m_lock);
        if (pumpWhileWaiting) m_thread = CreateThread(nullptr, 0, readLoop, this, 0, nullptr);
    }
    ~FrameInbox() {
        // A thread still in its read may yet touch them: the process's end takes them then.
        if (m_thread && !m_closed) return;
        if (m_thread) CloseHandle(m_thread);
        DeleteCriticalSection(&m_lock);
        CloseHandle(m_ready);
    }
    FrameInbox(const FrameInbox&) = delete;
    FrameInbox& operator=(const FrameInbox&) = delete;

    // Waits for bytes (dispatching window messages meanwhile when it pumps); false once the
    // pipe has closed.
    bool await(std::string& bytes) {
        if (!m_thread) return readSome(bytes);
        while (true) {
            if (take(bytes)) return true;
            if (m_closed) return false;
            const HANDLE handles[] = {m_ready};
            if (MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT) ==
                WAIT_OBJECT_0 + 1)
                dispatchMessages();
        }
    }

  private:
    static bool readSome(std::string& bytes) {
        char buffer[65536];
        const int got = _read(_fileno(stdin), buffer, sizeof buffer);
        if (got <= 0) return false;
        bytes.assign(buffer, static_cast<std::size_t>(got));
        return true;
    }

    static DWORD WINAPI readLoop(void* self) {
        auto& inbox = *static_cast<FrameInbox*>(self);
        char buffer[65536];
        int got;
        // What the pipe holds now, not a full buffer: a frame is answered when it is whole.
        while ((got = _read(_fileno(stdin), buffer, sizeof buffer)) > 0) {
            EnterCriticalSection(&inbox.m_lock);
            inbox.m_bytes.append(buffer, static_cast<std::size_t>(got));
            LeaveCriticalSection(&inbox.m_lock);
            SetEvent(inbox.m_ready);
        }
        inbox.m_closed = true;
        SetEvent(inbox.m_ready);
        return 0;
    }

    bool take(std::string& bytes) {
        EnterCriticalSection(&m_lock);
        bytes.swap(m_bytes);
        m_bytes.clear();
        LeaveCriticalSection(&m_lock);
        return !bytes.empty();
    }

    static void dispatchMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    HANDLE m_ready;
    HANDLE m_thread = nullptr;
    CRITICAL_SECTION m_lock;
    std::string m_bytes;
    std::atomic<bool> m_closed = false;
};

}  // namespace

int main() {
    // Frames are bytes: no line-end translation on either stream.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    if (!writeFrame({BridgeKind::Hello, 0, {}, kBuild})) return 1;
    Bridge bridge;
    vek::BridgeFrameReader reader(vek::kMacroBufferLimit + 1 + 1024);
    FrameInbox inbox(managementLibraryAsked());
    std::string bytes;
    try {
        while (true) {
            // The replies to what arrived together leave together, one write a conversation,
            // before its end is agreed with the game: the program goes on meanwhile.
            std::string replies;
            while (auto frame = reader.next()) {
                if (frame->kind == BridgeKind::Disconnect && !replies.empty()) {
                    if (!writeBytes(replies)) return 1;
                    replies.clear();
                }
                if (auto reply = bridge.handle(*frame)) replies += vek::encodeBridgeFrame(*reply);
            }
            if (!replies.empty() && !writeBytes(replies)) return 1;
            // Our program closed its end: nothing more to do.
            if (!inbox.await(bytes)) return 0;
            reader.append(bytes);
        }
    } catch (const std::exception& error) {
        writeFrame({BridgeKind::Broken, 0, {}, vek::errorMessage(error, vek::kLanguageEnglish)});
        return 1;
    }
}

#endif
