#include <gtest/gtest.h>

#include "app/macro_outcome.h"

namespace vek {
namespace {

using Kind = MacroOutcome::Kind;

TEST(MacroOutcomeTest, OnlyCleanAnswersGoThroughAndEachOtherOutcomeIsNamedOnce) {
    const struct {
        const char* name;
        MacroOutcome outcome;
        bool wentThrough;
        std::string problem;  // English; empty: nothing to tell
    } cases[] = {
        {"a value", MacroOutcome::answered("5|"), true, ""},
        {"an empty answer", MacroOutcome::answered(""), true, ""},
        {"an error answer", MacroOutcome::answered("Error: unknown command 'frob'"), false,
         "Macro inst,frob,endm:\nError: unknown command 'frob'"},
        {"a word that only looks like one", MacroOutcome::answered("Errors: 0|"), true, ""},
        {"a time-out", MacroOutcome::failed(Kind::TimedOut, {"late", "spät"}), false,
         "Macro inst,frob,endm:\nlate"},
        {"a refusal", MacroOutcome::failed(Kind::Refused, {"no", "nein"}), false,
         "Macro inst,frob,endm:\nno"},
        // The link has shown these in boxes of its own.
        {"a missing game", MacroOutcome::failed(Kind::NotReached, {"gone", "weg"}), false, ""},
        {"a broken conversation", MacroOutcome::failed(Kind::Broken, {"cut", "ab"}), false, ""},
    };
    for (const auto& c : cases) {
        const std::vector<SentMacro> sent = {{"inst,frob,endm", c.outcome}};
        EXPECT_EQ(allWentThrough(sent), c.wentThrough) << c.name;
        const auto problems = macroProblems(sent);
        ASSERT_EQ(problems.size(), c.problem.empty() ? 0u : 1u) << c.name;
        if (!c.problem.empty()) {
            EXPECT_EQ(problems[0].english, c.problem) << c.name;
        }
    }
}

TEST(MacroOutcomeTest, ProblemsComeInTheOrderSentInBothLanguages) {
    const std::vector<SentMacro> sent = {
        {"inst,one,endm", MacroOutcome::answered("Error: one")},
        {"inst,fine,endm", MacroOutcome::answered("")},
        {"inst,two,endm", MacroOutcome::failed(Kind::TimedOut, {"late", "spät"})},
    };
    const auto problems = macroProblems(sent);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].german, "Makro inst,one,endm:\nError: one");
    EXPECT_EQ(problems[1].german, "Makro inst,two,endm:\nspät");
    EXPECT_TRUE(allWentThrough(std::span<const SentMacro>{}));
}

TEST(MacroOutcomeTest, ALongMacroIsCutBetweenCharacters) {
    const std::string sixty(60, 'a');
    EXPECT_EQ(shownMacro(sixty), sixty);
    EXPECT_EQ(shownMacro(sixty + "b"), sixty + "...");
    // "ü" is two bytes; the cut never splits it.
    const std::string umlaut = std::string(59, 'a') + "\xC3\xBC" + "bc";
    EXPECT_EQ(shownMacro(umlaut), std::string(59, 'a') + "...");
}

}  // namespace
}  // namespace vek
