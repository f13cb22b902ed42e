#include "language/later_generation.h"

#include <gtest/gtest.h>

#include "app/text_names.h"

namespace vek {
namespace {

TEST(LaterGeneration, KnowsTheWordsOfLaterGenerations) {
    const struct {
        const char* word;
        bool later;
    } table[] = {
        {"ov00", true},  {"OV99", true},   {"va42", true},   {"mv07", true},  {"obv3", true},
        {"obv9", true},  {"perm", true},   {"GAME", true},   {"obv0", false}, {"obv2", false},
        {"var0", false}, {"ov0", false},   {"ov100", false}, {"ovx1", false}, {"va0a", false},
        {"mvby", false}, {"perms", false}, {"", false},
    };
    for (const auto& entry : table)
        EXPECT_EQ(isLaterGenerationWord(entry.word), entry.later) << entry.word;
}

std::vector<Finding> checked(const char* macro) {
    std::vector<Finding> findings = checkMacro(MacroText(macro), MacroKind::Macro, CheckOptions{});
    gatherLaterGenerationWords(findings);
    return findings;
}

std::vector<FindingCode> codesOf(const std::vector<Finding>& findings) {
    std::vector<FindingCode> codes;
    for (const Finding& finding : findings) codes.push_back(finding.code);
    return codes;
}

// Three different later words or more become one error at the first of them; fewer stay as
// the unknown words they are, and so do other findings.
TEST(LaterGeneration, ManyLaterWordsBecomeOneFinding) {
    using C = FindingCode;
    const struct {
        const char* macro;
        std::vector<FindingCode> codes;
    } table[] = {
        {"inst,setv ov00 1,setv va01 ov00,perm 50,frob,endm",
         {C::LaterGenerationSource, C::UnknownCommand}},
        {"inst,frob,setv ov00 1,setv ov01 2,setv ov02 3,setv ov03 4,endm",
         {C::UnknownCommand, C::LaterGenerationSource}},
        // The same word again and again is one word.
        {"inst,setv ov00 1,setv ov00 2,setv va00 3,endm",
         {C::UnknownValue, C::UnknownValue, C::UnknownValue}},
        {"inst,setv var0 1,endm", {}},
    };
    for (const auto& entry : table)
        EXPECT_EQ(codesOf(checked(entry.macro)), entry.codes) << entry.macro;

    const std::vector<Finding> findings =
        checked("inst,setv ov00 1,setv va01 2,setv obv5 3,perm 50,setv mv01 1,setv ov09 0,endm");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, Severity::Error);
    EXPECT_EQ(findings[0].position, (TextPosition{1, 11}));
    EXPECT_EQ(findings[0].subject, "ov00");
    EXPECT_EQ(findings[0].text.english,
              fill(Msg::FindingLaterGenerationSource, {"6", "ov00, va01, obv5, perm, mv01, ..."})
                  .english);
}

}  // namespace
}  // namespace vek
