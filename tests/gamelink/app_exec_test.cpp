#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "gamelink/app_exec.h"
#include "gamelink/creatures.h"
#include "support/temp_dir.h"

namespace vek::testing {
namespace {

using namespace std::chrono_literals;

TEST(LauncherTextsTest, EveryNumberHasItsTextAndOthersNone) {
    EXPECT_EQ(launcherErrorText(-1), "Pas d'exécution");
    EXPECT_EQ(launcherErrorText(2), "Creatures not found! You must install Creatures to use VEK!");
    EXPECT_EQ(launcherErrorText(3), "Chemin non trouvé");
    EXPECT_EQ(launcherErrorText(21), "Application nécessitant des extensions 32-bit");
    EXPECT_EQ(launcherErrorText(32), "Pas d'erreur");
    EXPECT_EQ(launcherErrorText(1000), "Pas d'erreur");
    for (int none : {1, 4, 7, 9, 17, 18, 22, 31, -2})
        EXPECT_EQ(launcherErrorText(none), "") << none;
}

TEST(AppExecTest, PathsLoseATrailingSeparatorExceptAtTheRoot) {
    TAppExec exec;
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Games\\Creatures\\", "C:\\Games\\Creatures"},
        {"C:\\", "C:\\"},
        {"\\", "\\"},
        {"/opt/creatures/", "/opt/creatures"},
        {"/", "/"},
        {"", ""},
        {"plain", "plain"}};
    for (const auto& [given, kept] : cases) {
        exec.setExePath(given);
        EXPECT_EQ(exec.ExePath(), kept) << given;
    }
}

TEST(AppExecTest, ClearEmptiesEverythingAndTheCommandLineJoinsWithBlanks) {
    TAppExec exec;
    exec.ExeName = "/games/creatures.exe";
    exec.ExeParams = {"-Embedding", "x"};
    EXPECT_EQ(exec.commandLine(), "/games/creatures.exe -Embedding x");
    exec.setExePath("/games/");
    exec.Clear();
    EXPECT_EQ(exec.errorNumber(), -1);
    EXPECT_EQ(exec.commandLine(), "");
    EXPECT_EQ(exec.ExePath(), "");
}

class AppExecRunTest : public ::testing::Test {
  protected:
    TempDir dir;

    void writeScript(const std::filesystem::path& path, const std::string& body) {
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ::chmod(path.c_str(), 0755);
    }
    std::string launchError(TAppExec& exec) {
        try {
            exec.Execute();
        } catch (const VekError& error) {
            return error.what();
        }
        return "(none)";
    }
};

TEST_F(AppExecRunTest, RunsInItsFolderWithItsParametersAndWaitsWhenAsked) {
    writeScript(dir / "game.sh", "pwd > where.txt\necho \"$@\" > args.txt\n");
    TAppExec exec;
    exec.ExeName = (dir / "game.sh").string();
    exec.ExeParams = {"-Embedding"};
    exec.setExePath(dir.path().string() + "/");
    exec.Wait = true;
    exec.Execute();
    EXPECT_EQ(exec.errorNumber(), 0);
    EXPECT_EQ(readFileLines(dir / "where.txt").at(0),
              std::filesystem::canonical(dir.path()).string());
    EXPECT_EQ(readFileLines(dir / "args.txt").at(0), "-Embedding");
}

TEST_F(AppExecRunTest, WithoutWaitingItReturnsAtOnce) {
    writeScript(dir / "slow.sh", "sleep 2\n");
    TAppExec exec;
    exec.ExeName = (dir / "slow.sh").string();
    const auto start = std::chrono::steady_clock::now();
    exec.Execute();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(exec.errorNumber(), -1);
    std::this_thread::sleep_for(200ms);  // lets the shell open its script before the folder goes
}

TEST_F(AppExecRunTest, FailuresGiveTheTextsOfTheirNumbers) {
    TAppExec exec;
    exec.ExeName = (dir / "creatures.exe").string();
    EXPECT_EQ(launchError(exec), "Creatures not found! You must install Creatures to use VEK!");
    EXPECT_EQ(exec.errorNumber(), 2);

    std::ofstream(dir / "creatures.exe") << "not a program";
    EXPECT_EQ(launchError(exec), launcherErrorText(11));
    EXPECT_EQ(exec.errorNumber(), 11);

    // A Windows program where Wine is not to be found.
    std::ofstream(dir / "creatures.exe") << "MZ\x90";
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.path().c_str(), 1);
    EXPECT_EQ(launchError(exec), launcherErrorText(12));
    ::setenv("PATH", savedPath.c_str(), 1);

    exec.setExePath((dir / "missing").string());
    EXPECT_EQ(launchError(exec), "E/A-Fehler 3");
}

TEST_F(AppExecRunTest, TheGameStartRunsCreaturesExeFromItsMainDirectory) {
    // A stand-in "creatures.exe" that is a program of this platform.
    writeScript(dir / "creatures.exe", "echo \"$@\" > started.txt\n");
    GamePaths paths;
    paths.CMainPath = dir.path().string() + "/";
    EXPECT_TRUE(static_cast<bool>(startGameEmbedded(paths)));
    // The file appears before the line is in it: wait for the whole line.
    const auto started = dir / "started.txt";
    for (int i = 0; i < 500 && !(std::filesystem::exists(started) &&
                                 std::filesystem::file_size(started) >= sizeof("-Embedding"));
         ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(readFileLines(started).at(0), "-Embedding");
    paths.CMainPath = (dir / "elsewhere/").string();
    EXPECT_FALSE(static_cast<bool>(startGameEmbedded(paths)));
}

}  // namespace
}  // namespace vek::testing
