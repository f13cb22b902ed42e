#include <gtest/gtest.h>

#include "sprites/sprite_file.h"
#include "support/temp_dir.h"
#include "tests/vivarium/vivarium_support.h"
#include "vivarium/scene.h"
#include "vivarium/session.h"

namespace vek::testing {
namespace {

// An image directory with "ball.spr": four images of 20 x 10 pixels.
class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<SpriteImage> images(4, SpriteImage(20, 10, 7));
        writeSpriteFile(dir / "ball.spr", images);
    }
    // A ball of class 2 5 3 at (x, y) on a plane, with a script per event.
    static std::string ball(int x, int y, int plane) {
        return "inst,new: simp ball 4 0 " + std::to_string(plane) + " 0," + classLine(2, 5, 3) +
               ",mvto " + std::to_string(x) + " " + std::to_string(y) + ",endm";
    }

    TempDir dir;
    vivarium::Session session{dir.path()};
};

TEST_F(SessionTest, TheObjectInFrontIsTheOneOnTheHigherPlaneThenTheYounger) {
    session.runMacro(ball(0, 0, 20));   // #1
    session.runMacro(ball(10, 5, 10));  // #2, behind #1
    session.runMacro(ball(10, 5, 20));  // #3, beside #1 on its plane, younger
    std::vector<int> order;
    for (const vivarium::DrawnObject& drawn : vivarium::paintOrder(session.world()))
        order.push_back(drawn.object);
    EXPECT_EQ(order, (std::vector<int>{2, 1, 3}));
    struct Case {
        int x, y, object;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{12, 7, 3}, Case{29, 14, 3}, Case{30, 14, 0},
                          Case{-1, 0, 0}, Case{19, 9, 3}}) {
        EXPECT_EQ(vivarium::objectAt(session.world(), c.x, c.y), c.object) << c.x << "," << c.y;
    }
}

TEST_F(SessionTest, TheHandsClicksPickupsAndDropsRunTheObjectsScripts) {
    session.runMacro("inst,scrp 2 5 3 1,setv obv0 1,endm");
    session.runMacro("inst,scrp 2 5 3 2,setv obv0 2,endm");
    session.runMacro("inst,scrp 2 5 3 4,setv obv1 4,endm");
    session.runMacro("inst,scrp 2 5 3 5,setv obv2 5,pose 3,endm");
    session.runMacro(ball(100, 100, 10));
    const auto variables = [this] {
        return vivarium::objectRow(session.world().objects().front()).variables;
    };
    EXPECT_EQ(session.click(50, 50, vivarium::kEventActivate1), 0) << "the bare world";
    EXPECT_EQ(session.click(105, 105, vivarium::kEventActivate1), 1);
    EXPECT_EQ(variables(), "0 0 0") << "scripts run on the next tick";
    session.tick();
    EXPECT_EQ(variables(), "1 0 0");
    session.click(119, 109, vivarium::kEventActivate2);
    session.tick();
    EXPECT_EQ(variables(), "2 0 0");

    EXPECT_EQ(session.pickUp(101, 101), 1);
    session.drop(1, 300, 40);
    session.tick();
    const vivarium::ObjectRow row = vivarium::objectRow(session.world().objects().front());
    EXPECT_EQ(row.variables, "2 4 5");
    EXPECT_EQ(row.position, "300, 40");
    EXPECT_EQ(row.pose, "3");
    EXPECT_EQ(row.clas, "2 5 3");
    EXPECT_EQ(row.timer, "-");

    EXPECT_EQ(session.makeEditObject(305, 45), 1);
    EXPECT_EQ(session.world().editObject(), 1);
}

// An order names the object under the point, else the nearest; a drop what the creature holds.
TEST_F(SessionTest, TheCreatureTakesOrdersForTheObjectAtAPointOrTheNearest) {
    session.runMacro("inst,scrp 2 5 3 3,setv obv0 from,endm");
    session.runMacro(ball(100, 100, 10));  // #1
    session.runMacro(ball(400, 100, 10));  // #2
    EXPECT_EQ(session.orderCreature(vivarium::CreatureAction::Hit, 105, 105), 0)
        << "no creature yet";
    const int creature = session.placeCreature(380, 60);
    EXPECT_EQ(creature, 3);
    EXPECT_EQ(session.orderCreature(vivarium::CreatureAction::Hit, 105, 105), 1);
    EXPECT_EQ(session.orderCreature(vivarium::CreatureAction::Hit, 5000, 5000), 2);
    EXPECT_EQ(session.orderCreature(vivarium::CreatureAction::Drop, 105, 105), 0)
        << "it carries nothing";
    session.tick();
    EXPECT_EQ(vivarium::objectRow(*session.world().find(2)).variables,
              std::to_string(creature) + " 0 0");
    EXPECT_EQ(vivarium::objectRow(*session.world().find(1)).variables, "0 0 0");
}

TEST_F(SessionTest, TheLogKeepsWhatHappenedAndAResetEmptiesTheWorldAndTheLog) {
    int changes = 0;
    session.setChangeListener([&changes] { ++changes; });
    session.runMacro("inst,scrp 2 5 3 9,snde drip,pose 9,endm");
    session.runMacro(ball(0, 0, 10));
    session.runMacro("inst,enum 2 5 3,tick 1,next,snez,endm");
    session.tick();
    ASSERT_EQ(session.log().size(), 3u);
    EXPECT_EQ(vivarium::logLine(session.log()[0], kLanguageEnglish),
              "tick 0: not modelled: snez (-:1:29)");
    EXPECT_EQ(vivarium::logLine(session.log()[1], kLanguageGerman), "Tick 1 #1: snde drip");
    EXPECT_EQ(
        vivarium::logLine(session.log()[2], kLanguageGerman),
        "Tick 1: -:1:29: Objekt #1 (2 5 3), Skript 2 5 3 9: Pose 9 liegt jenseits der 4 Bilder des "
        "Objekts");
    EXPECT_EQ(changes, 4);
    session.reset();
    EXPECT_TRUE(session.world().objects().empty());
    EXPECT_TRUE(session.log().empty());
    EXPECT_TRUE(session.world().scripts().empty());
}

}  // namespace
}  // namespace vek::testing
