#include "app/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "support/temp_dir.h"

namespace vek::testing {
namespace {

using namespace std::chrono_literals;

TEST(ProcessEnvironmentTest, OwnValuesReplaceTheSameNamesAndComeFirst) {
    const std::vector<std::string> base = {"PATH=/bin", "WINEPREFIX=/old", "WINE=x", "HOME=/h"};
    const std::vector<std::string> merged = mergeEnvironment({"WINEPREFIX=/new", "EXTRA=1"}, base);
    EXPECT_EQ(merged, (std::vector<std::string>{"WINEPREFIX=/new", "EXTRA=1", "PATH=/bin", "WINE=x",
                                                "HOME=/h"}));
    EXPECT_EQ(mergeEnvironment({}, base), base);
}

TEST(ProcessEnvironmentTest, WineIsQuietUnlessTheUserAskedForItsOutput) {
    const char* before = std::getenv("WINEDEBUG");
    const std::string kept = before ? before : "";
    ::unsetenv("WINEDEBUG");
    EXPECT_EQ(wineEnvironment("/p/x"),
              (std::vector<std::string>{"WINEPREFIX=/p/x", "WINEDEBUG=-all"}));
    ::setenv("WINEDEBUG", "+relay", 1);
    EXPECT_EQ(wineEnvironment("/p/x"), (std::vector<std::string>{"WINEPREFIX=/p/x"}));
    if (before)
        ::setenv("WINEDEBUG", kept.c_str(), 1);
    else
        ::unsetenv("WINEDEBUG");
}

#ifndef _WIN32

ProcessLaunch shell(std::string script) {
    return {
        .exeName = "sh", .params = {"-c", std::move(script)}, .searchPath = true, .detach = false};
}

std::string readAll(int fd) {
    std::string text;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
    return text;
}

TEST(ProcessTest, AChildGivesItsExitCode) {
    for (const int code : {0, 3, 77}) {
        Process process;
        ASSERT_EQ(launchProcess(shell("exit " + std::to_string(code)), process), 0);
        EXPECT_EQ(process.wait(), code);
        EXPECT_FALSE(process.running());
    }
}

TEST(ProcessTest, PipesCarryInputAndOutputInItsFolderAndEnvironment) {
    TempDir dir;
    ProcessLaunch launch = shell("read line; echo \"$line $VEK_PROCESS_TEST $(pwd)\"");
    launch.workingDirectory = dir.path().string();
    launch.environment = {"VEK_PROCESS_TEST=seen"};
    launch.streams = ProcessStreams::Pipes;
    Process process;
    ASSERT_EQ(launchProcess(launch, process), 0);
    ASSERT_EQ(::write(process.input(), "hello\n", 6), 6);
    const std::string expected =
        "hello seen " + std::filesystem::canonical(dir.path()).string() + "\n";
    EXPECT_EQ(readAll(process.output()), expected);
    EXPECT_EQ(process.wait(), 0);
}

TEST(ProcessTest, AWaitEndsAtItsTimeOutAndKillEndsTheChild) {
    Process process;
    ASSERT_EQ(launchProcess(shell("sleep 30"), process), 0);
    const ProcessProbe probe = process.probe();
    EXPECT_EQ(process.wait(50ms), std::nullopt);
    EXPECT_TRUE(probe());
    process.kill();
    EXPECT_FALSE(probe());
    EXPECT_FALSE(process.running());
}

TEST(ProcessTest, ADetachedProgramIsProbedButNotWaitedFor) {
    ProcessLaunch launch = shell("sleep 0.2");
    launch.detach = true;
    Process process;
    ASSERT_EQ(launchProcess(launch, process), 0);
    EXPECT_TRUE(process.running());
    EXPECT_EQ(process.wait(10ms), std::nullopt);
    const ProcessProbe probe = process.probe();
    process = Process();  // a detached program outlives its handle
    EXPECT_TRUE(probe());
    for (int tries = 0; probe() && tries < 500; ++tries) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(probe());
}

TEST(ProcessTest, FailuresGiveTheSystemsNumbersAndNoProcess) {
    TempDir dir;
    const auto plain = dir / "plain.txt";
    { std::ofstream(plain) << "not a program"; }
    struct Case {
        ProcessLaunch launch;
        int error;
    };
    const Case cases[] = {
        {{.exeName = (dir / "missing").string()}, 2},
        {{.exeName = "no-such-program-on-path", .searchPath = true}, 2},
        {{.exeName = plain.string()}, 11},
        {{.exeName = "sh",
          .workingDirectory = (dir / "gone").string(),
          .searchPath = true,
          .detach = false},
         3},
    };
    for (const Case& test : cases) {
        Process process;
        EXPECT_EQ(launchProcess(test.launch, process), test.error) << test.launch.exeName;
        EXPECT_FALSE(process.started());
    }
}

#endif

}  // namespace
}  // namespace vek::testing
