#!/usr/bin/env bash
# Runs neovim_client.lua in a headless Neovim with no configuration of the user's.
#   neovim_client_test.sh VEK
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEK=$1 WORK=$work HOME=$work XDG_CONFIG_HOME=$work XDG_DATA_HOME=$work XDG_STATE_HOME=$work
timeout 120 nvim --headless -u NONE -i NONE -n \
    -c "luafile $(dirname "$0")/neovim_client.lua" </dev/null 2>&1
