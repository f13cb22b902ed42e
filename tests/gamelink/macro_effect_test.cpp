#include <gtest/gtest.h>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "gamelink/macro_effect.h"

namespace vek::testing {
namespace {

TEST(MacroEffect, AnAnswerIsDueOnlyForValuesHandedBackAtTheTop) {
    const struct {
        const char* macro;
        bool due;
    } cases[] = {
        {"inst,dde: putv fmly,endm", true},
        {"INST,DDE: PUTS [hello],ENDM", true},
        {"inst,enum 0 0 0,dde: putv fmly,next,endm", false},
        {"inst,enum 0 0 0,next,dde: putv 1,endm", true},
        {"inst,doif 1 eq 1,dde: puts [x],endi,endm", false},
        {"inst,reps 3,loop,dde: putv 1,untl 1 eq 1,repe,endm", false},
        {"inst,new: simp ball 1 0 0 0,endm", false},
        {"inst, dde: putv 2,endm", true},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(asksForAnswer(c.macro), c.due) << c.macro;
}

TEST(MacroEffect, EachFailureIsNamedAndWhatTheLinkToldIsNot) {
    const BilingualText slow{"slow", "langsam"};
    const struct {
        MacroOutcome outcome;
        bool answerDue;
        std::optional<std::string> fault;
    } cases[] = {
        {MacroOutcome::answered("7"), true, std::nullopt},
        {MacroOutcome::answered(""), false, std::nullopt},
        {MacroOutcome::answered(""), true, textOf(Msg::GameGaveNoAnswer).english},
        {MacroOutcome::answered("Error: bad"), false,
         fill(Msg::GameAnsweredError, {"Error: bad"}).english},
        {MacroOutcome::failed(MacroOutcome::Kind::Refused, {}), false,
         fill(Msg::GameRefusedMacro, {"inst,endm"}).english},
        {MacroOutcome::failed(MacroOutcome::Kind::TimedOut, slow), false, slow.english},
        {MacroOutcome::failed(MacroOutcome::Kind::NotReached, slow), true, std::nullopt},
        {MacroOutcome::failed(MacroOutcome::Kind::Broken, slow), true, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<BilingualText> fault = effectFault("inst,endm", c.outcome, c.answerDue);
        ASSERT_EQ(fault.has_value(), c.fault.has_value()) << c.outcome.answer;
        if (fault) {
            EXPECT_EQ(fault->english, *c.fault);
            EXPECT_FALSE(fault->german.empty());
        }
    }
}

TEST(MacroEffect, TheCodePageHoldsWhatItCanShow) {
    const struct {
        const char* text;
        bool held;
    } cases[] = {
        {"inst,endm", true}, {"Grüße €", true}, {"\xe2\x82\xac", true},
        {"\xce\xa9", false}, {"\xff", false},   {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(codePage1252HoldsAll(c.text), c.held) << c.text;
}

}  // namespace
}  // namespace vek::testing
