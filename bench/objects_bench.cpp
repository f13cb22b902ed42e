#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "objects/cob_compiler.h"
#include "objects/discompiler.h"
#include "objects/sprite_file_pictures.h"

namespace {

using Lines = std::vector<std::string>;

// A source of `lineCount` lines: a header, then one hundred scripts of nested blocks, each line
// indented as a person would write it.
Lines largeSource(std::size_t lineCount) {
    Lines lines = {"* a large object", "name Large", "quantity 7"};
    const std::size_t perScript = (lineCount - lines.size()) / vek::kMaxCobEntries;
    for (std::size_t script = 0; script < vek::kMaxCobEntries; ++script) {
        lines.push_back("scrp 2 5 3 " + std::to_string(script % 73));
        for (std::size_t k = 0; k + 2 < perScript; k += 4) {
            lines.push_back("  doif obv0 eq " + std::to_string(k));
            lines.push_back("    setv obv1 " + std::to_string(k * 3));
            lines.push_back("  else");
            lines.push_back("  endi");
        }
        lines.push_back("endm");
    }
    while (lines.size() < lineCount) lines.push_back("* padding");
    return lines;
}

void compileLargeSource(benchmark::State& state) {
    const Lines source = largeSource(static_cast<std::size_t>(state.range(0)));
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
        vek::lineViews(largeSource(static_cast<std::size_t>(state.range(0)))), {"", pictures});
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
