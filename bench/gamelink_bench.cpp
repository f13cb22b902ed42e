// The link against the stand-in game: one macro's round trip, and a full macro extraction of
// a world of 100 classes (1 + 100 x 73 = 7,301 conversations).

#include <benchmark/benchmark.h>

#include <fstream>

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
    for (auto _ : state) benchmark::DoNotOptimize(link->SendMacro("inst,dde: putv 1,endm"));
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
        result =
            vek::extractAllMacros([&](std::string_view macro) { return link->SendMacro(macro); },
                                  dir / "mac", "english", [](const std::string&) {});
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

}  // namespace
