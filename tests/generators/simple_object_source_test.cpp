#include <gtest/gtest.h>

#include "generators/simple_object_source.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using Lines = std::vector<std::string>;

SimpleObjectForm ballForm() {
    SimpleObjectForm form;
    form.name = "Ball";
    form.file = "ball";
    form.attributes = kCarryable | kActivateable;
    form.click = 1;
    form.creatures = kActivate1;
    return form;
}

TEST(SimpleObjectSource, TheBallExample) {
    const Lines expected = {"* Object Type: SIMPLE OBJECT",
                            "* Object Name: Ball",
                            "",
                            "* Installation Routine:",
                            "name Ball",
                            "sprite ball 0",
                            "quantity 12",
                            "",
                            "inst",
                            "\tnew: simp ball 1 0 3500 0",
                            "\tsetv clas 33882880",
                            "\tsetv attr 5",
                            "\tbhvr 1 1",
                            "endm",
                            ""};
    EXPECT_EQ(simpleObjectSource(ballForm(), ClassSelection::of("2 5 3 {Ball}")), expected);
}

TEST(SimpleObjectSource, OptionalLinesFollowTheForm) {
    const ClassSelection ball = ClassSelection::of("2 5 3 {Ball}");
    SimpleObjectForm form = ballForm();
    form.name.clear();
    form.start.clear();
    form.edit = true;
    form.cloneSprites = true;
    const Lines lines = simpleObjectSource(form, ball);
    const Lines expected = {"* Object Type: SIMPLE OBJECT",
                            "* Object Name: ",
                            "",
                            "* Installation Routine:",
                            "quantity 12",
                            "",
                            "inst",
                            "\tnew: simp ball 1  3500 1",
                            "\tsetv clas 33882880",
                            "\tsetv attr 5",
                            "\tbhvr 1 1",
                            "\tedit",
                            "endm",
                            ""};
    EXPECT_EQ(lines, expected);
}

TEST(SimpleObjectSource, MacroScriptsComeBeforeEmptyScripts) {
    SimpleObjectForm form = ballForm();
    form.macroScripts = {{"02050301.MAC", {"\"inst", "snde drip", "endm\""}},
                         {"02050399.MAC", {"\"endm\""}}};
    // The positions of " 0 Deactivate" and " 9 TIMER" in the event list.
    form.emptyScripts = {0, 9};
    const Lines lines = simpleObjectSource(form, ClassSelection::of("2 5 3 {Ball}"));
    const Lines tail(lines.begin() + 15, lines.end());
    const Lines expected = {"* script  1 Activate(1)",
                            "scrp 2 5 3 1",
                            "\tinst",
                            "\tsnde drip",
                            "endm",
                            "",
                            "* script ",
                            "scrp 2 5 3 99",
                            "endm",
                            "",
                            "* script  0 Deactivate",
                            "scrp 2 5 3 0",
                            "endm",
                            "",
                            "* script  9 TIMER",
                            "scrp 2 5 3 9",
                            "endm",
                            ""};
    EXPECT_EQ(tail, expected);

    form.macroScripts = {{"0205x301.MAC", {"\"endm\""}}};
    EXPECT_EQ(errorOf([&] { simpleObjectSource(form, ClassSelection::of("2 5 3 {Ball}")); }),
              "'x3' ist kein gültiger Integerwert");
}

TEST(SimpleObjectSource, EveryFailingCheckGivesItsOwnMessage) {
    SimpleObjectForm form = ballForm();
    EXPECT_TRUE(checkSimpleObject(form, ClassSelection::of("2 5 3 {Ball}")).empty());
    form.file = "bal";
    const auto nothingPicked = checkSimpleObject(form, ClassSelection{});
    ASSERT_EQ(nothingPicked.size(), 2u);
    EXPECT_EQ(nothingPicked[0].text.english, kNoClassBox.text.english);
    EXPECT_EQ(nothingPicked[1].text.english, kSpriteFileLengthBox.text.english);
    form.file = "bäll";
    const auto notSimple = checkSimpleObject(form, ClassSelection::of("4 1 2 {Bug}"));
    ASSERT_EQ(notSimple.size(), 1u) << "four characters, five bytes";
    EXPECT_EQ(notSimple[0].text.german, kNotSimpleObjectBox.text.german);
}

}  // namespace
}  // namespace vek
