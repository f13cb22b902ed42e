#include <gtest/gtest.h>

#include <algorithm>

#include "app/vek_error.h"
#include "language/dictionary.h"

namespace vek {
namespace {

// The data file holds its format: it reads without a malformed line or a word given twice, and
// its blocks name words that close and open them.
TEST(Dictionary, TheBuiltInFileIsWellFormedAndItsBlocksFit) {
    const Dictionary& dictionary = Dictionary::builtIn();
    EXPECT_GE(dictionary.words().size(), 175u);
    for (const Word& word : dictionary.words()) {
        for (const std::string& partner : word.partners) {
            const Word* other = dictionary.command(partner);
            ASSERT_NE(other, nullptr) << word.name << " names " << partner;
            const BlockRole wanted =
                word.block == BlockRole::Opens ? BlockRole::Closes : BlockRole::Opens;
            EXPECT_EQ(other->block, wanted) << word.name << " names " << partner;
        }
        EXPECT_NE(word.description.english, word.description.german) << word.name;
    }
}

TEST(Dictionary, RefusesMalformedLinesNamingThem) {
    const std::string good = "tick\tcommand\tinteger\t-\tthis\tRuns a timer.\tStartet einen Timer.";
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"tick\tcommand\tinteger\t-\tthis\tRuns a timer.", "seven fields"},
        {"TICK\tcommand\tinteger\t-\tthis\tA.\tB.", "the word"},
        {"new: simp x\tcommand\t-\t-\tthis\tA.\tB.", "the word"},
        {"tick\tverb\tinteger\t-\tthis\tA.\tB.", "the kind"},
        {"tick\tcommand\tnumber\t-\tthis\tA.\tB.", "argument kind"},
        {"dde: getb\tcommand\tcnam|\t-\tthis\tA.\tB.", "argument kind"},
        {"dde: getb\tcommand\tcnam|CTIM\t-\tthis\tA.\tB.", "argument kind"},
        {"dde: getb\tcommand\tcnam|names\t-\tthis\tA.\tB.", "argument kind"},
        {"dde: getb\tcommand\t|\t-\tthis\tA.\tB.", "argument kind"},
        {"doif\tcommand\tcondition\topens\tthis\tA.\tB.", "the block"},
        {"endi\tcommand\t-\tcloses doif\tthis\tA.\tB.", "the block"},
        {"tick\tcommand\tinteger\t-\tmaybe\tA.\tB.", "known column"},
        {"tick\tcommand\tinteger\t-\tthis\t\tB.", "description"},
        {"tick\tinteger\t-\t-\tthis\tA.\tB.\n" + good + "\n" + good, "twice"},
    };
    for (const auto& [text, why] : broken) {
        try {
            Dictionary::decode("# comment\n" + text + "\n");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << error.what();
            EXPECT_TRUE(error.detail().line.has_value());
            EXPECT_GE(*error.detail().line, 2u);
        }
    }
}

// Words joined by "|" are one argument that must be one of them; the kinds around it keep theirs.
TEST(Dictionary, ReadsAChoiceOfWordsAsOneArgumentWhereverItStands) {
    const Dictionary dictionary = Dictionary::decode(
        "dde: getb\tcommand\tcnam|monk\t-\tthis\tA.\tB.\n"
        "frob\tcommand\tinteger ab|cd|e token\t-\tthis\tA.\tB.\n");
    const Word& getb = *dictionary.command("dde: getb");
    EXPECT_EQ(getb.arguments, (std::vector<ArgumentKind>{ArgumentKind::Choice}));
    EXPECT_EQ(std::vector<std::string>(getb.choicesOf(0).begin(), getb.choicesOf(0).end()),
              (std::vector<std::string>{"cnam", "monk"}));
    EXPECT_TRUE(getb.choicesOf(1).empty());

    const Word& frob = *dictionary.command("frob");
    EXPECT_EQ(frob.arguments,
              (std::vector<ArgumentKind>{ArgumentKind::Integer, ArgumentKind::Choice,
                                         ArgumentKind::Token}));
    EXPECT_TRUE(frob.choicesOf(0).empty());
    EXPECT_EQ(frob.choicesOf(1).size(), 3u);
    EXPECT_TRUE(frob.choicesOf(2).empty());
    EXPECT_EQ(signatureOf(frob, "english"), "frob integer ab|cd|e name");
    EXPECT_EQ(argumentKindName(ArgumentKind::Choice, "deutsch"), "Wort");
}

TEST(Dictionary, FindsCommandsAndValuesApartAndByPrefix) {
    const Dictionary& dictionary = Dictionary::builtIn();
    ASSERT_NE(dictionary.command("new: simp"), nullptr);
    EXPECT_EQ(dictionary.command("new: simp")->arguments.size(), 5u);
    EXPECT_TRUE(dictionary.command("chem")->isCommand());
    EXPECT_EQ(dictionary.value("chem")->kind, WordKind::Integer);
    EXPECT_EQ(dictionary.value("var7")->kind, WordKind::Variable);
    EXPECT_EQ(dictionary.value("stop"), nullptr);
    EXPECT_TRUE(dictionary.beginsLongerCommand("new:"));
    EXPECT_FALSE(dictionary.beginsLongerCommand("tick"));

    std::vector<std::string> names;
    for (const Word* word : dictionary.commandsStartingWith("new: s")) names.push_back(word->name);
    EXPECT_EQ(names, (std::vector<std::string>{"new: simp"}));
    EXPECT_EQ(signatureOf(*dictionary.command("new: simp"), "english"),
              "new: simp name integer integer integer integer");
    EXPECT_EQ(signatureOf(*dictionary.command("mesg writ"), "deutsch"),
              "mesg writ Objekt Ganzzahl");
    EXPECT_TRUE(dictionary.value("posx")->laterGeneration);
}

}  // namespace
}  // namespace vek
