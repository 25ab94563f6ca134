# End-to-end test of the download's save dialog given a name longer than a
# path can hold. Sourced by run.sh after keepsakes.sh, whose helpers it uses.

# A file name of $1 characters: the alphabet over and over.
long_file_name() {
    local name=""
    while [ "${#name}" -lt "$1" ]; do
        name+=abcdefghijklmnopqrstuvwxyz
    done
    echo "${name:0:$1}"
}

# Prints "ended" once the game has ended, else the id of a message box
# shown: the browser's (the download done) or the game's (it failed).
download_outcome() {
    kill -0 "$GAME_PID" 2>/dev/null || { echo ended; return; }
    xdotool search --onlyvisible --name '^Brivane$' 2>/dev/null
    app_windows -
}

saves_a_wallpaper_under_a_name_too_long_for_a_path_and_plays_on() {
    local world windows typed kept dialog save box
    world=$(make_world)
    windows=$WINEPREFIX/drive_c/windows
    typed=$(long_file_name 300)
    # The dialog opens in C:\windows; with it, its separator and the
    # terminating zero, a path of 260 characters holds 248 of the name.
    kept=${typed:0:248}
    rm -f "$windows/$kept"
    open_tall_game_at "$world" kankou.htm || { fail "no browser window"; return; }
    wait_title_change "$BROWSER_ID" "Brivane" >/dev/null || { fail "the page has no title"; return; }
    click_long_link 200 || { fail "no wallpaper link on kankou.htm"; return; }
    dialog=$(wait_window '^ファイルのダウンロード$' 30) || { fail "no download dialog"; return; }
    send_keys "$dialog" Return
    save=$(wait_window '保存' 30) || { fail "no save dialog"; return; }
    send_keys "$save" ctrl+a
    xdotool type --delay 5 "$typed"
    screenshot "$current_test-typed"
    xdotool key Return
    box=$(wait_for_output 60 download_outcome) || { fail "no message after Enter"; return; }
    [ "$box" != ended ] || { fail "the game ended after Enter"; return; }
    screenshot "$current_test-told"
    [ "$(xdotool getwindowname "$box")" = Brivane ] || fail "the download was told as failed"
    send_keys "$box" Return
    wait_window_gone "$dialog" 30 || fail "the download dialog stayed"
    "$VELARC" extract "$world/ex.arc" wall02.bmp "$E2E_DIR/$current_test-expected.bmp" ||
        { fail "no wall02.bmp"; return; }
    if [ -f "$windows/$kept" ]; then
        cmp -s "$E2E_DIR/$current_test-expected.bmp" "$windows/$kept" ||
            fail "the saved file differs from the archive's"
        rm -f "$windows/$kept"
    else
        fail "no file of the name's first 248 characters in C:\\windows:" \
            "$(cd "$windows" && ls -d abcdefghij* 2>/dev/null | awk '{ print length($0) }')"
        rm -f "$windows"/abcdefghijklmnopqrstuvwxyz*
    fi
    close_and_expect_clean_exit "$BROWSER_ID"
}
