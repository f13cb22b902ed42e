#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test.
#   scripts/test.sh             the normal build (build/)
#   scripts/test.sh --sanitize  again under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# The code stays in the one format of the root .clang-format.
(cd "$root" && find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror)
# Every include follows the arrows of the design.
"$root/scripts/check-includes.sh"

build="$root/build"
options=(-DVEK_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
    build="$root/build-sanitize"
    # Line tables are all a sanitizer's report needs; full debug information only slows the build.
    options+=(-DVEK_SANITIZE=ON -DVEK_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1)
    export BUILD_TYPE=Debug
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp"
fi

"$root/scripts/build.sh" "$build" "${options[@]}"
# Window tests run offscreen: no display is opened, in CI or anywhere else.
export QT_QPA_PLATFORM=offscreen
cd "$build" && ctest --output-on-failure -j2 --timeout 600
