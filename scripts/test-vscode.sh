#!/usr/bin/env bash
# Tests the VS Code extension against a built vek and packages it as a .vsix.
#   scripts/test-vscode.sh VEK [OUT]     OUT: where the .vsix goes, by default VEK's folder
# The extension is copied into OUT/vscode-extension and its packages installed there from the
# lock file, so the source tree stays clean; npm's cache (~/.cache/vekstudio/npm) makes a second
# run work without the network.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 VEK [OUT]" >&2; exit 2; }
vek=$(realpath "$1")
out=$(realpath "${2:-$(dirname "$vek")}")

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    source "$root/scripts/apt.sh"
    aptRefresh
    aptInstall --no-install-recommends nodejs npm
fi

stage="$out/vscode-extension"
rm -rf "$stage"
mkdir -p "$stage"
tar -C "$root/editors/vscode" --exclude=./node_modules --exclude='*.vsix' -cf - . |
    tar -C "$stage" -xf -
cd "$stage"
# Packaging needs no install scripts and none of the optional prebuilt programs (they sign and
# publish), so none is fetched or run.
npm ci --cache "${XDG_CACHE_HOME:-$HOME/.cache}/vekstudio/npm" --prefer-offline \
    --ignore-scripts --omit=optional --no-audit --no-fund --loglevel=error

VEK="$vek" node --test test/*.test.js

version=$(node -p 'require("./package.json").version')
vsix="$out/vekstudio-$version.vsix"
npx --no-install vsce package --allow-missing-repository --out "$vsix" >/dev/null
# What VS Code needs to load the extension must be in the package.
names='import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))'
listing=$(python3 -c "$names" "$vsix")
for file in extension/package.json extension/extension.js extension/launch.js \
    extension/syntaxes/caos-c1.tmLanguage.json extension/language-configuration.json \
    extension/node_modules/vscode-languageclient/node.js; do
    grep -qxF "$file" <<<"$listing" || { echo "$vsix lacks $file" >&2; exit 1; }
done
echo "packaged $vsix"
