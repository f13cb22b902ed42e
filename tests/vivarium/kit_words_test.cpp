#include <gtest/gtest.h>

#include "tests/vivarium/vivarium_support.h"

namespace vek::testing {
namespace {

// The words of the kits and tools run without a fault: what asks the game's own window is
// recorded, what reads its files is answered with nothing, and a lift or call button is made
// as the target of what follows it.
TEST(KitWords, RunRecordedOrAnsweredNeutrallyAndALiftKeepsItsTarget) {
    FakeSprites sprites;
    vivarium::TryOptions options;
    options.ticks = 0;
    options.trace = true;
    const TryResult run =
        trySource({"inst", "  dde: getb cnam", "  sys: edit 1 2 3 4", "  new: lift lift 8 0",
                   "  " + classLine(2, 9, 1), "  mvto 10 20", "  new: cbtn cbtn 2 0 5000",
                   "  mvto 30 40", "endm"},
                  sprites, options, "K.COS");
    EXPECT_FALSE(run.faulted) << run.out;
    EXPECT_EQ(run.lines, (std::vector<std::string>{
                             "tick 0 0 0 0 #0 sys: edit 1 2 3 4",
                             state(0, "2 9 1 #1", 10, 20, 0),
                             state(0, "0 0 0 #2", 30, 40, 0),
                         }))
        << run.out;
}

}  // namespace
}  // namespace vek::testing
