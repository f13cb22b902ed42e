#!/usr/bin/env bash
# The link into Wine measured against the bare DDE floor of the same run, three runs in a row:
# SendMacro through the bridge (directed and with the DDE management library), a 100-class
# extraction and N conversations in a row (default 30,000; first against last thousand).
#   scripts/wine-bench.sh [--x11] [N]    (after scripts/test-windows.sh built the programs)
# --x11 runs Wine with its X11 driver under Xvfb, as a player's Wine with a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
driver=null
if [ "${1:-}" = --x11 ]; then
    driver=x11
    shift
fi
if [ "$driver" = x11 ] && [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$0" --x11 "$@"; fi
[ "$driver" = null ] && unset DISPLAY
work=$(mktemp -d /tmp/vek-wine-bench.XXXXXX)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
source "$root/scripts/wine-prefix.sh" "$driver"
status=0
for run in 1 2 3; do
    echo "run $run ($driver driver, $arch):"
    VEK_WINDOWS_BUILD="$win" VEK_ENDURANCE="${1:-30000}" taskset -c 0 \
        "$root/build/bench/gamelink_bench" --benchmark_filter='BM_Wine' \
        --benchmark_format=json --benchmark_out="$work/bench.json" >/dev/null 2>&1 || true
    python3 "$root/scripts/wine-ratios.py" "$work/bench.json" || status=1
done
exit $status
