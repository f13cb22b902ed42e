#!/usr/bin/env bash
# Installs what is needed, builds, and starts Vekstudio on the demo installation with the
# stand-in game running beside it. Extra arguments go to vekstudio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

demo="${VEK_DEMO_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/Vekstudio/demo}"
"$root/build/vek" demo "$demo" >/dev/null

# The stand-in game, with the demo's world of objects and scripts and its sprite files, where
# Vekstudio looks for it.
"$root/build/vivarium-sim" --game-dir "$demo/Creatures" --seed "$demo/Creatures/vivarium-world.txt" &
simulator=$!
trap 'kill $simulator 2>/dev/null || true' EXIT

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec_prefix=(xvfb-run -a -s "-screen 0 1280x800x24")
else
    exec_prefix=()
fi
"${exec_prefix[@]}" "$root/build/vekstudio" --demo-dir "$demo" "$@"
