#ifdef _WIN32

#include "gamelink/dde_directed.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// dde.h needs the types of windows.h first.
#include <dde.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>
#include "app/text_names.h"

namespace vek {

namespace {

constexpr char kWindowClass[] = "VekDirectedDdeClient";
// A server that does not confirm the end of a conversation is not waited for longer.
constexpr DWORD kTerminateWaitMs = 1000;
constexpr WORD kAckPositive = 0x8000;

const BilingualText kBrokenOff = textOf(Msg::ReasonGameEndedConversation);

// A message a server posted to the client window.
struct Posted {
    UINT message;
    HWND from;
    LPARAM lParam;
};

DWORD millisecondsOf(std::chrono::milliseconds timeout) {
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(timeout.count(), 0));
}

// Frees what a posted message carries that its receiver owns.
void release(const Posted& posted) {
    UINT_PTR low = 0;
    UINT_PTR high = 0;
    switch (posted.message) {
        case WM_DDE_ACK:
            UnpackDDElParam(WM_DDE_ACK, posted.lParam, &low, &high);
            FreeDDElParam(WM_DDE_ACK, posted.lParam);
            GlobalDeleteAtom(static_cast<ATOM>(high));
            break;
        case WM_DDE_DATA: {
            UnpackDDElParam(WM_DDE_DATA, posted.lParam, &low, &high);
            FreeDDElParam(WM_DDE_DATA, posted.lParam);
            const auto memory = reinterpret_cast<HGLOBAL>(low);
            if (auto* data = static_cast<DDEDATA*>(GlobalLock(memory))) {
                const bool ours = data->fRelease;
                GlobalUnlock(memory);
                if (ours) GlobalFree(memory);
            }
            GlobalDeleteAtom(static_cast<ATOM>(high));
            break;
        }
        default:
            break;
    }
}

// The client's window: answers to INITIATE come to it sent, everything else posted.
class ClientWindow {
  public:
    ClientWindow() {
        const HINSTANCE module = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = module;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);  // fails harmlessly when a second client registers again
        m_window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   module, nullptr);
        if (m_window) SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ClientWindow() {
        discardAll();
        if (m_window) DestroyWindow(m_window);
    }
    ClientWindow(const ClientWindow&) = delete;
    ClientWindow& operator=(const ClientWindow&) = delete;

    HWND handle() const { return m_window; }

    // Sends INITIATE to one window; the conversation windows that acknowledged it.
    std::vector<HWND> initiate(HWND target, ATOM service, ATOM topic, DWORD timeoutMs) {
        m_acks.clear();
        m_initiating = true;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(target, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(m_window),
                            MAKELPARAM(service, topic), SMTO_ABORTIFHUNG, timeoutMs, &result);
        m_initiating = false;
        return std::move(m_acks);
    }

    // Takes window messages until `partner` posts one or the time is up.
    std::optional<Posted> await(HWND partner, DWORD timeoutMs) {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (true) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            const auto found = std::find_if(m_posted.begin(), m_posted.end(),
                                            [&](const Posted& p) { return p.from == partner; });
            if (found != m_posted.end()) {
                const Posted posted = *found;
                m_posted.erase(found);
                return posted;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline || !IsWindow(partner)) return std::nullopt;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                      QS_ALLINPUT);
        }
    }

    // Messages of conversations that are over: an acknowledgement after the data (some servers
    // send one unasked), or a server ending a conversation we no longer hold.
    void discardAll() {
        for (const Posted& posted : m_posted) {
            if (posted.message == WM_DDE_TERMINATE && IsWindow(posted.from))
                PostMessageA(posted.from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_window), 0);
            release(posted);
        }
        m_posted.clear();
    }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClientWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!self || message < WM_DDE_FIRST || message > WM_DDE_LAST)
            return DefWindowProcA(window, message, wParam, lParam);
        const auto from = reinterpret_cast<HWND>(wParam);
        if (message == WM_DDE_ACK && self->m_initiating) {
            // The atoms of an answer to INITIATE are the receiver's to delete.
            GlobalDeleteAtom(LOWORD(lParam));
            GlobalDeleteAtom(HIWORD(lParam));
            self->m_acks.push_back(from);
            return 0;
        }
        self->m_posted.push_back({message, from, lParam});
        return 0;
    }

    HWND m_window = nullptr;
    bool m_initiating = false;
    std::vector<HWND> m_acks;
    std::deque<Posted> m_posted;
};

class DirectedConversation : public LinkConversation {
  public:
    DirectedConversation(ClientWindow& client, HWND server) : m_client(client), m_server(server) {}
    ~DirectedConversation() override {
        if (m_ended) return;
        PostMessageA(m_server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client.handle()), 0);
        while (!m_ended) {
            const auto posted = m_client.await(m_server, kTerminateWaitMs);
            if (!posted) break;
            m_ended = posted->message == WM_DDE_TERMINATE;
            release(*posted);
        }
    }
    DirectedConversation(const DirectedConversation&) = delete;
    DirectedConversation& operator=(const DirectedConversation&) = delete;

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds timeout) override {
        if (m_ended || m_stalled) return silence();
        const HGLOBAL memory =
            GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, offsetof(DDEPOKE, Value) + data.size());
        auto* poke = memory ? static_cast<DDEPOKE*>(GlobalLock(memory)) : nullptr;
        if (!poke) {
            if (memory) GlobalFree(memory);
            return outOfMemory();
        }
        poke->fRelease = 1;
        poke->cfFormat = CF_TEXT;
        std::memcpy(poke->Value, data.data(), data.size());
        GlobalUnlock(memory);
        if (!post(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(memory), item)) {
            GlobalFree(memory);
            return LinkResult::broken(kBrokenOff);
        }
        const auto answer = awaitAnswer(timeout);
        if (!answer) return silence();
        if (answer->message != WM_DDE_ACK) return unexpected(*answer);
        const bool taken = ackStatus(answer->lParam) & kAckPositive;
        // A refused poke leaves its data with the one who posted it.
        if (!taken) GlobalFree(memory);
        release(*answer);
        return taken ? LinkResult::ok() : LinkResult::refused();
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                       std::string& answer) override {
        if (m_ended || m_stalled) return silence();
        const std::string name(item);
        const ATOM atom = GlobalAddAtomA(name.c_str());
        if (!PostMessageA(m_server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(m_client.handle()),
                          MAKELPARAM(CF_TEXT, atom))) {
            GlobalDeleteAtom(atom);
            return LinkResult::broken(kBrokenOff);
        }
        const auto reply = awaitAnswer(timeout);
        if (!reply) return silence();
        if (reply->message == WM_DDE_ACK) {
            release(*reply);
            return LinkResult::refused();
        }
        if (reply->message != WM_DDE_DATA) return unexpected(*reply);
        return takeData(*reply, answer);
    }

  private:
    static LinkResult outOfMemory() {
        return LinkResult::broken(textOf(Msg::ReasonNoMemoryForMacro));
    }

    static WORD ackStatus(LPARAM lParam) {
        UINT_PTR status = 0;
        UINT_PTR atom = 0;
        UnpackDDElParam(WM_DDE_ACK, lParam, &status, &atom);
        return static_cast<WORD>(status);
    }

    bool post(UINT message, UINT_PTR value, std::string_view item) {
        const std::string name(item);
        const ATOM atom = GlobalAddAtomA(name.c_str());
        const LPARAM lParam = PackDDElParam(message, value, atom);
        if (PostMessageA(m_server, message, reinterpret_cast<WPARAM>(m_client.handle()), lParam))
            return true;
        FreeDDElParam(message, lParam);
        GlobalDeleteAtom(atom);
        return false;
    }

    // The server's answer; nothing when it ended the conversation instead, went away or was
    // silent for the whole time-out.
    std::optional<Posted> awaitAnswer(std::chrono::milliseconds timeout) {
        auto posted = m_client.await(m_server, millisecondsOf(timeout));
        if (posted && posted->message == WM_DDE_TERMINATE) {
            m_ended = true;
            PostMessageA(m_server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client.handle()),
                         0);
            return std::nullopt;
        }
        if (!posted && !IsWindow(m_server)) m_ended = true;
        // Later steps of a conversation that stalled would only stall as long again.
        if (!posted) m_stalled = true;
        return posted;
    }

    LinkResult silence() const {
        return m_ended ? LinkResult::broken(kBrokenOff) : LinkResult::timedOut();
    }

    LinkResult unexpected(const Posted& posted) {
        release(posted);
        return LinkResult::broken(textOf(Msg::ReasonAnswerOutOfTurn));
    }

    LinkResult takeData(const Posted& posted, std::string& answer) {
        UINT_PTR value = 0;
        UINT_PTR atom = 0;
        UnpackDDElParam(WM_DDE_DATA, posted.lParam, &value, &atom);
        FreeDDElParam(WM_DDE_DATA, posted.lParam);
        const auto memory = reinterpret_cast<HGLOBAL>(value);
        auto* data = static_cast<DDEDATA*>(GlobalLock(memory));
        if (!data) {
            GlobalDeleteAtom(static_cast<ATOM>(atom));
            return LinkResult::broken(textOf(Msg::ReasonAnswerUnreadable));
        }
        const std::size_t size =
            GlobalSize(memory) -
            std::min<std::size_t>(GlobalSize(memory), offsetof(DDEDATA, Value));
        const auto* bytes = reinterpret_cast<const char*>(data->Value);
        answer.assign(bytes, std::find(bytes, bytes + size, '\0'));
        const bool format = data->cfFormat == CF_TEXT;
        const bool ackRequested = data->fAckReq;
        const bool ours = data->fRelease;
        GlobalUnlock(memory);
        if (ours) GlobalFree(memory);
        if (ackRequested) {
            const LPARAM ack = PackDDElParam(WM_DDE_ACK, kAckPositive, atom);
            if (!PostMessageA(m_server, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_client.handle()),
                              ack)) {
                FreeDDElParam(WM_DDE_ACK, ack);
                GlobalDeleteAtom(static_cast<ATOM>(atom));
            }
        } else {
            GlobalDeleteAtom(static_cast<ATOM>(atom));
        }
        if (!format) {
            answer.clear();
            return LinkResult::refused();
        }
        return LinkResult::ok();
    }

    ClientWindow& m_client;
    HWND m_server;
    bool m_ended = false;    // the server ended it or is gone
    bool m_stalled = false;  // a step went unanswered
};

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

class DirectedTransport : public LinkTransport {
  public:
    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds timeout) override {
        if (!m_client.handle()) {
            m_failure = LinkResult::broken(textOf(Msg::ReasonNoDdeClientWindow));
            return nullptr;
        }
        m_client.discardAll();
        const std::string serviceName(service);
        const std::string topicName(topic);
        const ATOM serviceAtom = GlobalAddAtomA(serviceName.c_str());
        const ATOM topicAtom = GlobalAddAtomA(topicName.c_str());
        const DWORD waitMs = millisecondsOf(timeout);
        HWND server = nullptr;
        if (m_serviceWindow && serviceName == m_service && IsWindow(m_serviceWindow))
            server = openWith(m_serviceWindow, serviceAtom, topicAtom, waitMs);
        if (!server) server = search(serviceAtom, topicAtom, waitMs);
        GlobalDeleteAtom(serviceAtom);
        GlobalDeleteAtom(topicAtom);
        if (!server) {
            m_serviceWindow = nullptr;
            m_failure = LinkResult::refused();
            return nullptr;
        }
        m_service = serviceName;
        return std::make_unique<DirectedConversation>(m_client, server);
    }

    LinkResult connectFailure() const override { return m_failure; }

  private:
    // The first window that acknowledged; others that did are ended at once.
    HWND openWith(HWND target, ATOM service, ATOM topic, DWORD waitMs) {
        const std::vector<HWND> acks = m_client.initiate(target, service, topic, waitMs);
        for (std::size_t i = 1; i < acks.size(); ++i)
            PostMessageA(acks[i], WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client.handle()), 0);
        return acks.empty() ? nullptr : acks.front();
    }

    // The broadcast, one window at a time, so that the one that serves is known.
    HWND search(ATOM service, ATOM topic, DWORD waitMs) {
        std::vector<HWND> windows;
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
        const ULONGLONG deadline = GetTickCount64() + waitMs;
        for (const HWND window : windows) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) break;
            if (!IsWindow(window)) continue;
            if (const HWND server =
                    openWith(window, service, topic, static_cast<DWORD>(deadline - now))) {
                m_serviceWindow = window;
                return server;
            }
        }
        // A window made after the list was taken: the broadcast itself, which finds the
        // conversation but not the window that serves it.
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return nullptr;
        return openWith(HWND_BROADCAST, service, topic, static_cast<DWORD>(deadline - now));
    }

    ClientWindow m_client;
    std::string m_service;
    HWND m_serviceWindow = nullptr;
    LinkResult m_failure = LinkResult::refused();
};

}  // namespace

std::shared_ptr<LinkTransport> directedLinkTransport() {
    return std::make_shared<DirectedTransport>();
}

}  // namespace vek

#endif
