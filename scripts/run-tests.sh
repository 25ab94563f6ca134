#!/bin/bash
# Runs every test tier and ends with one line: "N passed, N failed".
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
. "$root/scripts/wine-env.sh"
logs=$BUILD_DIR/test-logs
mkdir -p "$logs"

passed=0
failed=0

# Counts a tier from GoogleTest's summary lines (the end-to-end tests print the
# same). A tier that dies before its summary, or fails without one, counts as a
# failure.
count_tier() {
    local name=$1 status=$2 log=$3 p f
    p=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' | tail -n 1)
    f=$(tr -d '\r' <"$log" | sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' | tail -n 1)
    p=${p:-0}
    f=${f:-0}
    if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then
        echo "$name: ended with status $status; see $log"
        f=1
    fi
    if [ "$f" -ne 0 ]; then
        tr -d '\r' <"$log" | grep -E '^\[  FAILED  \]|Failure|ERROR|FAIL:' | head -n 40
    fi
    echo "$name: $p passed, $f failed"
    passed=$((passed + p))
    failed=$((failed + f))
}

run_tier() {
    local name=$1 status
    shift
    echo "== $name"
    "$@" >"$logs/$name.log" 2>&1
    status=$?
    count_tier "$name" "$status" "$logs/$name.log"
}

run_tier unit "$BUILD_DIR/native/tests/unit/velmora_unit_tests" --gtest_brief=1

# Every fuzz target a short while on its seeds (and on earlier findings): a
# test that passes when the target ends without a finding.
run_tier fuzz "$root/scripts/fuzz.sh" smoke "${FUZZ_SMOKE_SECONDS:-10}"

# The demo world, read as the game reads it: one test, passed when the checker
# finds nothing.
echo "== world"
if "$BUILD_DIR/native/tools/velarc" check "$BUILD_DIR/game" >"$logs/world.log" 2>&1; then
    echo "world: 1 passed, 0 failed"
    passed=$((passed + 1))
else
    iconv -f CP932 -t UTF-8 -c <"$logs/world.log" | head -n 40
    echo "world: 0 passed, 1 failed"
    failed=$((failed + 1))
fi

ensure_wine_prefix >/dev/null 2>&1
wintests=$BUILD_DIR/wintests
rm -rf "$wintests" && mkdir -p "$wintests"
run_tier win sh -c "cd '$wintests' && '$root/scripts/with-display.sh' wine '$BUILD_DIR/win/tests/win/velmora_win_tests.exe' --gtest_brief=1"

run_tier e2e "$root/scripts/with-display.sh" "$root/tests/e2e/run.sh"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
