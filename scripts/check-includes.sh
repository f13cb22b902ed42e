#!/usr/bin/env bash
# Fails when a source file includes against the arrows of the design: which core may use which,
# a ui/ folder only its own core, the cores that core may use, app/ui and app/ui/widgets, Qt only
# in ui/ folders and studio/, and nothing but main.cpp including studio/.
#   scripts/check-includes.sh [ROOT]   (ROOT: the source tree, by default this one)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

find . -path './build*' -prune -o -path ./tests -prune -o -path ./.git -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort |
    xargs grep -Hn '^#include' /dev/null |
    awk -F: '
    BEGIN {
        # The cores each core may use besides itself.
        uses["app"] = ""
        uses["gamelink"] = "app"
        uses["sprites"] = "app"
        uses["world"] = "app sprites"
        uses["utilities"] = "app"
        uses["language"] = "app"
        uses["objects"] = "app sprites language"
        uses["generators"] = "app objects"
        uses["vivarium"] = "app sprites language objects"
        uses["lsp"] = "app gamelink sprites language objects vivarium"
        writesMacros["objects"] = 1
        writesMacros["gamelink"] = 1
        failed = 0
    }
    # Where a path belongs: "core X", "ui X", "studio", "tool X" or "main".
    function zone(path,    parts, n) {
        n = split(path, parts, "/")
        if (n == 1) return path == "main.cpp" ? "main" : "other"
        if (parts[1] == "studio") return "studio"
        if (parts[1] == "tests") return "tests"
        if (parts[1] ~ /^(cli|gamesim|bridge|demo|bench)$/) return "tool " parts[1]
        if (!(parts[1] in uses)) return "other"
        return (n > 2 && parts[2] == "ui") ? "ui " parts[1] : "core " parts[1]
    }
    function mayUseCore(from, to) {
        return from == to || (" " uses[from] " ") ~ (" " to " ")
    }
    function allowed(from, to,    f, t) {
        split(from, f, " ")
        split(to, t, " ")
        if (f[1] == "main") return to == "studio"
        if (to == "studio") return from == "studio"
        if (f[1] == "studio") return 1
        # cli, gamesim, demo and bench: any core; the benchmarks also the helpers of the tests
        # and the widgets they measure (the language widgets, the shared ones of app/ui, the
        # drawing of the Vivarium).
        if (f[1] == "tool") return t[1] == "core" || to == from || to == "tool demo" ||
                                   (from == "tool bench" &&
                                    (to == "tests" || to == "ui language" || to == "ui app" ||
                                     to == "ui vivarium"))
        if (t[1] == "tool" || t[1] == "other") return 0
        if (f[1] == "core") return t[1] == "core" && mayUseCore(f[2], t[2])
        # A ui folder: its own core and the cores that core may use, its own ui, app/ui; the
        # windows where macros are written also the language and its widgets.
        if (f[2] in writesMacros && t[2] == "language") return 1
        if (t[1] == "core") return mayUseCore(f[2], t[2])
        return t[2] == f[2] || t[2] == "app"
    }
    {
        file = $1
        line = $2
        text = substr($0, length($1) + length($2) + 3)
        from = zone(file)
        if (text ~ /^#include <Q/) {
            split(from, f, " ")
            # The benchmarks of widgets (bench/ui/) start Qt themselves.
            if (f[1] == "core" || (f[1] == "tool" && file !~ /^bench\/ui\//)) {
                printf "%s:%s: Qt is included outside a ui/ folder: %s\n", file, line, text
                failed = 1
            }
            next
        }
        if (text !~ /^#include "/) next
        included = text
        sub(/^#include "/, "", included)
        sub(/".*$/, "", included)
        if (included !~ /\//) next
        if (!allowed(from, zone(included))) {
            printf "%s:%s: %s (%s) may not include %s (%s)\n", file, line, file, from,
                   included, zone(included)
            failed = 1
        }
    }
    END { exit failed }'
