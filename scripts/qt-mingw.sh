#!/usr/bin/env bash
# Builds the Qt that Vekstudio's Windows program needs, from Debian's own source package of
# qt6-base, with Debian's MinGW-w64 and the host's Qt tools:
#   scripts/qt-mingw.sh [DIR]      (default ~/.cache/vekstudio/qt6-mingw-6.4.2)
# Core, Gui, Widgets, Network and Test, the windows and offscreen platform plugins and the
# image formats; nothing else. About an hour on two cores: it is never part of the test command.
# A run that was stopped goes on where it stopped. The configure line is kept in DIR/README.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=6.4.2
dest=${1:-$HOME/.cache/vekstudio/qt6-mingw-$version}
work=$dest.build
triple=x86_64-w64-mingw32
began=$(date +%s)

if [ -f "$dest/README" ]; then
    echo "qt-mingw: $dest is already built"
    exit 0
fi

source "$root/scripts/apt.sh"
need=()
command -v $triple-g++-posix >/dev/null || need+=(mingw-w64)
[ -x /usr/lib/qt6/libexec/moc ] || need+=(qt6-base-dev qt6-base-dev-tools)
command -v dpkg-source >/dev/null || need+=(dpkg-dev)
if ((${#need[@]})); then
    aptRefresh
    aptInstall --no-install-recommends "${need[@]}"
fi
host=$(dpkg-query -W -f='${Version}' qt6-base-dev)
case $host in
$version*) ;;
*) echo "qt-mingw: the host's Qt is $host; its tools must be $version" >&2; exit 1 ;;
esac

# Debian's source package, fetched through package lists of its own: the source lines are
# added for this step only and the system's lists stay as they are.
mkdir -p "$work"
source_dir=$work/qt6-base
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
    apt_dir=$work/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$work/download"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    {
        echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main"
        echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main"
        echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main"
    } >"$apt_dir/sources.list"
    apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/nonexistent
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
    apt-get "${apt_options[@]}" update -qq
    (cd "$work/download" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$host")
    rm -rf "$source_dir"
    dpkg-source -x "$work"/download/qt6-base_*.dsc "$source_dir" >/dev/null
fi

toolchain=$work/mingw-toolchain.cmake
cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# Debian strips wintab.h from its source and MinGW has none: no tablet events. The third-party
# libraries are Qt's own copies, since Debian has none of them for MinGW.
configure=(
    "$source_dir/configure" -prefix "$dest" -release -shared -opensource -confirm-license
    -xplatform win32-g++ -qt-host-path /usr
    -nomake examples -nomake tests
    -no-opengl -no-dbus -no-icu -no-glib -no-fontconfig
    -no-feature-sql -no-feature-printsupport -no-feature-concurrent -no-feature-tabletevent
    -no-feature-vulkan
    -qt-freetype -qt-harfbuzz -qt-libpng -qt-libjpeg -qt-zlib -qt-pcre
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake"
)
build_dir=$work/build
mkdir -p "$build_dir"
cd "$build_dir"
# A configure that failed half-way leaves a cache behind; it starts again from nothing.
[ -f build.ninja ] || { rm -rf CMakeCache.txt CMakeFiles && "${configure[@]}"; }
cmake --build . --parallel 2
cmake --install . >/dev/null

{
    echo "Qt $version for Windows (x86_64, MinGW-w64), built by Vekstudio's scripts/qt-mingw.sh"
    echo "from Debian's source package qt6-base $host, its sources unchanged, with:"
    echo
    printf '  %q' "${configure[@]}"
    echo
} >"$dest/README"
echo "qt-mingw: built $dest in $(($(date +%s) - began)) s ($(du -sh "$dest" | cut -f1))"
