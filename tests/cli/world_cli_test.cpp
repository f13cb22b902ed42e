#include <gtest/gtest.h>

#include <sstream>

#include "app/file_io.h"
#include "cli/cli.h"
#include "demo/demo_installation.h"
#include "support/temp_dir.h"
#include "support/vek_run.h"

namespace vek::cli {
namespace {

namespace fs = std::filesystem;

// The demo installation with its Wine prefix and drive A:, as a user gets it from `vek demo`.
struct Demo {
    testing::TempDir dir;
    demo::DemoLayout layout{dir / "demo"};
    Demo() { demo::generateDemoInstallation(layout); }

    testing::VekRun vek(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--game-dir", pathToUtf8(layout.gameDirectory()),
                                   "--wine-prefix", pathToUtf8(layout.winePrefix())});
        return testing::runVekHere(args);
    }
    fs::path game(const std::string& name) const { return layout.gameDirectory() / name; }
};

TEST(WorldVerbs, ResetAndNewWorkOnTheDemosWorldFiles) {
    const Demo demo;
    const std::string world = readFileText(demo.game("world.sfc"));
    const std::string eden = readFileText(demo.game("eden.sfc"));
    ASSERT_NE(world, eden);
    EXPECT_EQ(demo.vek({"world", "reset"}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.game("OldWorld.sfc")), world);
    EXPECT_EQ(readFileText(demo.game("world.sfc")), eden);
    EXPECT_EQ(demo.vek({"world", "new", pathToUtf8(demo.dir / "new.sfc")}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.dir / "new.sfc"), eden);
    // A new world over the game's own keeps the world it replaces.
    writeFileAtomically(demo.game("world.sfc"), std::string_view("played"));
    EXPECT_EQ(demo.vek({"world", "new", pathToUtf8(demo.game("world.sfc"))}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.game("OldWorld.sfc")), "played");
    EXPECT_EQ(readFileText(demo.game("OldWorld1.sfc")), world);
    // So does the demo written again over a world played in it.
    writeFileAtomically(demo.game("world.sfc"), std::string_view("played again"));
    EXPECT_EQ(demo.vek({"demo", pathToUtf8(demo.dir / "demo"), "--force"}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.game("world.sfc")), world);
    EXPECT_EQ(readFileText(demo.game("OldWorld.sfc")), "played again");
    EXPECT_EQ(demo.vek({"world", "old"}).status, kUsageError);
    EXPECT_EQ(demo.vek({"world", "new"}).status, kUsageError);
}

TEST(WorldVerbs, EggsGoToThePrefixDriveAOrToTheFolderNamed) {
    const Demo demo;
    // Genetics of the test's own, without the Norn mothers of eggs 2 to 6.
    const fs::path genetics = demo.game("Genetics");
    for (const char* name : {"mum1.gen", "dad1.gen", "gren.gen"})
        writeFileAtomically(genetics / name, std::string_view(name));
    for (const char* name : {"mum2.gen", "mum3.gen", "mum4.gen", "mum5.gen", "mum6.gen"})
        fs::remove(genetics / name);
    const testing::VekRun toDriveA = demo.vek({"eggs", "nornel"});
    EXPECT_EQ(toDriveA.status, kFailed);  // eggs 2 to 6 have no Norn mums: nothing is written
    EXPECT_TRUE(fs::is_empty(demo.layout.floppy()));
    EXPECT_NE(toDriveA.err.find("mum2.gen"), std::string::npos) << toDriveA.err;
    for (const char* name : {"mum2.gen", "mum3.gen", "mum4.gen", "mum5.gen", "mum6.gen"})
        writeFileAtomically(genetics / name, std::string_view(name));
    EXPECT_EQ(demo.vek({"eggs", "nornel"}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.layout.floppy() / "egg1" / "mum1.gen"), "mum1.gen");
    EXPECT_EQ(readFileText(demo.layout.floppy() / "egg1" / "dad1.gen"), "gren.gen");

    EXPECT_EQ(demo.vek({"eggs", "grendel", "--to", pathToUtf8(demo.dir.path())}).status, kSuccess);
    EXPECT_EQ(readFileText(demo.dir / "egg6" / "mum6.gen"), "gren.gen");
    EXPECT_EQ(demo.vek({"eggs", "norns"}).status, kUsageError);

    fs::remove(demo.layout.winePrefix() / "dosdevices" / "a:");
    const testing::VekRun noDrive = demo.vek({"eggs", "game"});
    EXPECT_EQ(noDrive.status, kFailed);
    EXPECT_NE(noDrive.err.find("No drive A: is set"), std::string::npos) << noDrive.err;
}

TEST(WorldVerbs, GameSettingChangesOneLineOfTheDemoPrefix) {
    const Demo demo;
    const fs::path userReg = demo.layout.winePrefix() / "user.reg";
    const fs::path systemReg = demo.layout.winePrefix() / "system.reg";
    std::string expected = readFileText(userReg);
    const std::string system = readFileText(systemReg);
    expected.replace(expected.find("\"Privileges\"=\"none\""), 19, "\"Privileges\"=\"tundra\"");
    EXPECT_EQ(demo.vek({"game-setting", "tundra"}).status, kSuccess);
    EXPECT_EQ(readFileText(userReg), expected);
    EXPECT_EQ(readFileText(systemReg), system);
    EXPECT_EQ(demo.vek({"game-setting", "more-eggs"}).status, kSuccess);
    EXPECT_NE(readFileText(systemReg).find("\"Eggstra\"=\"kkkkkk\""), std::string::npos);
    EXPECT_EQ(demo.vek({"game-setting", "cheat"}).status, kUsageError);
}

TEST(WorldVerbs, SoundsAndReport) {
    const Demo demo;
    const testing::VekRun sounds = demo.vek({"sounds"});
    EXPECT_EQ(sounds.status, kSuccess);
    EXPECT_NE(sounds.out.find("MU02.wav\n"), std::string::npos);
    EXPECT_NE(sounds.out.find("zzzz.wav\n"), std::string::npos);
    const testing::VekRun report = demo.vek({"report"});
    EXPECT_EQ(report.status, kSuccess);
    EXPECT_EQ(report.out.find("VEK Report\n"), 0u);
    EXPECT_NE(report.out.find("Org.: \tVekstudio demo\n"), std::string::npos);
    EXPECT_NE(report.out.find("OS: \tLinux\n"), std::string::npos);
    EXPECT_EQ(report.out.find("Drive A: "), std::string::npos);  // the floppy is no hard drive
    EXPECT_NE(report.out.find("Drive C: \t"), std::string::npos);
    EXPECT_NE(report.out.find("CSoundPath: \t" + pathToUtf8(demo.game("Sounds")) + "/\n"),
              std::string::npos);
}

}  // namespace
}  // namespace vek::cli
