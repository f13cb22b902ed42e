#include <gtest/gtest.h>

#include "tests/vivarium/vivarium_support.h"

namespace vek::testing {
namespace {

using vivarium::TryOptions;

// An object of class 2 10 1 whose activate script is `script`, from line 5 on.
std::vector<std::string> objectWithScript(std::vector<std::string> script) {
    std::vector<std::string> source = {"inst", "  new: simp pupy 6 0 1000 0",
                                       "  " + classLine(2, 10, 1), "endm", "scrp 2 10 1 1"};
    source.insert(source.end(), script.begin(), script.end());
    source.push_back("endm");
    return source;
}

TEST(RuntimeFaults, EachIsReportedAtItsLineAndFailsTheRun) {
    struct Case {
        const char* what;
        std::vector<std::string> source;
        std::string expected;
    };
    const std::string routine = ": error: installation routine: ";
    const std::string script = ": error: object #1 (2 10 1), script 2 10 1 1: ";
    const Case cases[] = {
        {"no target",
         {"inst", "  new: simp pupy 6 0 1000 0", "  kill targ", "  mvto 10 10", "endm"},
         "T.COS:4:3" + routine + "mvto needs a target, but there is none"},
        {"pose beyond the images", objectWithScript({"  pose 5", "  pose 6"}),
         "T.COS:7:3" + script + "pose 6 is beyond the object's 6 images"},
        // The sprite file holds 4 images, fewer than new: simp names.
        {"animation frame beyond the sprite file",
         {"inst", "  new: simp smal 6 0 1000 0", "  anim [0145]", "endm"},
         "T.COS:3:3" + routine + "animation frame 4 is beyond the object's 4 images"},
        {"a loop without wait",
         {"inst", "  loop", "  ever", "endm"},
         "T.COS:3:3" + routine +
             "more than 100000 commands in one tick without wait: the game would freeze"},
        {"gsub to a missing label", objectWithScript({"  gsub miss"}),
         "T.COS:6:3" + script + "gsub to the missing label miss"},
        {"gsub too deep",
         {"inst", "  gsub recu", "  stop", "  subr recu", "  gsub recu", "  retn", "endm"},
         "T.COS:5:3" + routine + "gsub more than 64 deep"},
        {"division by zero",
         {"inst", "  setv var0 0", "  divv var1 var0", "endm"},
         "T.COS:3:3" + routine + "division by zero"},
        {"remainder of a division by zero", objectWithScript({"  modv var1 0"}),
         "T.COS:6:3" + script + "division by zero"},
        {"message to a killed object",
         {"inst", "  new: simp pupy 6 0 1000 0", "  setv var0 targ", "  kill targ",
          "  mesg writ var0 0", "endm"},
         "T.COS:5:3" + routine + "message to the killed object #1"},
        {"a macro the link refuses",
         {"inst", "  new: simp pupy 6 0 1000 0", "  blah 1", "endm"},
         "T.COS:3:3" + routine + "the game link would refuse this macro: Unknown command \"blah\""},
    };
    FakeSprites sprites;
    sprites.add("pupy", 6);
    sprites.add("smal", 4);
    TryOptions options;
    options.ticks = 2;
    options.events = {{1, vivarium::kEventActivate1}};
    for (const Case& c : cases) {
        const TryResult run = trySource(c.source, sprites, options);
        EXPECT_TRUE(run.faulted) << c.what;
        EXPECT_EQ(run.lines, std::vector<std::string>{c.expected}) << c.what;
    }
}

TEST(RuntimeFaults, AFaultStopsItsScriptButNotTheWorld) {
    FakeSprites sprites;
    sprites.add("pupy", 6);
    TryOptions options;
    options.ticks = 3;
    options.trace = true;
    options.events = {{1, vivarium::kEventActivate1}, {3, vivarium::kEventActivate1}};
    // The pose before the fault stays; the sound after it never plays; the next activation runs
    // the script again.
    const TryResult run =
        trySource(objectWithScript({"  pose 2", "  pose 7", "  snde never"}), sprites, options);
    const std::string fault =
        "T.COS:7:3: error: object #1 (2 10 1), script 2 10 1 1: pose 7 is beyond the object's 6 "
        "images";
    const std::vector<std::string> expected = {
        state(0, "2 10 1 #1", 0, 0, 0), fault, state(1, "2 10 1 #1", 0, 0, 2),
        state(2, "2 10 1 #1", 0, 0, 2), fault, state(3, "2 10 1 #1", 0, 0, 2)};
    EXPECT_TRUE(run.faulted);
    EXPECT_EQ(run.lines, expected);
}

TEST(RuntimeFaults, AFaultInAnObjectFileNamesItsScriptByNumber) {
    CobData cob;
    cob.scripts = {"scrp 2 10 1 1,pose 9,endm"};
    cob.imports = {"inst,new: simp pupy 6 0 1000 0," + classLine(2, 10, 1) + ",endm"};
    FakeSprites sprites;
    sprites.add("pupy", 6);
    TryOptions options;
    options.ticks = 1;
    options.events = {{1, vivarium::kEventActivate1}};
    std::ostringstream out;
    const std::vector<std::vector<vivarium::SentMacro>> objects = {
        vivarium::injectionOfCob(cob, "P.COB")};
    EXPECT_TRUE(vivarium::tryObjects(objects, sprites.lookup(), options, out));
    EXPECT_EQ(out.str(),
              "P.COB:1:15: error: object #1 (2 10 1), script 2 10 1 1: pose 9 is beyond the "
              "object's 6 images\n");
}

}  // namespace
}  // namespace vek::testing
