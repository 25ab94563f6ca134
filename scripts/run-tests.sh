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
skipped=0

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
        tr -d '\r' <"$log" | grep -E '^\[  FAILED  \]|: Failure$|ERROR|FAIL:' | head -n 40
    fi
    # What a tier could not check here, such as a program Wine cannot start.
    tr -d '\r' <"$log" | grep '^NOTE: '
    echo "$name: $p passed, $f failed"
    passed=$((passed + p))
    failed=$((failed + f))
}

# Every tier runs under a time limit, so that a hang (a modal window waiting
# for input under Wine, a decoder that loops) fails its tier with one line
# instead of stalling the run. VELMORA_TIER_TIMEOUT (seconds) overrides every
# tier's limit.
tier_limit() {
    echo "${VELMORA_TIER_TIMEOUT:-$1}"
}

# The session of the tier that is running, and the sleep that times it.
tier_pid=
sleeper=

# Ends the running tier: its process group and session, then anything of the
# project's Wine prefix (Windows programs leave their session).
end_tier() {
    local pid=$1 deadline p
    # The session's id is its first process's.
    for p in $(ps -o pid= -s "$pid"); do
        kill -TERM "$p" 2>/dev/null
    done
    # A while to end cleanly (the dead wait to be reaped), then no choice.
    deadline=$((SECONDS + 10))
    while ps -o stat= -s "$pid" | grep -qv '^Z' && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.2
    done
    for p in $(ps -o pid= -s "$pid"); do
        kill -KILL "$p" 2>/dev/null
    done
    wineserver -k 2>/dev/null
    timeout 30 wineserver -w 2>/dev/null
}

# The fuzz tier's job, which runs beside the others (see below).
fuzz_job=

on_signal() {
    [ -n "$fuzz_job" ] && kill "$fuzz_job" 2>/dev/null
    [ -n "$sleeper" ] && kill "$sleeper" 2>/dev/null
    [ -n "$tier_pid" ] && end_tier "$tier_pid"
    [ -n "$fuzz_job" ] && wait "$fuzz_job" 2>/dev/null
    exit 130
}
trap on_signal INT TERM

# Runs a command in a session of its own with its output in `log`, for at most
# `seconds`; gives its status, and sets timed_out to 1 when it ran out of time.
run_limited() {
    local seconds=$1 log=$2 ended status
    shift 2
    timed_out=0
    setsid "$@" >"$log" 2>&1 &
    tier_pid=$!
    sleep "$seconds" &
    sleeper=$!
    wait -n -p ended "$tier_pid" "$sleeper"
    status=$?
    if [ "$ended" = "$sleeper" ]; then
        end_tier "$tier_pid"
        wait "$tier_pid" 2>/dev/null
        timed_out=1
        status=1
    else
        kill "$sleeper" 2>/dev/null
        wait "$sleeper" 2>/dev/null
    fi
    tier_pid=
    sleeper=
    return "$status"
}

# " in TEST" when the log ends inside a test (GoogleTest's and the end-to-end
# tests' "[ RUN      ]" lines).
running_test() {
    local last
    last=$(tr -d '\r' <"$1" | grep -E '^\[ (RUN     |      OK|  FAILED) \] ' | tail -n 1)
    case $last in
    "[ RUN      ] "*) echo " in ${last#"[ RUN      ] "}" ;;
    esac
}

run_tier() {
    local name=$1 seconds=$2 log=$logs/$1.log status started=$SECONDS
    shift 2
    echo "== $name"
    run_limited "$seconds" "$log" "$@"
    status=$?
    report_tier "$name" "$seconds" "$status" "$log"
    echo "$name: took $((SECONDS - started)) s"
}

# Counts a tier that ran under run_limited with status $3 (timed_out set).
report_tier() {
    local name=$1 seconds=$2 status=$3 log=$4
    if [ "$timed_out" -eq 1 ]; then
        echo "$name: timed out after $seconds s$(running_test "$log"); see $log"
        echo "$name: 0 passed, 1 failed"
        failed=$((failed + 1))
        return
    fi
    count_tier "$name" "$status" "$log"
}

# The fuzz tier: every fuzz target a short while on its seeds (and on earlier
# findings), a test that passes when the target ends without a finding. Its
# clang build and its runs go on beside the other tiers, which mostly wait on
# Wine and the virtual screen, at the lowest priority so that they keep their
# pace; it is counted last.
smoke=${FUZZ_SMOKE_SECONDS:-4}
fuzz_limit=$(tier_limit $((300 + 20 * smoke)))
rm -f "$logs/fuzz.status"
(
    if ! run_limited 1800 "$logs/fuzz-build.log" nice -n 19 \
        env -u MAKEFLAGS -u MFLAGS make --no-print-directory -s -C "$root" fuzz-build; then
        echo build >"$logs/fuzz.status"
        exit
    fi
    run_limited "$fuzz_limit" "$logs/fuzz.log" nice -n 19 "$root/scripts/fuzz.sh" smoke "$smoke"
    echo "$? $timed_out" >"$logs/fuzz.status"
) &
fuzz_job=$!

run_tier unit "$(tier_limit 300)" "$BUILD_DIR/native/tests/unit/velmora_unit_tests"

# The demo world: two tests. The checker reads it as the game does and must
# find nothing; its map must draw without a warning and show every page.
echo "== world"
seconds=$(tier_limit 300)
world_passed=0
world_failed=0
# world_test NAME LOG CHARSET COMMAND...: one test of the tier; its log, in
# CHARSET, is shown on failure.
world_test() {
    local name=$1 log=$2 charset=$3
    shift 3
    if run_limited "$seconds" "$log" "$@"; then
        world_passed=$((world_passed + 1))
        return
    fi
    if [ "$timed_out" -eq 1 ]; then
        echo "world: $name timed out after $seconds s; see $log"
    else
        iconv -f "$charset" -t UTF-8 -c <"$log" | head -n 40
    fi
    world_failed=$((world_failed + 1))
}
world_test check "$logs/world.log" CP932 "$BUILD_DIR/native/tools/velarc" check "$BUILD_DIR/game"
world_test map "$logs/world-map.log" UTF-8 "$root/tests/world/map.sh" "$BUILD_DIR/native/tools/velarc" \
    "$BUILD_DIR/game"
echo "world: $world_passed passed, $world_failed failed"
passed=$((passed + world_passed))
failed=$((failed + world_failed))

ensure_wine_prefix >/dev/null 2>&1
wintests=$BUILD_DIR/wintests
rm -rf "$wintests" && mkdir -p "$wintests"
run_tier win "$(tier_limit 600)" sh -c "cd '$wintests' && '$root/scripts/with-display.sh' wine '$BUILD_DIR/win/tests/win/velmora_win_tests.exe'"

# The 32-bit edition's Windows tests (make test-all). They need Wine's 32-bit
# half, which a kernel without 32-bit support cannot run: the prefix then has
# no 32-bit system, and the tier is skipped and counted so.
if [ -n "${VELMORA_TEST_WIN32:-}" ]; then
    if [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        rm -rf "$wintests" && mkdir -p "$wintests"
        run_tier win32 "$(tier_limit 600)" sh -c "cd '$wintests' && '$root/scripts/with-display.sh' wine '$BUILD_DIR/win32/tests/win/velmora_win_tests.exe'"
    else
        echo "== win32"
        echo "win32: skipped: this Wine runs no 32-bit programs (no wine32, or a kernel without 32-bit support)"
        skipped=$((skipped + 1))
    fi
fi

# The web edition in headless Chromium, its pages against velrender's under Wine.
run_tier web "$(tier_limit 480)" node "$root/tests/web/run.mjs"

run_tier e2e "$(tier_limit 1200)" "$root/scripts/with-display.sh" "$root/tests/e2e/run.sh"

echo "== fuzz"
wait "$fuzz_job"
fuzz_job=
read -r status timed_out <"$logs/fuzz.status" 2>/dev/null
if [ "${status:-build}" = build ]; then
    echo "fuzz: the fuzz build failed; see $logs/fuzz-build.log"
    echo "fuzz: 0 passed, 1 failed"
    failed=$((failed + 1))
else
    report_tier fuzz "$fuzz_limit" "$status" "$logs/fuzz.log"
fi

if [ "$skipped" -eq 0 ]; then
    echo "$passed passed, $failed failed"
else
    echo "$passed passed, $failed failed, $skipped skipped"
fi
[ "$failed" -eq 0 ]
