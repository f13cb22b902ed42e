// The link against the stand-in game: one macro's round trip, and a full macro extraction of
// a world of 100 classes (1 + 100 x 73 = 7,301 conversations).

#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "app/process.h"

#include "gamelink/macro_extraction.h"
#include "objects/classifier.h"
#include "tests/gamelink/sim_harness.h"
#include "tests/support/temp_dir.h"

namespace {

using vek::testing::SimProcess;
using vek::testing::TempDir;

// 100 classes, two objects each, and a script for every fourth event of every fifth class.
std::string hundredClasses() {
    std::string world;
    for (int c = 0; c < 100; ++c) {
        const std::int32_t number = vek::Classifier{2, 10 + c / 50, c % 50 + 1}.classNumber();
        for (int copy = 0; copy < 2; ++copy) {
            world += "inst,new: simp obj" + std::to_string(c) + " 1 0 10 0,setv clas " +
                     std::to_string(number) + ",mvto " + std::to_string(c * 40) + " 500,endm\n";
        }
        if (c % 5 != 0) continue;
        for (int event = 0; event < 73; event += 4) {
            world += "scrp 2 " + std::to_string(10 + c / 50) + " " + std::to_string(c % 50 + 1) +
                     " " + std::to_string(event) + ",inst,snde tick,setv actv 1,pose " +
                     std::to_string(event) + ",endm\n";
        }
    }
    return world;
}

void BM_SendMacroRoundTrip(benchmark::State& state) {
    TempDir dir;
    SimProcess sim(dir / "game");
    auto link = vek::testing::creaturesAt(sim.socketPath());
    for (auto _ : state) benchmark::DoNotOptimize(link->SendMacro("inst,dde: putv 1,endm").answer);
}
BENCHMARK(BM_SendMacroRoundTrip)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_FullExtraction100Classes(benchmark::State& state) {
    TempDir dir;
    std::ofstream(dir / "world.txt") << hundredClasses();
    std::filesystem::create_directories(dir / "mac");
    SimProcess sim(dir / "game", {"--seed", (dir / "world.txt").string()});
    auto link = vek::testing::creaturesAt(sim.socketPath());
    vek::ExtractionResult result;
    for (auto _ : state) {
        result = vek::extractAllMacros(
            [&](std::string_view macro) { return link->SendMacro(macro).answer; }, dir / "mac",
            "english", [](const std::string&) {});
    }
    if (result.requests != 7301 || result.classes != 100)
        state.SkipWithError("the world was not 100 classes");
    state.counters["conversations"] = static_cast<double>(result.requests);
    state.counters["files"] = static_cast<double>(result.files);
}
BENCHMARK(BM_FullExtraction100Classes)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

// The same through vek-bridge.exe against vivarium-sim.exe under Wine. They run where
// scripts/test-windows.sh sets VEK_WINDOWS_BUILD (the folder of the Windows programs),
// VEK_BRIDGE_DIR and WINEPREFIX, and are skipped elsewhere. Each also measures the floor: the
// median conversation of dde-floor.exe, a bare DDEML client, against the same stand-in in the
// same run, so that the ratio to it holds on a busy machine too.
class WineStandIn {
  public:
    explicit WineStandIn(const std::filesystem::path& world) {
        const char* build = std::getenv("VEK_WINDOWS_BUILD");
        const auto loader = vek::findWineLoader(vek::WindowsMachine::X64);
        if (!build || !std::getenv("WINEPREFIX") || !loader) return;
        m_loader = loader->string();
        m_build = build;
        std::string exe = (m_build / "vivarium-sim.exe").string();
        std::string seedOption = "--seed";
        std::string seed = "Z:" + world.string();
        char* argv[] = {m_loader.data(), exe.data(), seedOption.data(), seed.data(), nullptr};
        if (posix_spawn(&m_pid, m_loader.c_str(), nullptr, nullptr, argv, environ) != 0) m_pid = -1;
        vek::GamePathSources sources;
        sources.link = "wine";
        sources.winePrefix = std::getenv("WINEPREFIX");
        sources.winePrefixNamed = true;
        link = std::make_unique<vek::TCreatures>(sources);
        link->setGameStarter([](const vek::GamePaths&) { return vek::ProcessProbe(); });
        // Until the stand-in serves.
        for (int i = 0; i < 100 && !m_answered; ++i) {
            m_answered = link->SendMacro("inst,endm").reached();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~WineStandIn() {
        link.reset();
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool ready() const { return link && m_answered; }

    // The median of `count` bare DDEML conversations in microseconds; 0 when they failed.
    double floorMicroseconds(int count) const {
        const std::string command = "'" + m_loader + "' '" + (m_build / "dde-floor.exe").string() +
                                    "' " + std::to_string(count) + " 2>/dev/null";
        FILE* output = ::popen(command.c_str(), "r");
        if (!output) return 0;
        double floor = 0;
        if (std::fscanf(output, "floor_us %lf", &floor) != 1) floor = 0;
        ::pclose(output);
        return floor;
    }

    std::unique_ptr<vek::TCreatures> link;

  private:
    std::string m_loader;
    std::filesystem::path m_build;
    pid_t m_pid = -1;
    bool m_answered = false;
};

// The bridge's way to speak DDE for one benchmark: argument 0 the directed conversation,
// 1 the management library.
class DdeChoice {
  public:
    explicit DdeChoice(std::int64_t ddeml) {
        if (ddeml) ::setenv("VEK_DDE", "ddeml", 1);
    }
    ~DdeChoice() { ::unsetenv("VEK_DDE"); }
    DdeChoice(const DdeChoice&) = delete;
    DdeChoice& operator=(const DdeChoice&) = delete;
};

// The floor is taken before and after what it is set against, and the two averaged: a machine
// whose load changes meanwhile moves both sides alike.
class Floor {
  public:
    explicit Floor(const WineStandIn& game) : m_game(game), m_before(game.floorMicroseconds(250)) {}

    // 0 when dde-floor.exe did not run (an error in one repetition of several would end the
    // benchmark library's statistics).
    void report(benchmark::State& state) const {
        const double after = m_game.floorMicroseconds(250);
        state.counters["floor_us"] = m_before > 0 && after > 0 ? (m_before + after) / 2 : 0;
    }

  private:
    const WineStandIn& m_game;
    double m_before;
};

void BM_WineSendMacro(benchmark::State& state) {
    TempDir dir;
    std::ofstream(dir / "world.txt") << "\n";
    DdeChoice choice(state.range(0));
    WineStandIn game(dir / "world.txt");
    if (!game.ready()) return state.SkipWithError("no Wine stand-in (see scripts/test-windows.sh)");
    const Floor floor(game);
    for (auto _ : state)
        benchmark::DoNotOptimize(game.link->SendMacro("inst,dde: putv 1,endm").answer);
    floor.report(state);
}
BENCHMARK(BM_WineSendMacro)
    ->ArgName("ddeml")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(500)
    ->Repetitions(5)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
    });

void BM_WineFullExtraction100Classes(benchmark::State& state) {
    TempDir dir;
    std::ofstream(dir / "world.txt") << hundredClasses();
    std::filesystem::create_directories(dir / "mac");
    WineStandIn game(dir / "world.txt");
    if (!game.ready()) return state.SkipWithError("no Wine stand-in (see scripts/test-windows.sh)");
    vek::ExtractionResult result;
    const Floor floor(game);
    for (auto _ : state) {
        result = vek::extractAllMacros(
            [&](std::string_view macro) { return game.link->SendMacro(macro).answer; }, dir / "mac",
            "english", [](const std::string&) {});
    }
    if (result.requests != 7301) return state.SkipWithError("the world was not 100 classes");
    state.counters["conversations"] = static_cast<double>(result.requests);
    floor.report(state);
}
BENCHMARK(BM_WineFullExtraction100Classes)->Unit(benchmark::kMillisecond)->Iterations(1);

// Conversations in a row ($VEK_ENDURANCE, else 30,000): the cost of the last thousand against
// the first.
void BM_WineEndurance(benchmark::State& state) {
    TempDir dir;
    std::ofstream(dir / "world.txt") << "\n";
    WineStandIn game(dir / "world.txt");
    if (!game.ready()) return state.SkipWithError("no Wine stand-in (see scripts/test-windows.sh)");
    const char* asked = std::getenv("VEK_ENDURANCE");
    const int count = std::max(2000, asked ? std::atoi(asked) : 30000);
    using Clock = std::chrono::steady_clock;
    double first = 0;
    double last = 0;
    for (auto _ : state) {
        auto mark = Clock::now();
        for (int n = 1; n <= count; ++n) {
            game.link->SendMacro("inst,dde: putv 1,endm");
            if (n % 1000 != 0) continue;
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - mark).count();
            if (n == 1000) first = ms;
            last = ms;
            mark = Clock::now();
        }
    }
    state.counters["conversations"] = count;
    state.counters["first_1000_ms"] = first;
    state.counters["last_1000_ms"] = last;
    state.counters["last_over_first"] = last / first;
}
BENCHMARK(BM_WineEndurance)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
