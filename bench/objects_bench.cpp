#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/script_source.h"
#include "objects/cob_compiler.h"
#include "objects/discompiler.h"
#include "objects/sprite_file_pictures.h"

namespace {

using Lines = std::vector<std::string>;
using vek::bench::compilableSource;

void compileLargeSource(benchmark::State& state) {
    const Lines source = compilableSource(static_cast<std::size_t>(state.range(0)));
    vek::SpriteDocument sprites;
    vek::SpriteFilePictures pictures(sprites);
    for (auto _ : state) {
        vek::CompiledObject object = vek::compileSource(vek::lineViews(source), {"", pictures});
        benchmark::DoNotOptimize(object);
    }
    state.counters["lines"] = static_cast<double>(source.size());
}
BENCHMARK(compileLargeSource)->Arg(100000)->Unit(benchmark::kMillisecond);

void discompileLargeObject(benchmark::State& state) {
    vek::SpriteDocument sprites;
    vek::SpriteFilePictures pictures(sprites);
    const vek::CompiledObject object = vek::compileSource(
        vek::lineViews(compilableSource(static_cast<std::size_t>(state.range(0)))), {"", pictures});
    std::size_t lineCount = 0;
    for (auto _ : state) {
        Lines lines = vek::discompile(object.cob, object.fields, object.objectFileName);
        lineCount = lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lineCount);
}
BENCHMARK(discompileLargeObject)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
