#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gamelink/link_transport.h"

namespace vek {

// A link that never leaves the program: each macro poked to the item runs through a function
// (a world the program shows) and its answer is what that function returns.
class InProcessLink : public LinkTransport {
  public:
    using MacroRunner = std::function<std::string(std::string_view macro)>;
    explicit InProcessLink(MacroRunner run) : m_run(std::move(run)) {}

    std::unique_ptr<LinkConversation> connect(std::string_view service, std::string_view topic,
                                              std::chrono::milliseconds timeout) override;

  private:
    MacroRunner m_run;
};

}  // namespace vek
