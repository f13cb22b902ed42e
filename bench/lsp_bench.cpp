#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/script_source.h"
#include "lsp/server.h"

namespace {

using vek::lsp::Json;

const std::string kUri = "file:///bench/object.cos";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// A server as an editor meets it: initialized, with nothing open.
struct BenchServer {
    std::ostringstream log;
    vek::lsp::Server server{vek::GamePathSources{}, log};
    int lastId = 0;

    BenchServer() {
        request("initialize", {{"capabilities", Json::object()}});
        notify("initialized");
    }
    std::vector<std::string> request(const std::string& method, const Json& params) {
        return server.handle(Json{
            {"jsonrpc", "2.0"},
            {"id", ++lastId},
            {"method", method},
            {"params", params}}.dump());
    }
    std::vector<std::string> notify(const std::string& method, const Json& params = {}) {
        return server.handle(
            Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
    }
    std::vector<std::string> open(const std::string& text) {
        return notify(
            "textDocument/didOpen",
            {{"textDocument",
              {{"uri", kUri}, {"languageId", "caos-c1"}, {"version", 1}, {"text", text}}}});
    }
};

Json at(int line, int character) { return {{"line", line}, {"character", character}}; }

bool holdsDiagnostics(const std::vector<std::string>& messages) {
    for (const std::string& message : messages)
        if (message.find("publishDiagnostics") != std::string::npos) return true;
    return false;
}

// From a server's construction to the diagnostics of a source of an object's size.
void firstDiagnostics(benchmark::State& state) {
    const std::string text = joined(vek::bench::scriptSource(60));
    for (auto _ : state) {
        BenchServer bench;
        if (!holdsDiagnostics(bench.open(text))) state.SkipWithError("no diagnostics");
    }
}
BENCHMARK(firstDiagnostics)->Unit(benchmark::kMillisecond);

// A key typed in a large document and taken back, each answered by its diagnostics.
void diagnosticsAfterAKey(benchmark::State& state) {
    BenchServer bench;
    bench.open(joined(vek::bench::scriptSource(static_cast<std::size_t>(state.range(0)))));
    int version = 1;
    const int line = static_cast<int>(state.range(0) / 2);
    for (auto _ : state) {
        const bool typing = version % 2 == 1;
        const Json change =
            typing ? Json{{"range", {{"start", at(line, 0)}, {"end", at(line, 0)}}}, {"text", " "}}
                   : Json{{"range", {{"start", at(line, 0)}, {"end", at(line, 1)}}}, {"text", ""}};
        const auto messages = bench.notify(
            "textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", ++version}}},
                                       {"contentChanges", Json::array({change})}});
        if (!holdsDiagnostics(messages)) state.SkipWithError("no diagnostics");
    }
}
BENCHMARK(diagnosticsAfterAKey)->Arg(10000)->Unit(benchmark::kMillisecond);

// Hover and completion at a command in the middle of a large document.
void answerAt(benchmark::State& state, const std::string& method) {
    BenchServer bench;
    const std::vector<std::string> lines = vek::bench::scriptSource(10000);
    bench.open(joined(lines));
    int line = 5000;
    while (lines[static_cast<std::size_t>(line)].find("mvby") == std::string::npos) ++line;
    const Json params = {{"textDocument", {{"uri", kUri}}}, {"position", at(line, 8)}};
    for (auto _ : state) benchmark::DoNotOptimize(bench.request(method, params));
}
BENCHMARK_CAPTURE(answerAt, hover, std::string("textDocument/hover"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(answerAt, completion, std::string("textDocument/completion"))
    ->Unit(benchmark::kMicrosecond);

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// What a document of 100,000 lines holds in memory while open (the text sent included).
void largeDocumentMemory(benchmark::State& state) {
    for (auto _ : state) {
        const long before = residentBytes();
        BenchServer bench;
        bench.open(joined(vek::bench::scriptSource(static_cast<std::size_t>(state.range(0)))));
        state.counters["MB"] = static_cast<double>(residentBytes() - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(largeDocumentMemory)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
