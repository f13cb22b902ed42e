// The link on Windows: the DDE management library, as the game itself speaks it. The bytes are
// the game's ANSI text as they stand; the caller converts at the program's edge.
#ifdef _WIN32

#include "app/windows_api.h"
// ddeml.h needs the types of windows.h first.
#include <ddeml.h>

#include <map>
#include <memory>
#include <string>

#include "app/text_names.h"
#include "gamelink/link_transport.h"

namespace vek {

namespace {

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// One DDEML client instance and the string handles it made. The handles are kept for the
// instance's life: a name is made once, not once per conversation.
class DdeClient {
  public:
    DdeClient() {
        if (DdeInitializeA(&m_instance, clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            m_instance = 0;
    }
    ~DdeClient() {
        for (const auto& [text, handle] : m_names) DdeFreeStringHandle(m_instance, handle);
        if (m_instance) DdeUninitialize(m_instance);
    }
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    DWORD instance() const { return m_instance; }

    HSZ name(std::string_view text) {
        const auto found = m_names.find(text);
        if (found != m_names.end()) return found->second;
        const std::string key(text);
        const HSZ handle = DdeCreateStringHandleA(m_instance, key.c_str(), CP_WINANSI);
        if (handle) m_names.emplace(key, handle);
        return handle;
    }

    LinkResult failure() const {
        switch (DdeGetLastError(m_instance)) {
            case DMLERR_POKEACKTIMEOUT:
            case DMLERR_DATAACKTIMEOUT:
            case DMLERR_EXECACKTIMEOUT:
                return LinkResult::timedOut();
            case DMLERR_NOTPROCESSED:
                return LinkResult::refused();
            default:
                return LinkResult::broken(textOf(Msg::ReasonDdeTransactionFailed));
        }
    }

  private:
    DWORD m_instance = 0;
    std::map<std::string, HSZ, std::less<>> m_names;
};

class DdeConversation : public LinkConversation {
  public:
    DdeConversation(std::shared_ptr<DdeClient> client, HCONV conversation)
        : m_client(std::move(client)), m_conversation(conversation) {}
    ~DdeConversation() override { DdeDisconnect(m_conversation); }
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds timeout) override {
        std::string bytes(data.data(), data.size());
        DWORD result = 0;
        const HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(bytes.data()),
                                                   static_cast<DWORD>(bytes.size()), m_conversation,
                                                   m_client->name(item), CF_TEXT, XTYP_POKE,
                                                   static_cast<DWORD>(timeout.count()), &result);
        return done ? LinkResult::ok() : m_client->failure();
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                       std::string& answer) override {
        DWORD result = 0;
        const HDDEDATA data =
            DdeClientTransaction(nullptr, 0, m_conversation, m_client->name(item), CF_TEXT,
                                 XTYP_REQUEST, static_cast<DWORD>(timeout.count()), &result);
        if (!data) return m_client->failure();
        answer.assign(DdeGetData(data, nullptr, 0, 0), '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(answer.data()), static_cast<DWORD>(answer.size()),
                   0);
        DdeFreeDataHandle(data);
        return LinkResult::ok();
    }

  private:
    std::shared_ptr<DdeClient> m_client;  // kept while the conversation is open
    HCONV m_conversation;
};

class DdeTransport : public LinkTransport {
  public:
    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds) override {
        // An instance's string handles grow costly after some thousand conversations: a fresh
        // instance now and then keeps the last conversation as quick as the first.
        if (++m_conversations % kConversationsPerInstance == 0)
            m_client = std::make_shared<DdeClient>();
        if (!m_client->instance()) {
            m_failure = LinkResult::broken(textOf(Msg::ReasonDdeLibraryNotStarted));
            return nullptr;
        }
        const HCONV conversation = DdeConnect(m_client->instance(), m_client->name(service),
                                              m_client->name(topic), nullptr);
        if (!conversation) {
            m_failure = LinkResult::refused();
            return nullptr;
        }
        return std::make_unique<DdeConversation>(m_client, conversation);
    }

    LinkResult connectFailure() const override { return m_failure; }

  private:
    static constexpr unsigned kConversationsPerInstance = 500;
    std::shared_ptr<DdeClient> m_client = std::make_shared<DdeClient>();
    unsigned m_conversations = 0;
    LinkResult m_failure = LinkResult::refused();
};

}  // namespace

std::shared_ptr<LinkTransport> platformLinkTransport() { return std::make_shared<DdeTransport>(); }

}  // namespace vek

#endif
