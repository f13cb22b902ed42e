#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "demo/demo_installation.h"
#include "support/temp_dir.h"
#include "vivarium/map_file.h"
#include "vivarium/world.h"

namespace vek::testing {
namespace {

TEST(MapFile, RoomsAndTheGroundAreWrittenAndReadBack) {
    vivarium::Map map;
    map.setRoom({3, 10, 20, 300, 400, 1});
    map.setRoom({0, -50, 0, 10, 400, 2});
    map.setGround(0, 350);
    map.setGround(2, -4);
    const vivarium::Map read = vivarium::parseMapText(vivarium::mapFileText(map), "m.txt");
    ASSERT_EQ(read.rooms().size(), 2u);
    EXPECT_EQ(read.rooms()[0].number, 3);
    EXPECT_EQ(read.rooms()[0].bottom, 400);
    EXPECT_EQ(read.rooms()[1].left, -50);
    EXPECT_EQ(read.rooms()[1].type, 2);
    ASSERT_EQ(read.groundPoints(), 3);
    EXPECT_EQ(read.groundAt(0), 350);
    EXPECT_EQ(read.groundAt(1), 0);
    EXPECT_EQ(read.groundAt(2), -4);
}

TEST(MapFile, ALineOfNeitherKindIsRefusedWithItsLine) {
    const char* const broken[] = {"room 1 2 3 4 5", "room 1 2 3 4 5 6 7", "ground 1", "ground -1 5",
                                  "ground 1 x",     "roomy 1 2 3 4 5 6",  "wall 1 2"};
    for (const char* line : broken) {
        SCOPED_TRACE(line);
        try {
            vivarium::parseMapText(std::string("* a comment\n\nroom 0 0 0 9 9 1\n") + line,
                                   "m.txt");
            ADD_FAILURE() << "read";
        } catch (const VekError& error) {
            EXPECT_EQ(error.detail().line, 4u);
            EXPECT_EQ(error.detail().file, "m.txt");
        }
    }
}

TEST(MapFile, ALinePastWhatAMapHoldsIsRefusedWithItsLine) {
    std::string rooms;
    for (int room = 0; room <= 1024; ++room)
        rooms += "room " + std::to_string(room) + " 0 0 9 9 1\n";
    const struct {
        std::string text;
        std::size_t line;
    } cases[] = {{"ground 0 5\nground 8192 5\n", 2}, {rooms, 1025}};
    for (const auto& c : cases) {
        try {
            vivarium::parseMapText(c.text, "m.txt");
            ADD_FAILURE() << "read";
        } catch (const VekError& error) {
            EXPECT_EQ(error.detail().line, c.line);
            EXPECT_NE(std::string(error.text("english")).find("past what a map holds"),
                      std::string::npos);
        }
    }
    EXPECT_EQ(vivarium::parseMapText("ground 8191 5\n", "m.txt").groundPoints(), 8192);
}

TEST(MapFile, AnInstallationWithoutAMapFileHasAnEmptyMap) {
    TempDir dir;
    const vivarium::Map map = vivarium::readInstallationMap(dir.path());
    EXPECT_TRUE(map.rooms().empty());
    EXPECT_EQ(map.groundPoints(), 0);
}

// The demo's map lies on its landscape: rooms side by side across the whole world, and a
// ground line under every place of it, inside the world's height.
TEST(MapFile, TheDemoInstallationsMapCoversItsWorldWithRoomsAndGround) {
    TempDir dir;
    const demo::DemoLayout layout{dir.path()};
    demo::generateDemoInstallation(layout);
    const vivarium::Map map = vivarium::readInstallationMap(layout.gameDirectory() / "Images");
    constexpr int kWorldWidth = 58 * 144;  // back.spr: 58 columns of tiles 144 wide
    constexpr int kWorldHeight = 8 * 150;
    ASSERT_FALSE(map.rooms().empty());
    int right = 0;
    for (const vivarium::Room& room : map.rooms()) {
        EXPECT_EQ(room.left, right);
        EXPECT_EQ(room.top, 0);
        EXPECT_EQ(room.bottom, kWorldHeight);
        right = room.right;
    }
    EXPECT_EQ(right, kWorldWidth);
    EXPECT_EQ(map.groundPoints() * vivarium::kGroundPointWidth, kWorldWidth);
    for (int point = 0; point < map.groundPoints(); ++point) {
        EXPECT_GT(map.groundAt(point), 0);
        EXPECT_LT(map.groundAt(point), kWorldHeight);
    }
}

}  // namespace
}  // namespace vek::testing
