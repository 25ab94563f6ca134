# End-to-end tests of the browser's furniture: the address bar, the tool
# buttons and the title screen's show. Sourced by run.sh.

# The colour of the screen's pixel at $1 $2, as RRGGBB.
screen_pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# The distinct colours (RRGGBB) of the screen rectangle $3 x $4 at $1 $2.
screen_colours() {
    import -window root -crop "$3x$4+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | sort -u
}

# Waits until the screen's pixel at $1 $2 is $3 (RRGGBB), for up to $4 seconds.
wait_pixel() {
    local deadline=$((SECONDS + $4))
    while [ "$SECONDS" -lt "$deadline" ]; do
        [ "$(screen_pixel "$1" "$2")" = "$3" ] && return 0
        sleep 0.05
    done
    return 1
}

# Runs command $2... until it succeeds, for up to $1 seconds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# Whether the save file counts $1 visited pages.
visited_count_is() { [ "$(save_file_number 848)" = "$1" ]; }

# Clicks into the address box of browser window $1 (under the menu), types $2
# over its text and presses Enter.
type_address() {
    local left top
    read -r left top _ <<<"$(window_inside "$1")"
    xdotool mousemove $((left + 300)) $((top + 31)) click 1
    xdotool key End shift+Home
    xdotool type --delay 5 "$2"
    xdotool key Return
}

# The screen position "X Y" of the Home button's house in browser window $1:
# the leftmost pixel of its roof colour in the tool-button bar. The Back and
# Forward buttons stand 104 and 52 pixels to its left. The bar may paint a
# moment after the page's title is set, so callers wait for it.
home_button() {
    local left top
    read -r left top _ <<<"$(window_inside "$1")"
    import -window root -crop "400x60+$left+$((top + 40))" -depth 8 txt:- 2>/dev/null |
        grep -i '#A4553C' | awk -F'[,:]' -v dx="$left" -v dy="$((top + 40))" '
            NR == 1 || $1 < x { x = $1; y = $2 } END { if (x != "") print x + dx, y + dy }'
}

# Whether the button whose glyph has its roof-level point at $1 $2 shows its
# enabled face: its arrow is teal (4A8A8C), greys when disabled.
button_enabled() {
    screen_colours $(($1 - 12)) $(($2 - 8)) 30 30 | grep -qi '^4A8A8C$'
}

# A title picture's colour at $2 $3, as RRGGBB; $1 is the picture's name.
picture_pixel() {
    convert "$TITLE_PICTURES/$1.bmp" -crop "1x1+$2+$3" txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# Where pictures $1 and $2 differ most within rows $3 to $4: "X Y".
most_different_point() {
    convert "$TITLE_PICTURES/$1.bmp" "$TITLE_PICTURES/$2.bmp" -compose difference -composite \
        -crop "640x$(($4 - $3))+0+$3" +repage -colorspace gray txt:- 2>/dev/null |
        awk -F'[,: ()]+' -v top="$3" 'NR > 1 { v = $(NF - 1) + 0; if (v > best) { best = v; x = $1; y = $2 } }
            END { print x, y + top }'
}

types_addresses_and_sees_the_fetch_and_the_page() {
    local world id home name colours deadline seen=0 box
    world=$(make_world)
    forget_saved_game
    start_game "$world"
    id=$(enter_game) || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }

    # An address the world does not know: the fetch runs on the progress
    # control, part filled, then the message comes.
    type_address "$id" "http://nowhere.kirimi.net/"
    read -r left top width height <<<"$(window_inside "$id")"
    deadline=$((SECONDS + 30))
    while [ "$SECONDS" -lt "$deadline" ] && [ -z "$(app_windows -)" ]; do
        colours=$(screen_colours "$left" $((top + height - 16)) "$width" 12)
        if grep -qi '^3096FA$' <<<"$colours" && grep -qi '^FFFFFF$' <<<"$colours"; then
            seen=1
            screenshot "$current_test-fetch"
            break
        fi
    done
    [ "$seen" -eq 1 ] || fail "no fetch seen on the progress control"
    box=$(wait_message_box 30) || { fail "no message for an unknown address"; return; }
    screenshot "$current_test-refused"
    send_keys "$box" Return
    wait_window_gone "$box" 30 || fail "the message stayed"
    [ "$(xdotool getwindowname "$id")" = "$home" ] || fail "the refusal left the home page"

    # The reading room: a page the address bar opens.
    type_address "$id" "http://www.kirimi.net/~touko/archive/room.htm"
    name=$(wait_title_change "$id" "$home") || { fail "the typed address opened no page"; return; }
    # The page is done when the game has saved it as visited.
    wait_until 30 visited_count_is 2 || fail "the page was not saved as visited"
    screenshot "$current_test-page"
    [ -z "$(app_windows -)" ] || fail "a message box appeared"
    close_and_expect_clean_exit "$id"
}

back_and_forward_buttons_follow_the_history() {
    local world id home page found x y hx hy left top
    world=$(make_world)
    forget_saved_game
    start_game "$world"
    id=$(enter_game) || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }
    read -r hx hy <<<"$(wait_for_output 30 home_button "$id")"
    [ -n "$hx" ] || { fail "no Home button"; return; }
    button_enabled $((hx - 104)) "$hy" && fail "Back is enabled on the first page"

    found=$(find_link 0000FF "$id") || { fail "no link on the home page"; return; }
    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    page=$(wait_title_change "$id" "$home") || { fail "the link opened no page"; return; }
    wait_until 20 button_enabled $((hx - 104)) "$hy" || fail "Back is not enabled after a link"
    button_enabled $((hx - 52)) "$hy" && fail "Forward is enabled with nothing ahead"
    screenshot "$current_test-after-one-click"

    xdotool mousemove $((hx - 104)) "$hy" click 1
    wait_title_change "$id" "$page" >/dev/null || { fail "Back did not go back"; return; }
    [ "$(xdotool getwindowname "$id")" = "$home" ] || fail "Back did not show the home page"
    wait_until 20 button_enabled $((hx - 52)) "$hy" || fail "Forward is not enabled after Back"
    xdotool mousemove $((hx - 52)) "$hy" click 1
    wait_title_change "$id" "$home" >/dev/null || { fail "Forward did not go forward"; return; }
    [ "$(xdotool getwindowname "$id")" = "$page" ] || fail "Forward did not show the page again"

    # The keyboard's Back works after a click into the address box and one on the page.
    read -r left top _ <<<"$(window_inside "$id")"
    xdotool mousemove $((left + 300)) $((top + 31)) click 1
    xdotool mousemove $((left + 700)) $((top + 500)) click 1
    send_keys "$id" alt+Left
    wait_title_change "$id" "$page" >/dev/null || fail "Alt+Left did nothing after the address box"
    close_and_expect_clean_exit "$id"
}

the_title_show_reaches_its_first_strip_fade() {
    local world title left top width height ox oy ax ay bx by
    world=$(make_world)
    TITLE_PICTURES=$E2E_DIR/$current_test-pictures
    mkdir -p "$TITLE_PICTURES"
    for name in title dm00 dm00a; do
        "$VELARC" extract "$world/cg.arc" "$name.bmp" "$TITLE_PICTURES/$name.bmp" ||
            { fail "no $name.bmp in cg.arc"; return; }
    done
    # A point above the strip where the first fade changes most, and one in
    # the strip where the first strip fade does.
    read -r ax ay <<<"$(most_different_point title dm00 0 400)"
    read -r bx by <<<"$(most_different_point dm00 dm00a 400 480)"

    start_game "$world"
    title=$(wait_title) || { fail "no title screen"; return; }
    read -r left top <<<"$(window_origin "$title")"
    read -r width height <<<"$(window_size "$title")"
    ox=$((left + (width - 640) / 2))
    oy=$((top + (height - 480) / 2))
    wait_pixel $((ox + ax)) $((oy + ay)) "$(picture_pixel title "$ax" "$ay")" 20 ||
        { fail "the still title is not shown"; return; }
    screenshot "$current_test-still"
    wait_pixel $((ox + ax)) $((oy + ay)) "$(picture_pixel dm00 "$ax" "$ay")" 40 ||
        { fail "the first fade never reached dm00"; return; }
    screenshot "$current_test-dm00"
    wait_pixel $((ox + bx)) $((oy + by)) "$(picture_pixel dm00a "$bx" "$by")" 20 ||
        { fail "the first strip fade never reached dm00a"; return; }
    screenshot "$current_test-dm00a"
    [ "$(screen_pixel $((ox + ax)) $((oy + ay)))" = "$(picture_pixel dm00a "$ax" "$ay")" ] ||
        fail "the strip fade changed more than the strip"
    send_keys "$title" Escape
    wait_exit || fail "still running after Escape"
}
