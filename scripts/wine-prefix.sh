# Sourced by the scripts that run the Windows builds under Wine: a fresh prefix in $work/prefix
# with the display driver $1 ("null": headless, no X server; "x11": a player's Wine), and
# loader, arch and win (the folder of the Windows programs) set for it. Needs root and work.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# The 32-bit builds where 32-bit Wine runs them, else the 64-bit ones. Judged by what the
# program prints: Debian's wine wrapper exits 0 when it only says that wine32 is missing.
arch=i686
loader=$(command -v wine)
if [ "$("$loader" "$root/build-win-i686/vek.exe" --version 2>/dev/null | tr -d '\r')" != \
     "$("$root/build/vek" --version)" ]; then
    arch=x86_64
    loader=$(command -v wine64 || echo /usr/lib/wine/wine64)
    echo "$(basename "$0"): 32-bit Wine does not run here; using the 64-bit builds"
fi
win="$root/build-win-$arch"
"$loader" wineboot -i >/dev/null 2>&1
# The null driver carries DDE's window messages at a third of the cost under X11.
"$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$1" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
# The bridge builds as the Linux program finds them beside it.
mkdir -p "$work/bridges/wine/i686" "$work/bridges/wine/x86_64"
cp "$root/build-win-i686/vek-bridge.exe" "$work/bridges/wine/i686/" 2>/dev/null || true
cp "$root/build-win-x86_64/vek-bridge.exe" "$work/bridges/wine/x86_64/" 2>/dev/null || true
export VEK_BRIDGE_DIR="$work/bridges"
