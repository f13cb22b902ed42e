#include <gtest/gtest.h>

#include <algorithm>

#include "language/checker.h"
#include "language/completion.h"
#include "language/reading.h"
#include "support/findings.h"

namespace vek {
namespace {

using testing::describeFindings;

std::vector<Finding> checkKitMacro(std::string_view macro) {
    CheckOptions options;
    return checkMacro(MacroText(macro), MacroKind::Macro, options);
}

// Macros in the manner of the kits and tools of the game: the first one every kit shows asks
// for the chosen creature's name.
TEST(KitWords, MacrosOfTheKitsAndToolsCheckClean) {
    const std::vector<std::string> macros = {
        "inst,dde: getb cnam,endm",
        "inst,dde: getb ctim,dde: getb data,dde: getb monk,dde: getb ovvd,endm",
        "inst,targ norn,dde: putb [Alice] cnam,dde: pict larg,dde: hatc,endm",
        "inst,dde: cell 1 20 0,dde: lobe,dde: gene,dde: panc,dde: word 12,endm",
        "inst,sys: edit 100 200 300 400,sys: edit 0 0 0 0,sys: grnd 40 700,endm",
        "inst,sys: wpos 0 0 640 480,sys: wtop,endm",
        "inst,new: lift lift 8 0,setv clas 16908288,mvto 100 200,cabn 0 0 40 60,endm",
        "inst,new: cbtn cbtn 2 0 5000,setv clas 16908544,endm",
        "inst,tool [tools\\kit.exe] [My Kit] [Opens my kit] 3,endm",
        "inst,setv var0 gnd#,targ norn,mate,targ tcar,sndf abcd,endm",
        "inst,sys: wrld [Albia.sfc],endm",
        "inst,sys: quit,endm",
        "inst,sys: abrt,endm",
    };
    for (const std::string& macro : macros)
        EXPECT_EQ(describeFindings(checkKitMacro(macro)), "") << macro;
}

struct Misspelt {
    std::string macro;
    FindingCode code;
    int column;
};

TEST(KitWords, MisspeltOnesStillFailWhereTheyAre) {
    using C = FindingCode;
    const std::vector<Misspelt> table = {
        {"inst,dde: getb cnma,endm", C::WrongKind, 16},
        {"inst,dde: getb name,endm", C::WrongKind, 16},
        {"inst,dde: getb [cnam],endm", C::WrongKind, 16},
        {"inst,dde: getb 3,endm", C::WrongKind, 16},
        {"inst,dde: getb CNAM,endm", C::UpperCase, 16},
        {"inst,dde: getb,endm", C::TooFewArguments, 6},
        {"inst,dde: getb cnam monk,endm", C::TooManyArguments, 21},
        {"inst,dde: gteb cnam,endm", C::UnknownCommand, 6},
        {"inst,dde: putb cnam,endm", C::TooFewArguments, 6},
        {"inst,sys: edit 1 2 3,endm", C::TooFewArguments, 6},
        {"inst,sys: edti 1 2 3 4,endm", C::UnknownCommand, 6},
        {"inst,new: lfit lift 8 0,endm", C::UnknownCommand, 6},
        {"inst,new: cbtn cbtn 2 0,endm", C::TooFewArguments, 6},
        {"inst,tool [a] [b] [c],endm", C::TooFewArguments, 6},
    };
    for (const Misspelt& misspelt : table) {
        const std::vector<Finding> findings = checkKitMacro(misspelt.macro);
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.code == misspelt.code && f.severity == Severity::Error &&
                   f.position == TextPosition{1, misspelt.column};
        });
        EXPECT_TRUE(found) << misspelt.macro << "\n" << describeFindings(findings);
    }
}

TEST(KitWords, AWrongSubWordIsAnsweredWithTheWordsTheCommandTakes) {
    const std::vector<Finding> findings = checkKitMacro("inst,dde: getb cnma,endm");
    ASSERT_EQ(findings.size(), 1u) << describeFindings(findings);
    EXPECT_EQ(findings[0].text.english,
              "\"dde: getb\" expects one of cnam, ctim, data, monk, ovvd here, not \"cnma\"");
    EXPECT_EQ(findings[0].text.german,
              "\"dde: getb\" erwartet hier eines von cnam, ctim, data, monk, ovvd, nicht \"cnma\"");
    EXPECT_EQ(findings[0].length, 4);
}

// The sub-word completes the command: shown as a keyword, handed on as a name, written out in
// the command's signature.
TEST(KitWords, ASubWordIsReadAsANameOfTheCommandAndShownInItsSignature) {
    const std::vector<Token> tokens = tokenizeCommands("dde: getb monk,dde: putv 3");
    std::vector<TokenKind> kinds;
    for (const Token& token : tokens) kinds.push_back(token.kind);
    using K = TokenKind;
    EXPECT_EQ(kinds, (std::vector<TokenKind>{K::Command, K::Command, K::Keyword, K::Command,
                                             K::Command, K::Number}));

    const std::vector<ParsedCommand> commands = parseCommands("dde: getb ovvd");
    ASSERT_EQ(commands.size(), 1u);
    ASSERT_EQ(commands[0].arguments.size(), 1u);
    EXPECT_EQ(commands[0].arguments[0].form, ParsedArgument::Form::Name);
    EXPECT_EQ(commands[0].arguments[0].offset, 10u);

    const Word& getb = *Dictionary::builtIn().command("dde: getb");
    for (const std::string_view language : {"english", "deutsch"})
        EXPECT_EQ(signatureOf(getb, language), "dde: getb cnam|ctim|data|monk|ovvd");
    const Word& putb = *Dictionary::builtIn().command("dde: putb");
    EXPECT_EQ(signatureOf(putb, "deutsch"), "dde: putb [Text] Name");
    EXPECT_EQ(argumentName(getb, 0, "english"), "cnam|ctim|data|monk|ovvd");
}

}  // namespace
}  // namespace vek
