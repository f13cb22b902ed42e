#include <gtest/gtest.h>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/startup_options.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr std::string_view kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n\n"
    "[Software\\\\Microsoft\\\\Other] 1600000000\n"
    "\"Main Directory\"=\"C:\\\\Wrong\\\\\"\n\n"
    "[Software\\\\Millennium Interactive\\\\Creatures\\\\1.0] 1600000000\n"
    "#time=1d5c1e2f3a4b5c6\n"
    "\"Main Directory\"=\"C:\\\\Creatures\\\\\"\n"
    "\"Image Directory\"=\"c:\\\\creatures\\\\IMAGES\\\\\"\n"
    "\"Sound Directory\"=\"D:\\\\Sounds\\\\\"\n\n";

TEST(GamePaths, TheStandardLayoutEndsEveryPathWithASeparator) {
    const GamePaths paths = gamePathsUnder("/games/creatures");
    EXPECT_EQ(paths.CMainPath, "/games/creatures/");
    EXPECT_EQ(paths.CIntroPath, paths.CMainPath);
    EXPECT_EQ(paths.CBodyDataPath, "/games/creatures/Body data/");
    EXPECT_EQ(paths.CImagePath, "/games/creatures/Images/");
    EXPECT_EQ(paths.CSoundPath, "/games/creatures/Sounds/");
}

TEST(GamePaths, ReadsTheGameKeyOfAWineRegistry) {
    const auto values = parseWineRegistryKey(kSystemReg, kGameRegistryKey);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ((*values)[0], "C:\\Creatures\\");
    EXPECT_EQ((*values)[3], "c:\\creatures\\IMAGES\\");
    EXPECT_FALSE((*values)[1].has_value());
    EXPECT_FALSE(parseWineRegistryKey("[Software\\\\Other] 1\n", kGameRegistryKey).has_value());
}

TEST(GamePaths, MapsWindowsPathsThroughThePrefixDrivesMatchingCaseLoosely) {
    TempDir prefix;
    fs::create_directories(prefix / "drive_c" / "Creatures" / "Images");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    writeFileAtomically(prefix / "system.reg", kSystemReg);

    const auto paths = readWineGamePaths(prefix.path());
    ASSERT_TRUE(paths.has_value());
    const std::string driveC = pathToUtf8(fs::canonical(prefix / "drive_c"));
    EXPECT_EQ(paths->CMainPath, driveC + "/Creatures/");
    EXPECT_EQ(paths->CImagePath, driveC + "/Creatures/Images/");
    EXPECT_EQ(paths->CSoundPath, "");     // drive D: is not mapped
    EXPECT_EQ(paths->CGeneticsPath, "");  // value missing
}

TEST(GamePaths, APrefixWithoutTheKeyOrWithoutARegistryKnowsNoGame) {
    TempDir prefix;
    EXPECT_FALSE(readWineGamePaths(prefix.path()).has_value());
    writeFileAtomically(prefix / "system.reg",
                        std::string_view("[Software\\\\Other] 1\n\"a\"=\"b\"\n"));
    EXPECT_FALSE(readWineGamePaths(prefix.path()).has_value());
    GamePathSources sources;
    sources.winePrefix = prefix.path();
    EXPECT_EQ(readGamePaths(sources), GamePaths{});
}

TEST(GamePaths, TheOptionComesBeforeTheEnvironmentAndAMissingDirectoryIsAnError) {
    TempDir dir;
    GamePathSources sources;
    sources.gameDirEnvironment = "/from/environment";
    EXPECT_EQ(readGamePaths(sources).CMainPath, "/from/environment/");
    sources.gameDirOption = dir.path();
    EXPECT_EQ(readGamePaths(sources).CMainPath, pathToUtf8(dir.path()) + "/");
    sources.gameDirOption = dir / "missing";
    EXPECT_THROW(readGamePaths(sources), VekError);
}

TEST(StartupOptions, DebugModeOnlyForACommandLineEndingExactlyInDebug) {
    EXPECT_TRUE(isDebugCommandLine("VEK.EXE debug"));
    EXPECT_TRUE(isDebugCommandLine("vekstudio --demo debug"));
    EXPECT_FALSE(isDebugCommandLine("VEK.EXE Debug"));
    EXPECT_FALSE(isDebugCommandLine("VEK.EXE debug "));
    struct Case {
        std::vector<std::string> arguments;
        bool debugMode;
    };
    // Words that are no options of ours start the program normally; only the line's end counts.
    const Case cases[] = {{{"vekstudio", "--demo", "debug"}, true},
                          {{"vekstudio", "debug "}, false},
                          {{"vekstudio", "Debug"}, false},
                          {{"vekstudio", "xdebug"}, true},
                          {{"vekstudio", "debug", "more"}, false}};
    for (const Case& c : cases) {
        const StartupOptions options = parseStartupOptions(c.arguments);
        EXPECT_EQ(options.debugMode, c.debugMode) << joinCommandLine(c.arguments);
        EXPECT_TRUE(options.unknown.empty()) << joinCommandLine(c.arguments);
    }
}

TEST(StartupOptions, ReadsTheProgramsOptions) {
    const StartupOptions options = parseStartupOptions(
        {"vekstudio", "--demo-dir", "/d", "--game-dir", "/g", "--ini", "/i", "--what", "-x"});
    EXPECT_FALSE(options.vivarium);
    EXPECT_TRUE(parseStartupOptions({"vekstudio", "--demo", "--vivarium"}).vivarium);
    EXPECT_TRUE(options.demo);
    EXPECT_EQ(options.demoRoot, fs::path("/d"));
    EXPECT_EQ(options.gameDir, fs::path("/g"));
    EXPECT_EQ(options.vekIni, fs::path("/i"));
    EXPECT_EQ(options.unknown, std::vector<std::string>{"--what"});
    EXPECT_TRUE(options.files.empty());
}

TEST(StartupOptions, OtherWordsAreFilesToOpenExceptALastDebug) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<fs::path> files;
        bool debug, help, version;
    };
    const Case cases[] = {
        {{"vekstudio", "ball.spr", "toy.cob"}, {"ball.spr", "toy.cob"}, false, false, false},
        {{"vekstudio", "ball.spr", "debug"}, {"ball.spr"}, true, false, false},
        {{"vekstudio", "debug", "ball.spr"}, {"debug", "ball.spr"}, false, false, false},
        {{"vekstudio", "--ini", "a.ini", "x.cos"}, {"x.cos"}, false, false, false},
        {{"vekstudio", "--version", "-h"}, {}, false, true, true},
    };
    for (const Case& c : cases) {
        const StartupOptions options = parseStartupOptions(c.arguments);
        EXPECT_EQ(options.files, c.files) << joinCommandLine(c.arguments);
        EXPECT_EQ(options.debugMode, c.debug) << joinCommandLine(c.arguments);
        EXPECT_EQ(options.help, c.help) << joinCommandLine(c.arguments);
        EXPECT_EQ(options.version, c.version) << joinCommandLine(c.arguments);
    }
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

TEST(GamePaths, AGameSoundIsFoundWhateverTheCaseOfItsName) {
    testing::TempDir dir;
    fs::create_directories(dir / "Sounds");
    writeFileAtomically(dir / "Sounds" / "mu02.WAV", std::string_view("RIFF"));
    const GamePaths paths = gamePathsUnder(dir.path());
    EXPECT_EQ(gameSoundFile(paths, "MU02"), dir / "Sounds" / "mu02.WAV");
    EXPECT_EQ(gameSoundFile(paths, "MU02.wav"), dir / "Sounds" / "mu02.WAV");
    EXPECT_EQ(gameSoundFile(paths, "ab.w"), dir / "Sounds" / "ab.w.wav");
}

}  // namespace
}  // namespace vek
