#!/usr/bin/env bash
# Every window test file is a ctest test of its own name, and that test runs the file's own test
# class: the folder's shared program, given the file's name, lists only slots that the file
# declares; a name the program does not know fails and names those it knows.
#   tests/scripts/ui_test_programs_test.sh SOURCE_DIR BINARY_DIR
set -euo pipefail
source_dir=$1
binary_dir=$2
export QT_QPA_PLATFORM=offscreen
failures=0
fail() {
    echo "FAIL  $*"
    failures=$((failures + 1))
}

# The command of each ctest test, read from the test files ctest itself reads.
command_of() {
    grep -h "^add_test(\[=\[$1\]=\]" "$binary_dir"/tests/CTestTestfile.cmake |
        sed -e 's/^add_test(\[=\[[^]]*\]=\] //' -e 's/)$//' -e 's/"//g'
}

checked=0
for file in "$source_dir"/tests/*/ui/*_test.cpp; do
    subsystem=$(basename "$(dirname "$(dirname "$file")")")
    name=$(basename "$file" .cpp)
    test="uitest_${subsystem}_${name}"
    # The Windows build's own window tests run under Wine (tests/windows_ui_tests.cmake).
    [ "$subsystem" != win32 ] || continue
    read -r -a command <<<"$(command_of "$test")"
    if ((${#command[@]} == 0)); then
        fail "$test: no ctest test for $file"
        continue
    fi
    # -functions lists the test's slots without running them.
    # Only the list: what Qt says about the machine on standard error is no slot.
    if ! slots=$("${command[@]}" -functions 2>"$binary_dir/ui_test_programs.stderr"); then
        fail "$test: ${command[*]} -functions failed: $slots $(cat "$binary_dir/ui_test_programs.stderr")"
        continue
    fi
    listed=0
    while read -r slot; do
        [ -n "$slot" ] || continue
        listed=$((listed + 1))
        grep -q "void ${slot%()}()" "$file" || fail "$test: runs $slot, which $file does not declare"
    done <<<"$slots"
    ((listed > 0)) || fail "$test: lists no test function"
    checked=$((checked + 1))
done
((checked > 0)) || fail "no window test found under $source_dir/tests"

# A name that no file of the folder has.
program="$binary_dir/tests/uitest_app"
if out=$("$program" no_such_test 2>&1); then
    fail "uitest_app no_such_test succeeded"
elif [[ $out != *"no_such_test"*"main_window_test"* ]]; then
    fail "uitest_app no_such_test does not name the known tests: $out"
fi

echo "ui_test_programs: $checked window tests checked, $failures failures"
((failures == 0))
