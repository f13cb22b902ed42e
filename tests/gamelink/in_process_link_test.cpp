#include <gtest/gtest.h>

#include "gamelink/creatures.h"
#include "gamelink/in_process_link.h"

namespace vek::testing {
namespace {

// The link that runs macros in the program itself: what SendMacro hands over is the macro as
// sent, and the answer comes back as the game's would.
TEST(InProcessLinkTest, SendMacroRunsTheMacroThroughTheFunctionAndReturnsItsAnswer) {
    std::vector<std::string> ran;
    TCreatures link{GamePathSources{}};
    link.setLinkTransport(std::make_shared<InProcessLink>([&ran](std::string_view macro) {
        ran.emplace_back(macro);
        return macro.starts_with("inst,frob") ? std::string("Error: unknown command 'frob'")
                                              : std::string("7|");
    }));
    const MacroOutcome answered = link.SendMacro("inst,dde: putv 7,endm");
    EXPECT_EQ(answered.kind, MacroOutcome::Kind::Answered);
    EXPECT_EQ(answered.answer, "7|");
    EXPECT_EQ(link.SendMacro("inst,frob,endm").answer, "Error: unknown command 'frob'");
    EXPECT_EQ(ran, (std::vector<std::string>{"inst,dde: putv 7,endm", "inst,frob,endm"}));
    EXPECT_TRUE(link.testConnection());
}

TEST(InProcessLinkTest, OnlyTheGamesServiceAndItemAnswer) {
    InProcessLink link([](std::string_view) { return std::string("1|"); });
    EXPECT_EQ(link.connect("Other", "topic", std::chrono::milliseconds(10)), nullptr);
    auto conversation = link.connect(kLinkService, "topic", std::chrono::milliseconds(10));
    ASSERT_TRUE(conversation);
    const std::string macro("inst,endm", 10);
    EXPECT_EQ(conversation->poke("Other", macro, {}).status, LinkStatus::Refused);
    EXPECT_EQ(conversation->poke(kLinkItem, macro, {}).status, LinkStatus::Ok);
    std::string answer;
    EXPECT_EQ(conversation->request(kLinkItem, {}, answer).status, LinkStatus::Ok);
    EXPECT_EQ(answer, std::string("1|") + '\0');
}

}  // namespace
}  // namespace vek::testing
