#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/file_io.h"
#include "vivarium/session.h"

namespace {

namespace fs = std::filesystem;

// A world file of `count` objects, one a line as the Vivarium window saves them.
fs::path worldFileOfObjects(const fs::path& folder, std::int64_t count) {
    std::string text = "* objects\n";
    for (std::int64_t k = 0; k < count; ++k) {
        text.append("inst,new: simp ball 4 0 10 0,setv clas 33882880,mvto ")
            .append(std::to_string(k % 8000))
            .append(" ")
            .append(std::to_string(k % 1000))
            .append(",endm\n");
    }
    const fs::path file = folder / ("world-" + std::to_string(count) + ".txt");
    vek::writeFileAtomically(file, text);
    return file;
}

// "Load world…" of a file of N one-object lines: read, split, checked and run in a fresh world.
void loadWorldOfObjects(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "vek-world-file-bench";
    fs::create_directories(folder);
    const fs::path file = worldFileOfObjects(folder, state.range(0));
    vek::vivarium::Session session(folder);
    for (auto _ : state) {
        session.loadWorld(file);
        benchmark::DoNotOptimize(session.world().objects().size());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    fs::remove(file);
}
BENCHMARK(loadWorldOfObjects)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
