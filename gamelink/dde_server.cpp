#ifdef _WIN32

#include "gamelink/dde_server.h"

#include "app/windows_api.h"
// ddeml.h needs the types of windows.h first.
#include <ddeml.h>

#include <map>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

namespace {

// The library's callback carries no context: the one server of the process lives here.
struct ServerState {
    DWORD instance = 0;
    HSZ service = nullptr;
    LinkService* handler = nullptr;
    std::map<HCONV, std::string> topics;  // of the open conversations
    DWORD thread = 0;
};
ServerState g_server;

std::string textOf(HSZ handle) {
    const DWORD length = DdeQueryStringA(g_server.instance, handle, nullptr, 0, CP_WINANSI);
    std::string text(length + 1, '\0');
    DdeQueryStringA(g_server.instance, handle, text.data(), length + 1, CP_WINANSI);
    text.resize(length);
    return text;
}

std::string bytesOf(HDDEDATA data) {
    std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), 0);
    bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    return bytes;
}

HDDEDATA answerRequest(HCONV conversation, HSZ item) {
    const auto answer = g_server.handler->request(g_server.topics[conversation], textOf(item));
    if (!answer) return nullptr;
    // CF_TEXT: the text and its zero.
    return DdeCreateDataHandle(g_server.instance,
                               reinterpret_cast<LPBYTE>(const_cast<char*>(answer->c_str())),
                               static_cast<DWORD>(answer->size() + 1), 0, item, CF_TEXT, 0);
}

HDDEDATA CALLBACK serverCallback(UINT type, UINT format, HCONV conversation, HSZ first, HSZ second,
                                 HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    switch (type) {
        case XTYP_CONNECT:
            if (DdeCmpStringHandles(second, g_server.service) != 0) return nullptr;
            return reinterpret_cast<HDDEDATA>(
                static_cast<ULONG_PTR>(g_server.handler->acceptTopic(textOf(first))));
        case XTYP_CONNECT_CONFIRM:
            g_server.topics[conversation] = textOf(first);
            return nullptr;
        case XTYP_DISCONNECT:
            g_server.topics.erase(conversation);
            return nullptr;
        case XTYP_POKE: {
            const bool taken =
                format == CF_TEXT && g_server.handler->poke(g_server.topics[conversation],
                                                            textOf(second), bytesOf(data));
            return reinterpret_cast<HDDEDATA>(
                static_cast<ULONG_PTR>(taken ? DDE_FACK : DDE_FNOTPROCESSED));
        }
        case XTYP_REQUEST:
            return format == CF_TEXT ? answerRequest(conversation, second) : nullptr;
        default:
            return nullptr;
    }
}

BOOL WINAPI onConsoleClose(DWORD) {
    PostThreadMessageA(g_server.thread, WM_QUIT, 0, 0);
    return TRUE;
}

}  // namespace

DdeLinkServer::DdeLinkServer(std::string_view service, LinkService& handler) {
    if (g_server.handler) {
        throw VekError(Msg::ReasonDdeServiceRunning);
    }
    DWORD instance = 0;
    const UINT flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_EXECUTES |
                       CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&instance, serverCallback, flags, 0) != DMLERR_NO_ERROR) {
        throw VekError(Msg::ReasonDdeLibraryNotStarted);
    }
    const std::string name(service);
    const HSZ serviceName = DdeCreateStringHandleA(instance, name.c_str(), CP_WINANSI);
    g_server = {instance, serviceName, &handler, {}, GetCurrentThreadId()};
    if (!serviceName || !DdeNameService(instance, serviceName, nullptr, DNS_REGISTER)) {
        if (serviceName) DdeFreeStringHandle(instance, serviceName);
        DdeUninitialize(instance);
        g_server = {};
        throw VekError(fill(Msg::ReasonDdeServiceNotRegistered, {name}));
    }
    m_instance = instance;
    m_service = serviceName;
    m_thread = g_server.thread;
    SetConsoleCtrlHandler(onConsoleClose, TRUE);
}

DdeLinkServer::~DdeLinkServer() {
    SetConsoleCtrlHandler(onConsoleClose, FALSE);
    DdeNameService(m_instance, static_cast<HSZ>(m_service), nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(m_instance, static_cast<HSZ>(m_service));
    DdeUninitialize(m_instance);
    g_server = {};
}

void DdeLinkServer::serve() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void DdeLinkServer::stop() { PostThreadMessageA(m_thread, WM_QUIT, 0, 0); }

}  // namespace vek

#endif
