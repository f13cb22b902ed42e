// The link on Windows: the DDE management library, as the game itself speaks it.
#ifdef _WIN32

#include <ddeml.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "gamelink/link_transport.h"

namespace vek {

namespace {

// Text is UTF-8 in the program and in the ANSI code page on the wire.
std::wstring widen(std::string_view text, UINT codePage) {
    const int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string narrow(const std::wstring& wide, UINT codePage) {
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        length, nullptr, nullptr);
    return text;
}

std::string toAnsi(std::string_view utf8) { return narrow(widen(utf8, CP_UTF8), CP_ACP); }
std::string fromAnsi(std::string_view ansi) { return narrow(widen(ansi, CP_ACP), CP_UTF8); }

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A string handle released with its owner.
class StringHandle {
  public:
    StringHandle(DWORD instance, std::string_view text)
        : m_instance(instance),
          m_handle(DdeCreateStringHandleA(instance, toAnsi(text).c_str(), CP_WINANSI)) {}
    ~StringHandle() {
        if (m_handle) DdeFreeStringHandle(m_instance, m_handle);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ get() const { return m_handle; }

  private:
    DWORD m_instance;
    HSZ m_handle;
};

LinkResult failureOf(DWORD instance) {
    switch (DdeGetLastError(instance)) {
        case DMLERR_POKEACKTIMEOUT:
        case DMLERR_DATAACKTIMEOUT:
        case DMLERR_EXECACKTIMEOUT:
            return LinkResult::timedOut();
        case DMLERR_NOTPROCESSED:
            return LinkResult::refused();
        default:
            return LinkResult::broken("the DDE transaction failed");
    }
}

class DdeConversation : public LinkConversation {
  public:
    DdeConversation(DWORD instance, std::string_view service, std::string_view topic)
        : m_instance(instance),
          m_service(instance, service),
          m_topic(instance, topic),
          m_conversation(DdeConnect(instance, m_service.get(), m_topic.get(), nullptr)) {}
    ~DdeConversation() override {
        if (m_conversation) DdeDisconnect(m_conversation);
    }

    bool isOpen() const { return m_conversation != nullptr; }

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds timeout) override {
        const StringHandle name(m_instance, item);
        // CF_TEXT: the text up to its zero, and the zero.
        const std::string_view text(data.data(), data.size());
        std::string bytes = toAnsi(text.substr(0, text.find('\0')));
        bytes.push_back('\0');
        DWORD result = 0;
        const HDDEDATA done =
            DdeClientTransaction(reinterpret_cast<LPBYTE>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()), m_conversation, name.get(),
                                 CF_TEXT, XTYP_POKE, static_cast<DWORD>(timeout.count()), &result);
        return done ? LinkResult::ok() : failureOf(m_instance);
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                       std::string& answer) override {
        const StringHandle name(m_instance, item);
        DWORD result = 0;
        const HDDEDATA data =
            DdeClientTransaction(nullptr, 0, m_conversation, name.get(), CF_TEXT, XTYP_REQUEST,
                                 static_cast<DWORD>(timeout.count()), &result);
        if (!data) return failureOf(m_instance);
        std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()),
                   0);
        DdeFreeDataHandle(data);
        answer = fromAnsi(std::string_view(bytes).substr(0, bytes.find('\0')));
        return LinkResult::ok();
    }

  private:
    DWORD m_instance;
    StringHandle m_service;
    StringHandle m_topic;
    HCONV m_conversation;
};

class DdeTransport : public LinkTransport {
  public:
    DdeTransport() { DdeInitializeA(&m_instance, clientCallback, APPCMD_CLIENTONLY, 0); }
    ~DdeTransport() override {
        if (m_instance) DdeUninitialize(m_instance);
    }

    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds) override {
        if (!m_instance) return nullptr;
        auto conversation = std::make_unique<DdeConversation>(m_instance, service, topic);
        if (!conversation->isOpen()) return nullptr;
        return conversation;
    }

  private:
    DWORD m_instance = 0;
};

}  // namespace

std::shared_ptr<LinkTransport> platformLinkTransport() { return std::make_shared<DdeTransport>(); }

}  // namespace vek

#endif
