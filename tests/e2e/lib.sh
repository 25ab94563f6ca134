# Helpers for end-to-end tests: the real program under Wine, driven with xdotool.
# Every wait has a generous deadline and polls for a condition.

: "${BUILD_DIR:?}"
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
readonly APP_TITLE='Ｖｅｌｍｏｒａ'
GAME_EXE=$BUILD_DIR/win/src/win/velmora.exe
VELARC=$BUILD_DIR/native/tools/velarc
VELPLAY=$BUILD_DIR/native/tools/velplay
# Catches a frame that lasts a few milliseconds (see its source).
SCREENWATCH=$BUILD_DIR/native/tests/e2e/screenwatch/screenwatch
E2E_DIR=$BUILD_DIR/e2e
mkdir -p "$E2E_DIR"
# Page layouts of the demo world, made once a run (see layout_dump).
LAYOUT_CACHE=$E2E_DIR/layouts
rm -rf "$LAYOUT_CACHE"

tests_passed=0
tests_failed=0
current_test=""

# Runs test function $1, counting it. With E2E_ONLY set (names separated by
# spaces), only the tests named there run.
run_test() {
    if [ -n "${E2E_ONLY:-}" ] && [[ " $E2E_ONLY " != *" $1 "* ]]; then
        return
    fi
    local started=$SECONDS
    current_test=$1
    test_ok=1
    echo "[ RUN      ] $1"
    if declare -F "$1" >/dev/null; then
        "$1"
    else
        fail "no such test"
    fi
    stop_game
    if [ "$test_ok" -eq 1 ]; then
        echo "[       OK ] $1 ($((SECONDS - started)) s)"
        tests_passed=$((tests_passed + 1))
    else
        echo "[  FAILED  ] $1 ($((SECONDS - started)) s)"
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

# Starts the game with the current directory $1; GAME_PID is its process.
start_game() {
    (cd "$1" && exec wine "$GAME_EXE") &
    GAME_PID=$!
}

# "X Y W H" of window $1 on the screen.
window_box() {
    local geometry
    geometry=$(xdotool getwindowgeometry "$1" 2>/dev/null) || return 1
    sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geometry" | tr '\n' ' '
    sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' <<<"$geometry"
}

# The top left of window $1 on the screen, as "X Y", and its size, as "W H".
window_origin() { window_box "$1" | cut -d' ' -f1,2; }
window_size() { window_box "$1" | cut -d' ' -f3,4; }

# The virtual screen has no window manager, so Wine draws the windows' frames
# itself and an X window covers its whole Windows window. The frames of this
# prefix: a caption 19 pixels high, a sizing border of 4, a dialog frame of 3.
readonly CAPTION_HEIGHT=19 SIZING_BORDER=4 DIALOG_FRAME=3

# "X Y W H" of what lies inside the caption and frame of window $1: for the
# browser, its menu bar and everything below. $2 is the frame: "sizing" (the
# browser's, the default) or "dialog".
window_inside() {
    local x y w h border=$SIZING_BORDER
    [ "${2:-sizing}" = dialog ] && border=$DIALOG_FRAME
    read -r x y w h <<<"$(window_box "$1")"
    [ -n "$h" ] || return 1
    echo $((x + border)) $((y + border + CAPTION_HEIGHT)) $((w - 2 * border)) \
        $((h - 2 * border - CAPTION_HEIGHT))
}

# The ids of the shown windows titled with the application's name that are at
# least $1 pixels wide (the title screen) or narrower (message boxes, with
# "-"). A window not shown yet (still being set up) takes no keys.
app_windows() {
    local wide=$1 id w h
    for id in $(xdotool search --onlyvisible --name "^$APP_TITLE\$" 2>/dev/null); do
        read -r w h <<<"$(window_size "$id")"
        [ -n "$w" ] || continue
        if [ "$wide" = "-" ]; then
            [ "$w" -lt 640 ] && echo "$id"
        else
            [ "$w" -ge "$wide" ] && echo "$id"
        fi
    done
}

# Runs command $2... until it prints something, for up to $1 seconds; prints
# the first line it printed. 1 on timeout.
wait_for_output() {
    local deadline=$((SECONDS + $1)) out
    shift
    while [ "$SECONDS" -lt "$deadline" ]; do
        out=$("$@" | head -n 1)
        if [ -n "$out" ]; then
            echo "$out"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits for the title screen (a window of the application's name, 640 pixels
# or wider) and prints its id.
wait_title() { wait_for_output "${1:-60}" app_windows 640; }

# Waits for a message box of the application and prints its id.
wait_message_box() { wait_for_output "${1:-60}" app_windows -; }

# Past the title screen into the browser window; prints its id.
enter_game() {
    local title
    title=$(wait_title) || return 1
    send_keys "$title" Return
    wait_window 'Brivane$'
}

# Ends the game if it is still running, without a trace for the next test.
stop_game() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        wineserver -k
        wait "$GAME_PID" 2>/dev/null
    fi
    GAME_PID=""
}

# Prints the id of the first shown window whose title matches regex $1, waiting
# up to $2 seconds (default 60); returns 1 when none appeared.
wait_window() { wait_for_output "${2:-60}" xdotool search --onlyvisible --name "$1"; }

# Waits until window $1 is gone.
wait_window_gone() {
    local id=$1 deadline=$((SECONDS + ${2:-60}))
    while [ "$SECONDS" -lt "$deadline" ]; do
        xdotool getwindowname "$id" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Waits for the game (or process $2) to end and sets EXIT_STATUS; returns 1 on
# timeout. Not to be called in a subshell: only this shell can collect the
# status of its children.
wait_exit() {
    local deadline=$((SECONDS + ${1:-60})) pid=${2:-$GAME_PID}
    while [ "$SECONDS" -lt "$deadline" ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            EXIT_STATUS=$?
            [ "$pid" = "$GAME_PID" ] && GAME_PID=""
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

# The saved game of the project's Wine prefix, and its place in the player's
# own folder, for when the Windows directory takes none.
SAVE_FILE=$WINEPREFIX/drive_c/windows/velmora.dat
USER_SAVE_FILE=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Velmora/velmora.dat

# A first run: no save file, no registry values.
forget_saved_game() {
    # Also what a test left to keep saves out: a folder in the save file's
    # place, a file in the user folder's.
    rm -rf "$SAVE_FILE" "$USER_SAVE_FILE"
    [ -d "$(dirname "$USER_SAVE_FILE")" ] || rm -f "$(dirname "$USER_SAVE_FILE")"
    wine reg delete 'HKCU\Software\Korvex' /f >/dev/null 2>&1
}

# A 32-bit little-endian number of the save file at byte offset $1.
save_file_number() {
    od -An -tu4 -j "$1" -N4 "$SAVE_FILE" 2>/dev/null | tr -d ' '
}

# Prints "X Y" of a point on the first text link in the page area of the
# browser window $2: links are underlined in $1 (RRGGBB), so it looks for a
# row of 20 pixels of that colour below the bars and above the status bar,
# and answers a point just above its middle. 1 when there is none.
find_link() {
    local colour=$1 id=$2 left top width height found
    read -r left top width height <<<"$(window_inside "$id")"
    [ -n "$height" ] || return 1
    # Menu, address bar and tool-button bar take about 100 pixels, the status bar 30.
    found=$(import -window root -crop "${width}x$((height - 130))+$left+$((top + 100))" png:- 2>/dev/null |
        convert png:- txt:- 2>/dev/null |
        grep -i "#$colour" | awk -F'[,:]' -v dx="$left" -v dy="$((top + 100))" '
            $2 == y && $1 == x + 1 { run++ } $2 != y || $1 != x + 1 { run = 1; start = $1 }
            { x = $1; y = $2 }
            run == 20 { print start + 10 + dx, y - 4 + dy; exit }')
    [ -n "$found" ] || return 1
    echo "$found"
}

# Whether the screen shows any pixel of colour $1 (RRGGBB).
screen_shows() {
    import -window root png:- 2>/dev/null | convert png:- txt:- 2>/dev/null | grep -qi "#$1"
}

# Waits until window $1's title is no longer $2; prints the new title.
wait_title_change() {
    local id=$1 old=$2 deadline=$((SECONDS + ${3:-60})) name
    while [ "$SECONDS" -lt "$deadline" ]; do
        name=$(xdotool getwindowname "$id" 2>/dev/null)
        if [ -n "$name" ] && [ "$name" != "$old" ]; then
            echo "$name"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits until find_link sees a link in colour $1 in window $2; prints its point.
wait_link() {
    local deadline=$((SECONDS + ${3:-60})) found
    while [ "$SECONDS" -lt "$deadline" ]; do
        found=$(find_link "$1" "$2") && { echo "$found"; return 0; }
        sleep 0.3
    done
    return 1
}

# The view's client size that velrender lays pages out for: the default
# window's unless a test sets it to its own window's.
LAYOUT_CLIENT=800x600

# Prints velrender's layout of page $1 of the demo world (one JSON object a
# line) for a view of LAYOUT_CLIENT; each page is laid out once a run.
layout_dump() {
    local file=$LAYOUT_CACHE/$LAYOUT_CLIENT/$1.txt
    if [ ! -s "$file" ]; then
        mkdir -p "${file%/*}"
        "$ROOT/scripts/velrender" --client "$LAYOUT_CLIENT" "$BUILD_DIR/game" "$1" \
            "$LAYOUT_CACHE/layout.bmp" --dump 2>/dev/null | tr -d '\r' >"$file.tmp" &&
            mv "$file.tmp" "$file"
    fi
    cat "$file" 2>/dev/null
}

# Prints "X Y WIDTH HEIGHT" in page coordinates of the first link to $2, or
# the first form control named $2, on page $1 of the demo world, as
# velrender lays the page out.
page_box() {
    layout_dump "$1" | grep -F -e "\"target\":\"$2\"" -e "\"name\":\"$2\"" | head -n 1 |
        sed -E 's/.*"x":(-?[0-9]+),"y":(-?[0-9]+),"width":([0-9]+),"height":([0-9]+).*/\1 \2 \3 \4/'
}

# The title of page $1 of the demo world, as its window title shows it.
page_title() {
    local title
    title=$(layout_dump "$1" | sed -n 's/^{"page":{.*"title":"\(.*\)"}}$/\1/p' | head -n 1)
    echo "${title:+$title - }Brivane"
}

# The text of the address bar of browser window $1, copied through the
# clipboard (the address bar keeps the keyboard afterwards).
address_bar_text() {
    local x y
    read -r x y _ <<<"$(window_inside "$1")"
    # The combo box stands under the menu, right of its label.
    xdotool mousemove $((x + 300)) $((y + 31)) click 1
    xdotool key Home shift+End ctrl+c
    sleep 0.5
    xclip -o -selection clipboard 2>/dev/null
}

# A checksum of the pixels of the address bar of browser window $1.
address_bar_pixels() {
    local x y
    read -r x y _ <<<"$(window_inside "$1")"
    import -window root -crop "600x14+$((x + 62))+$((y + 24))" rgb:- 2>/dev/null | md5sum
}

# The address bar's pixels of window $1 once they have stopped changing and
# differ from $2 (when given): the title changes before the address does.
settled_address_bar_pixels() {
    local deadline=$((SECONDS + 30)) before now
    before=$(address_bar_pixels "$1")
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.5
        now=$(address_bar_pixels "$1")
        if [ "$now" = "$before" ] && [ "$now" != "${2:-}" ]; then
            echo "$now"
            return 0
        fi
        before=$now
    done
    return 1
}

# Waits until the address bar of window $1 shows the pixels $2 (from
# address_bar_pixels).
wait_address_bar() {
    local deadline=$((SECONDS + ${3:-30}))
    while [ "$SECONDS" -lt "$deadline" ]; do
        [ "$(address_bar_pixels "$1")" = "$2" ] && return 0
        sleep 0.3
    done
    return 1
}
