#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 and tests them under Wine, headless: byte parity
# of vek.exe with the Linux vek, vek.exe over DDE against vivarium-sim.exe, the Linux vek
# through vek-bridge.exe, and the start of a game that is slow to come up.
#   scripts/test-windows.sh    (after scripts/test.sh, which built build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
began=$(date +%s)

if [ "${1:-}" != "--steps" ]; then
    # Wine and MinGW-w64; 32-bit Wine (the i386 architecture) only where this kernel runs
    # 32-bit programs: elsewhere the architecture adds nothing but package lists that can fail.
    source "$root/scripts/apt.sh"
    need=()
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(mingw-w64)
    command -v wine >/dev/null || need+=(wine wine64)
    # The core's Windows parts are tested with GoogleTest built from its Debian source.
    [ -d /usr/src/googletest ] || need+=(googletest)
    want32=false
    kernelRuns32Bit && ! dpkg -s wine32:i386 >/dev/null 2>&1 && want32=true
    if [ ${#need[@]} -gt 0 ] || $want32; then
        ! $want32 || dpkg --add-architecture i386
        aptRefresh
        [ ${#need[@]} -eq 0 ] || aptInstall "${need[@]}"
        ! $want32 || aptInstall wine32:i386 ||
            echo "test-windows: 32-bit Wine could not be installed; the 64-bit builds are tested"
    fi
    [ -x "$root/build/vek" ] || "$root/scripts/build.sh" "$root/build" -DVEK_WERROR=ON
    unset DISPLAY
    # The programs that the steps below run and the files beside them, nothing else: the 32-bit
    # ones only where 32-bit Wine runs them (the steps then take the 64-bit ones).
    arches=(x86_64)
    if dpkg -s wine32:i386 >/dev/null 2>&1; then
        arches=(i686 x86_64)
    else
        echo "test-windows: no 32-bit Wine here; the 32-bit programs are neither built nor tested"
    fi
    source "$root/scripts/windows-tree.sh"
    for arch in "${arches[@]}"; do
        VEK_BUILD_TARGET="vek vivarium-sim vek-bridge dde-floor program_directory" \
            buildWindowsTree "$arch"
    done
    # Debian has giflib for Linux only: without a MinGW build of it the Windows programs are
    # built without GIF and answer a GIF verb with a message that they lack it.
    for arch in "${arches[@]}"; do
        ! grep -q '^VEK_GIF_LIBRARY:FILEPATH=.*NOTFOUND' "$root/build-win-$arch/CMakeCache.txt" ||
            echo "test-windows: no giflib for MinGW ($arch): vek.exe is built without GIF pictures"
    done
    "$0" --steps
    "$root/scripts/test-windows-gui.sh"
    echo "test-windows: passed in $(($(date +%s) - began)) s"
    exit 0
fi

work=$(mktemp -d /tmp/vek-windows.XXXXXX)
cleanup() {
    jobs -p | xargs -r kill 2>/dev/null || true
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# Both tools read VEK.INI: the Linux one from a settings folder of this run, not the user's own
# (a sprite background the user chose would make its pictures differ from the Windows ones).
export XDG_CONFIG_HOME="$work/config"
# Headless: Wine's display driver "null" needs no X server.
source "$root/scripts/wine-prefix.sh" null
echo "test-windows: prefix ready after $(($(date +%s) - began)) s ($arch)"

failures=0
check() {  # check WHAT COMMAND...: the command must succeed
    local what=$1
    shift
    if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failures=$((failures + 1)); fi
}
vekexe() { "$loader" "$win/vek.exe" "$@"; }
vek() { "$root/build/vek" "$@"; }
export loader win root
export -f vekexe vek

# Byte parity on the demo's files.
cd "$work"
vek demo demo >/dev/null
spr=$(cd "$work" && find demo -iname '*.spr' | sort | head -1)
cos=$(cd "$work" && find demo -iname '*.cos' | sort | head -1)
bmp=$(cd "$work" && find demo -iname '*.bmp' | sort | head -1)
game=(--game-dir ../demo/Creatures)
same() {  # same NAME ARGS...: both tools in folders of their own, same output and same file "out"
    local name=$1
    shift
    rm -rf "linux-$name" "win-$name"
    mkdir "linux-$name" "win-$name"
    (cd "linux-$name" && vek "${game[@]}" "$@" >stdout.txt 2>&1 || true)
    (cd "win-$name" && vekexe "${game[@]}" "$@" >stdout.txt 2>&1 || true)
    { [ -s "linux-$name/stdout.txt" ] || [ -s "linux-$name/out" ]; } &&
        diff -r "linux-$name" "win-$name" >/dev/null
}
check "spr list" same list spr list "../$spr"
check "spr create" same create spr create out 3 8 5
check "cob compile" same compile cob compile "../$cos" out
check "cob discompile" same discompile cob discompile ../linux-compile/out
check "bmp2spr" same bmp2spr bmp2spr "../$bmp" out

# A running stand-in over DDE.
printf '%s\n' "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm" \
    "scrp 2 5 3 1,inst,snde honk,endm" >world.txt
startSim() {  # startSim EXE: vivarium-sim serving until killed
    "$loader" "$1" --game-dir demo/Creatures --seed 'world.txt' --log 'sim.log' "${@:2}" \
        >sim.out 2>&1 &
    sim=$!
    for _ in $(seq 100); do grep -q serving sim.out 2>/dev/null && return 0; sleep 0.1; done
    return 1
}
stopSim() { kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null || true; }
cat >ball.cos <<'COS'
scrp 2 5 3 1
inst
snde honk
endm
COS
vek cob compile ball.cos ball.cob >/dev/null

linkChecks() {  # linkChecks TOOL...: send, inject and extract through one link
    : >sim.log
    check "  a 9-character macro arrives whole" \
        bash -c '"$@" send "inst,endm" >/dev/null && [ "$(cat sim.log)" = "inst,endm" ]' _ "$@"
    check "  the answer comes back" \
        bash -c '[ "$("$@" send "inst,enum 0 0 0,dde: putv fmly,dde: putv gnus,dde: putv spcs,next,endm")" = "2|5|3|" ]' _ "$@"
    check "  inject" "$@" inject ball.cob
    check "  extract" bash -c '"$@" extract --out macros >/dev/null && [ -s macros/02050301.MAC ]' _ "$@"
}

check "vivarium-sim.exe serves over DDE" startSim "$win/vivarium-sim.exe"
echo "vek.exe over DDE:"
linkChecks vekexe
check "  the stand-in logged each macro as sent" grep -q "inst,sys: wtop,endm" sim.log
echo "Linux vek through vek-bridge.exe:"
linkChecks vek --link wine
: >sim.log
check "  Grüße travels as Windows-1252 and comes back" \
    bash -c '"$0" --link wine send "scrp 7 7 7 7,inst,snde Grüße,endm" >/dev/null &&
             [ "$("$0" --link wine send "inst,dde: scrp 7 7 7 7,endm")" = "inst,snde Grüße,endm" ] &&
             grep -q "$(printf "Gr\xfc\xdfe")" sim.log' "$root/build/vek"
check "  the management library, asked for (VEK_DDE=ddeml), gives the same answer" \
    bash -c '[ "$(VEK_DDE=ddeml "$@" send "inst,dde: putv 7,endm")" = "7|" ]' _ vek --link wine
stopSim
echo "A stand-in that answers DDE by hand (a window of its own):"
startSim "$win/vivarium-sim.exe" --raw-dde
linkChecks vek --link wine
check "  vek.exe (the management library) reaches it too" \
    bash -c '[ "$(vekexe send "inst,dde: putv 5,endm")" = "5|" ]'
stopSim
# The game restarted between two macros of one bridge session: its window is gone, the second
# macro finds the new one at once.
startSim "$win/vivarium-sim.exe"
restart="kill $sim; \"$loader\" \"$win/vivarium-sim.exe\" --game-dir demo/Creatures --log sim.log >sim2.out 2>&1 &
    echo \$! >sim2.pid; for i in \$(seq 100); do grep -q serving sim2.out && exit 0; sleep 0.1; done; exit 1"
: >sim.log
check "the stand-in restarted between two macros: the second arrives" \
    bash -c '[ "$(python3 "$root/scripts/bridge-session.py" "$loader" "$win/vek-bridge.exe" \
                  "inst,dde: putv 1,endm" "$1" "inst,dde: putv 2,endm" | tr "\n" " ")" = "1| 2| " ] &&
             [ "$(wc -l <sim.log)" = 2 ]' _ "$restart"
[ -f sim2.pid ] && kill "$(cat sim2.pid)" 2>/dev/null
wait "$sim" 2>/dev/null || true
out=$(vekexe send "inst,endm" 2>&1 || true)
check "vek.exe without a game says so" [ "$out" != "${out#*Creatures not found! Run Creatures! }" ]

# Faults through the bridge: each ends in time with a message that says what happened.
failsWith() {  # failsWith SECONDS TEXT COMMAND...: fails before SECONDS, saying TEXT
    local seconds=$1 text=$2 out status=0 began=$SECONDS
    shift 2
    out=$(timeout "$seconds" "$@" 2>&1) || status=$?
    local ok=1
    [ "$status" -ne 0 ] && [ "$status" -ne 124 ] && [[ $out == *"$text"* ]] && ok=0
    echo "      (status $status, $((SECONDS - began)) s) $out" | head -3
    return $ok
}
export -f failsWith
echo "Faults through vek-bridge.exe:"
startSim "$win/vivarium-sim.exe" --never-answer
(sleep 3 && pkill -f 'vek-bridge\.exe') &
check "  the bridge killed mid-conversation" \
    failsWith 15 "(vek-bridge.exe) stopped" "$root/build/vek" --link wine send "inst,endm"
stopSim
startSim "$win/vivarium-sim.exe" --never-answer
check "  a game that never answers" \
    failsWith 35 "The game did not answer within 10 seconds" "$root/build/vek" --link wine send "inst,endm"
stopSim
check "  Wine or the bridge not installed" \
    env VEK_BRIDGE_DIR="$work/nowhere" bash -c \
    'failsWith 10 "install Wine" "$root/build/vek" --link wine send "inst,endm"'
check "  a prefix without the game" \
    failsWith 20 "is not installed in the Wine prefix" "$root/build/vek" --link wine inject ball.cob
check "  a prefix that is not there" \
    failsWith 10 "does not exist" "$root/build/vek" --link wine --wine-prefix "$work/nowhere" send "inst,endm"

# Speed through the bridge against the floor of the same run (dde-floor.exe: a bare DDEML
# client, its instance kept), every process on one CPU, which holds steadiest. Ratios, not times,
# fail the run: a busy machine slows both. VEK_ENDURANCE sets the conversations in a row.
if [ -x "$root/build/bench/gamelink_bench" ]; then
    # Wine's server too: started afresh by the first program on that CPU.
    measureAgainstFloor() {
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        VEK_WINDOWS_BUILD="$win" VEK_ENDURANCE="${VEK_ENDURANCE:-10000}" timeout 600 \
            taskset -c 0 "$root/build/bench/gamelink_bench" \
            --benchmark_filter='BM_Wine' --benchmark_format=json --benchmark_out=bench.json \
            >/dev/null 2>&1 || echo "bench: did not finish"
        python3 "$root/scripts/wine-ratios.py" bench.json
    }
    # A moment of other load can push one run over a bound: the bounds must hold in one of three.
    inOneOfThreeRuns() { measureAgainstFloor || { echo "bench: measured again"; measureAgainstFloor; } ||
        { echo "bench: measured again"; measureAgainstFloor; }; }
    check "the bridge against the bare DDE floor" inOneOfThreeRuns
fi

# The 32-bit game's key lies in the 32-bit view of a 64-bit Windows (Wow6432Node); the 64-bit
# build reads it there too.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine64" reg add 'HKLM\Software\Millennium Interactive\Creatures\1.0' /v "Main Directory" \
    /d 'C:\Creatures32\' /f /reg:32 >/dev/null 2>&1
check "the 64-bit vek.exe reads the game's key through the 32-bit view" \
    bash -c '"$1" "$2/build-win-x86_64/vek.exe" report | grep -q "CMainPath: .C:.Creatures32"' \
    _ "$wine64" "$root"

# The start path: a creatures.exe in the prefix that serves after 3 s.
main="$WINEPREFIX/drive_c/Creatures"
mkdir -p "$main"
cp "$win/vivarium-sim.exe" "$main/creatures.exe"
: >sim.log
rm -f started.txt
# Wine sees the host's files on drive Z:.
export VIVARIUM_SIM_OPTIONS="--start-delay 3000 --started Z:$work/started.txt --log Z:$work/sim.log"
check "one inject starts the game once and delivers every macro" \
    bash -c '"$0" --link wine --game-dir "$1" inject ball.cob >/dev/null &&
             [ "$(wc -l <started.txt)" = 1 ] && [ "$(wc -l <sim.log)" = 2 ]' \
    "$root/build/vek" "$main"
unset VIVARIUM_SIM_OPTIONS
WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true

echo "test-windows: $failures failures, $(($(date +%s) - began)) s"
[ "$failures" = 0 ]
