#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vivarium/vivarium_support.h"
#include "vivarium/creature.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

using vivarium::CreatureAction;
using vivarium::HappeningKind;
using vivarium::World;

// Flat ground at height 200 from x 0 to 1599.
vivarium::Map flatGround() {
    vivarium::Map map;
    for (int point = 0; point < 100; ++point) map.setGround(point, 200);
    return map;
}

// A world on flat ground with toys 20 x 10 (sprite "toyy") of class 2 30 1, whose scripts for
// each of the events 0 to 5 keep in obv0 who sent the event and in obv1 the event's number.
struct Playground {
    FakeSprites sprites;
    World world;
    std::vector<vivarium::Happening> happenings;

    Playground() : world(lookupOf(sprites)) {
        world.setMap(flatGround());
        world.setObserver([this](const vivarium::Happening& h) { happenings.push_back(h); });
        for (int event = 0; event <= 5; ++event) {
            world.runMacro(
                MacroText("scrp 2 30 1 " + std::to_string(event) + ",setv obv0 from,setv obv1 " +
                          std::to_string(event) + ",endm"),
                nullptr);
        }
    }
    static vivarium::SpriteLookup lookupOf(FakeSprites& sprites) {
        sprites.add("toyy", 1, 20, 10);
        return sprites.lookup();
    }
    // A toy with its top left corner at a place, and its attributes.
    int toy(int x, int y, int attr = 0) {
        const int id = world.nextObjectId();
        world.runMacro(MacroText("inst,new: simp toyy 1 0 100 0," + classLine(2, 30, 1) +
                                 ",setv attr " + std::to_string(attr) + ",mvto " +
                                 std::to_string(x) + " " + std::to_string(y) + ",endm"),
                       nullptr);
        return id;
    }
    void ticks(int count) {
        for (int k = 0; k < count; ++k) world.tick();
    }
    const vivarium::Object& object(int id) { return *world.find(id); }
    std::vector<std::string> details(HappeningKind kind) const {
        std::vector<std::string> found;
        for (const vivarium::Happening& h : happenings) {
            if (h.kind == kind) found.push_back(h.detail);
        }
        return found;
    }
};

TEST(Creature, StandsOnTheGroundWalksToTheToyAndActivatesItFromItself) {
    Playground ground;
    const int toy = ground.toy(400, 190);
    const int creature = ground.world.placeCreature(100, 0);
    // Placed from above, it stands on the ground: 60 high, its top at 140.
    EXPECT_EQ(ground.object(creature).y, 140);
    EXPECT_EQ(ground.object(creature).family, vivarium::kCreatureFamily);
    ASSERT_TRUE(ground.world.orderCreature(CreatureAction::Activate1, toy));

    // Its centre starts 290 left of the toy's; each tick takes it 8 nearer, until it is
    // within 24: after 34 steps it is 18 away, and it acts in the tick after.
    ground.ticks(34);
    EXPECT_EQ(ground.object(creature).x, 100 + 34 * 8);
    EXPECT_EQ(ground.object(toy).objectVariables[1], 0);
    ground.ticks(1);
    EXPECT_EQ(ground.object(toy).objectVariables[0], creature);
    EXPECT_EQ(ground.object(toy).objectVariables[1], vivarium::kEventActivate1);
    EXPECT_EQ(ground.details(HappeningKind::Message),
              std::vector<std::string>{"activate1 " + vivarium::objectName(toy)});
    // The order is done: it stands still.
    ground.ticks(3);
    EXPECT_EQ(ground.object(creature).x, 100 + 34 * 8);
}

TEST(Creature, EachActionGivesTheObjectItsEventFromTheCreature) {
    struct Case {
        CreatureAction action;
        int event;
    };
    const Case cases[] = {
        {CreatureAction::Activate1, 1},  {CreatureAction::Activate2, 2},
        {CreatureAction::Deactivate, 0}, {CreatureAction::Hit, 3},
        {CreatureAction::Pickup, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(vivarium::creatureActionName(c.action)));
        Playground ground;
        const int toy = ground.toy(110, 190);
        const int creature = ground.world.placeCreature(100, 140);
        ASSERT_TRUE(ground.world.orderCreature(c.action, toy));
        ground.ticks(1);
        EXPECT_EQ(ground.object(toy).objectVariables[0], creature);
        EXPECT_EQ(ground.object(toy).objectVariables[1], c.event);
        EXPECT_EQ(vivarium::creatureActionNamed(vivarium::creatureActionName(c.action)), c.action);
    }
    EXPECT_FALSE(vivarium::creatureActionNamed("juggle"));
}

TEST(Creature, CarriesWhatItPicksUpAndDropsItOntoTheGround) {
    Playground ground;
    const int ball = ground.toy(110, 190, vivarium::Map::kGroundbound);
    const int far = ground.toy(700, 190);
    const int creature = ground.world.placeCreature(100, 140);
    // Nothing carried yet: there is nothing to drop.
    EXPECT_EQ(vivarium::objectForCreature(ground.world, CreatureAction::Drop), 0);
    EXPECT_FALSE(ground.world.orderCreature(CreatureAction::Drop, ball));
    EXPECT_EQ(vivarium::objectForCreature(ground.world, CreatureAction::Pickup), ball);
    ASSERT_TRUE(ground.world.orderCreature(CreatureAction::Pickup, ball));
    ground.ticks(1);
    EXPECT_EQ(ground.world.creature().carried, ball);

    // Held at its middle (120, 170) while it walks to the other toy.
    ASSERT_TRUE(ground.world.orderCreature(CreatureAction::Hit, far));
    ground.ticks(10);
    const vivarium::Object& self = ground.object(creature);
    EXPECT_EQ(ground.object(ball).x, self.x + 20 - 10);
    EXPECT_EQ(ground.object(ball).y, self.y + 30 - 5);
    EXPECT_EQ(vivarium::objectForCreature(ground.world, CreatureAction::Drop), ball);

    // Dropped, the groundbound ball falls onto the ground: a drop event from the creature,
    // then the collision.
    ASSERT_TRUE(ground.world.orderCreature(CreatureAction::Drop, ball));
    ground.ticks(1);
    EXPECT_EQ(ground.world.creature().carried, 0);
    EXPECT_EQ(ground.object(ball).y, 190);
    EXPECT_EQ(ground.object(ball).objectVariables[0], creature);
    EXPECT_EQ(ground.object(ball).objectVariables[1], vivarium::kEventDrop);
}

TEST(Creature, IsOneAndNeedsAPlaceAndAnObject) {
    Playground ground;
    const int toy = ground.toy(300, 190);
    EXPECT_FALSE(ground.world.orderCreature(CreatureAction::Hit, toy));
    EXPECT_EQ(vivarium::objectForCreature(ground.world, CreatureAction::Hit), 0);
    const int creature = ground.world.placeCreature(10, 0);
    // Placing again moves the same creature.
    EXPECT_EQ(ground.world.placeCreature(500, 0), creature);
    EXPECT_EQ(ground.object(creature).x, 500);
    EXPECT_EQ(ground.world.objects().size(), 2u);
    EXPECT_FALSE(ground.world.orderCreature(CreatureAction::Hit, creature));
    EXPECT_FALSE(ground.world.orderCreature(CreatureAction::Hit, 99));
    // Of two toys the nearer, centre to centre.
    const int nearer = ground.toy(560, 150);
    EXPECT_EQ(vivarium::objectForCreature(ground.world, CreatureAction::Hit), nearer);
    // A toy killed on its way ends the order without a fault.
    ASSERT_TRUE(ground.world.orderCreature(CreatureAction::Hit, toy));
    ground.world.runMacro(MacroText("inst,kill " + std::to_string(toy) + ",endm"), nullptr);
    ground.ticks(2);
    EXPECT_FALSE(ground.world.creature().order);
    EXPECT_TRUE(ground.details(HappeningKind::Fault).empty());
}

// new: crea makes the one creature, standing on the ground, or takes the one there is; either
// is its macro's target.
TEST(Creature, NewCreaMakesTheOneCreatureOrTakesItAsTheTarget) {
    Playground ground;
    const std::string answer = ground.world.runMacro(
        MacroText("inst,new: crea 0 1,dde: putv targ,dde: putv posb,endm"), nullptr);
    const int creature = ground.world.creature().id;
    ASSERT_NE(creature, 0);
    EXPECT_EQ(answer, std::to_string(creature) + "|200|");
    ground.world.placeCreature(500, 0);
    EXPECT_EQ(ground.world.runMacro(MacroText("inst,new: crea 0 2,dde: putv posl,endm"), nullptr),
              "500|");
    EXPECT_EQ(ground.world.objects().size(), 1u);
    EXPECT_TRUE(ground.details(HappeningKind::Fault).empty());
}

// Stimuli from a macro, with the creature at 100 on the ground and a toy at 400; chemical 12 is
// named, 7 is not.
TEST(Creature, StimuliThatReachItAreReportedWithTheChemicalsNames) {
    struct Case {
        const char* macro;
        const char* expected;
    };
    const Case cases[] = {
        {"stim writ norn 1 255 0 0 12 30 7 5 0 0 0 0",
         "stim writ #2 1 255 0 0 12 30 7 5 0 0 0 0 reaches creature #2 (chemical 12 Glucose "
         "30, chemical 7 5)"},
        {"stim writ 1 0 255 0 0 12 30 0 0 0 0 0 0", "stim writ #1 0 255 0 0 12 30 0 0 0 0 0 0"},
        {"targ 1,stim shou 0 255 0 0 0 0 0 0 0 0 0 0",
         "stim shou 0 255 0 0 0 0 0 0 0 0 0 0 reaches creature #2"},
        {"targ 1,stim sign 0 255 0 0 12 1 0 0 0 0 0 0",
         "stim sign 0 255 0 0 12 1 0 0 0 0 0 0 reaches creature #2 (chemical 12 Glucose 1)"},
        // Far from the toy it touches nothing; from no event, from is no one.
        {"targ 1,stim tact 0 255 0 0 12 1 0 0 0 0 0 0", "stim tact 0 255 0 0 12 1 0 0 0 0 0 0"},
        {"stim from 0 255 0 0 12 1 0 0 0 0 0 0", "stim from 0 255 0 0 12 1 0 0 0 0 0 0"},
        {"stm# writ norn 5", "stm# writ #2 5 reaches creature #2"},
        {"targ 1,stm# tact 5", "stm# tact 5"},
        {"targ 1,stm# shou 5", "stm# shou 5 reaches creature #2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macro);
        Playground ground;
        ground.toy(400, 190);
        ground.world.placeCreature(100, 0);
        std::vector<std::string> names(256);
        names[12] = "Glucose";
        ground.world.setChemicalNames(names);
        ground.world.runMacro(MacroText(std::string("inst,") + c.macro + ",endm"), nullptr);
        EXPECT_EQ(ground.details(HappeningKind::Stimulus), std::vector<std::string>{c.expected});
    }
}

TEST(Creature, TouchesWhatItStandsByOrHolds) {
    Playground ground;
    const int toy = ground.toy(110, 190);
    ground.world.placeCreature(100, 140);
    ground.world.runMacro(MacroText("inst,targ " + std::to_string(toy) +
                                    ",stim tact 0 255 0 0 0 0 0 0 0 0 0 0,stm# tact 2,endm"),
                          nullptr);
    EXPECT_EQ(ground.details(HappeningKind::Stimulus),
              (std::vector<std::string>{"stim tact 0 255 0 0 0 0 0 0 0 0 0 0 reaches creature #2",
                                        "stm# tact 2 reaches creature #2"}));
}

// Its brain and chemistry are not modelled: each word answers 0 and says so, never a fault.
TEST(Creature, TheWordsOfItsInsidesAnswerNeutrally) {
    Playground ground;
    const int creature = ground.world.placeCreature(100, 0);
    const std::string answer = ground.world.runMacro(
        MacroText("inst,targ norn,chem 3 10,aslp 1,snez,setv var0 7,new: gene 1 2 var0,"
                  "dde: putv norn,dde: putv targ,dde: putv var0,dde: putv dead,"
                  "dde: putv chem 3,dde: putv drv!,dde: putv driv 2,dde: putv baby,"
                  "dde: negg,endm"),
        nullptr);
    const std::string id = std::to_string(creature);
    EXPECT_EQ(answer, id + "|" + id + "|0|0|0|0|0|0|");
    EXPECT_TRUE(ground.details(HappeningKind::Fault).empty());
    EXPECT_EQ(ground.details(HappeningKind::NotModelled),
              (std::vector<std::string>{"chem", "aslp", "snez", "new: gene", "dead", "chem", "drv!",
                                        "driv", "baby", "dde: negg"}));

    // A script may choose another pet; without a creature, norn names no one.
    EXPECT_EQ(ground.world.runMacro(MacroText("inst,setv norn 9,dde: putv norn,endm"), nullptr),
              "9|");
    World empty;
    EXPECT_EQ(empty.runMacro(MacroText("inst,dde: putv norn,endm"), nullptr), "0|");
}

}  // namespace
}  // namespace vek::testing
