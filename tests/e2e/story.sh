# End-to-end tests of a scene on the demo world: the message window, the
# picture window above it and the password prompt. Sourced by run.sh; the
# helpers also serve scripts/scene-shots.sh.

readonly MESSAGE_TITLE='メッセージ'
readonly PASSWORD_TITLE='パスワード'
# Where the save file keeps the password flags (16 bytes) and the home page
# (20 bytes).
readonly SAVE_PASSWORDS_AT=5
readonly SAVE_HOME_PAGE_AT=277

# Writes text $3 into file $1 at byte offset $2, padded with zeros to $4 bytes.
poke_text() {
    { printf '%s' "$3"; head -c $(($4 - ${#3})) /dev/zero; } |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# Starts a new game in world $1 whose home page is $2, with the password
# slots $3... already solved: a first run makes the save file (the game saves
# as soon as its home page is open), which is then changed, and the game
# starts again. Sets BROWSER_ID to the browser window. Not to be called in a
# subshell (see wait_exit).
open_game_at() {
    local world=$1 page=$2 slot deadline
    shift 2
    BROWSER_ID=""
    forget_saved_game
    start_game "$world"
    enter_game >/dev/null || return 1
    deadline=$((SECONDS + 60))
    until [ "$(save_file_number 848)" = 1 ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
    stop_game
    poke_text "$SAVE_FILE" "$SAVE_HOME_PAGE_AT" "$page" 20
    for slot in "$@"; do
        printf '\001' | dd of="$SAVE_FILE" bs=1 seek=$((SAVE_PASSWORDS_AT + slot)) conv=notrunc status=none
    done
    start_game "$world"
    BROWSER_ID=$(enter_game)
}

# The mean brightness (0 black .. 1 white) of the screen area W x H at X, Y.
screen_mean() {
    import -window root -crop "$3x$4+$1+$2" +repage png:- 2>/dev/null |
        convert png:- -colorspace gray -format '%[fx:mean]' info: 2>/dev/null
}

# The mean brightness of a part of the picture window, which stands right
# above message window $1.
picture_mean() {
    local x y w h
    read -r x y w h <<<"$(window_inside "$1" dialog)" || return 1
    [ -n "$h" ] || return 1
    screen_mean $((x + w / 2 - 100)) $((y - 300)) 200 200
}

# Clicks the middle of window $1.
click_window() {
    local x y w h
    read -r x y w h <<<"$(window_inside "$1" dialog)"
    [ -n "$h" ] || return 1
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Clicks window $2 every $3 seconds until the command $4... succeeds; 1 when
# it has not after $1 seconds.
click_until() {
    local deadline=$((SECONDS + $1)) id=$2 pause=$3
    shift 3
    while [ "$SECONDS" -lt "$deadline" ]; do
        "$@" && return 0
        click_window "$id" 2>/dev/null
        sleep "$pause"
    done
    return 1
}

# Whether a window titled exactly $1 is shown.
window_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
window_gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1; }

# A number below $2 (both decimals)?
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && a < b) }'; }

# The first record's link on "kiroku.htm" plays its scene: the picture fades
# in above the message window, the lines are clicked through, the prompt takes
# the key, and the scene ends in the browser where it began.
plays_a_record_scene_from_its_link() {
    local world id found x y message prompt box deadline mean title
    world=$(make_world)
    open_game_at "$world" kiroku.htm || { fail "no browser window"; return; }
    id=$BROWSER_ID
    title=$(wait_title_change "$id" "Brivane") || { fail "the page has no title"; return; }
    found=$(wait_for_output 30 find_link 0000FF "$id") || { fail "no link on kiroku.htm"; return; }
    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    message=$(wait_window "^$MESSAGE_TITLE\$" 30) || { fail "no message window"; return; }

    # The scene opens with a picture: the white picture window takes it on.
    deadline=$((SECONDS + 30))
    until mean=$(picture_mean "$message") && below "$mean" 0.9; do
        [ "$SECONDS" -lt "$deadline" ] || { fail "the picture never faded in ($mean)"; return; }
        sleep 0.1
    done
    screenshot "$current_test-picture"

    click_until 90 "$message" 0.3 window_shown "$PASSWORD_TITLE" ||
        { fail "no password prompt after the lines"; return; }
    prompt=$(xdotool search --onlyvisible --name "^$PASSWORD_TITLE\$" | head -n 1)
    screenshot "$current_test-prompt"
    send_keys "$prompt" BackSpace
    xdotool type --delay 50 kirimin
    xdotool key Return
    box=$(wait_message_box 30) || { fail "the key was not confirmed"; return; }
    send_keys "$box" Return
    wait_window_gone "$box" 30 || { fail "the confirmation stays"; return; }

    # The rest of the record, then the closing fade and the window is gone.
    click_until 90 "$message" 0.3 window_gone "$message" || { fail "the scene never ended"; return; }
    screenshot "$current_test-after"
    [ "$(xdotool getwindowname "$id")" = "$title" ] || fail "the scene opened another page"
    [ "$(od -An -tu1 -j "$SAVE_PASSWORDS_AT" -N1 "$SAVE_FILE" | tr -d ' ')" = 1 ] ||
        fail "the solved key was not saved"
    close_and_expect_clean_exit "$id"
}
