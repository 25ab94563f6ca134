# The whole demo world played through, from a new game to its ending, as a
# player plays it: the mouse and the keyboard in, the screen and the save
# file out. Sourced by run.sh.

# The browser window fills the screen: every link the route clicks then shows
# without scrolling. Its view is LAYOUT_CLIENT.
readonly PLAY_WINDOW=$'mainx 0\nmainy 0\nmainw 1024\nmainh 768'
readonly PLAY_CLIENT=1012x628
readonly PLAY_VIEW_HEIGHT=628

# The route: one step a line (see the file's own comments).
PLAY_ROUTE=$(grep -v '^#' "$(dirname "$0")/route.txt")
readonly PLAY_ROUTE

# The page shown, its window, and where its page area's top left stands on
# the screen.
PLAY_PAGE=""
PLAY_ID=""
PLAY_X=0
PLAY_Y=0
PLAY_WORLD=""

# The save file's time of change, to the nanosecond.
save_stamp() { stat -c %.9Y "$SAVE_FILE" 2>/dev/null; }

# Whether the save file changed since stamp $1.
saved_since() { [ "$(save_stamp)" != "$1" ]; }

# Waits until the browser shows page $1 and has saved since stamp $2 (every
# page open ends with a save).
wait_page() {
    local title
    title=$(page_title "$1")
    wait_until 60 window_titled "$PLAY_ID" "$title" || {
        fail "$1 did not open ($title); the window shows $(xdotool getwindowname "$PLAY_ID")"
        return 1
    }
    wait_until 60 saved_since "$2" || { fail "$1 opened but the game did not save"; return 1; }
    PLAY_PAGE=$1
}

# Clicks the middle of the link to, or the button named, $1 on the page shown.
click_on_page() {
    local x y w h
    read -r x y w h <<<"$(page_box "$PLAY_PAGE" "$1")"
    [ -n "$h" ] || { fail "$PLAY_PAGE has no link or button $1"; return 1; }
    [ $((y + h)) -le "$PLAY_VIEW_HEIGHT" ] || { fail "$1 lies below the view on $PLAY_PAGE"; return 1; }
    xdotool mousemove $((PLAY_X + x + w / 2)) $((PLAY_Y + y + h / 2)) click 1
}

# The scenario text $1 of the world: how many of its lines are typed and
# wait for a click (used lines start with a lead byte; "□" marks pictures
# and passwords, "［" labels).
typed_lines() {
    "$VELARC" extract "$PLAY_WORLD/Text.arc" "$1" 2>/dev/null | tr '\r' '\n' |
        LC_ALL=C grep -a $'^[\x81-\x9f\xe0-\xfc]' | LC_ALL=C grep -a -v -e $'\x81\xa0' -e $'\x81\x6d' |
        wc -l
}

# A checksum of the inside of message window $1 (its frame left out).
canvas_pixels() {
    local x y w h
    read -r x y w h <<<"$(window_inside "$1" dialog)"
    [ -n "$h" ] || return 1
    import -window root -crop "$((w - 8))x$((h - 8))+$((x + 4))+$((y + 4))" rgb:- 2>/dev/null | md5sum
}

# The checksum canvas_pixels gives for message window $1 when it shows
# nothing but white.
blank_canvas() {
    local x y w h
    read -r x y w h <<<"$(window_inside "$1" dialog)"
    head -c $(((w - 8) * (h - 8) * 3)) /dev/zero | tr '\0' '\377' | md5sum
}

# Plays message window $1 on: each typed line, once it stands still, is
# clicked away, until SCENE_LINES reaches $2, the window is gone or a
# password prompt shows.
click_through_lines() {
    local id=$1 deadline=$((SECONDS + 90)) last="" before="" now blank
    blank=$(blank_canvas "$id")
    while [ "$SECONDS" -lt "$deadline" ] && [ "$SCENE_LINES" -lt "$2" ]; do
        window_gone "$id" && return 0
        window_shown "$PASSWORD_TITLE" && return 0
        now=$(canvas_pixels "$id")
        # A line typed to its end stands still (its end mark blinks, but
        # slowly). The canvas is blank while the first picture fades in,
        # and the line clicked away stays until the next one is typed.
        if [ -n "$now" ] && [ "$now" = "$before" ] && [ "$now" != "$last" ] &&
            [ "$now" != "$blank" ] && ! window_shown "$PASSWORD_TITLE"; then
            click_window "$id"
            SCENE_LINES=$((SCENE_LINES + 1))
            last=$now
        fi
        before=$now
        sleep 0.1
    done
    [ "$SCENE_LINES" -ge "$2" ] && return 0
    fail "the scene never went on after $SCENE_LINES lines"
    return 1
}

# Answers the password prompt with $1; with $2 = wrong, expects a refusal
# and the prompt to stay.
answer_prompt() {
    local prompt box
    prompt=$(wait_window "^$PASSWORD_TITLE\$" 30) || { fail "no password prompt"; return 1; }
    send_keys "$prompt" End shift+Home BackSpace
    xdotool type --delay 50 "$1"
    xdotool key Return
    box=$(wait_message_box 30) || { fail "no answer to the password $1"; return 1; }
    send_keys "$box" Return
    wait_window_gone "$box" 30 || { fail "the answer to $1 stays"; return 1; }
    if [ "${2:-}" = wrong ]; then
        window_shown "$PASSWORD_TITLE" || { fail "the wrong password $1 closed the prompt"; return 1; }
    else
        wait_window_gone "$prompt" 30 || { fail "the password $1 was not taken"; return 1; }
    fi
}

# Clicks the scene link $1 on the page shown and plays its scene, text $2,
# with the passwords $3... (all but the last wrong): the picture fades in
# from white, each typed line is clicked once, and after the last the
# picture fades back to white and the window closes.
play_scene() {
    local target=$1 text=$2 message mean white=0 expected deadline
    shift 2
    expected=$(typed_lines "$text")
    [ "$expected" -gt 0 ] || { fail "$text has no typed lines"; return 1; }
    click_on_page "$target" || return 1
    message=$(wait_window "^$MESSAGE_TITLE\$" 30) || { fail "$target opened no message window"; return 1; }
    wait_until 30 picture_darker_than "$message" 0.9 || { fail "$text: no picture faded in"; return 1; }
    [ -n "${SCENE_SHOT:-}" ] && screenshot "$current_test-$SCENE_SHOT"
    SCENE_LINES=0
    while [ $# -gt 0 ]; do
        click_through_lines "$message" "$expected" || return 1
        window_shown "$PASSWORD_TITLE" || { fail "$text: no password prompt"; return 1; }
        if [ $# -gt 1 ]; then
            answer_prompt "$1" wrong || return 1
        else
            answer_prompt "$1" || return 1
        fi
        shift
    done
    # White stands for only 300 ms before the window closes: a watcher that
    # reads the picture as fast as the screen gives it sees it on a busy
    # machine too.
    local x y w h watcher=""
    read -r x y w h <<<"$(window_inside "$message" dialog)"
    if [ -n "$h" ] && [ -x "$SCREENWATCH" ]; then
        "$SCREENWATCH" $((x + w / 2 - 100)) $((y - 300)) 200 200 0.97 1.01 "$E2E_DIR/white.ppm" 120 &
        watcher=$!
    fi
    click_through_lines "$message" "$expected" || {
        [ -n "$watcher" ] && kill "$watcher"
        return 1
    }
    deadline=$((SECONDS + 30))
    while true; do
        # The watcher counts only while the window still stands: behind it
        # may be a white page.
        if [ -n "$watcher" ] && ! kill -0 "$watcher" 2>/dev/null; then
            wait "$watcher" && white=1
            watcher=""
        fi
        window_gone "$message" && break
        [ "$SECONDS" -lt "$deadline" ] || { fail "$text: still open after $expected lines"; return 1; }
        mean=$(picture_mean "$message" 2>/dev/null) && ! below "$mean" 0.97 && white=1
    done
    if [ -n "$watcher" ]; then
        kill "$watcher" 2>/dev/null
        wait "$watcher" 2>/dev/null
    fi
    [ "$white" -eq 1 ] || fail "$text: the picture did not fade to white at the end"
    [ "$(xdotool getwindowname "$PLAY_ID")" = "$(page_title "$PLAY_PAGE")" ] ||
        fail "$text: the scene left $PLAY_PAGE"
}

# Whether the picture above message window $1 is darker than $2 on average.
picture_darker_than() {
    local mean
    mean=$(picture_mean "$1") && below "$mean" "$2"
}

# Checks chapter $1: the save file's stage, password flags ($2) and the
# company's page ($3), read with velarc; every note has been read; a
# screenshot shows where the chapter ends.
check_chapter() {
    local state expected line
    wait_until 30 stage_is "$1" || fail "chapter $1: the save file holds stage $(save_field disclosureStage)"
    state=$("$VELARC" save "$SAVE_FILE") || fail "chapter $1: velarc finds the save file damaged"
    expected="disclosureStage: $1"$'\n'"passwordSolved: $2"$'\n'"umakerPage: $3"$'\n'"messageWait: 0"
    if [ "$1" -ge 1 ]; then
        expected+=$'\n'"notesRead: 111111111111111"$'\n'"pluginMissing: 0"
    else
        expected+=$'\n'"notesRead: 000000000000000"$'\n'"pluginMissing: 1"
    fi
    while read -r line; do
        grep -qxF "$line" <<<"$state" || fail "chapter $1: the save file lacks \"$line\""
    done <<<"$expected"
    screenshot "$current_test-chapter-$(printf %02d "$1")"
    # The web edition goes on from these (tests/e2e/crossplay.sh).
    mkdir -p "$E2E_DIR/saves" && cp "$SAVE_FILE" "$E2E_DIR/saves/chapter-$(printf %02d "$1").dat"
}

# A field of the save file as velarc shows it.
save_field() { "$VELARC" save "$SAVE_FILE" 2>/dev/null | sed -n "s/^$1: //p"; }
stage_is() { [ "$(save_field disclosureStage)" = "$1" ]; }

# Starts the game in PLAY_WORLD and goes past the title screen (a screenshot
# named $1 when given) to the home page.
enter_play() {
    local stamp title
    stamp=$(save_stamp)
    start_game "$PLAY_WORLD"
    title=$(wait_title) || { fail "no title screen"; return 1; }
    [ -n "${1:-}" ] && screenshot "$current_test-$1"
    send_keys "$title" Return
    PLAY_ID=$(wait_window 'Brivane$') || { fail "no browser window"; return 1; }
    wait_page otop.htm "$stamp"
}

# Plays one step of the route.
play_step() {
    local verb=$1 stamp dialog save box out x y w h
    shift
    stamp=$(save_stamp)
    case $verb in
    follow)
        click_on_page "$1" && wait_page "${2:-$1}" "$stamp"
        ;;
    home)
        xdotool mousemove "$PLAY_HOME_X" "$PLAY_HOME_Y" click 1
        wait_page otop.htm "$stamp"
        ;;
    back)
        xdotool mousemove $((PLAY_HOME_X - 104)) "$PLAY_HOME_Y" click 1
        wait_page "$1" "$stamp"
        ;;
    type)
        type_address "$PLAY_ID" "$1"
        wait_page "$2" "$stamp"
        ;;
    search)
        read -r x y w h <<<"$(page_box "$PLAY_PAGE" keyword)"
        xdotool mousemove $((PLAY_X + x + 20)) $((PLAY_Y + y + h / 2)) click 1
        xdotool type --delay 50 "$1"
        xdotool key Return
        # The results: the portal has been visited, the first result not yet.
        out=$(wait_link 0000FF "$PLAY_ID") || { fail "no search results for $1"; return 1; }
        screenshot "$current_test-search"
        read -r x y <<<"$out"
        xdotool mousemove "$x" "$y" click 1
        wait_page "$2" "$stamp"
        ;;
    note)
        play_scene "suga$1.htm" "suga$1.txt"
        ;;
    record)
        SCENE_SHOT="record-$1" play_scene "tou${1}00.htm" "tous$1.txt" "${@:2}"
        ;;
    submit)
        click_on_page "tou${1}01.htm" && answer_prompt "$2" && wait_page "tou${1}01.htm" "$stamp"
        ;;
    download)
        out=$E2E_DIR/$current_test-saved
        rm -rf "$out" && mkdir -p "$out"
        click_on_page "$1" || return 1
        dialog=$(wait_window '^ファイルのダウンロード$' 30) || { fail "no download dialog"; return 1; }
        send_keys "$dialog" Return
        save=$(wait_window '保存' 30) || { fail "no save dialog"; return 1; }
        screenshot "$current_test-save-dialog"
        send_keys "$save" ctrl+a
        xdotool type --delay 5 "Z:${out//\//\\}\\$2"
        xdotool key Return
        box=$(wait_window '^Brivane$' 30) || { fail "no message that the download is done"; return 1; }
        send_keys "$box" Return
        wait_window_gone "$dialog" 30 || fail "the download dialog stayed"
        "$VELARC" extract "$PLAY_WORLD/ex.arc" "$2" "$out/expected" &&
            cmp -s "$out/expected" "$out/$2" || fail "the saved $2 differs from the archive's"
        ;;
    plugin)
        click_on_page plugin || return 1
        dialog=$(wait_window '^プラグインセットアップ$' 30) || { fail "no set-up dialog"; return 1; }
        send_keys "$dialog" Return
        box=$(wait_message_box 30) || { fail "no message after the set-up"; return 1; }
        send_keys "$box" Return
        wait_window_gone "$dialog" 30 || fail "the set-up dialog stayed"
        wait_until 30 plugin_saved_installed || fail "the plug-in was not saved as installed"
        ;;
    favourite)
        if [ "$1" = add ]; then
            add_favourite "$PLAY_ID" 1 || fail "the favourite was not added"
        else
            send_keys "$PLAY_ID" alt+a
            wait_until 30 menu_open "$PLAY_ID" || { fail "the favourites menu did not open"; return 1; }
            # Past the two fixed items (the separator is skipped) to the favourite.
            xdotool key Down Down Return
            wait_page "$2" "$stamp"
        fi
        ;;
    restart)
        close_and_expect_clean_exit "$PLAY_ID"
        [ "$test_ok" -eq 1 ] || return 1
        enter_play || return 1
        [ "$(window_origin "$PLAY_ID")" = "$PLAY_ORIGIN" ] || { fail "the window moved"; return 1; }
        ;;
    chapter)
        check_chapter "$@"
        ;;
    *)
        fail "no such step: $verb"
        ;;
    esac
}

# Starts the game on the save file in a window the size of the screen, past
# the title (a screenshot named $1 when given), and finds where the page area
# and the Home button stand.
begin_play() {
    local key='HKCU\Software\Korvex\Ｖｅｌｍｏｒａ\settings' name value found x y w h
    while read -r name value; do
        wine reg add "$key" /v "$name" /t REG_DWORD /d "$value" /f >/dev/null 2>&1
    done <<<"$PLAY_WINDOW"
    enter_play "${1:-}" || return 1
    PLAY_ORIGIN=$(window_origin "$PLAY_ID")
    # Where the page area stands, from the home page's first link, in its
    # visited colour when the save has been there: find_link answers 10
    # pixels right of its left end, 7 below its top.
    local colour=0000FF
    "$VELARC" save "$SAVE_FILE" 2>/dev/null | grep -qx 'visited\[[0-9]*\]: onews.htm' && colour=500050
    found=$(wait_link "$colour" "$PLAY_ID") || { fail "no link on the home page"; return 1; }
    read -r x y w h <<<"$(page_box otop.htm onews.htm)"
    read -r PLAY_X PLAY_Y <<<"$found"
    PLAY_X=$((PLAY_X - x - 10))
    PLAY_Y=$((PLAY_Y - y - 7))
    read -r PLAY_HOME_X PLAY_HOME_Y <<<"$(wait_for_output 30 home_button "$PLAY_ID")"
    [ -n "$PLAY_HOME_X" ] || { fail "no Home button"; return 1; }
}

plays_the_demo_world_from_a_new_game_to_its_ending() {
    local step steps at
    local started=$SECONDS
    PLAY_WORLD=$(make_world)
    LAYOUT_CLIENT=$PLAY_CLIENT
    # A new game with the text wait off (the save file's first byte), so
    # that the scenes type their lines at once.
    forget_saved_game
    rm -rf "$E2E_DIR/saves"
    "$VELPLAY" "$PLAY_WORLD" --save "$SAVE_FILE" </dev/null || { fail "velplay made no save file"; return; }
    printf '\0' | dd of="$SAVE_FILE" bs=1 count=1 conv=notrunc status=none
    begin_play title || return

    mapfile -t steps < <(grep . <<<"$PLAY_ROUTE")
    for step in "${steps[@]}"; do
        at=$SECONDS
        # shellcheck disable=SC2086
        play_step $step
        [ $((SECONDS - at)) -lt 10 ] || echo "slow step ($((SECONDS - at)) s): $step"
        if [ "$test_ok" -ne 1 ]; then
            screenshot "$current_test-failed"
            fail "at: $step"
            return
        fi
    done
    wait_until 30 window_titled "$PLAY_ID" "$(page_title killerd.htm)" || fail "no killerd.htm"
    [ "$(save_field killerCounter)" = 3 ] || fail "killerCounter is $(save_field killerCounter)"
    screenshot "$current_test-ending"
    close_and_expect_clean_exit "$PLAY_ID"
    echo "played through in $((SECONDS - started)) s"
}
