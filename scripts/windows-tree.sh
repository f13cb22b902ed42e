# Sourced by the Windows test scripts: the one MinGW build tree of each architecture.
#   findWindowsQt             sets qt to a Qt for Windows (scripts/qt-mingw.sh), or to ""
#   buildWindowsTree ARCH     configures build-win-ARCH and builds $VEK_BUILD_TARGET (else all)
# The x86_64 tree holds the programs without windows, the tests of the core's Windows parts and,
# with a Qt, the Windows program and its window tests: each source is compiled once for Windows.

findWindowsQt() {
    qt=""
    local candidate
    for candidate in "${VEK_QT_WINDOWS:-}" "$root/../shared/qt6-mingw" \
        "$HOME/.cache/vekstudio/qt6-mingw-6.4.2"; do
        if [ -n "$candidate" ] && [ -f "$candidate/lib/cmake/Qt6/Qt6Config.cmake" ]; then
            qt=$(cd "$candidate" && pwd)
            return
        fi
    done
}

buildWindowsTree() {
    local arch=$1 options=(-DVEK_BUILD_GUI=OFF)
    if [ "$arch" = x86_64 ]; then
        findWindowsQt
        options=(-DVEK_BUILD_TESTS=ON ${qt:+-DVEK_QT_WINDOWS="$qt"})
    fi
    "$root/scripts/build.sh" "$root/build-win-$arch" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DVEK_MINGW_ARCH="$arch" \
        -DVEK_WERROR=ON "${options[@]}"
}
