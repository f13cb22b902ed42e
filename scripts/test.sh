#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
#   scripts/test.sh           builds the programs and benchmarks (build/), then runs every test
#                             under AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/)
#   scripts/test.sh --plain   runs every test in an optimised build without sanitizers (build/)
# Either way the VS Code extension is tested against build/vek and packaged there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# The code stays in the one format of the root .clang-format.
(cd "$root" && find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror)
# Every include follows the arrows of the design.
"$root/scripts/check-includes.sh"

build="$root/build"
if [ "${1:-}" = "--plain" ]; then
    "$root/scripts/build.sh" "$build" -DVEK_WERROR=ON -DVEK_BUILD_TESTS=ON
else
    # The optimised programs (the demo, the benchmarks, the Windows and package checks use them);
    # their tests run once, under the sanitizers, which find more.
    "$root/scripts/build.sh" "$build" -DVEK_WERROR=ON -DVEK_BUILD_TESTS=OFF
    build="$root/build-sanitize"
    # Line tables are all a sanitizer's report needs; full debug information only slows the build.
    BUILD_TYPE=Debug "$root/scripts/build.sh" "$build" -DVEK_WERROR=ON -DVEK_SANITIZE=ON \
        -DVEK_BUILD_TESTS=ON -DVEK_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp"
fi

# Window tests run offscreen: no display is opened, in CI or anywhere else.
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j2 --timeout 600)

# The VS Code extension through the protocol library its client is made of, then packaged. Not a
# ctest test: it installs Node where it is missing and fetches its packages from the npm registry
# when its cache is cold, work for this script's set-up rather than for a test among tests.
"$root/scripts/test-vscode.sh" "$root/build/vek"
