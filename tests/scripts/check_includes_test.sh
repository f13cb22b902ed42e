#!/usr/bin/env bash
# The include check passes on the source tree, refuses each planted include against the arrows
# (naming its file and line), and lets the allowed ones through.
#   tests/scripts/check_includes_test.sh SOURCE_DIR
set -euo pipefail
check="$1/scripts/check-includes.sh"
"$check" "$1" || { echo "the source tree itself fails the include check"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# A tree of one file holding the given line.
plant() {
    rm -rf "$scratch/tree"
    mkdir -p "$scratch/tree/$(dirname "$1")"
    printf '#pragma once\n%s\n' "$2" >"$scratch/tree/$1"
}

refused=(
    'app/settings.cpp|#include "sprites/sprite_file.h"'
    'sprites/palette.cpp|#include "objects/cob_data.h"'
    'sprites/ui/sprite_editor_window.cpp|#include "gamelink/creatures.h"'
    'objects/ui/object_compiler_window.cpp|#include "generators/ui/new_object_source_window.h"'
    'world/ui/map_window.cpp|#include "sprites/ui/sprite_editor_window.h"'
    'app/ui/main_window.cpp|#include "studio/workbench.h"'
    'sprites/palette.h|#include <QColor>'
    'cli/verb_spr.cpp|#include "sprites/ui/picture_box.h"'
    'language/checker.cpp|#include "objects/script_events.h"'
    'gamelink/creatures.cpp|#include "language/checker.h"'
)
for case in "${refused[@]}"; do
    plant "${case%%|*}" "${case#*|}"
    if output=$("$check" "$scratch/tree"); then
        echo "not refused: ${case#*|} in ${case%%|*}"
        exit 1
    fi
    grep -q "^${case%%|*}:2: " <<<"$output" || { echo "no file and line in: $output"; exit 1; }
done

allowed=(
    'objects/ui/object_compiler_window.cpp|#include "sprites/sprite_document.h"'
    'objects/ui/object_compiler_window.cpp|#include "app/ui/widgets/picture_box.h"'
    'generators/ui/new_object_source_window.cpp|#include "objects/object_document.h"'
    'studio/workbench.cpp|#include "world/ui/map_window.h"'
    'main.cpp|#include "studio/startup.h"'
    'cli/verb_cob.cpp|#include "objects/cob_data.h"'
    'objects/object_check.cpp|#include "language/checker.h"'
    'gamesim/sim_world.cpp|#include "language/checker.h"'
    'app/ui/widgets/picture_box.h|#include <QWidget>'
)
for case in "${allowed[@]}"; do
    plant "${case%%|*}" "${case#*|}"
    "$check" "$scratch/tree" || { echo "refused: ${case#*|} in ${case%%|*}"; exit 1; }
done
echo "the include check holds"
