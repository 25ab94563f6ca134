# Helpers for end-to-end tests: the real program under Wine, driven with xdotool.
# Every wait has a generous deadline and polls for a condition.

: "${BUILD_DIR:?}"
GAME_EXE=$BUILD_DIR/win/src/win/velmora.exe
E2E_DIR=$BUILD_DIR/e2e
mkdir -p "$E2E_DIR"

tests_passed=0
tests_failed=0
current_test=""

# Runs test function $1, counting it.
run_test() {
    current_test=$1
    test_ok=1
    echo "[ RUN      ] $1"
    "$1"
    stop_game
    if [ "$test_ok" -eq 1 ]; then
        echo "[       OK ] $1"
        tests_passed=$((tests_passed + 1))
    else
        echo "[  FAILED  ] $1"
        tests_failed=$((tests_failed + 1))
    fi
}

fail() {
    echo "FAIL: $current_test: $*"
    test_ok=0
}

finish_tests() {
    echo "[  PASSED  ] $tests_passed tests."
    if [ "$tests_failed" -ne 0 ]; then
        echo "[  FAILED  ] $tests_failed tests, listed below:"
        return 1
    fi
}

# A fresh copy of the built demo world for one test.
make_world() {
    local dir=$E2E_DIR/$current_test
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -r "$BUILD_DIR/game/." "$dir/"
    echo "$dir"
}

# Starts the game with the current directory $1.
start_game() {
    (cd "$1" && exec wine "$GAME_EXE") &
    GAME_PID=$!
}

# Ends the game if it is still running, without a trace for the next test.
stop_game() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        wineserver -k
        wait "$GAME_PID" 2>/dev/null
    fi
    GAME_PID=""
}

# Prints the id of the first window whose title matches regex $1, waiting up to
# $2 seconds (default 60); returns 1 when none appeared.
wait_window() {
    local pattern=$1 deadline=$((SECONDS + ${2:-60})) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits until window $1 is gone.
wait_window_gone() {
    local id=$1 deadline=$((SECONDS + ${2:-60}))
    while [ "$SECONDS" -lt "$deadline" ]; do
        xdotool getwindowname "$id" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Waits for the game to end and sets EXIT_STATUS; returns 1 on timeout. Not
# to be called in a subshell: only this shell can collect the game's status.
wait_exit() {
    local deadline=$((SECONDS + ${1:-60}))
    while [ "$SECONDS" -lt "$deadline" ]; do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            EXIT_STATUS=$?
            GAME_PID=""
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Gives window $1 the keyboard and sends it keys.
send_keys() {
    local id=$1
    shift
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key "$@"
}

screenshot() {
    import -window root "$E2E_DIR/$1.png"
}
