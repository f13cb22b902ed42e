#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vivarium/vivarium_support.h"
#include "vivarium/map.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

using vivarium::Map;

// One room, 0..100 across and 0..60 down, over a ground at height 50 from x 0 to 159.
Map roomOverGround() {
    Map map;
    map.setRoom({0, 0, 0, 100, 60, 1});
    for (int point = 0; point < 10; ++point) map.setGround(point, 50);
    return map;
}

// An object 20 wide and 10 high, at 40 40 in the room, sent somewhere.
TEST(Map, AWallboundObjectStaysInItsRoomAndAGroundboundOneAboveTheGround) {
    struct Case {
        const char* what;
        int attributes;
        int toLeft;
        int toTop;
        vivarium::Placement expected;
    };
    const Case cases[] = {
        {"free, far off", 0, -500, 900, {-500, 900, false}},
        {"wallbound, inside", Map::kWallbound, 10, 5, {10, 5, false}},
        {"wallbound, against the right wall", Map::kWallbound, 80, 40, {80, 40, false}},
        {"wallbound, through the right wall", Map::kWallbound, 95, 40, {80, 40, true}},
        {"wallbound, through the left wall and the ceiling", Map::kWallbound, -7, -3, {0, 0, true}},
        {"wallbound, through the floor of the room", Map::kWallbound, 40, 70, {40, 50, true}},
        {"groundbound, above the ground", Map::kGroundbound, 40, 20, {40, 20, false}},
        {"groundbound, on it", Map::kGroundbound, 40, 40, {40, 40, false}},
        {"groundbound, into it", Map::kGroundbound, 40, 45, {40, 40, true}},
        {"groundbound, past the end of the line", Map::kGroundbound, 200, 45, {200, 45, false}},
    };
    const Map map = roomOverGround();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const vivarium::Placement placement =
            map.limit(c.attributes, 20, 10, 40, 40, c.toLeft, c.toTop);
        EXPECT_EQ(placement.left, c.expected.left);
        EXPECT_EQ(placement.top, c.expected.top);
        EXPECT_EQ(placement.collided, c.expected.collided);
    }
    // Outside every room a wallbound object is held by no wall.
    const vivarium::Placement outside = map.limit(Map::kWallbound, 20, 10, 300, 300, 900, 900);
    EXPECT_EQ(outside.left, 900);
    EXPECT_FALSE(outside.collided);
}

TEST(Map, TheRoomAndGroundWordsDefineAndReadTheMap) {
    vivarium::World world;
    const std::string answer = world.runMacro(
        MacroText("inst,room 0 0 0 320 240 1,room 1 320 0 640 240 2,room 1 320 0 700 240 3,"
                  "sys: grnd 0 200,sys: grnd 2 210,dde: putv room 10 10,dde: putv room 650 5,"
                  "dde: putv room 800 5,dde: putv grnd 2,dde: putv grnd 1,dde: putv gnd#,"
                  "dde: putv gndw,endm"),
        nullptr);
    // Room 1 was made again wider; the ground line holds points 0 to 2, point 1 at 0.
    EXPECT_EQ(answer, "0|1|-1|210|0|3|48|");
    ASSERT_EQ(world.map().rooms().size(), 2u);
    EXPECT_EQ(world.map().rooms()[1].type, 3);
}

// The first fault a macro ran into, in English; empty where none.
std::string faultOf(vivarium::World& world, const std::string& macro) {
    std::string fault;
    world.setObserver([&fault](const vivarium::Happening& happening) {
        if (happening.kind == vivarium::HappeningKind::Fault && fault.empty())
            fault = happening.fault.english;
    });
    world.runMacro(MacroText(macro), nullptr);
    world.setObserver({});
    return fault;
}

TEST(Map, NoMacroMakesTheMapGrowWithoutEnd) {
    const struct {
        const char* macro;
        const char* fault;  // a part of it; empty for none
        std::size_t rooms;
        int groundPoints;
    } cases[] = {
        {"inst,sys: grnd 8191 5,endm", "", 0, 8192},
        {"inst,sys: grnd 8192 5,endm",
         "ground point 8192 lies beyond the ground line's last point 8191", 0, 0},
        {"inst,sys: grnd -1 5,endm", "ground point -1", 0, 0},
        {"inst,setv var0 0,reps 1024,room var0 0 0 9 9 1,addv var0 1,repe,room 5 0 0 1 1 2,endm",
         "", 1024, 0},
        {"inst,setv var0 0,reps 1025,room var0 0 0 9 9 1,addv var0 1,repe,endm",
         "at most 1024 rooms", 1024, 0},
    };
    for (const auto& c : cases) {
        vivarium::World world;
        const std::string fault = faultOf(world, c.macro);
        if (*c.fault == '\0') {
            EXPECT_EQ(fault, "") << c.macro;
        } else {
            EXPECT_NE(fault.find(c.fault), std::string::npos) << c.macro << ": " << fault;
        }
        EXPECT_EQ(world.map().rooms().size(), c.rooms) << c.macro;
        EXPECT_EQ(world.map().groundPoints(), c.groundPoints) << c.macro;
    }
}

// A world with one room and a ground, and one 20 by 10 object of class 2 8 1 with attributes.
class RoomsWorld : public ::testing::Test {
  protected:
    RoomsWorld() : world(sprites()) { world.setMap(roomOverGround()); }

    static vivarium::SpriteLookup sprites() {
        static FakeSprites files = [] {
            FakeSprites made;
            made.add("ball", 1, 20, 10);
            return made;
        }();
        return files.lookup();
    }
    void make(int attributes, int x, int y, const std::string& more = {}) {
        world.runMacro(MacroText("inst,new: simp ball 1 0 1000 0," + classLine(2, 8, 1) +
                                 ",setv attr " + std::to_string(attributes) + ",mvto " +
                                 std::to_string(x) + " " + std::to_string(y) + more + ",endm"),
                       nullptr);
    }
    void script(int event, const std::string& commands) {
        world.runMacro(MacroText("scrp 2 8 1 " + std::to_string(event) + "," + commands + ",endm"),
                       nullptr);
    }
    const vivarium::Object& object() const { return world.objects().front(); }

    vivarium::World world;
};

// The timer walks it 10 to the right each tick; the room is 100 wide, the object 20.
TEST_F(RoomsWorld, AWallboundObjectWalkingIntoItsWallStopsAndItsCollisionScriptTurnsIt) {
    script(vivarium::kEventTimer, "mvby obv0 0");
    script(vivarium::kEventCollision, "negv obv0");
    make(Map::kWallbound, 50, 20, ",setv obv0 10,tick 1");
    std::vector<int> lefts;
    for (int tick = 0; tick < 6; ++tick) {
        world.tick();
        lefts.push_back(object().x);
    }
    // At 80 its right edge meets the wall: the next step stops there, the collision that it
    // gave turns it in the tick after, before that tick's step.
    EXPECT_EQ(lefts, (std::vector<int>{60, 70, 80, 80, 70, 60}));
}

// Made at 0, 0 inside the room, its first move places it where its script says, beyond the
// wall; a wallbound one placed inside is held by the wall from then on.
TEST_F(RoomsWorld, AnObjectsFirstMovePlacesItAndLaterMovesAreHeld) {
    make(Map::kWallbound, 150, 20);
    make(Map::kWallbound, 50, 20, ",mvto 150 20");
    EXPECT_EQ(world.objects()[0].x, 150);
    EXPECT_EQ(world.objects()[1].x, 80);
}

TEST_F(RoomsWorld, WithoutItsAttributeOrWithoutACollisionScriptTheObjectWalksOnOrStays) {
    script(vivarium::kEventTimer, "mvby 10 0");
    make(0, 50, 20, ",tick 1");
    make(Map::kWallbound, 50, 20, ",tick 1");
    for (int tick = 0; tick < 6; ++tick) world.tick();
    EXPECT_EQ(world.objects()[0].x, 110);
    EXPECT_EQ(world.objects()[1].x, 80);
}

// The drop script notes 5 in obv0; the collision script copies obv0 to obv1, so obv1 shows
// that the landing came after the drop.
TEST_F(RoomsWorld, AGroundboundObjectDroppedAboveTheGroundComesToRestOnIt) {
    struct Case {
        const char* what;
        int attributes;
        int dropTop;
        int restTop;
        int landedAfterDrop;  // obv1: 5 when the collision script ran after the drop script
    };
    const Case cases[] = {
        {"groundbound, above the ground", Map::kGroundbound, 5, 40, 5},
        {"groundbound, below the ground: lifted without a landing", Map::kGroundbound, 45, 40, 0},
        {"not groundbound: it stays where it was put", 0, 5, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world = vivarium::World(sprites());
        world.setMap(roomOverGround());
        script(vivarium::kEventDrop, "setv obv0 5");
        script(vivarium::kEventCollision, "setv obv1 obv0");
        make(c.attributes, 0, 0);
        ASSERT_TRUE(world.dropObject(object().id, 30, c.dropTop));
        world.tick();
        EXPECT_EQ(object().y, c.restTop);
        EXPECT_EQ(object().y + object().height(), c.restTop + 10);
        EXPECT_EQ(object().objectVariables[0], 5);
        EXPECT_EQ(object().objectVariables[1], c.landedAfterDrop);
    }
}

TEST_F(RoomsWorld, AGroundboundObjectMovedDownStopsOnTheGroundWithACollision) {
    script(vivarium::kEventCollision, "setv obv1 1");
    make(Map::kGroundbound, 30, 10, ",mvby 0 100");
    EXPECT_EQ(object().y, 40);
    world.tick();
    EXPECT_EQ(object().objectVariables[1], 1);
}

}  // namespace
}  // namespace vek::testing
