#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/messages.h"

namespace vek {

// The names of the game's macro service.
inline constexpr std::string_view kLinkService = "Vivarium";
inline constexpr std::string_view kLinkItem = "Macro";

// The macro buffer holds this many characters and the terminating zero.
inline constexpr std::size_t kMacroBufferLimit = 262144;
// The largest answer (with its terminating zero) a client takes; anything larger breaks the
// conversation off.
inline constexpr std::size_t kMaxLinkAnswer = 16u << 20;

// How long each step of a conversation may take before it counts as failed.
struct LinkTimeouts {
    std::chrono::milliseconds connect{10000};
    std::chrono::milliseconds poke{10000};
    std::chrono::milliseconds request{10000};
};

enum class LinkStatus {
    Ok,
    TimedOut,  // the game did not answer in time
    Refused,   // the game answered that it would not
    Broken,    // the conversation broke off or its answer was not understood
};

struct LinkResult {
    LinkStatus status = LinkStatus::Ok;
    BilingualText fault;  // for Broken: what went wrong; for a failed connect: where and why

    static LinkResult ok() { return {}; }
    static LinkResult timedOut() { return {LinkStatus::TimedOut, {}}; }
    static LinkResult refused() { return {LinkStatus::Refused, {}}; }
    static LinkResult broken(BilingualText what) { return {LinkStatus::Broken, std::move(what)}; }
};

// What handing a macro to the item and asking for its answer gave.
struct LinkExchange {
    LinkResult poked;
    LinkResult requested;
};

// One open conversation with a service on one topic. Closing it (disconnecting and releasing
// what it holds) is its destruction. Transactions are synchronous.
class LinkConversation {
  public:
    virtual ~LinkConversation() = default;

    // Hands `data` (text with its terminating zero) to the item.
    virtual LinkResult poke(std::string_view item, std::span<const char> data,
                            std::chrono::milliseconds timeout) = 0;
    // Asks the item for its data; on success `answer` holds the bytes as returned.
    virtual LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                               std::string& answer) = 0;
    // Pokes, then requests whatever the poke gave. A transport that pays for each round trip
    // sends both at once.
    virtual LinkExchange pokeThenRequest(std::string_view item, std::span<const char> data,
                                         const LinkTimeouts& timeouts, std::string& answer) {
        LinkExchange exchange;
        exchange.poked = poke(item, data, timeouts.poke);
        // A game silent to the poke would be waited for a second time in vain.
        exchange.requested = exchange.poked.status == LinkStatus::TimedOut
                                 ? exchange.poked
                                 : request(item, timeouts.request, answer);
        return exchange;
    }
};

// A way to reach a service: the DDE management library on Windows, a local socket elsewhere.
class LinkTransport {
  public:
    virtual ~LinkTransport() = default;

    // Opens a conversation; nothing when the service does not answer. A place to reach it that
    // others could have planted throws VekError.
    virtual std::unique_ptr<LinkConversation> connect(std::string_view service,
                                                      std::string_view topic,
                                                      std::chrono::milliseconds timeout) = 0;
    // One whole conversation: connect, poke `data` to the item, request its answer, close.
    // Nothing when none opened (connectFailure() says why). A transport that pays for each
    // round trip sends it all at once.
    virtual std::optional<LinkExchange> converse(std::string_view service, std::string_view topic,
                                                 std::string_view item, std::span<const char> data,
                                                 const LinkTimeouts& timeouts,
                                                 std::string& answer) {
        auto conversation = connect(service, topic, timeouts.connect);
        if (!conversation) return std::nullopt;
        return conversation->pokeThenRequest(item, data, timeouts, answer);
    }
    // Told true when the way to the service is slow to open (more than half a second), false
    // once it is open or failed; a transport that opens at once never tells.
    virtual void setSlowStartSink(std::function<void(bool)>) {}
    // Why the last connect opened nothing: Refused when no such service answered, TimedOut
    // when it was there and did not answer in time, Broken when the way to it failed; its fault
    // says where the service was looked for and why it was not reached, where known.
    virtual LinkResult connectFailure() const { return LinkResult::refused(); }
    // True where the stand-in game answers in the game's place.
    virtual bool reachesStandIn() const { return false; }
};

// What a server offers: the answers to a conversation's transactions. A request answered with
// nothing, or a topic or poke not accepted, is refused to the client. Texts are the bytes as
// they travel (the game's ANSI code page).
class LinkService {
  public:
    virtual ~LinkService() = default;
    virtual bool acceptTopic(std::string_view topic) = 0;
    // `text` is the poked data up to its first zero.
    virtual bool poke(std::string_view topic, std::string_view item, std::string_view text) = 0;
    virtual std::optional<std::string> request(std::string_view topic, std::string_view item) = 0;
};

// The platform's transport: DDEML on Windows; the local socket of the service elsewhere.
std::shared_ptr<LinkTransport> platformLinkTransport();

}  // namespace vek
