#include <gtest/gtest.h>

#include <array>

#include "language/checker.h"
#include "language/completion.h"
#include "support/findings.h"

namespace vek {
namespace {

using testing::describeFindings;

// An event table of its own: 0 to 72, with 10 to 15 unnamed.
CheckOptions testOptions() {
    static const std::array<std::string_view, 73> events = [] {
        std::array<std::string_view, 73> names;
        names.fill("named");
        for (std::size_t k = 10; k <= 15; ++k) names[k] = "";
        return names;
    }();
    CheckOptions options;
    options.events = events;
    return options;
}

std::vector<Finding> check(std::string_view macro, MacroKind kind = MacroKind::Macro) {
    return checkMacro(MacroText(macro), kind, testOptions());
}

// Scripts in the manner of the language guide's examples, and the liberties real scripts take:
// a byte string straight after its word, capitals inside it, negative numbers.
TEST(Checker, ScriptsAsTheGuideWritesThemCheckClean) {
    const std::vector<std::pair<MacroKind, std::string>> scripts = {
        {MacroKind::Routine,
         "inst,new: simp ball 3 0 5000 0,setv clas 33882880,setv attr 199,bhvr 3 3,"
         "mvto 2800 700,endm"},
        {MacroKind::Script, "scrp 2 5 3 1,anim[12321R],over,pose 0,endm"},
        {MacroKind::Script,
         "scrp 2 5 3 9,doif obv0 eq 1 and var1 ne -10,setv var0 -10,addv var0 posl,else,"
         "rndv var1 0 10,endi,endm"},
        {MacroKind::Script,
         "scrp 2 5 3 2,reps 4,mvby 0 -5,wait 2,repe,loop,subv obv1 1,untl obv1 le 0,endm"},
        {MacroKind::Script, "scrp 2 5 3 0,gsub move,stop,subr move,mvby 10 0,retn,endm"},
        {MacroKind::Macro,
         "inst,enum 4 0 0,doif dead eq 0 and driv 2 gt 100,chem 12 50,endi,next,endm"},
        {MacroKind::Macro,
         "inst,targ norn,say$ [Hello Norn!],dde: putv chem 3,dde: puts [Ok],endm"},
        {MacroKind::Macro,
         "inst,setv var0 tokn abcd,new: gene tokn mums tokn dads var1,new: crea var1 2,endm"},
        {MacroKind::Script,
         "scrp 2 5 3 3,stim writ from 0 255 0 0 11 30 0 0 0 0 0 0,stm# shou 4,"
         "mesg writ targ 0,endm"},
        {MacroKind::Script,
         "scrp 2 5 3 4,doif touc ownr pntr eq 1 or totl 2 5 3 gt 5,kill ownr,endi,endm"},
        {MacroKind::Script, "scrp 3 1 1 1,loop,mvby 0 -2,ever,endm"},
        {MacroKind::Macro, "inst,sys: cmra 2648 732,sys: camt,dde: putv room 100 200,endm"},
        {MacroKind::Macro, "dde: scrp 0 0 0 17,inst,scrp 2 5 3 1,inst,snde honk,endm"},
        {MacroKind::ScriptBody, "doif obv0 eq 1,setv obv0 0,pose 0,endi,endm"},
        {MacroKind::Script, "scrp 2 13 1 12,kill ownr,endm"},
        // Byte strings other than animation strings keep their blanks and commas.
        {MacroKind::Macro, "inst,dde: puts [two  blanks,, and a comma ],setv var0 -10,endm"},
        {MacroKind::Script, "scrp 2 5 3 1, anim[0123R],endm"},
    };
    for (const auto& [kind, script] : scripts)
        EXPECT_EQ(describeFindings(check(script, kind)), "") << script;
}

struct Broken {
    std::string macro;
    FindingCode code;
    Severity severity;
    int line;
    int column;
    MacroKind kind = MacroKind::Macro;
};

TEST(Checker, CatchesEachBrokenVariantWhereItIs) {
    constexpr Severity E = Severity::Error;
    constexpr Severity W = Severity::Warning;
    using C = FindingCode;
    const std::vector<Broken> table = {
        {"inst,tikc 5,endm", C::UnknownCommand, E, 1, 6},
        {"inst,new: simq vekw 1 0 10 0,endm", C::UnknownCommand, E, 1, 6},
        {"inst,[abc],endm", C::UnknownCommand, E, 1, 6},
        {"inst,setv var0 frob,endm", C::UnknownValue, E, 1, 16},
        {"inst,setv var0 var10,endm", C::UnknownValue, E, 1, 16},
        {"inst,setv var0 stop,endm", C::NotAValue, E, 1, 16},
        {"inst,TICK 5,endm", C::UpperCase, E, 1, 6},
        {"inst,setv VAR0 5,endm", C::UpperCase, E, 1, 11},
        {"inst,new: simp vekw 1 0 10,endm", C::TooFewArguments, E, 1, 6},
        {"inst,tick,endm", C::TooFewArguments, E, 1, 6},
        {"inst,dde: putv chem,endm", C::TooFewArguments, E, 1, 16},
        {"inst,tick 5 6,endm", C::TooManyArguments, E, 1, 13},
        {"inst,stop now,endm", C::TooManyArguments, E, 1, 11},
        {"inst,setv 5 5,endm", C::WrongKind, E, 1, 11},
        {"inst,setv posl 5,endm", C::WrongKind, E, 1, 11},
        {"inst,tick [5],endm", C::WrongKind, E, 1, 11},
        {"inst,gsub [abcd],subr abcd,retn,endm", C::WrongKind, E, 1, 11},
        {"inst,say$ hello,endm", C::WrongKind, W, 1, 11},
        {"scrp 2 5 3 1,doif obv0 1,endi,endm", C::BadComparison, E, 1, 24},
        {"scrp 2 5 3 1,doif obv0,endi,endm", C::BadComparison, E, 1, 19},
        {"scrp 2 5 3 1,doif obv0 eq,endi,endm", C::BadComparison, E, 1, 24},
        {"scrp 2 5 3 1,doif obv0 eq 1 and,endi,endm", C::BadComparison, E, 1, 29},
        {"scrp 2 5 3 1,doif obv0 = 1,endi,endm", C::BadComparison, W, 1, 24},
        {"scrp 2 5 3 1,doif obv0 eq 1,endm", C::BlockNotClosed, E, 1, 14},
        {"scrp 2 5 3 1,reps 3,endm", C::BlockNotClosed, E, 1, 14},
        {"scrp 2 5 3 1,loop,endm", C::BlockNotClosed, E, 1, 14},
        {"inst,enum 2 0 0,endm", C::BlockNotClosed, E, 1, 6},
        {"scrp 2 5 3 1,reps 3,next,endm", C::WrongCloser, E, 1, 21},
        {"scrp 2 5 3 1,loop,repe,endm", C::WrongCloser, E, 1, 19},
        {"inst,next,endm", C::CloserWithoutBlock, E, 1, 6},
        {"inst,repe,endm", C::CloserWithoutBlock, E, 1, 6},
        {"inst,endi,endm", C::CloserWithoutBlock, W, 1, 6},
        {"inst,else,endm", C::ElseMisplaced, E, 1, 6},
        {"scrp 2 5 3 1,doif obv0 eq 1,else,else,endi,endm", C::ElseMisplaced, E, 1, 34},
        {"inst,doif obv0 eq 1,scrp 2 5 3 1,endm", C::ScriptInsideBlock, E, 1, 21},
        {"inst,anim [0123,endm", C::ByteStringNotClosed, E, 1, 11},
        {"inst,anim [12R3],endm", C::AnimationString, W, 1, 11},
        {"inst,anim[1 2],endm", C::BlankInAnimation, E, 1, 10},
        {"inst,anim [ 12R],endm", C::BlankInAnimation, E, 1, 11},
        {"inst,setv  var0 1,endm", C::TwoBlanks, E, 1, 11},
        {"inst,new: simp ball 1 0 10 0,setv var0\t 1,endm", C::TwoBlanks, E, 1, 40},
        {"inst,,setv var0 1,endm", C::TwoCommas, E, 1, 6},
        {"inst, ,setv var0 1,endm", C::TwoCommas, E, 1, 6},
        {"inst,setv var0 1,endm ", C::BlankAtEnd, E, 1, 22},
        {"inst,tick 5,endm\t\t", C::BlankAtEnd, E, 1, 17},
        {"inst,tick 5", C::MissingEndm, E, 1, 11},
        {"inst,tick 5,endm,tick 6", C::CodeAfterEndm, W, 1, 18},
        {"scrp 2 5 3 80,endm", C::UnknownEvent, E, 1, 12},
        {"scrp 2 5 3 -1,endm", C::UnknownEvent, E, 1, 12},
        {"inst,gsub abcd,endm", C::UnknownLabel, E, 1, 11},
        {"inst,enum 2 300 0,next,endm", C::ClassOutOfRange, W, 1, 13},
        {"scrp 2 5 3 1,new: simp ball 1 0 10 0,endm", C::CreatesWithoutInst, W, 1, 14},
        {"inst,snde ab,endm", C::NameLength, W, 1, 11},
        {"inst,wait 1.5,endm", C::DecimalForInteger, W, 1, 11},
        {"inst,dde: putv posx,endm", C::LaterGeneration, W, 1, 16},
        {"inst,\ntick 5,\n  frob,\nendm", C::UnknownCommand, E, 3, 3},
        {"setv var0 1,endm", C::RoutineWithoutInst, W, 1, 1, MacroKind::Routine},
        {"doif obv0 eq 1,endm", C::BlockNotClosed, E, 1, 1, MacroKind::ScriptBody},
        {"setv obv0 1,next,endm", C::CloserWithoutBlock, E, 1, 13, MacroKind::ScriptBody},
    };
    for (const Broken& broken : table) {
        const std::vector<Finding> findings = check(broken.macro, broken.kind);
        const bool found = std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
            return f.code == broken.code && f.severity == broken.severity &&
                   f.position == TextPosition{broken.line, broken.column};
        });
        EXPECT_TRUE(found) << broken.macro << "\n" << describeFindings(findings);
        EXPECT_EQ(hasErrors(findings), broken.severity == Severity::Error) << broken.macro;
    }
}

TEST(Checker, AFindingNamesItsCommandAndCoversWhatWasWritten) {
    struct Case {
        std::string_view macro;
        FindingCode code;
        std::string_view command;
        int length;
    };
    const Case cases[] = {
        // A label is missing only once the macro has ended; the finding is still its use's.
        {"inst,gsub abcd,tick 5,endm", FindingCode::UnknownLabel, "gsub abcd", 4},
        {"inst,gsub abcd", FindingCode::UnknownLabel, "gsub abcd", 4},
        // Capitals in a two-part name: the whole name as written, blanks and all.
        {"inst,NEW:  SIMP ball 1 0 10 0,endm", FindingCode::UpperCase, "NEW:  SIMP ball 1 0 10 0",
         10},
        {"inst,tick 5 6,endm", FindingCode::TooManyArguments, "tick 5 6", 1},
    };
    for (const Case& c : cases) {
        const std::vector<Finding> findings = check(c.macro, MacroKind::Routine);
        const auto found = std::find_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.code == c.code; });
        ASSERT_NE(found, findings.end()) << c.macro << "\n" << describeFindings(findings);
        EXPECT_EQ(found->command, c.command) << c.macro;
        EXPECT_EQ(found->length, c.length) << c.macro;
    }
}

// A misspelt word's finding names the known words nearest to it, in both languages.
TEST(Checker, AnUnknownWordNamesTheNearestKnownWords) {
    const struct {
        std::string_view macro;
        std::string_view english;  // how the finding begins
        std::string_view german;
    } cases[] = {
        {"inst,mvot 1 2,endm", "Unknown command \"mvot\": did you mean \"mvto\"",
         "Unbekannter Befehl \"mvot\": meinten Sie \"mvto\""},
        {"inst,TIKC 5,endm", "Unknown command \"TIKC\": did you mean \"tick\"",
         "Unbekannter Befehl \"TIKC\": meinten Sie \"tick\""},
        {"inst,setv var0 obv9,endm", "Unknown value \"obv9\": did you mean \"obv0\"",
         "Unbekannter Wert \"obv9\": meinten Sie \"obv0\""},
    };
    for (const auto& c : cases) {
        const std::vector<Finding> findings = check(c.macro);
        ASSERT_EQ(findings.size(), 1u) << describeFindings(findings);
        EXPECT_TRUE(findings[0].text.english.starts_with(c.english)) << findings[0].text.english;
        EXPECT_TRUE(findings[0].text.english.ends_with("?")) << findings[0].text.english;
        EXPECT_TRUE(findings[0].text.german.starts_with(c.german)) << findings[0].text.german;
    }
    // A word near none says no more.
    EXPECT_EQ(describeFindings(check("inst,zzzzzzzz,endm")),
              "1:6 error Unknown command \"zzzzzzzz\"\n");
    // Several are listed as alternatives.
    const std::string several = check("inst,setv var0 posk,endm").at(0).text.english;
    EXPECT_NE(several.find("\"posl\""), std::string::npos) << several;
    EXPECT_NE(several.find("\", \""), std::string::npos) << several;
    EXPECT_NE(several.find("\" or \""), std::string::npos) << several;
}

// The extra blank or comma is marked where it was written, so that removing it mends the text:
// where a source's line ends in a comma, the comma that joins it to the next line was not.
TEST(Checker, AnExtraCommaIsMarkedWhereItWasWritten) {
    const struct {
        std::vector<std::string_view> lines;  // joined by commas that nobody wrote
        TextPosition at;
        std::string_view marked;
    } cases[] = {
        {{"inst", "setv var0 1,", "endm"}, {2, 12}, ","},
        {{"inst", ",setv var0 1", "endm"}, {2, 1}, ","},
        {{"inst", "tick 5, ,pose 0", "endm"}, {2, 8}, " ,"},
        {{"inst", "tick 5 ,", "endm"}, {2, 8}, ","},
    };
    for (const auto& c : cases) {
        MacroText macro;
        for (std::size_t k = 0; k < c.lines.size(); ++k) {
            if (k > 0) macro.appendJoin(",");
            macro.append(c.lines[k], static_cast<int>(k) + 1, 1);
        }
        const std::vector<Finding> findings = checkMacro(macro, MacroKind::Routine, testOptions());
        ASSERT_EQ(findings.size(), 1u) << macro.text() << "\n" << describeFindings(findings);
        EXPECT_EQ(findings[0].code, FindingCode::TwoCommas);
        EXPECT_EQ(findings[0].position, c.at) << macro.text();
        EXPECT_EQ(findings[0].subject, c.marked) << macro.text();
    }
}

TEST(Checker, AMacroLongerThanTheLinkTakesIsAnError) {
    std::string macro = "inst,";
    while (macro.size() <= kMacroTextLimit) macro += "tick 5,";
    macro += "endm";
    const std::vector<Finding> findings = check(macro);
    ASSERT_EQ(findings.size(), 1u) << describeFindings(findings);
    EXPECT_EQ(findings[0].code, FindingCode::MacroTooLong);
    EXPECT_EQ(findings[0].position.column, static_cast<int>(kMacroTextLimit) + 1);
}

// A macro put together from pieces of several lines names the line and column each came from;
// columns count characters, not bytes.
TEST(MacroText, MapsEveryCharacterToWhereItWasWritten) {
    MacroText macro;
    macro.append("say$ [Grüße]", 4, 3);
    macro.appendJoin(",");
    macro.append("tick", 6, 2);
    const std::string& text = macro.text();
    EXPECT_EQ(text, "say$ [Grüße],tick");
    EXPECT_EQ(macro.position(0), (TextPosition{4, 3}));
    EXPECT_EQ(macro.position(text.find(']')), (TextPosition{4, 14}));
    EXPECT_EQ(macro.position(text.find(',')), (TextPosition{4, 15}));
    EXPECT_EQ(macro.position(text.find("tick") + 1), (TextPosition{6, 3}));
    EXPECT_EQ(MacroText("a,\nb").position(3), (TextPosition{2, 1}));
    // The joining comma alone was not written.
    for (std::size_t offset = 0; offset <= text.size(); ++offset)
        EXPECT_EQ(macro.isWritten(offset), offset < text.size() && text[offset] != ',') << offset;
}

TEST(MacroText, AnotherTextAppendedKeepsItsPlaces) {
    MacroText body;
    body.append("pose 1", 7, 3);
    MacroText macro;
    macro.appendJoin("inst,");
    macro.append(body);
    EXPECT_EQ(macro.text(), "inst,pose 1");
    EXPECT_EQ(macro.position(macro.text().find('1')), (TextPosition{7, 8}));
}

// A program that runs a macro reads it in the check's own pass: the commands up to the endm,
// and the same findings as a check alone.
TEST(Parse, TheCheckGivesEachCommandUpToTheEndmAndFindsWhatItFindsAlone) {
    const MacroText macro("inst,doif var0 eq 1,endi,frob 2,endm,snde wave");
    const CheckOptions options;
    std::vector<std::string> read;
    const std::vector<Finding> withReading =
        checkMacro(macro, MacroKind::Macro, options, [&](const CommandReading& command) {
            read.push_back(command.word ? command.word->name : std::string(command.text));
        });
    EXPECT_EQ(read, (std::vector<std::string>{"inst", "doif", "endi", "frob 2", "endm"}));
    const std::vector<Finding> alone = checkMacro(macro, MacroKind::Macro, options);
    ASSERT_EQ(withReading.size(), alone.size());
    for (std::size_t k = 0; k < alone.size(); ++k) {
        EXPECT_EQ(withReading[k].code, alone[k].code);
        EXPECT_EQ(withReading[k].position, alone[k].position);
    }
    EXPECT_FALSE(alone.empty());  // frob is unknown, and a command follows the endm
}

TEST(Parse, GivesEachCommandItsWordAndArgumentsAsTheCheckerReadsThem) {
    using Form = ParsedArgument::Form;
    const std::string text =
        "new: simp ball 3 0 1000 0,doif totl 2 0 0 gt -1.5 or var0 eq 2,"
        "anim[12R],frob 3";
    const std::vector<ParsedCommand> commands = parseCommands(text);
    ASSERT_EQ(commands.size(), 4u);
    ASSERT_TRUE(commands[0].word);
    EXPECT_EQ(commands[0].word->name, "new: simp");
    EXPECT_EQ(text.substr(commands[0].offset, commands[0].length), "new: simp");
    ASSERT_EQ(commands[0].arguments.size(), 5u);
    EXPECT_EQ(commands[0].arguments[0].form, Form::Name);
    EXPECT_EQ(commands[0].arguments[3].number, 1000);

    // A value's own arguments belong to it; a condition's parts follow one another.
    const auto& condition = commands[1].arguments;
    ASSERT_EQ(condition.size(), 7u);
    EXPECT_EQ(condition[0].form, Form::Value);
    EXPECT_EQ(condition[0].word->name, "totl");
    EXPECT_EQ(condition[0].arguments.size(), 3u);
    EXPECT_EQ(condition[1].form, Form::Comparison);
    EXPECT_EQ(condition[2].number, -1);  // the whole part of -1.5
    EXPECT_EQ(condition[3].form, Form::Joint);
    EXPECT_EQ(condition[4].word->name, "var0");

    EXPECT_EQ(commands[2].arguments.at(0).form, Form::ByteString);
    EXPECT_EQ(text.substr(commands[2].arguments[0].offset, commands[2].arguments[0].length),
              "[12R]");
    EXPECT_EQ(commands[3].word, nullptr);  // unknown: no word, and its text stays where it was
    EXPECT_EQ(text.substr(commands[3].offset, 4), "frob");
}

TEST(Tokens, NameEachPieceOfALineForHighlighting) {
    const std::vector<Token> tokens =
        tokenizeCommands("new: simp vekw 1 0 10 0,setv var0 chem 3,say$ [Grüße],frob");
    std::vector<std::tuple<int, int, TokenKind>> seen;
    for (const Token& token : tokens) seen.emplace_back(token.start, token.length, token.kind);
    using K = TokenKind;
    EXPECT_EQ(seen, (std::vector<std::tuple<int, int, TokenKind>>{
                        {0, 4, K::Command},
                        {5, 4, K::Command},
                        {10, 4, K::Name},
                        {15, 1, K::Number},
                        {17, 1, K::Number},
                        {19, 2, K::Number},
                        {22, 1, K::Number},
                        {24, 4, K::Command},
                        {29, 4, K::Variable},
                        {34, 4, K::Value},
                        {39, 1, K::Number},
                        {41, 4, K::Command},
                        {46, 7, K::ByteString},
                        {54, 4, K::Unknown},
                    }));
    // F1 finds the whole two-part command from either of its words.
    EXPECT_EQ(tokens[1].word->name, "new: simp");
    EXPECT_EQ(tokens[9].word->name, "chem");
}

TEST(Completion, OffersCommandsAtACommandsStartAndValuesElsewhere) {
    struct Case {
        std::string line;
        int cursor;
        int start;
        std::string first;  // the first candidate, "" for none
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"new:", 4, 0, "new: bkbd", 9},
        {"inst,new: s", 11, 5, "new: simp", 1},
        {"inst, new:   si", 15, 6, "new: simp", 1},
        {"setv var0 ch", 12, 10, "chem", 1},
        {"setv ob", 7, 5, "objp", 4},
        {"say$ [hel", 9, 0, "", 0},
        {"tick 5,ENU", 10, 7, "enum", 1},
    };
    for (const Case& c : cases) {
        const Completion completion = completionAt(c.line, c.cursor);
        EXPECT_EQ(completion.start, c.start) << c.line;
        ASSERT_EQ(completion.words.size(), c.count) << c.line;
        if (c.count > 0) {
            EXPECT_EQ(completion.words.front()->name, c.first) << c.line;
        }
    }
    EXPECT_EQ(wordAt("inst,new: simp ball 1 0 1 0", 11)->name, "new: simp");
    EXPECT_EQ(wordAt("inst,new: simp ball 1 0 1 0", 16), nullptr);
}

// The argument hint follows the caret into a value's own arguments and out again.
TEST(Completion, FindsTheArgumentTheCaretIsTypedAt) {
    const struct {
        std::string_view line;
        int column;
        std::string_view word;  // "" for none
        int index;
    } cases[] = {
        {"setv", 4, "", 0},             // still the command's name
        {"setv ", 5, "setv", 0},        // the first argument is next
        {"setv va", 7, "setv", 0},      // and is being typed
        {"setv var0 ", 10, "setv", 1},  // the second is next
        {"setv var0 chem ", 15, "chem", 0},
        {"setv var0 room 1", 16, "room", 0},
        {"setv var0 room 1 2 ", 19, "", 0},  // every argument given
        {"tick 5,new: simp ball 1 ", 24, "new: simp", 2},
        {"tick 5,new: simp ball 1 0", 7, "", 0},  // a caret on the name of the command
        {"say$ [two words ", 16, "say$", 0},      // a blank inside the byte string
        {"setv obv0 room touc targ ", 25, "touc", 1},
    };
    for (const auto& c : cases) {
        const ArgumentPlace place = argumentAt(c.line, c.column);
        EXPECT_EQ(place.word ? std::string_view(place.word->name) : "", c.word) << c.line;
        if (place.word) {
            EXPECT_EQ(place.index, c.index) << c.line;
        }
    }
    // Columns count characters: the umlaut before the caret is one.
    EXPECT_EQ(argumentAt("say$ [\xc3\xa4] ", 9).word, nullptr);
}

// The command interface's line is checked as the macro it sends, with columns in the line.
TEST(MacroText, AnImmediateMacroKeepsThePositionsOfWhatWasTyped) {
    const MacroText macro = MacroText::immediate("tick 5,frob");
    EXPECT_EQ(macro.text(), "inst,tick 5,frob,endm");
    const std::vector<Finding> findings = checkMacro(macro, MacroKind::Macro, testOptions());
    ASSERT_EQ(findings.size(), 1u) << describeFindings(findings);
    EXPECT_EQ(findings[0].position, (TextPosition{1, 8}));
}

}  // namespace
}  // namespace vek
