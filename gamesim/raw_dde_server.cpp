#ifdef _WIN32

#include "gamesim/raw_dde_server.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// dde.h needs the types of windows.h first.
#include <dde.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <optional>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek::sim {

namespace {

constexpr char kServiceClass[] = "VivariumRawDdeService";
constexpr char kConversationClass[] = "VivariumRawDdeConversation";
constexpr WORD kAckPositive = 0x8000;

struct Conversation {
    HWND client;
    std::string topic;
};

// The one service of the process; window procedures carry no context of their own.
struct State {
    std::string service;
    LinkService* handler = nullptr;
    std::map<HWND, Conversation> conversations;
};
State g_state;

std::string atomText(ATOM atom) {
    char text[256] = {};
    const UINT length = GlobalGetAtomNameA(atom, text, sizeof text);
    return std::string(text, length);
}

void postAck(HWND from, HWND to, WORD status, ATOM item) {
    const LPARAM lParam = PackDDElParam(WM_DDE_ACK, status, item);
    if (!PostMessageA(to, WM_DDE_ACK, reinterpret_cast<WPARAM>(from), lParam)) {
        FreeDDElParam(WM_DDE_ACK, lParam);
        GlobalDeleteAtom(item);
    }
}

void takePoke(HWND self, const Conversation& conversation, LPARAM lParam) {
    UINT_PTR value = 0;
    UINT_PTR item = 0;
    UnpackDDElParam(WM_DDE_POKE, lParam, &value, &item);
    FreeDDElParam(WM_DDE_POKE, lParam);
    const auto memory = reinterpret_cast<HGLOBAL>(value);
    const auto* poke = static_cast<const DDEPOKE*>(GlobalLock(memory));
    bool taken = false;
    bool release = false;
    if (poke) {
        const std::size_t room = GlobalSize(memory) - offsetof(DDEPOKE, Value);
        const auto* bytes = reinterpret_cast<const char*>(poke->Value);
        const std::string_view text(bytes, strnlen(bytes, room));
        release = poke->fRelease;
        taken = poke->cfFormat == CF_TEXT &&
                g_state.handler->poke(conversation.topic, atomText(static_cast<ATOM>(item)), text);
        GlobalUnlock(memory);
    }
    // Taken data marked for release is ours to free; refused data stays the client's.
    if (taken && release) GlobalFree(memory);
    postAck(self, conversation.client, taken ? kAckPositive : 0, static_cast<ATOM>(item));
}

void answerRequest(HWND self, const Conversation& conversation, LPARAM lParam) {
    const auto format = LOWORD(lParam);
    const auto item = static_cast<ATOM>(HIWORD(lParam));
    const std::optional<std::string> answer =
        format == CF_TEXT ? g_state.handler->request(conversation.topic, atomText(item))
                          : std::nullopt;
    const HGLOBAL memory = answer ? GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE,
                                                offsetof(DDEDATA, Value) + answer->size() + 1)
                                  : nullptr;
    auto* data = memory ? static_cast<DDEDATA*>(GlobalLock(memory)) : nullptr;
    if (!data) {
        if (memory) GlobalFree(memory);
        return postAck(self, conversation.client, 0, item);
    }
    data->fResponse = 1;
    data->fRelease = 1;
    data->fAckReq = 0;
    data->cfFormat = CF_TEXT;
    std::memcpy(data->Value, answer->c_str(), answer->size() + 1);
    GlobalUnlock(memory);
    const LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(memory), item);
    if (!PostMessageA(conversation.client, WM_DDE_DATA, reinterpret_cast<WPARAM>(self), packed)) {
        FreeDDElParam(WM_DDE_DATA, packed);
        GlobalFree(memory);
        GlobalDeleteAtom(item);
    }
}

LRESULT CALLBACK conversationProcedure(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = g_state.conversations.find(self);
    if (found == g_state.conversations.end() ||
        reinterpret_cast<HWND>(wParam) != found->second.client)
        return DefWindowProcA(self, message, wParam, lParam);
    switch (message) {
        case WM_DDE_POKE:
            takePoke(self, found->second, lParam);
            return 0;
        case WM_DDE_REQUEST:
            answerRequest(self, found->second, lParam);
            return 0;
        case WM_DDE_TERMINATE:
            PostMessageA(found->second.client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
            g_state.conversations.erase(found);
            DestroyWindow(self);
            return 0;
        default:
            return DefWindowProcA(self, message, wParam, lParam);
    }
}

// An INITIATE for our service opens a conversation window of its own and acknowledges from it.
LRESULT CALLBACK serviceProcedure(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DDE_INITIATE) return DefWindowProcA(self, message, wParam, lParam);
    const auto client = reinterpret_cast<HWND>(wParam);
    const std::string service = atomText(LOWORD(lParam));
    const std::string topic = atomText(HIWORD(lParam));
    if (client == self || lstrcmpiA(service.c_str(), g_state.service.c_str()) != 0 ||
        !g_state.handler->acceptTopic(topic))
        return 0;
    const HWND conversation =
        CreateWindowExA(0, kConversationClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    if (!conversation) return 0;
    g_state.conversations[conversation] = {client, topic};
    SendMessageA(
        client, WM_DDE_ACK, reinterpret_cast<WPARAM>(conversation),
        MAKELPARAM(GlobalAddAtomA(g_state.service.c_str()), GlobalAddAtomA(topic.c_str())));
    return 0;
}

void registerClass(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace

RawDdeServer::RawDdeServer(std::string_view service, LinkService& handler) {
    g_state.service = std::string(service);
    g_state.handler = &handler;
    registerClass(kServiceClass, serviceProcedure);
    registerClass(kConversationClass, conversationProcedure);
    // A top-level window, hidden: a broadcast reaches it, a message-only window it would not.
    m_window = CreateWindowExA(0, kServiceClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!m_window) throw VekError(Msg::ReasonDdeServiceWindow);
}

RawDdeServer::~RawDdeServer() {
    for (const auto& [window, conversation] : g_state.conversations) DestroyWindow(window);
    g_state = {};
    DestroyWindow(static_cast<HWND>(m_window));
}

void RawDdeServer::serve() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

}  // namespace vek::sim

#endif
