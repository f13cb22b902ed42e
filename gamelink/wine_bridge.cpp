#ifndef _WIN32

#include "gamelink/wine_bridge.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/process.h"
#include "app/text_names.h"

namespace vek {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Wine answers a step a little after the time-out it was given; a bridge silent longer hangs.
constexpr std::chrono::milliseconds kBridgeGrace{5000};
// A prefix's first start (wineboot) takes a while (the grace comes on top).
constexpr std::chrono::milliseconds kHelloTimeout{55000};
constexpr std::size_t kMaxBridgeFrame = 64u << 20;
// A start that takes longer is shown as progress.
constexpr int kSlowStartMs = 500;

const BilingualText kBridgeStopped = textOf(Msg::ReasonBridgeStopped);

class BridgeConversation : public LinkConversation {
  public:
    explicit BridgeConversation(WineBridgeTransport& bridge) : m_bridge(bridge) {}
    ~BridgeConversation() override {
        m_bridge.send(encodeBridgeFrame({BridgeKind::Disconnect, 0, {}, {}}));
    }
    BridgeConversation(const BridgeConversation&) = delete;
    BridgeConversation& operator=(const BridgeConversation&) = delete;

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds timeout) override {
        BridgeFrame reply;
        return m_bridge.exchange(pokeFrame(item, data, timeout), reply);
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds timeout,
                       std::string& answer) override {
        BridgeFrame reply;
        const LinkResult result = m_bridge.exchange(requestFrame(item, timeout), reply);
        if (result.status == LinkStatus::Ok) answer = std::move(reply.data);
        return result;
    }

    // Both frames in one write: a round trip into Wine costs as much as a DDE step.
    LinkExchange pokeThenRequest(std::string_view item, std::span<const char> data,
                                 const LinkTimeouts& timeouts, std::string& answer) override {
        LinkExchange exchange;
        if (!m_bridge.send(encodeBridgeFrame(pokeFrame(item, data, timeouts.poke)) +
                           encodeBridgeFrame(requestFrame(item, timeouts.request)))) {
            exchange.poked = exchange.requested = LinkResult::broken(kBridgeStopped);
            return exchange;
        }
        BridgeFrame reply;
        exchange.poked = m_bridge.receive(timeouts.poke, reply);
        exchange.requested = m_bridge.receive(timeouts.request, reply);
        if (exchange.requested.status == LinkStatus::Ok) answer = std::move(reply.data);
        return exchange;
    }

    static std::uint32_t milliseconds(std::chrono::milliseconds timeout) {
        return static_cast<std::uint32_t>(timeout.count());
    }

    static BridgeFrame pokeFrame(std::string_view item, std::span<const char> data,
                                 std::chrono::milliseconds timeout) {
        return {BridgeKind::Poke, milliseconds(timeout), std::string(item),
                std::string(data.data(), data.size())};
    }
    static BridgeFrame requestFrame(std::string_view item, std::chrono::milliseconds timeout) {
        return {BridgeKind::Request, milliseconds(timeout), std::string(item), {}};
    }

  private:
    WineBridgeTransport& m_bridge;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<fs::path> bridgeLoader(bool sixtyFourBit) {
    return findWineLoader(sixtyFourBit ? WindowsMachine::X64 : WindowsMachine::X86);
}

}  // namespace

std::vector<BridgeProgram> installedBridges(const fs::path& programFolder) {
    fs::path folder = programFolder;
    if (const char* dir = std::getenv("VEK_BRIDGE_DIR"); dir && *dir) folder = dir;
    std::vector<BridgeProgram> bridges;
    for (const bool sixtyFour : {false, true}) {
        const fs::path exe = folder / "wine" / (sixtyFour ? "x86_64" : "i686") / "vek-bridge.exe";
        std::error_code error;
        const auto loader = bridgeLoader(sixtyFour);
        if (loader && fs::is_regular_file(exe, error)) bridges.push_back({*loader, exe});
    }
    return bridges;
}

WineBridgeTransport::WineBridgeTransport(fs::path prefix, std::vector<BridgeProgram> bridges)
    : m_prefix(std::move(prefix)), m_bridges(std::move(bridges)), m_reader(kMaxBridgeFrame) {
    // A bridge that died must end its conversation, not the program that writes to it.
    ::signal(SIGPIPE, SIG_IGN);
}

WineBridgeTransport::~WineBridgeTransport() { stop(); }

std::unique_ptr<LinkConversation> WineBridgeTransport::connect(std::string_view service,
                                                               std::string_view topic,
                                                               std::chrono::milliseconds timeout) {
    if (!ensureRunning()) return nullptr;
    BridgeFrame reply;
    m_failure = exchange({BridgeKind::Connect, BridgeConversation::milliseconds(timeout),
                          std::string(service), std::string(topic)},
                         reply);
    if (m_failure.status != LinkStatus::Ok) return nullptr;
    return std::make_unique<BridgeConversation>(*this);
}

std::optional<LinkExchange> WineBridgeTransport::converse(
    std::string_view service, std::string_view topic, std::string_view item,
    std::span<const char> data, const LinkTimeouts& timeouts, std::string& answer) {
    if (!ensureRunning()) return std::nullopt;
    // The bridge answers every frame but Disconnect, a poke and a request without a
    // conversation too: three replies, whatever the connect gave.
    const std::string frames =
        encodeBridgeFrame({BridgeKind::Connect, BridgeConversation::milliseconds(timeouts.connect),
                           std::string(service), std::string(topic)}) +
        encodeBridgeFrame(BridgeConversation::pokeFrame(item, data, timeouts.poke)) +
        encodeBridgeFrame(BridgeConversation::requestFrame(item, timeouts.request)) +
        encodeBridgeFrame({BridgeKind::Disconnect, 0, {}, {}});
    if (!send(frames)) {
        m_failure = LinkResult::broken(kBridgeStopped);
        return std::nullopt;
    }
    BridgeFrame reply;
    m_failure = receive(timeouts.connect, reply);
    LinkExchange exchange;
    exchange.poked = receive(timeouts.poke, reply);
    exchange.requested = receive(timeouts.request, reply);
    if (m_failure.status != LinkStatus::Ok) return std::nullopt;
    if (exchange.requested.status == LinkStatus::Ok) answer = std::move(reply.data);
    return exchange;
}

bool WineBridgeTransport::ensureRunning() {
    if (m_bridge.started()) return true;
    if (m_bridges.empty()) {
        m_failure = LinkResult::broken(textOf(Msg::ReasonWineNotInstalled));
        return false;
    }
    std::error_code error;
    if (!fs::is_directory(m_prefix, error)) {
        const std::string where = m_prefix.string();
        m_failure = LinkResult::broken(fill(Msg::ReasonWinePrefixMissing, {where}));
        return false;
    }
    // Started once, and once more after it died; a third time would hide a real fault.
    if (m_starts >= 2) {
        m_failure = LinkResult::broken(textOf(Msg::ReasonBridgeStoppedTwice));
        return false;
    }
    ++m_starts;
    for (const BridgeProgram& program : m_bridges) {
        if (start(program)) return true;
    }
    m_failure = LinkResult::broken(fill(Msg::ReasonBridgeNotStarting, {m_prefix.string()}));
    return false;
}

bool WineBridgeTransport::start(const BridgeProgram& program) {
    const ProcessLaunch launch{.exeName = program.loader.string(),
                               .params = {program.exe.string()},
                               .environment = wineEnvironment(m_prefix),
                               .streams = ProcessStreams::Pipes,
                               .detach = false};
    launchProcess(launch, m_bridge);
    m_reader = BridgeFrameReader(kMaxBridgeFrame);
    BridgeFrame hello;
    pollfd fds{m_bridge.output(), POLLIN, 0};
    const bool slow = m_bridge.started() && m_slowStart && ::poll(&fds, 1, kSlowStartMs) == 0;
    if (slow) m_slowStart(true);
    // The bridge speaks first.
    const bool greeted = m_bridge.started() &&
                         receive(kHelloTimeout, hello).status == LinkStatus::Ok &&
                         hello.kind == BridgeKind::Hello;
    if (slow) m_slowStart(false);
    if (greeted) {
        m_build = hello.data;
        return true;
    }
    stop();
    return false;
}

void WineBridgeTransport::stop() {
    // A hung bridge would never end by itself.
    m_bridge.kill();
    m_bridge = Process();
}

bool WineBridgeTransport::send(std::string_view frames) {
    if (!m_bridge.started()) return false;
    if (writeAll(m_bridge.input(), frames)) return true;
    stop();
    return false;
}

LinkResult WineBridgeTransport::exchange(const BridgeFrame& request, BridgeFrame& reply) {
    if (!send(encodeBridgeFrame(request))) return LinkResult::broken(kBridgeStopped);
    return receive(std::chrono::milliseconds(request.timeoutMs), reply);
}

LinkResult WineBridgeTransport::receive(std::chrono::milliseconds timeout, BridgeFrame& reply) {
    if (!m_bridge.started()) return LinkResult::broken(kBridgeStopped);
    const auto deadline = Clock::now() + timeout + kBridgeGrace;
    char buffer[65536];
    while (true) {
        std::optional<BridgeFrame> next;
        try {
            next = m_reader.next();
        } catch (const std::exception&) {
            stop();
            return LinkResult::broken(kBridgeStopped);
        }
        if (next) {
            reply = std::move(*next);
            break;
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd fds{m_bridge.output(), POLLIN, 0};
        const int ready = left > 0 ? ::poll(&fds, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            stop();
            return LinkResult::timedOut();
        }
        const ssize_t got = ::read(m_bridge.output(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            stop();
            return LinkResult::broken(kBridgeStopped);
        }
        m_reader.append(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
    switch (reply.kind) {
        case BridgeKind::Refused:
            return LinkResult::refused();
        case BridgeKind::TimedOut:
            return LinkResult::timedOut();
        case BridgeKind::Broken:
            return LinkResult::broken({reply.data, reply.data});
        default:
            return LinkResult::ok();
    }
}

}  // namespace vek

#endif
