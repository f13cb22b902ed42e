#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vivarium/vivarium_support.h"
#include "vivarium/map.h"
#include "vivarium/scene.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

// A world with sprite files of one image each: a lift 40 by 40, a call button 10 by 10, a
// crate 20 by 10, a car 60 by 30 and a house 50 by 50; the happenings it reports are kept.
class Kinds : public ::testing::Test {
  protected:
    void SetUp() override {
        m_sprites.add("lift", 1, 40, 40);
        m_sprites.add("cbtn", 1, 10, 10);
        m_sprites.add("crat", 1, 20, 10);
        m_sprites.add("car_", 1, 60, 30);
        m_sprites.add("hous", 1, 50, 50);
        m_world.emplace(m_sprites.lookup());
        m_world->setObserver([this](const vivarium::Happening& happening) {
            if (happening.kind == vivarium::HappeningKind::Fault)
                m_faults.push_back(happening.fault.english);
            else
                m_happened.push_back(happening.detail);
        });
    }
    std::string run(const std::string& commands) {
        return m_world->runMacro(MacroText("inst," + commands + ",endm"), nullptr);
    }
    void ticks(int count) {
        for (int k = 0; k < count; ++k) m_world->tick();
    }
    // "x y" of an object's top left corner.
    std::string placeOf(int id) {
        const vivarium::Object* object = m_world->find(id);
        return object ? std::to_string(object->x) + " " + std::to_string(object->y) : "gone";
    }

    FakeSprites m_sprites;
    std::optional<vivarium::World> m_world;
    std::vector<std::string> m_faults;
    std::vector<std::string> m_happened;
};

// Two floors, one above the other: the upper room's floor is at 200, the lower one's at 400.
vivarium::Map twoFloors() {
    vivarium::Map map;
    map.setRoom({0, 0, 0, 400, 200, 1});
    map.setRoom({1, 0, 200, 400, 400, 1});
    return map;
}

// The lift stands on the lower floor (its bottom at 400) with a crate inside; the button on the
// upper floor calls it up, where its bottom stops level with the button's; the lower one calls
// it back.
TEST_F(Kinds, ALiftWithTwoCallButtonsCarriesAnObjectBetweenThem) {
    m_world->setMap(twoFloors());
    run("new: lift lift 1 0,mvto 100 360,"
        "new: cbtn cbtn 1 0 500,mvto 200 190,new: cbtn cbtn 1 0 500,mvto 200 390,"
        "new: simp crat 1 0 800 0,mvto 110 375");
    const int lift = 1;
    const int upper = 2;
    const int lower = 3;
    const int crate = 4;
    ASSERT_TRUE(m_world->sendEvent(upper, vivarium::kEventActivate1));
    ticks(3);
    const std::string riding = run("targ 4,dde: putv tcar");
    EXPECT_EQ(riding, "1|");  // the crate rides in the lift while it travels
    ticks(60);
    EXPECT_EQ(placeOf(lift), "100 160");
    EXPECT_EQ(placeOf(crate), "110 175");
    EXPECT_EQ(run("targ 4,dde: putv tcar"), "0|");  // it got out at the upper floor
    ASSERT_TRUE(m_world->sendEvent(lower, vivarium::kEventActivate2));
    ticks(60);
    EXPECT_EQ(placeOf(lift), "100 360");
    EXPECT_EQ(placeOf(crate), "110 375");
    EXPECT_EQ(m_faults, std::vector<std::string>());
}

// A lift goes no faster than a step at a time, so that it passes the floors between.
TEST_F(Kinds, ALiftTravelsStepByStepAndIsCalledByTheNewestLiftsButtons) {
    m_world->setMap(twoFloors());
    run("new: lift lift 1 0,mvto 300 360,new: lift lift 1 0,mvto 100 360,"
        "new: cbtn cbtn 1 0 500,mvto 200 190");
    m_world->sendEvent(3, vivarium::kEventActivate1);
    ticks(2);
    const vivarium::Object* called = m_world->find(2);
    ASSERT_NE(called, nullptr);
    EXPECT_LT(called->y, 360);
    EXPECT_GT(called->y, 160);
    EXPECT_EQ(placeOf(1), "300 360");  // the older lift has no buttons
}

// Parts sit where new: part put them from part 0, wherever the whole goes.
TEST_F(Kinds, ACompoundObjectMovesWithItsParts) {
    run("new: comp hous 1 0 900,new: part 1 30 5 0 910,new: part 2 -10 20 0 905,mvto 100 50");
    struct Case {
        const char* move;
        std::pair<int, int> part1;
        std::pair<int, int> part2;
    };
    const Case cases[] = {
        {"mvby 0 0", {130, 55}, {90, 70}},
        {"mvby 7 -3", {137, 52}, {97, 67}},
        {"mvto 0 0", {30, 5}, {-10, 20}},
        {"mcrt 1000 -40", {1030, -35}, {990, -20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.move);
        run(std::string("targ 1,") + c.move);
        const vivarium::Object* house = m_world->find(1);
        ASSERT_NE(house, nullptr);
        EXPECT_EQ(vivarium::partPlace(*house, 1), c.part1);
        EXPECT_EQ(vivarium::partPlace(*house, 2), c.part2);
        EXPECT_EQ(vivarium::partPlace(*house, 3), std::nullopt);
    }
    // A part made again with its number takes the old one's place.
    run("targ 1,new: part 1 0 0 0 910");
    EXPECT_EQ(vivarium::partPlace(*m_world->find(1), 1), (std::pair{1000, -40}));
    EXPECT_EQ(m_faults, std::vector<std::string>());
}

// The house (plane 900) with a part in front of it (910) and one behind it (890): each part is
// painted at its place on its plane, and a click on a part finds the house.
TEST_F(Kinds, ACompoundObjectIsPaintedPartByPartOnTheirPlanes) {
    run("new: comp hous 1 0 900,new: part 1 30 5 0 910,new: part 2 -10 20 0 890,mvto 100 50");
    std::vector<std::string> painted;
    for (const vivarium::DrawnObject& drawn : vivarium::paintOrder(*m_world))
        painted.push_back(std::to_string(drawn.object) + " " + std::to_string(drawn.x) + " " +
                          std::to_string(drawn.y) + " " + std::to_string(drawn.width));
    EXPECT_EQ(painted, (std::vector<std::string>{"1 90 70 50", "1 100 50 50", "1 130 55 50"}));
    EXPECT_EQ(vivarium::objectAt(*m_world, 175, 100), 1);  // on part 1 only
    EXPECT_EQ(vivarium::objectAt(*m_world, 95, 110), 1);   // on part 2 only
}

// The car at 0 100 with its cabin 10 5 to 50 25; a crate inside it and one beside it. Each way
// of boarding takes the crates named, and the car's speed carries them; after dpas the car
// drives on alone.
TEST_F(Kinds, AVehicleCarriesWhatItPickedUp) {
    struct Case {
        const char* boarding;
        const char* inside;
        const char* beside;
    };
    const Case cases[] = {
        {"targ 1,gpas", "32 110", "200 100"},
        {"spas 1 3", "12 110", "220 100"},
        {"targ 1,gpas,spas 1 3", "32 110", "220 100"},
        {"targ 1", "12 110", "200 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boarding);
        SetUp();
        run("new: vhcl car_ 1 0,mvto 0 100,cabn 10 5 50 25,"
            "new: simp crat 1 0 800 0,mvto 12 110,new: simp crat 1 0 800 0,mvto 200 100");
        run(c.boarding);
        run("targ 1,setv xvec 4");
        ticks(5);
        EXPECT_EQ(placeOf(1), "20 100");
        EXPECT_EQ(placeOf(2), c.inside);
        EXPECT_EQ(placeOf(3), c.beside);
        run("targ 1,dpas");
        ticks(5);
        EXPECT_EQ(placeOf(1), "40 100");
        EXPECT_EQ(placeOf(2), c.inside);
        EXPECT_EQ(m_faults, std::vector<std::string>());
    }
}

// A wallbound car drives into its room's right wall: it stops there, bump says which side,
// and it gets its collision event.
TEST_F(Kinds, AVehicleStopsAtAWallAndSaysWhereItBumped) {
    vivarium::Map map;
    map.setRoom({0, 0, 0, 100, 200, 1});
    m_world->setMap(map);
    m_world->runMacro(MacroText("scrp 2 30 1 6,setv obv0 1,endm"), nullptr);
    run("new: vhcl car_ 1 0," + classLine(2, 30, 1) + ",setv attr 64,mvto 20 100,setv xvec 15");
    ticks(1);
    EXPECT_EQ(placeOf(1), "35 100");
    EXPECT_EQ(run("targ 1,dde: putv bump,dde: putv obv0"), "0|0|");
    ticks(1);
    EXPECT_EQ(placeOf(1), "40 100");
    EXPECT_EQ(run("targ 1,dde: putv bump,dde: putv obv0"), "2|1|");
}

// Each command of a kind faults on an object of another kind, as the game would fail on it.
TEST_F(Kinds, AKindsCommandsFaultOnAnObjectOfAnotherKind) {
    const char* const commands[] = {"cabn 0 0 5 5",   "gpas",
                                    "dpas",           "setv xvec 3",
                                    "part 1",         "new: part 1 0 0 0 0",
                                    "spot 0 0 0 5 5", "bbd: word 0 1 [hi]",
                                    "bbd: show 1"};
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        m_faults.clear();
        EXPECT_EQ(run(std::string("new: simp crat 1 0 800 0,") + command + ",dde: putv 1"), "");
        ASSERT_EQ(m_faults.size(), 1u);
        EXPECT_NE(m_faults[0].find("which is not of its kind"), std::string::npos);
    }
    m_faults.clear();
    run("new: lift lift 1 0,setv xvec 3");
    EXPECT_EQ(m_faults.size(), 1u);
}

// An object keeps its parts, hot spots and words by numbers 0 to 255: a number past them is a
// fault, so that no macro makes it keep more without end.
TEST_F(Kinds, PartsHotSpotsAndWordsAreKeptByNumbersUpTo255) {
    const struct {
        const char* creation;
        const char* keeping;  // "N" stands for the number
    } kinds[] = {{"new: comp hous 1 0 900", "new: part N 0 0 0 0"},
                 {"new: comp hous 1 0 900", "spot N 0 0 5 5"},
                 {"new: bkbd hous 1 0 700 0 0 0 0", "bbd: word N 1 [hi]"}};
    for (const auto& kind : kinds) {
        for (const int number : {0, 255, 256, -1}) {
            std::string keeping = kind.keeping;
            keeping.replace(keeping.find('N'), 1, std::to_string(number));
            SCOPED_TRACE(keeping);
            m_faults.clear();
            run(std::string(kind.creation) + "," + keeping);
            const bool beyond = number < 0 || number > 255;
            ASSERT_EQ(m_faults.size(), beyond ? 1u : 0u);
            if (beyond) {
                EXPECT_NE(m_faults[0].find("the highest an object keeps"), std::string::npos);
            }
        }
    }
}

// A blackboard speaks the word kept at a place; a place it keeps none at says nothing.
TEST_F(Kinds, ABlackboardSpeaksTheWordsItKeeps) {
    run("new: bkbd hous 1 0 700 0 0 0 0,bbd: word 0 3 [apple],bbd: word 1 4 [ball],"
        "bbd: word 0 5 [carrot],bbd: show 1,bbd: emit 0,bbd: emit 1,bbd: emit 2");
    EXPECT_EQ(m_happened, (std::vector<std::string>{"bbd: emit #1 carrot", "bbd: emit #1 ball"}));
    const auto* board = m_world->find(1)->shape.as<vivarium::Blackboard>();
    ASSERT_NE(board, nullptr);
    EXPECT_TRUE(board->shown);
    EXPECT_EQ(board->words.at(0).number, 5);
}

// What the world records and does not obey goes on its record, and the macro goes on.
TEST_F(Kinds, WordsOutsideTheWorldAreRecordedAndAnsweredNeutrally) {
    struct Case {
        const char* commands;
        const char* answer;
        std::vector<std::string> recorded;
    };
    const std::vector<Case> cases = {
        {"sys: cmra 400 300,sys: quit,dde: putv 1", "1|", {"sys: cmra 400 300", "sys: quit"}},
        {"setv var0 7,dbgv var0,dbgm [all well]", "", {"dbgv 7", "dbgm all well"}},
        {"iscr,rscr,vrsn 3,plds lift,dde: putv tokn abcd", "1684234849|", {}},
        {"setv temp 30,dde: putv temp,dde: putv pntr", "0|0|", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands);
        m_happened.clear();
        EXPECT_EQ(run(c.commands), c.answer);
        EXPECT_EQ(m_happened, c.recorded);
        EXPECT_EQ(m_faults, std::vector<std::string>());
    }
}

// liml, limr, limt and limb are the edges of the room the target is in.
TEST_F(Kinds, TheLimitsAreTheEdgesOfTheTargetsRoom) {
    m_world->setMap(twoFloors());
    EXPECT_EQ(run("new: simp crat 1 0 800 0,mvto 50 250,"
                  "dde: putv liml,dde: putv limt,dde: putv limr,dde: putv limb"),
              "0|200|400|400|");
}

}  // namespace
}  // namespace vek::testing
