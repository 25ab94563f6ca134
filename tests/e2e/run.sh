#!/bin/bash
# End-to-end tests: the real velmora.exe on the demo world, as a player meets it.
set -u
. "$(dirname "$0")/lib.sh"

readonly APP_TITLE='Ｖｅｌｍｏｒａ'

starts_in_its_world_and_closes_cleanly() {
    local world id
    world=$(make_world)
    start_game "$world"
    id=$(wait_window '^Brivane$') || { fail "no window titled Brivane"; return; }
    xdotool search --name "$APP_TITLE" >/dev/null 2>&1 && fail "a message box appeared"
    screenshot "$current_test"
    send_keys "$id" alt+F4
    wait_exit || { fail "still running after Alt+F4"; return; }
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
}

missing_archive_is_told_and_start_up_goes_on() {
    local world box id
    world=$(make_world)
    rm "$world/cg.arc"
    start_game "$world"
    box=$(wait_window "^$APP_TITLE\$") || { fail "no message box"; return; }
    screenshot "$current_test"
    send_keys "$box" Return
    id=$(wait_window '^Brivane$') || { fail "no window after the message"; return; }
    send_keys "$id" alt+F4
    wait_exit || { fail "still running after Alt+F4"; return; }
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
}

every_archive_missing_gives_four_messages() {
    local world count=0 box deadline=$((SECONDS + 60))
    world=$E2E_DIR/$current_test
    rm -rf "$world" && mkdir -p "$world"
    start_game "$world"
    # One box after another until the window shows; each is answered with Enter.
    while [ "$SECONDS" -lt "$deadline" ] && ! xdotool search --name '^Brivane$' >/dev/null 2>&1; do
        box=$(xdotool search --name "^$APP_TITLE\$" 2>/dev/null | head -n 1)
        if [ -n "$box" ]; then
            count=$((count + 1))
            send_keys "$box" Return
            wait_window_gone "$box" 30 || break
        fi
        sleep 0.2
    done
    [ "$count" -eq 4 ] || fail "$count message boxes, expected 4"
    wait_window '^Brivane$' >/dev/null || fail "no window after the messages"
}

run_test starts_in_its_world_and_closes_cleanly
run_test missing_archive_is_told_and_start_up_goes_on
run_test every_archive_missing_gives_four_messages
finish_tests
