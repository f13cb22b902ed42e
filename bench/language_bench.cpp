#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "objects/cob_compiler.h"
#include "objects/object_check.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// A source of about `lineCount` lines: scripts of ten lines with nested blocks, comments and
// byte strings, as an object with many scripts is written.
Lines scriptSource(std::size_t lineCount) {
    Lines lines = {"* a large object", "name Large", "quantity 7", ""};
    for (std::size_t script = 0; lines.size() + 11 <= lineCount; ++script) {
        const std::string n = std::to_string(script % 200);
        lines.push_back("* script " + n);
        lines.push_back("scrp 2 5 3 " + std::to_string(script % 73));
        lines.push_back("  doif obv0 eq " + n + " and touc ownr pntr ne 0");
        lines.push_back("    anim [0123R]");
        lines.push_back("    stim writ from 0 255 0 0 11 30 0 0 0 0 0 0");
        lines.push_back("  else");
        lines.push_back("    reps 3");
        lines.push_back("      mvby 0 -" + n);
        lines.push_back("    repe");
        lines.push_back("  endi");
        lines.push_back("endm");
    }
    lines.resize(lineCount, "* padding");
    return lines;
}

// What `vek check FILE.cos` does with a file of 100,000 lines: read it and check it.
void checkLargeSourceFile(benchmark::State& state) {
    const vek::testing::TempDir dir;
    const std::filesystem::path file = dir / "large.cos";
    vek::writeSourceFile(file, scriptSource(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        const std::vector<vek::Finding> findings = vek::checkSourceLines(vek::readSourceFile(file));
        if (!findings.empty()) state.SkipWithError(findings.front().text.english.c_str());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(checkLargeSourceFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// One line of a script in the middle of a 10,000-line source typed anew, as the source page
// checks it on every key press.
void recheckEditedSection(benchmark::State& state) {
    const std::size_t lineCount = static_cast<std::size_t>(state.range(0));
    vek::SourceCheck check;
    check.reset(scriptSource(lineCount));
    const std::size_t line = lineCount / 2 / 11 * 11 + 7;  // "mvby" of a script half-way down
    std::size_t typed = 0;
    for (auto _ : state) {
        check.replaceLines(line, 1, {"      mvby 0 -" + std::to_string(++typed % 100)});
        benchmark::DoNotOptimize(check.linesRead());
    }
    state.counters["lines read"] = static_cast<double>(check.linesRead());
}
BENCHMARK(recheckEditedSection)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
