#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "language/animation.h"
#include "language/reading.h"

namespace vek {
namespace {

std::string_view roleName(PieceRole role) {
    static constexpr std::string_view kNames[] = {
        "name", "unknown", "string-first", "arg", "missing", "extra", "joint", "cmp", "cut"};
    return kNames[static_cast<int>(role)];
}

// Each command as "role:text[#index]" pieces, commands separated by " | ".
std::string piecesOf(std::string_view macro) {
    MacroReader reader(macro);
    std::string out;
    while (const CommandReading* command = reader.next()) {
        if (!out.empty()) out += " | ";
        for (const Piece& piece : command->pieces) {
            if (&piece != &command->pieces.front()) out += ' ';
            out += roleName(piece.role);
            out += ':';
            out += macro.substr(piece.lexeme.offset, piece.lexeme.length);
            if (piece.role == PieceRole::Argument || piece.role == PieceRole::Missing ||
                piece.role == PieceRole::ConditionEnds)
                out += '#' + std::to_string(piece.index);
        }
    }
    return out;
}

TEST(MacroReader, ReadsEachCommandsPiecesInTextOrder) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"new: simp ball 1 0 10 0", "name:new: simp arg:ball#0 arg:1#1 arg:0#2 arg:10#3 arg:0#4"},
        {"setv var0 chem 3, endm", "name:setv arg:var0#0 arg:chem#1 arg:3#0 | name:endm"},
        {"doif obv0 eq 1 and var1 ne -10",
         "name:doif arg:obv0#0 cmp:eq arg:1#0 joint:and arg:var1#0 cmp:ne arg:-10#0"},
        {"doif obv0 eq", "name:doif arg:obv0#0 cmp:eq cut:eq#1"},
        {"mvby 1", "name:mvby arg:1#0 missing:mvby#1"},
        {"stop 1 [x]", "name:stop extra:1 extra:[x]"},
        {"frob 1,[x] 2,new: sim", "unknown:frob | string-first:[x] | unknown:new: sim"},
        {"anim[12321R]", "name:anim arg:[12321R]#0"},
        {"  ,, SAY$ [a, b]", "name:SAY$ arg:[a, b]#0"},
    };
    for (const auto& [macro, expected] : cases) EXPECT_EQ(piecesOf(macro), expected) << macro;
}

TEST(MacroReader, KnowsTheCommandItsArgumentsAndWhereTheyStand) {
    MacroReader reader("setv var0 tokn abcd,mvby");
    const CommandReading* setv = reader.next();
    ASSERT_NE(setv, nullptr);
    EXPECT_EQ(setv->word->name, "setv");
    EXPECT_EQ(setv->text, "setv var0 tokn abcd");
    EXPECT_FALSE(setv->endsText);
    ASSERT_EQ(setv->places.size(), 3u);  // setv's two, then tokn's one
    EXPECT_EQ(setv->places[2].owner->name, "tokn");
    EXPECT_EQ(setv->places[2].offset, 15u);
    const CommandReading* mvby = reader.next();
    ASSERT_NE(mvby, nullptr);
    EXPECT_TRUE(mvby->endsText);
    ASSERT_EQ(mvby->places.size(), 1u);
    EXPECT_TRUE(mvby->places[0].missing);
    EXPECT_EQ(reader.next(), nullptr);
}

TEST(NumberLiteral, ReadsSignDigitsAndFractionAndKeepsWholeValuesThatFit) {
    struct Case {
        std::string_view text;
        bool number;
        bool whole;
        std::optional<long long> value;
    };
    const Case cases[] = {
        {"12", true, true, 12},
        {"-7", true, true, -7},
        {"+3", true, true, 3},
        {"-0", true, true, 0},
        {"1.5", true, false, std::nullopt},
        {"-0.25", true, false, std::nullopt},
        {"9223372036854775807", true, true, 9223372036854775807LL},
        {"-9223372036854775808", true, true, std::numeric_limits<long long>::min()},
        {"9223372036854775808", true, true, std::nullopt},
        {"-9223372036854775809", true, true, std::nullopt},
        {"99999999999999999999999", true, true, std::nullopt},
        {"", false, false, std::nullopt},
        {"-", false, false, std::nullopt},
        {"1.", false, false, std::nullopt},
        {".5", false, false, std::nullopt},
        {"12a", false, false, std::nullopt},
        {"1-2", false, false, std::nullopt},
        {"obv0", false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<NumberLiteral> literal = numberLiteral(c.text);
        ASSERT_EQ(literal.has_value(), c.number) << c.text;
        if (!literal) continue;
        EXPECT_EQ(literal->whole, c.whole) << c.text;
        EXPECT_EQ(literal->value(), c.value) << c.text;
    }
}

TEST(NumberLiteral, ItsWholePartStaysAtTheLimitOfItsType) {
    const std::pair<std::string_view, long long> cases[] = {
        {"-2.75", -2},
        {"99999999999999999999999", std::numeric_limits<long long>::max()},
        {"-99999999999999999999999.5", std::numeric_limits<long long>::min()},
    };
    for (const auto& [text, whole] : cases) EXPECT_EQ(numberLiteral(text)->number, whole) << text;
}

TEST(AnimationString, DigitsAreFramesAndAFinalRRepeats) {
    struct Case {
        std::string_view text;
        std::vector<int> frames;
        bool repeats;
        std::size_t faultAt;
    };
    const std::size_t none = std::string_view::npos;
    const Case cases[] = {
        {"[12321R]", {1, 2, 3, 2, 1}, true, none},
        {"0123", {0, 1, 2, 3}, false, none},
        {"[]", {}, false, none},
        {"[12R3]", {1, 2}, true, 4},
        {"[1 2]", {1}, false, 2},
        {"1a", {1}, false, 1},
        {"[5r]", {5}, false, 2},
    };
    for (const Case& c : cases) {
        const Animation animation = readAnimation(c.text);
        EXPECT_EQ(animation.frames, c.frames) << c.text;
        EXPECT_EQ(animation.repeats, c.repeats) << c.text;
        EXPECT_EQ(animation.faultAt, c.faultAt) << c.text;
        EXPECT_EQ(animation.wellFormed(), c.faultAt == none) << c.text;
    }
}

}  // namespace
}  // namespace vek
