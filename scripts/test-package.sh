#!/usr/bin/env bash
# Builds the Debian package, checks its desktop files with their validators, installs it and runs
# the installed programs once.
#   scripts/test-package.sh [BUILD_DIR]            unpack into a scratch root (no root needed)
#   scripts/test-package.sh --system [BUILD_DIR]   apt-get install it on this machine, then remove it
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
system=false
if [ "${1:-}" = "--system" ]; then
    system=true
    shift
fi
build=$(realpath -m "${1:-$root/build-package}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; [ -d "$build.away" ] && mv "$build.away" "$build"' EXIT
step() { printf '\n== %s\n' "$*"; }

step "Building the package"
BUILD_TYPE=Release "$root/scripts/build.sh" "$build" -DVEK_BUILD_TESTS=OFF -DVEK_BUILD_BENCH=OFF \
    -DVEK_WERROR=ON
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls -t "$build"/vekstudio_*.deb | head -n1)
echo "$package"
dpkg-deb --field "$package" Package Version Depends
# GIF pictures come through giflib: the package must bring its runtime library.
dpkg-deb --field "$package" Depends | grep -q 'libgif7' || { echo "no libgif7 in Depends"; exit 1; }

step "Validating the desktop files"
packaging="$root/packaging"
desktop-file-validate "$packaging/org.vekstudio.Vekstudio.desktop"
appstreamcli validate --no-net "$build/packaging/org.vekstudio.Vekstudio.metainfo.xml"
xmllint --noout --relaxng "$packaging/shared-mime-info.rng" "$packaging/vekstudio-mime.xml"
# The MIME database's own tool reads the types as a desktop would.
mkdir -p "$scratch/mime/packages"
cp "$packaging/vekstudio-mime.xml" "$scratch/mime/packages/"
update-mime-database "$scratch/mime" >/dev/null 2>&1
grep -q 'application/x-creatures-object:\*\.rcb' "$scratch/mime/globs2"

step "Installing"
if $system; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
    prefix=/usr
else
    dpkg-deb -x "$package" "$scratch/root"
    prefix=$scratch/root/usr
fi
for file in bin/vek bin/vekstudio bin/vivarium-sim share/vekstudio/help/index.html \
    share/vekstudio/help/de/index.html share/applications/org.vekstudio.Vekstudio.desktop \
    share/metainfo/org.vekstudio.Vekstudio.metainfo.xml share/mime/packages/vekstudio.xml \
    share/thumbnailers/vekstudio.thumbnailer share/icons/hicolor/scalable/apps/org.vekstudio.Vekstudio.svg \
    share/icons/hicolor/48x48/apps/org.vekstudio.Vekstudio.png share/man/man1/vek.1.gz \
    share/bash-completion/completions/vek share/zsh/vendor-completions/_vek \
    share/doc/vekstudio/copyright; do
    [ -e "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done

step "Running the installed programs (the build tree out of the way)"
mv "$build" "$build.away"
home="$scratch/home"
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export QT_QPA_PLATFORM=offscreen VEK_GAME_DIR= WINEPREFIX=$home/no-prefix
"$prefix/bin/vek" --version
"$prefix/bin/vekstudio" --version
"$prefix/bin/vek" demo "$scratch/demo" >/dev/null
"$prefix/bin/vek" thumbnail "$scratch/demo/Creatures/BALL.COB" "$scratch/ball.png" 96
"$prefix/bin/vek" thumbnail "$scratch/demo/Creatures/Images/vbal.spr" "$scratch/vbal.png"
for png in "$scratch/ball.png" "$scratch/vbal.png"; do
    [ "$(head -c 4 "$png" | tail -c 3)" = PNG ] || { echo "not a PNG: $png"; exit 1; }
done
"$prefix/bin/vek" spr gif "$scratch/demo/Creatures/Images/vbal.spr" "$scratch/vbal.gif" \
    --palette "$scratch/demo/Creatures/Palettes/palette.dta" >/dev/null
[ "$(head -c 6 "$scratch/vbal.gif")" = GIF89a ] || { echo "not a GIF: $scratch/vbal.gif"; exit 1; }
# The program starts on the demo and keeps running until it is ended.
status=0
timeout 10 "$prefix/bin/vekstudio" --demo-dir "$scratch/demo" || status=$?
[ "$status" -eq 124 ] || { echo "vekstudio ended with $status"; exit 1; }
if $system; then
    MANPAGER=cat man vek | grep -q "thumbnail"
    bash -c 'source /usr/share/bash-completion/completions/vek && complete -p vek' >/dev/null
fi
mv "$build.away" "$build"

if $system; then
    step "Removing"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vekstudio >/dev/null
    ! command -v vekstudio
fi
step "The package passed"
