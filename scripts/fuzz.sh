#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang (ASan + UBSan) in their own tree and
# runs each for VEK_FUZZ_SECONDS (20) from the seeds it makes, two at a time. A crash, leak,
# undefined behaviour or failed round trip fails the script with the input printed in hex.
#   scripts/fuzz.sh [HARNESS...]   all harnesses, or only those named (e.g. sprite_file)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${VEK_FUZZ_SECONDS:-20}
"$root/scripts/setup.sh"

export CC=clang-14 CXX=clang++-14 BUILD_TYPE=RelWithDebInfo VEK_BUILD_TARGET=vek_fuzzers
# -O1 and line tables, as libFuzzer's own guide builds: a report's stack needs no more, and each
# file compiles in about a tenth less time than at -O2 with full debug information.
"$root/scripts/build.sh" "$build" -DVEK_FUZZ=ON -DVEK_BUILD_GUI=OFF -DVEK_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"

names=("$@")
if ((${#names[@]} == 0)); then
    for program in "$build"/tests/fuzz/*_fuzz; do names+=("$(basename "$program" _fuzz)"); done
fi

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export build seconds
run_one() {
    local name=$1 program="$build/tests/fuzz/${1}_fuzz" corpus="$build/corpus/$1"
    local log="$build/logs/$1.log" artifacts="$build/artifacts/$1"
    mkdir -p "$corpus" "$build/logs" "$artifacts"
    VEK_FUZZ_SEEDS="$corpus" "$program"
    if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
        echo "fuzz $name: $(grep -o 'number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') executions"
        return 0
    fi
    echo "fuzz $name: FAILED"
    grep -A25 -E '^==[0-9]+==|runtime error|round trip failed' "$log" | head -60
    for input in "$artifacts"/*; do
        [ -f "$input" ] || continue
        echo "input $(basename "$input") in hex:"
        od -A x -t x1z -v "$input" | head -64
    done
    return 1
}
export -f run_one
printf '%s\n' "${names[@]}" | xargs -P 2 -I{} bash -c 'run_one {}'
