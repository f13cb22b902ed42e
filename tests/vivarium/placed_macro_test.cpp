#include <gtest/gtest.h>

#include "objects/injection.h"
#include "tests/objects/object_test_support.h"
#include "vivarium/try_run.h"

namespace vek::testing {
namespace {

// A ball whose source the object compiler holds: a routine that makes it and a script.
const std::vector<std::string> kBall = {"* a ball",
                                        "name Ball",
                                        "inst",
                                        "  new: simp ball 1 0 10 0",
                                        "  setv clas 33882880",
                                        "endm",
                                        "scrp 2 5 3 1",
                                        "  snde honk",
                                        "endm"};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).append(1, '\n');
    return text;
}

class PlacedMacroTest : public ::testing::Test {
  protected:
    void SetUp() override {
        document.replaceSource(joined(kBall), Msg::VivariumMacroName);
        document.rememberSourceFile("/work/BALL.COS");
        document.compileSource({"/game/Images/", pictures});
        ASSERT_TRUE(document.objectFromSource());
    }

    FakePictures pictures;
    ObjectDocument document;
};

// What the injection sends is found with its places on the source page; anything else, or an
// object whose source has changed since, comes from no source line.
TEST_F(PlacedMacroTest, TheInjectionsMacrosKeepTheirSourceLines) {
    const CobData& cob = document.cob();
    ASSERT_EQ(cob.scripts.size(), 1u);
    ASSERT_EQ(cob.imports.size(), 1u);
    const vivarium::SentMacro script =
        vivarium::placedMacro(document, scriptInjectionMacro(cob.scripts[0]));
    ASSERT_TRUE(script.origin);
    EXPECT_TRUE(script.origin->onSourcePage);
    EXPECT_EQ(script.origin->file, "BALL.COS");
    const std::size_t snde = script.macro.text().find("snde");
    ASSERT_NE(snde, std::string::npos);
    EXPECT_EQ(script.macro.position(snde), (TextPosition{8, 3}));

    const vivarium::SentMacro routine =
        vivarium::placedMacro(document, importInjectionMacro(cob.imports[0]));
    ASSERT_TRUE(routine.origin);
    EXPECT_TRUE(routine.origin->onSourcePage);
    EXPECT_EQ(routine.macro.position(routine.macro.text().find("setv")), (TextPosition{5, 3}));

    const vivarium::SentMacro typed = vivarium::placedMacro(document, "inst,snde honk,endm");
    EXPECT_FALSE(typed.origin);
    EXPECT_EQ(typed.macro.text(), "inst,snde honk,endm");

    // Changed after compiling: the object's script is its first line, not a line of the page.
    document.typeSource(joined(kBall) + "* more\n");
    const vivarium::SentMacro stale =
        vivarium::placedMacro(document, scriptInjectionMacro(cob.scripts[0]));
    ASSERT_TRUE(stale.origin);
    EXPECT_FALSE(stale.origin->onSourcePage);
}

}  // namespace
}  // namespace vek::testing
