#!/bin/bash
# The real program under random use: clicks anywhere on the screen, keys,
# typed addresses and menu commands, scenes and dialogs as they come, and a
# kill (wineserver -k) at a random moment of every run. After each kill the
# save file must be whole (the old one or the new one) and the next start
# must reach the browser. Runs SOAK_MINUTES minutes (10 unless given) and
# ends with one line: "soak: R runs, K kills, L saves lost, C crashes".
# With SOAK_UNWRITABLE_WINDOWS=1 the Windows directory takes no save (a folder
# stands in the save file's place), so every save goes to the player's own
# folder, and that is where it must be whole.
set -u
: "${BUILD_DIR:?}"
. "$(dirname "$0")/../e2e/lib.sh"

minutes=${SOAK_MINUTES:-10}
seed=${SOAK_SEED:-$$}
RANDOM=$seed
velarc=$BUILD_DIR/native/tools/velarc
log=$E2E_DIR/soak.log
: >"$log"
# Wine's own chatter goes to the log, not the terminal.
exec 2>>"$log"

runs=0
kills=0
lost=0
crashes=0
current_test=soak
world=$(make_world)
forget_saved_game
windows_save=$SAVE_FILE
if [ "${SOAK_UNWRITABLE_WINDOWS:-0}" = 1 ]; then
    SAVE_FILE=$USER_SAVE_FILE
    mkdir -p "$windows_save"
    trap 'rmdir "$windows_save" 2>/dev/null' EXIT
fi

note() { echo "$*" >>"$log"; }

# A save file that the game would read back whole. None at all is fine only
# before the first page was ever shown.
check_save() {
    if [ ! -f "$SAVE_FILE" ]; then
        [ "$runs" -le 1 ] && return 0
        note "run $runs: the save file is gone"
        return 1
    fi
    if ! "$velarc" save "$SAVE_FILE" >/dev/null 2>>"$log"; then
        note "run $runs: the save file is damaged"
        return 1
    fi
    # A kill in the middle of a save leaves at most its one temporary file.
    local leftovers
    leftovers=$(find "$(dirname "$SAVE_FILE")" -maxdepth 1 -iname 'vel*.tmp' | wc -l)
    if [ "$leftovers" -gt 1 ]; then
        note "run $runs: $leftovers temporary files beside the save"
        return 1
    fi
}

random_action() {
    local x y
    case $((RANDOM % 12)) in
    0 | 1 | 2 | 3 | 4)
        x=$((RANDOM % 1024))
        y=$((RANDOM % 768))
        xdotool mousemove "$x" "$y" click 1 2>/dev/null
        ;;
    5) xdotool key alt+Left 2>/dev/null ;;
    6) xdotool key alt+Right 2>/dev/null ;;
    7) xdotool key Return 2>/dev/null ;;
    8) xdotool key Escape 2>/dev/null ;;
    9) xdotool key Tab space 2>/dev/null ;;
    10)
        # An address typed into the bar, known or not.
        xdotool key ctrl+a 2>/dev/null
        xdotool type --delay 5 "$(printf 'http://www.kirimi.net/%s' \
            "$([ $((RANDOM % 2)) -eq 0 ] && echo news/ || echo nowhere.htm)")" 2>/dev/null
        xdotool key Return 2>/dev/null
        ;;
    11)
        # A menu of the browser: the view menu's bars, or adding a favourite.
        xdotool key alt+v Down Return 2>/dev/null || true
        ;;
    esac
}

deadline=$((SECONDS + minutes * 60))
while [ "$SECONDS" -lt "$deadline" ]; do
    runs=$((runs + 1))
    start_game "$world"
    if ! enter_game >/dev/null; then
        note "run $runs: the browser did not appear"
        crashes=$((crashes + 1))
        stop_game
        continue
    fi
    # Random use for 2 to 25 seconds, then a kill in the middle of it.
    until_kill=$((SECONDS + 2 + RANDOM % 24))
    ended=0
    while [ "$SECONDS" -lt "$until_kill" ]; do
        random_action
        sleep "0.$((RANDOM % 4 + 1))"
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            status=$?
            GAME_PID=""
            if [ "$status" -ne 0 ]; then
                note "run $runs: the game ended by itself with status $status"
                crashes=$((crashes + 1))
            fi
            ended=1
            break
        fi
    done
    if [ "$ended" -eq 0 ]; then
        wineserver -k
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=""
        kills=$((kills + 1))
    fi
    check_save || lost=$((lost + 1))
done

echo "soak: $runs runs, $kills kills, $lost saves lost, $crashes crashes (seed $seed; save $SAVE_FILE; log $log)"
[ "$lost" -eq 0 ] && [ "$crashes" -eq 0 ]
