#include <gtest/gtest.h>

#include "app/ansi_text.h"
#include "objects/classifier.h"
#include "objects/cob_fields.h"
#include "objects/script_events.h"
#include "objects/source_state.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;

TEST(ScriptEvents, TheTableNamesFiftyOfTheEventsZeroToSeventyTwo) {
    const ScriptEventTable& table = scriptEventTable();
    EXPECT_EQ(table.lookup(1), " 1 Activate(1)");
    EXPECT_EQ(table.lookup(6), " 6 Colission");
    EXPECT_EQ(table.lookup(16), "16 EXTRA Quiescent");
    EXPECT_EQ(table.lookup(32), "32 INTRO Quiescent");
    EXPECT_EQ(table.lookup(72), "72 Death Script");
    int named = 0;
    for (int event = 0; event <= 72; ++event) {
        const std::string_view text = table.lookup(event);
        if (text.empty()) continue;
        ++named;
        EXPECT_EQ(std::stoi(std::string(text.substr(0, 2))), event) << text;
        EXPECT_EQ(text[2], ' ');
    }
    EXPECT_EQ(named, 50);
    for (int unnamed : {10, 15, 33, 38, 48, 49, 55, 63})
        EXPECT_EQ(table.lookup(unnamed), "") << unnamed;
    EXPECT_EQ(table.lookup(-1), "");
    EXPECT_EQ(table.lookup(73), "");
}

TEST(ScriptEvents, TheListHoldsTheNamedEventsWithoutGaps) {
    const ScriptEventList& list = scriptEventList();
    ASSERT_EQ(list.size(), 50u);
    EXPECT_EQ(list.at(0), " 0 Deactivate");
    EXPECT_EQ(list.at(10), "16 EXTRA Quiescent");
    EXPECT_EQ(list.at(49), "72 Death Script");
    EXPECT_EQ(&scriptEventList(), &list) << "built once";
}

TEST(Classifier, PacksFamilyGenusAndSpeciesIntoTheHighBytes) {
    EXPECT_EQ((Classifier{1, 1, 1}.classNumber()), 16843008);
    EXPECT_EQ((Classifier{2, 5, 3}.classNumber()), 33882880);
    EXPECT_EQ((Classifier{2, 0, 3}.classNumber()), 33555200);
    EXPECT_EQ((Classifier{255, 255, 255}.classNumber()), -256);
    EXPECT_EQ((Classifier{128, 0, 0}.classNumber()), -2147483647 - 1);
    EXPECT_EQ((Classifier{0, 0, 0}.classNumber()), 0);
}

TEST(WholeNumbers, BlanksMayLeadButNothingMayFollow) {
    EXPECT_EQ(parseWholeNumber("5"), 5);
    EXPECT_EQ(parseWholeNumber("  5"), 5);
    EXPECT_EQ(parseWholeNumber("-12"), -12);
    EXPECT_EQ(parseWholeNumber("+7"), 7);
    EXPECT_EQ(parseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(parseWholeNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad :
         {"", " ", "5 ", "\t5", "x", "1x", "-", "2147483648", "99999999999999999999", "1.5"}) {
        EXPECT_EQ(errorOf([bad] { parseWholeNumber(bad); }), invalidIntegerMessage(bad))
            << '"' << bad << '"';
    }
}

TEST(AnsiText, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);
    EXPECT_EQ(ansiToUtf8("\x80\xE4\xDF"), "€äß");
    EXPECT_EQ(utf8ToAnsi("€äß"), "\x80\xE4\xDF");
}

TEST(AnsiText, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToAnsi("a\u4E2Db"), "a?b");
    EXPECT_EQ(utf8ToAnsi("x\U0001F600y"), "x?y");
    EXPECT_EQ(utf8ToAnsi("bad\xFF\xC3"), "bad??");
}

TEST(SourceStateFlags, FollowTheTextThroughChangesLoadsSavesAndCompiles) {
    SourceState state;
    EXPECT_FALSE(state.changedButNotSaved());
    state.textChanged();
    EXPECT_TRUE(state.changedButNotSaved());
    EXPECT_TRUE(state.changedButNotCompiled());
    state.compiledNow();
    EXPECT_FALSE(state.changedButNotCompiled());
    EXPECT_TRUE(state.changedButNotSaved());
    state.savedToFile();
    EXPECT_FALSE(state.changedButNotSaved());
    EXPECT_TRUE(state.compiled) << "saving keeps the compiled flag";
    state.textChanged();
    state.loadedFromFile();
    EXPECT_FALSE(state.changed);
    EXPECT_FALSE(state.compiled);
    EXPECT_TRUE(state.saved);
}

}  // namespace
}  // namespace vek
