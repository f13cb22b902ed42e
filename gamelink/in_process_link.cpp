#include "gamelink/in_process_link.h"

namespace vek {

namespace {

class InProcessConversation : public LinkConversation {
  public:
    explicit InProcessConversation(const InProcessLink::MacroRunner& run) : m_run(run) {}

    LinkResult poke(std::string_view item, std::span<const char> data,
                    std::chrono::milliseconds) override {
        if (item != kLinkItem) return LinkResult::refused();
        const std::string_view text(data.data(), data.size());
        m_answer = m_run(text.substr(0, text.find('\0')));
        return LinkResult::ok();
    }

    LinkResult request(std::string_view item, std::chrono::milliseconds,
                       std::string& answer) override {
        if (item != kLinkItem) return LinkResult::refused();
        // As the game returns it: the text and its terminating zero.
        answer = m_answer + '\0';
        return LinkResult::ok();
    }

  private:
    const InProcessLink::MacroRunner& m_run;
    std::string m_answer;
};

}  // namespace

std::unique_ptr<LinkConversation> InProcessLink::connect(std::string_view service, std::string_view,
                                                         std::chrono::milliseconds) {
    if (service != kLinkService) return nullptr;
    return std::make_unique<InProcessConversation>(m_run);
}

}  // namespace vek
