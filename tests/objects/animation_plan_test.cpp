#include "objects/animation_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "app/vek_error.h"

namespace vek {
namespace {

using Sprites = std::vector<std::size_t>;

TEST(AnimationPlanTest, AStringCountsItsDigitsFromTheFirstImage) {
    const struct {
        const char* text;
        std::size_t first;
        AnimationPlan plan;
    } cases[] = {
        {"[12321R]", 4, {Sprites{5, 6, 7, 6, 5}, true}},
        {"0123", 0, {Sprites{0, 1, 2, 3}, false}},
        {"[9]", 1, {Sprites{10}, false}},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(planAnimation(each.text, each.first, 11), each.plan) << each.text;
    }
}

TEST(AnimationPlanTest, AStringThatIsNoneOrNeedsAMissingSpriteIsRefusedByName) {
    const struct {
        const char* text;
        const char* named;
    } cases[] = {
        {"[12R3]", "[12R3]"},  // R only at the end
        {"[1a]", "[1a]"},
        {"[]", "[]"},
        {"[19]", "sprite 12"},  // 3 + 9 in a file of 12 sprites
    };
    for (const auto& each : cases) {
        try {
            planAnimation(each.text, 3, 12);
            ADD_FAILURE() << each.text << " was played";
        } catch (const VekError& error) {
            EXPECT_NE(std::string(error.what()).find(each.named), std::string::npos)
                << error.what();
        }
    }
}

TEST(AnimationPlanTest, ARangeRepeatsInEitherDirectionWithinTheFile) {
    EXPECT_EQ(planSpriteRange(2, 4, 5), (AnimationPlan{Sprites{2, 3, 4}, true}));
    EXPECT_EQ(planSpriteRange(4, 2, 5), (AnimationPlan{Sprites{4, 3, 2}, true}));
    EXPECT_EQ(planSpriteRange(7, 7, 8), (AnimationPlan{Sprites{7}, true}));
    EXPECT_THROW(planSpriteRange(2, 5, 5), VekError);
    EXPECT_THROW(planSpriteRange(0, 0, 0), VekError);  // a file without sprites
}

TEST(AnimationPlanTest, TheCaretFindsItsAnimStringAndTheObjectMadeBeforeIt) {
    const std::string source =
        "name Ball\n"
        "inst\n"
        "  new: simp vbal 8 12 3000 0\n"
        "  anim [0123R]\n"
        "endm\n"
        "scrp 2 5 3 1\n"
        "  new: comp vtop 4 2 0\n"
        "  anim [21]\n"
        "  setv actv 0\n"
        "endm\n";
    const std::size_t first = source.find("anim [0123R]");
    const std::size_t second = source.find("anim [21]");
    const SourceAnimation ball{"[0123R]", "vbal", 12};
    const SourceAnimation top{"[21]", "vtop", 2};
    EXPECT_EQ(animationAtCaret(source, first), ball);
    EXPECT_EQ(animationAtCaret(source, first + 8), ball);   // inside the string
    EXPECT_EQ(animationAtCaret(source, first + 12), ball);  // just after it
    EXPECT_EQ(animationAtCaret(source, second + 2), top);
    EXPECT_EQ(animationAtCaret(source, source.find("setv actv")), std::nullopt);
    EXPECT_EQ(animationAtCaret(source, 0), std::nullopt);
    // An anim before any object has no sprite file to show.
    EXPECT_EQ(animationAtCaret("inst\n  anim [01]\nendm\n", 8), (SourceAnimation{"[01]", "", 0}));
}

}  // namespace
}  // namespace vek
