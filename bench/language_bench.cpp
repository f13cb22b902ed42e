#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/text_search.h"
#include "bench/script_source.h"
#include "language/installation_rules.h"
#include "language/layout.h"
#include "language/outline.h"
#include "objects/cob_compiler.h"
#include "objects/object_check.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"
#include "tests/support/temp_dir.h"

namespace {

using vek::bench::scriptSource;

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

// The check of the source that objects_bench's compileLargeSource compiles, from memory as that
// compile reads it: the two times compare like with like.
void checkCompilableSource(benchmark::State& state) {
    const std::vector<std::string> source =
        vek::bench::compilableSource(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        // The check keeps its lines: the copy it is given is not the check's work.
        state.PauseTiming();
        std::vector<std::string> lines = source;
        state.ResumeTiming();
        const std::vector<vek::Finding> findings = vek::checkSourceLines(std::move(lines));
        if (!findings.empty()) state.SkipWithError(findings.front().text.english.c_str());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(checkCompilableSource)->Arg(100000)->Unit(benchmark::kMillisecond);

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

// The same with every check against the installation on: an installation routine creates an
// object of each script's class, the typed line plays a sound, and the page takes the findings
// of the whole source after each key, as the source page does.
void recheckEditedSectionWithInstallation(benchmark::State& state) {
    const std::size_t lineCount = static_cast<std::size_t>(state.range(0));
    auto facts = std::make_shared<vek::InstallationFacts>();
    facts->spriteCounts.emplace();
    facts->sounds.emplace();
    for (int k = 0; k < 200; ++k) {
        const std::string number = std::to_string(100 + k);
        facts->spriteCounts->emplace("s" + number, 20);
        facts->sounds->insert("w" + number);
    }
    facts->spriteCounts->emplace("ball", 20);
    facts->knowsClass = [](int family, int, int) { return family == 1; };
    vek::CheckOptions options = vek::objectCheckOptions();
    options.installation = facts;
    vek::SourceCheck check(options);
    std::vector<std::string> lines = {"inst", "  new: simp ball 1 0 10 0", "  setv clas 33882880",
                                      "  pose 3", "endm"};
    for (std::string& line : scriptSource(lineCount - lines.size()))
        lines.push_back(std::move(line));
    check.reset(std::move(lines));
    const std::size_t line = lineCount / 2 / 11 * 11 + 7 + 5;  // "mvby" half-way down
    std::size_t typed = 0;
    std::size_t findings = 0;
    for (auto _ : state) {
        check.replaceLines(line, 1, {"      snde w" + std::to_string(100 + ++typed % 250)});
        findings = check.findings().size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["lines read"] = static_cast<double>(check.linesRead());
}
BENCHMARK(recheckEditedSectionWithInstallation)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Opening a 100,000-line source: its outline, as the source page shows it beside the text.
void outlineOfLargeSource(benchmark::State& state) {
    const std::vector<std::string> lines = scriptSource(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto outline =
            vek::outlineOf(lines, vek::sourceLineReading, vek::scriptEventTable().texts());
        benchmark::DoNotOptimize(outline.data());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(outlineOfLargeSource)->Arg(100000)->Unit(benchmark::kMillisecond);

// Format Source and `vek format` on a 100,000-line source.
void formatLargeSource(benchmark::State& state) {
    const std::vector<std::string> lines = scriptSource(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto laidOut = vek::formatSourceLines(lines, vek::sourceLineReading);
        benchmark::DoNotOptimize(laidOut.data());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(formatLargeSource)->Arg(100000)->Unit(benchmark::kMillisecond);

// Enter in the last line of a 10,000-line source: the source page lays out every line above
// the caret to know the new line's tabs.
void layoutBeforeEnter(benchmark::State& state) {
    const std::vector<std::string> lines = scriptSource(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        vek::SourceLayout layout(vek::sourceLineReading);
        for (const std::string& line : lines) layout.next(line);
        benchmark::DoNotOptimize(layout.depth());
    }
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(layoutBeforeEnter)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Replace All of a word that every script holds, in a 100,000-line source, whole words only.
void replaceAllInLargeSource(benchmark::State& state) {
    std::string text;
    for (const std::string& line : scriptSource(static_cast<std::size_t>(state.range(0))))
        text.append(line).push_back('\n');
    std::size_t count = 0;
    for (auto _ : state) {
        const vek::Replacement replaced =
            vek::replaceAll(text, "MVBY", "mvto", {.wholeWord = true});
        count = replaced.count;
        benchmark::DoNotOptimize(replaced.text.data());
    }
    state.counters["replaced"] = static_cast<double>(count);
}
BENCHMARK(replaceAllInLargeSource)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
