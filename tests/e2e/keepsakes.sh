# End-to-end tests of what the player keeps: a wallpaper saved with the
# system's save dialog, the plug-in, and favourites across a restart.
# Sourced by run.sh.

readonly SAVE_PLUGIN_MISSING_AT=4
readonly SAVE_FAVOURITE_COUNT_AT=840

# Prints "X Y" of the start and row of the first horizontal run of at least
# $2 pixels of colour $1 (RRGGBB) on the screen: a link's underline, found by
# its length.
find_run() {
    import -window root -depth 8 txt:- 2>/dev/null | grep -i "#$1" | awk -F'[,:]' -v n="$2" '
        $2 == y && $1 == x + 1 { run++ } $2 != y || $1 != x + 1 { run = 1; start = $1 }
        { x = $1; y = $2 }
        run == n { print start, y; exit }'
}

# Clicks the link whose underline is the first run of at least $1 blue pixels.
click_long_link() {
    local found x y
    found=$(wait_for_output 30 find_run 0000FF "$1") || return 1
    read -r x y <<<"$found"
    xdotool mousemove $((x + 20)) $((y - 5)) click 1
}

# A byte of the save file at offset $1.
save_file_byte() {
    od -An -tu1 -j "$1" -N1 "$SAVE_FILE" 2>/dev/null | tr -d ' '
}

# Like open_game_at, but the browser window stands at the top left, 1000 x
# 760, so that a long page shows to its end.
open_tall_game_at() {
    local world=$1 key='HKCU\Software\Korvex\Ｖｅｌｍｏｒａ\settings' name value
    open_game_at "$world" "$2" || return 1
    stop_game
    while read -r name value; do
        wine reg add "$key" /v "$name" /t REG_DWORD /d "$value" /f >/dev/null 2>&1
    done <<<$'mainx 0\nmainy 0\nmainw 1000\nmainh 760'
    start_game "$world"
    BROWSER_ID=$(enter_game)
}

# Whether the save file holds the plug-in as installed.
plugin_saved_installed() { [ "$(save_file_byte $SAVE_PLUGIN_MISSING_AT)" = 0 ]; }

# Whether window $1 is titled $2.
window_titled() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ]; }

saves_a_wallpaper_where_the_player_types_it() {
    local world out dialog save box
    world=$(make_world)
    out=$E2E_DIR/$current_test-saved
    # Empty, so that the save dialog never asks to replace a file of an earlier run.
    rm -rf "$out" && mkdir -p "$out"
    open_tall_game_at "$world" kankou.htm || { fail "no browser window"; return; }
    wait_title_change "$BROWSER_ID" "Brivane" >/dev/null || { fail "the page has no title"; return; }
    click_long_link 200 || { fail "no wallpaper link on kankou.htm"; return; }
    dialog=$(wait_window '^ファイルのダウンロード$' 30) || { fail "no download dialog"; return; }
    screenshot "$current_test-dialog"
    send_keys "$dialog" Return
    # The system's save dialog, owned by the download dialog: the name is typed over.
    save=$(wait_window '保存' 30) || { fail "no save dialog"; return; }
    screenshot "$current_test-save-dialog"
    send_keys "$save" ctrl+a
    xdotool type --delay 5 "Z:${out//\//\\}\\wall02.bmp"
    xdotool key Return
    box=$(wait_window '^Brivane$' 30) || { fail "no message that the download is done"; return; }
    screenshot "$current_test-done"
    send_keys "$box" Return
    wait_window_gone "$dialog" 30 || fail "the download dialog stayed"
    "$VELARC" extract "$world/ex.arc" wall02.bmp "$out/expected.bmp" || { fail "no wall02.bmp"; return; }
    cmp -s "$out/expected.bmp" "$out/wall02.bmp" || fail "the saved file differs from the archive's"
    [ "$(ls "$out" | wc -l)" -eq 2 ] || fail "files left beside the download: $(ls "$out")"
    close_and_expect_clean_exit "$BROWSER_ID"
}

installs_the_plugin_with_its_progress() {
    local world dialog left top seen=0 deadline box
    world=$(make_world)
    open_game_at "$world" kyouplug.htm || { fail "no browser window"; return; }
    wait_title_change "$BROWSER_ID" "Brivane" >/dev/null || { fail "the page has no title"; return; }
    click_long_link 150 || { fail "no plug-in link on kyouplug.htm"; return; }
    dialog=$(wait_window '^プラグインセットアップ$' 30) || { fail "no set-up dialog"; return; }
    send_keys "$dialog" Return
    # Part way: the bar has some of its fill colour, and no message yet.
    read -r left top <<<"$(window_origin "$dialog")"
    deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ] && [ -z "$(app_windows -)" ]; do
        if screen_colours "$left" "$top" 400 160 | grep -qi '^3096FA$'; then
            seen=1
            screenshot "$current_test-progress"
            break
        fi
    done
    [ "$seen" -eq 1 ] || fail "no progress seen"
    box=$(wait_message_box 30) || { fail "no message after the set-up"; return; }
    screenshot "$current_test-installed"
    send_keys "$box" Return
    wait_window_gone "$dialog" 30 || fail "the set-up dialog stayed"
    wait_until 30 plugin_saved_installed || fail "the plug-in was not saved as installed"
    close_and_expect_clean_exit "$BROWSER_ID"
}

# Whether the save file counts $1 favourites.
favourite_count_is() { [ "$(save_file_number $SAVE_FAVOURITE_COUNT_AT)" = "$1" ]; }

# Adds the page shown in browser window $1 to the favourites with the menu
# (お気に入り → お気に入りに追加 → はい); the save file then counts $2.
add_favourite() {
    local dialog
    send_keys "$1" alt+a
    xdotool key a
    dialog=$(wait_window '^お気に入りに追加$' 30) || return 1
    send_keys "$dialog" Return
    wait_until 30 favourite_count_is "$2"
}

# Whether the open menu of browser window $1 shows its highlighted item just
# under the menu bar.
menu_open() {
    local left top
    read -r left top _ <<<"$(window_inside "$1")"
    screen_colours "$left" $((top + 24)) 600 20 | grep -qi '^3096FA$'
}

# Whether no shown window matches $1.
no_window() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }

adds_favourites_and_opens_one_from_the_menu_after_a_restart() {
    local world id home page found x y hx hy window
    world=$(make_world)
    forget_saved_game
    start_game "$world"
    id=$(enter_game) || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }
    add_favourite "$id" 1 || { fail "the home page was not added"; return; }
    found=$(find_link 0000FF "$id") || { fail "no link on the home page"; return; }
    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    page=$(wait_title_change "$id" "$home") || { fail "the link opened no page"; return; }
    add_favourite "$id" 2 || { fail "the page was not added"; return; }

    # The tool button shows the favourites window; Escape hides it.
    read -r hx hy <<<"$(wait_for_output 30 home_button "$id")"
    [ -n "$hx" ] || { fail "no Home button"; return; }
    xdotool mousemove $((hx + 114)) "$hy" click 1
    window=$(wait_window '^お気に入り$' 30) || { fail "no favourites window"; return; }
    screenshot "$current_test-window"
    send_keys "$window" Escape
    wait_until 30 no_window '^お気に入り$' || fail "Escape left the favourites window shown"
    close_and_expect_clean_exit "$id"

    start_game "$world"
    id=$(enter_game) || { fail "no browser window after the restart"; return; }
    wait_title_change "$id" "Brivane" >/dev/null || { fail "no home page after the restart"; return; }
    send_keys "$id" alt+a
    wait_until 30 menu_open "$id" || { fail "the favourites menu did not open"; return; }
    screenshot "$current_test-menu"
    # Past the two fixed items (the separator is skipped) to the second favourite.
    xdotool key Down Down Down Return
    wait_until 30 window_titled "$id" "$page" || fail "the favourite did not open $page"
    close_and_expect_clean_exit "$id"
}
