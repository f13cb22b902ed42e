#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
# ccache can reuse precompiled-header builds only when told these differences do not matter.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
# Paths relative to the checkout, so that every clone and work tree shares one cache.
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" "$@" >/dev/null
# VEK_BUILD_TARGET builds those targets alone, separated by blanks (the fuzz tree builds only its
# harnesses, the Windows trees only the programs they test).
read -r -a targets <<<"${VEK_BUILD_TARGET:-}"
cmake --build "$build" -j2 ${targets[0]:+--target "${targets[@]}"}
