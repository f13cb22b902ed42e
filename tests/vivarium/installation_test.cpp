#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/vek_error.h"
#include "demo/demo_installation.h"
#include "language/macro_text.h"
#include "support/temp_dir.h"
#include "vivarium/debugger.h"
#include "vivarium/installation.h"
#include "vivarium/map_file.h"
#include "vivarium/session.h"
#include "vivarium/try_run.h"

namespace vek::testing {
namespace {

std::string answerOf(vivarium::World& world, const std::string& macro) {
    return world.runMacro(MacroText(macro), nullptr);
}

// The room a world answers for a place, as a macro asks it.
std::string roomAnswer(vivarium::World& world, int x, int y) {
    return answerOf(world,
                    "inst,dde: putv room " + std::to_string(x) + " " + std::to_string(y) + ",endm");
}

TEST(StandInInstallation, ItsWorldsAndTheSessionsStandOnTheDemosRoomsGroundAndSprites) {
    TempDir dir;
    const demo::DemoLayout layout{dir.path()};
    demo::generateDemoInstallation(layout);
    const std::filesystem::path images = layout.gameDirectory() / "Images";
    const vivarium::Map expected = vivarium::readInstallationMap(images);
    ASSERT_GE(expected.rooms().size(), 2u);

    vivarium::StandInInstallation installation(images);
    std::unique_ptr<vivarium::World> world = installation.makeWorld();
    vivarium::Session session(images);
    for (const vivarium::World* shown :
         {static_cast<const vivarium::World*>(world.get()), &session.world()}) {
        ASSERT_EQ(shown->map().rooms().size(), expected.rooms().size());
        EXPECT_EQ(shown->map().groundPoints(), expected.groundPoints());
    }
    const vivarium::Room& second = expected.rooms()[1];
    EXPECT_EQ(roomAnswer(*world, second.left + 1, second.top + 1),
              std::to_string(second.number) + "|");
    // A reset world starts on the map again, not on what a macro made of it.
    session.runMacro("inst,room 900 0 0 5 5 1,endm");
    session.reset();
    EXPECT_EQ(session.world().map().rooms().size(), expected.rooms().size());
    // The demo's spinning top has four images of its sprite file.
    const vivarium::SpriteSizes* top = installation.sprites()("vtop");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->sizes.size(), 4u);
}

TEST(StandInInstallation, AMapFileWithABadLineIsRefusedNamingItsFileAndLine) {
    TempDir dir;
    std::ofstream(dir / std::string(vivarium::kMapFileName)) << "room 0 0 0 100 100 1\nwall 3\n";
    try {
        const vivarium::StandInInstallation installation(dir.path());
        ADD_FAILURE() << "a bad map file was read";
    } catch (const VekError& error) {
        EXPECT_EQ(error.detail().line, std::optional<std::uint64_t>{2});
        EXPECT_NE(std::string(error.text("english")).find("wall 3"), std::string::npos);
    }
}

TEST(StandInInstallation, AnEmptyDirectoryIsABareInstallationWithoutRoomsOrSprites) {
    vivarium::StandInInstallation installation({});
    EXPECT_FALSE(installation.sprites());
    std::unique_ptr<vivarium::World> world = installation.makeWorld();
    EXPECT_TRUE(world->map().rooms().empty());
    EXPECT_EQ(roomAnswer(*world, 10, 10), "-1|");
}

// Every demo object runs together in the window's world for 1,000 ticks without a fault: each
// is clicked now and then, and the creature plays with the nearest.
TEST(StandInInstallation, TheDemosObjectsRunAThousandTicksInTheWindowsWorld) {
    TempDir dir;
    const demo::DemoLayout layout{dir.path()};
    demo::generateDemoInstallation(layout);
    vivarium::Session session(layout.gameDirectory() / "Images");
    for (const char* name : {"SPTOP", "BALL", "HEATER", "LIFT", "CAR", "MILL", "BLOCK"}) {
        const std::string file = std::string(name) + ".COS";
        session.inject(vivarium::injectionOfFile(layout.gameDirectory() / file, file));
    }
    session.placeCreature(2800, 0);
    for (int tick = 1; tick <= 1000; ++tick) {
        if (tick % 100 == 3) {
            for (const vivarium::Object& object : session.world().objects())
                session.click(object.x + object.width() / 2, object.y + object.height() / 2, 1);
        }
        if (tick % 250 == 1) session.orderCreature(vivarium::CreatureAction::Activate1, 0, 0);
        session.tick();
    }
    // Seven objects, the lift's two call buttons and the creature.
    EXPECT_EQ(session.world().objects().size(), 10u);
    for (const vivarium::Happening& happening : session.log())
        EXPECT_NE(happening.kind, vivarium::HappeningKind::Fault) << happening.fault.english;
}

}  // namespace
}  // namespace vek::testing
