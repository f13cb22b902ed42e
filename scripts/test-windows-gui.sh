#!/usr/bin/env bash
# The Windows program: vekstudio.exe and its window tests built against a Qt for Windows
# (scripts/qt-mingw.sh), run under 64-bit Wine headless (Qt's offscreen platform, Wine's null
# display driver), a screenshot under Xvfb with Wine's X11 driver, and the zip and the NSIS
# installer built, installed and started once.
#   scripts/test-windows-gui.sh   (scripts/test-windows.sh calls it; needs build/vek)
# The Qt: $VEK_QT_WINDOWS, else ../shared/qt6-mingw beside the checkout, else the script's folder.
# Without one it runs the tests of the core's Windows parts (tests/win32) alone and says that the
# Windows program was not built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
began=$(date +%s)
say() { echo "test-windows-gui: $*"; }

source "$root/scripts/windows-tree.sh"
findWindowsQt

source "$root/scripts/apt.sh"
need=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(mingw-w64)
command -v wine >/dev/null || need+=(wine wine64)
[ -d /usr/src/googletest ] || need+=(googletest)
if [ -n "$qt" ]; then
    command -v makensis >/dev/null || need+=(nsis)
    command -v import >/dev/null || need+=(imagemagick)
    command -v xvfb-run >/dev/null || need+=(xvfb)
    command -v zip >/dev/null || need+=(zip unzip)
fi
if [ ${#need[@]} -gt 0 ]; then
    aptRefresh
    aptInstall "${need[@]}"
fi
[ -x "$root/build/vek" ] || "$root/scripts/build.sh" "$root/build" -DVEK_WERROR=ON
# The platform's own parts are tested on every machine; the program needs the Qt.
build="$root/build-win-x86_64"
buildWindowsTree x86_64
say "built in $(($(date +%s) - began)) s"

work=$(mktemp -d /tmp/vek-windows-gui.XXXXXX)
cleanup() {
    jobs -p | xargs -r kill 2>/dev/null || true
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine64" wineboot -i >/dev/null 2>&1
useDriver() {  # useDriver null|x11: Wine's display driver for the programs started next
    "$wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$1" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
useDriver null
winPath() { "$wine64" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

failures=0
check() {  # check WHAT COMMAND...: the command must succeed
    local what=$1
    shift
    if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; failures=$((failures + 1)); fi
}
windowsTest() {  # windowsTest NAME [ARGUMENT...]: one test program of the Windows build under Wine
    local log="$work/$(basename "$1").log" program=$1
    shift
    timeout 300 "$wine64" "$build/$program.exe" "$@" >>"$log" 2>&1 || { tail -30 "$log"; return 1; }
}
qtTest() {  # qtTest NAME: a window test; Qt Test writes to a file, its output reaches no console
    windowsTest "$1" -o "$(winPath "$work")\\$(basename "$1").log,txt"
}
check "the core's Windows parts (hand-over pipe, settings, registry)" windowsTest tests/test_win32
if [ -z "$qt" ]; then
    say "no Qt for Windows (scripts/qt-mingw.sh makes one): the Windows program was not built"
    say "$failures failures, $(($(date +%s) - began)) s"
    [ "$failures" = 0 ]
    exit
fi
say "Qt for Windows: $qt"

# The folder a Windows user unpacks: the programs, every library they load that Windows does not
# have (Qt's and the compiler's, found by what each file imports), Qt's plugins, the help.
dist="$work/Vekstudio"
mkdir -p "$dist/platforms" "$dist/styles" "$dist/imageformats"
cp "$build/vekstudio.exe" "$build/vek.exe" "$build/vivarium-sim.exe" "$dist/"
cp "$qt/plugins/platforms/qwindows.dll" "$dist/platforms/"
cp "$qt"/plugins/styles/*.dll "$dist/styles/" 2>/dev/null || rmdir "$dist/styles"
cp "$qt"/plugins/imageformats/*.dll "$dist/imageformats/" 2>/dev/null || rmdir "$dist/imageformats"
libraryFolders=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
addLibraries() {  # addLibraries FILE...: copies what they import, and what that imports
    local file dll folder
    for file in "$@"; do
        for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
            [ -e "$dist/$dll" ] && continue
            for folder in "${libraryFolders[@]}"; do
                if [ -f "$folder/$dll" ]; then
                    cp "$folder/$dll" "$dist/"
                    addLibraries "$dist/$dll"
                    break
                fi
            done
        done
    done
}
addLibraries "$dist"/*.exe "$dist"/*/*.dll
cp -r "$build/help" "$dist/help"
"$root/build/vek" words --html >"$dist/help/language.html"
"$root/build/vek" words --html --german >"$dist/help/de/language.html"
sed 's/$/\r/' "$root/LICENSE" >"$dist/LICENSE.txt"

# The tests find Qt's libraries and the test-only offscreen platform through Qt's own folders:
# with the libraries of the unpacked folder first, Qt would take that folder's parent for its
# own and the tests hang before their first line.
WINEPATH=""
for folder in "${libraryFolders[@]}"; do WINEPATH+="$(winPath "$folder");"; done
export WINEPATH
export QT_PLUGIN_PATH="$(winPath "$qt/plugins")" QT_QPA_PLATFORM=offscreen
export VEK_BINARY_DIR="$(winPath "$build")"
for test in uitest_app_every_window_screenshot_test uitest_objects_object_compiler_window_test \
    uitest_win32_dde_injection_test uitest_sprites_sprite_editor_window_test \
    uitest_app_main_window_test; do
    check "$test" qtTest "tests/$test"
done
say "window tests done after $(($(date +%s) - began)) s"

# The zip, unpacked into a folder of its own and started from another one.
version=$("$root/build/vek" --version | sed 's/^vek //')
zipFile="$work/Vekstudio-$version-windows-x86_64.zip"
(cd "$work" && zip -qr9 "$zipFile" Vekstudio)
# From here on the programs run as a user runs them: the platform and libraries they ship.
unset WINEPATH QT_PLUGIN_PATH VEK_BINARY_DIR QT_QPA_PLATFORM
startsAndHandsOver() {  # startsAndHandsOver EXE: runs, and a second start hands a file to it
    local exe=$1 status=0
    rm -f "$WINEPREFIX/drive_c/windows/VEK.INI"
    (cd "$work" && "$wine64" "$exe" --demo >"$work/first.log" 2>&1) &
    local first=$!
    for _ in $(seq 300); do [ -f "$WINEPREFIX/drive_c/windows/VEK.INI" ] && break; sleep 0.1; done
    [ -f "$WINEPREFIX/drive_c/windows/VEK.INI" ] || status=1
    # A later start gives its file to the running program and ends there.
    printf 'inst\nendm\n' >"$work/later.cos"
    timeout 60 "$wine64" "$exe" "$(winPath "$work/later.cos")" >"$work/later.log" 2>&1 || status=1
    kill -0 "$first" 2>/dev/null || status=1
    kill "$first" 2>/dev/null || true
    wait "$first" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    return $status
}
mkdir "$work/unzipped"
(cd "$work/unzipped" && unzip -q "$zipFile")
check "the zip runs from any folder and writes C:\\windows\\VEK.INI" \
    startsAndHandsOver "$work/unzipped/Vekstudio/vekstudio.exe"

# The installer, run silently; the Start menu entry, the file types, the uninstaller.
{
    (cd "$dist" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort |
        sed 's/.*/    Delete "$INSTDIR\\&"/')
    (cd "$dist" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r |
        sed 's/.*/    RMDir "$INSTDIR\\&"/')
} >"$work/remove.nsh"
installer="$work/Vekstudio-$version-setup.exe"
check "makensis builds the installer" bash -c 'makensis -V2 -DDIST="$1" -DREMOVE="$2" \
    -DOUTFILE="$3" -DVERSION="$4" "$5" >"$6/makensis.log" || { cat "$6/makensis.log"; exit 1; }' \
    _ "$dist" "$work/remove.nsh" "$installer" "$version" "$root/packaging/windows/vekstudio.nsi" "$work"
installed="$WINEPREFIX/drive_c/Program Files/Vekstudio"
regQuery() { "$wine64" reg query "$@" 2>/dev/null | tr -d '\r'; }
check "the installer installs silently" bash -c \
    '"$1" "$2" /S && [ -f "$3/vekstudio.exe" ] && [ -f "$3/uninstall.exe" ] && [ -f "$3/help/index.html" ]' \
    _ "$wine64" "$installer" "$installed"
check "  a Start menu entry" \
    test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vekstudio/Vekstudio.lnk"
for ext in spr cob cos; do
    check "  .$ext opens in Vekstudio" bash -c \
        'class=$("$1" reg query "HKLM\\Software\\Classes\\.$2" /ve 2>/dev/null | tr -d "\r" | awk "/REG_SZ/ {print \$NF}") &&
         [ -n "$class" ] && "$1" reg query "HKLM\\Software\\Classes\\$class\\shell\\open\\command" /ve 2>/dev/null |
         grep -qi "vekstudio.exe\" \"%1\""' _ "$wine64" "$ext"
done
check "  the installed program starts" startsAndHandsOver "$installed/vekstudio.exe"
check "  the uninstaller removes it all" bash -c \
    '"$1" "$2/uninstall.exe" /S; for _ in $(seq 100); do [ -e "$2" ] || break; sleep 0.2; done
     [ ! -e "$2" ] && ! "$1" reg query "HKLM\\Software\\Classes\\.spr" >/dev/null 2>&1' \
    _ "$wine64" "$installed"

# A screenshot under a real display: the main window and the object compiler, for a person.
shots="${VEK_SCREENSHOT_DIR:-$build/screenshots}"
mkdir -p "$shots"
useDriver x11
screenshot() {
    export DISPLAY=:97
    Xvfb :97 -screen 0 1280x900x24 >/dev/null 2>&1 &
    local xvfb=$!
    sleep 2
    printf 'scrp 2 5 3 1\ninst\nsnde honk\nendm\n' >"$work/shown.cos"
    (cd "$work" && "$wine64" "$dist/vekstudio.exe" --demo "$(winPath "$work/shown.cos")" \
        >"$work/shown.log" 2>&1) &
    local program=$!
    sleep 25
    import -window root "$shots/windows-main-and-object-compiler.png"
    kill "$program" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    unset DISPLAY
    [ -s "$shots/windows-main-and-object-compiler.png" ]
}
check "a screenshot under Xvfb ($shots)" screenshot

say "zip $(du -h "$zipFile" | cut -f1), installer $(du -h "$installer" | cut -f1), Qt $(du -sh "$qt" | cut -f1)"
mkdir -p "$build/packages"
cp "$zipFile" "$installer" "$build/packages/"
say "$failures failures, $(($(date +%s) - began)) s"
[ "$failures" = 0 ]
