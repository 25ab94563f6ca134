# End-to-end test of the game under a system language other than Japanese:
# its text is code page 932 converted at the Win32 boundary, so an English
# system must show the same pages, titles, scene text and favourites as a
# Japanese one. Sourced by run.sh.

# Where both rounds leave their screenshots, side by side.
LOCALE_SHOTS=$BUILD_DIR/test-logs/locale

# The address of page $2 in world $1, from its page table.
page_address() {
    "$VELARC" pages "$1" 2>/dev/null | awk -F'\t' -v file="$2" '$2 == file { print $3; exit }'
}

# A checksum of the screen rectangle $3 x $4 at $1 $2.
area_pixels() {
    import -window root -crop "$3x$4+$1+$2" rgb:- 2>/dev/null | md5sum
}

# Saves the screen rectangle $3 x $4 at $1 $2 as $5 once it has stopped
# changing (a page paints its pictures and form controls after its title).
save_settled_area() {
    local deadline=$((SECONDS + 30)) before now
    before=$(area_pixels "$1" "$2" "$3" "$4")
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.5
        now=$(area_pixels "$1" "$2" "$3" "$4")
        if [ "$now" = "$before" ]; then
            import -window root -crop "$3x$4+$1+$2" +repage "$5" 2>/dev/null
            return 0
        fi
        before=$now
    done
    return 1
}

# The characters the message window typed, from font trace $1 of the game:
# the window draws each on its own (one character and no spacing array), and
# all are double-byte ones (the trace escapes them as \XXXX), while page text
# goes out in runs, labels whole and the caption buttons as ASCII letters;
# the end-of-line mark and the space that wipes it as it blinks are left
# out. In UTF-8.
typed_characters() {
    local escaped
    escaped=$(sed -n 's/.*NtGdiExtTextOutW .*, L"\(\\[0-9a-f]\{4\}\)", 1, (nil)).*/\1/p' "$1" |
        grep -v -x -e '\\25bc' -e '\\3000' | tr -d '\n')
    printf '%b' "$(sed 's/\\\([0-9a-f]\{4\}\)/\\u\1/g' <<<"$escaped")"
}

# The first line scenario text $2 of world $1 types (see typed_lines), in UTF-8.
first_typed_line() {
    "$VELARC" extract "$1/Text.arc" "$2" 2>/dev/null | tr '\r' '\n' |
        LC_ALL=C grep -a $'^[\x81-\x9f\xe0-\xfc]' | LC_ALL=C grep -a -v -e $'\x81\xa0' -e $'\x81\x6d' |
        head -n 1 | iconv -f CP932 -t UTF-8
}

# Types the address of page $2 of world $1 into browser window $3, waits for
# a title other than $4 and for the page area to stand still (below the bars,
# whose address box blinks and whose throbber turns, as find_link looks);
# prints the title.
open_by_address() {
    local title left top width height
    type_address "$3" "$(page_address "$1" "$2")"
    title=$(wait_title_change "$3" "$4") || return 1
    read -r left top width height <<<"$(window_inside "$3")"
    save_settled_area "$left" $((top + 100)) "$width" $((height - 130)) /dev/null || return 1
    echo "$title"
}

# One round in the current locale and prefix: a new game on a fresh world,
# a favourite added to its home page from the menu, a page with a table, the
# home page again and the first line of a record's scene. Writes to
# directory $1 the page areas (table.png, home.png), the message window
# (scene.png), the window titles (titles.txt), the favourites as the save
# file holds them (favourites.txt), the characters the scene typed
# (scene.txt) and screenshots for the eye. Not to be called in a subshell
# (see wait_exit).
play_locale_round() {
    local out=$1 world title id home table archive found x y w h ox oy left top width height
    local message dialog deadline before now blank
    rm -rf "$out" && mkdir -p "$out"
    world=$(make_world)
    forget_saved_game
    (cd "$world" && WINEDEBUG=trace+font exec wine "$GAME_EXE" 2>"$out/font-trace.txt") &
    GAME_PID=$!

    title=$(wait_title 120) || { round_failed "$out" "no title screen"; return 1; }
    xdotool getwindowname "$title" >"$out/titles.txt"
    send_keys "$title" Return
    id=$(wait_window 'Brivane$') || { round_failed "$out" "no browser window"; return 1; }
    home=$(wait_title_change "$id" "Brivane") || { round_failed "$out" "the home page has no title"; return 1; }
    echo "$home" >>"$out/titles.txt"

    # お気に入り → お気に入りに追加 → はい, the menu open for a screenshot.
    send_keys "$id" alt+a
    wait_until 30 menu_open "$id" || { round_failed "$out" "the favourites menu did not open"; return 1; }
    import -window root "$out/menu.png"
    xdotool key a
    dialog=$(wait_window '^お気に入りに追加$' 30) || { round_failed "$out" "no dialog to add a favourite"; return 1; }
    xdotool getwindowname "$dialog" >>"$out/titles.txt"
    import -window root "$out/add-favourite.png"
    send_keys "$dialog" Return
    wait_until 30 favourite_count_is 1 || { round_failed "$out" "the favourite was not saved"; return 1; }
    "$VELARC" save "$SAVE_FILE" 2>/dev/null | grep '^favourite\[' >"$out/favourites.txt"

    table=$(open_by_address "$world" kyoudata.htm "$id" "$home") ||
        { round_failed "$out" "kyoudata.htm did not open"; return 1; }
    echo "$table" >>"$out/titles.txt"
    # Where the page area stands, from the page's first link, above any form
    # control: find_link answers 10 pixels right of its left end, 7 below its top.
    found=$(wait_link 0000FF "$id") || { round_failed "$out" "no link on kyoudata.htm"; return 1; }
    read -r x y w h <<<"$(page_box kyoudata.htm kyoumaker00.htm)"
    read -r ox oy <<<"$found"
    ox=$((ox - x - 10))
    oy=$((oy - y - 7))
    # The page area reaches to the window's edge, less a scroll bar, and
    # down to the status bar.
    read -r left top width height <<<"$(window_inside "$id")"
    width=$((left + width - 20 - ox))
    height=$((top + height - 44 - oy))
    save_settled_area "$ox" "$oy" "$width" "$height" "$out/table.png" ||
        { round_failed "$out" "the table page never stood still"; return 1; }

    open_by_address "$world" otop.htm "$id" "$table" >/dev/null ||
        { round_failed "$out" "the home page did not open again"; return 1; }
    save_settled_area "$ox" "$oy" "$width" "$height" "$out/home.png" ||
        { round_failed "$out" "the home page never stood still"; return 1; }

    # The first record's scene on the archive page, up to its first line.
    archive=$(open_by_address "$world" kiroku.htm "$id" "$home") ||
        { round_failed "$out" "kiroku.htm did not open"; return 1; }
    echo "$archive" >>"$out/titles.txt"
    read -r x y w h <<<"$(page_box kiroku.htm tou0000.htm)"
    xdotool mousemove $((ox + x + w / 2)) $((oy + y + h / 2)) click 1
    message=$(wait_window "^$MESSAGE_TITLE\$" 30) || { round_failed "$out" "no message window"; return 1; }
    xdotool getwindowname "$message" >>"$out/titles.txt"
    wait_until 30 picture_darker_than "$message" 0.9 || { round_failed "$out" "no picture faded in"; return 1; }
    # The line is out when the canvas, not blank, stands still.
    blank=$(blank_canvas "$message")
    before=""
    deadline=$((SECONDS + 30))
    while now=$(canvas_pixels "$message"); [ "$now" = "$blank" ] || [ "$now" != "$before" ]; do
        [ "$SECONDS" -lt "$deadline" ] || { round_failed "$out" "the first line was never typed"; return 1; }
        before=$now
        sleep 0.5
    done
    read -r x y w h <<<"$(window_inside "$message" dialog)"
    import -window root -crop "$((w - 8))x$((h - 8))+$((x + 4))+$((y + 4))" +repage "$out/scene.png"
    import -window root "$out/scene-screen.png"
    stop_game
    typed_characters "$out/font-trace.txt" >"$out/scene.txt"
    # The trace has served; it runs to tens of megabytes.
    rm -f "$out/font-trace.txt"
}

# Fails the test with reason $2 under the current locale, the screen saved
# in directory $1.
round_failed() {
    import -window root "$1/failed.png"
    fail "$LANG: $2"
}

# Compares page area pictures $1 and $2 over the rows above row $3 (all
# when not given) of the area they share; prints how many pixels differ and
# writes the difference to $4.
page_area_difference() {
    local w h w2 h2
    read -r w h <<<"$(identify -format '%w %h' "$1")"
    read -r w2 h2 <<<"$(identify -format '%w %h' "$2")"
    [ "$w2" -lt "$w" ] && w=$w2
    [ "$h2" -lt "$h" ] && h=$h2
    [ -n "${3:-}" ] && [ "$3" -lt "$h" ] && h=$3
    convert "$1" -crop "${w}x$h+0+0" +repage "$4.a.png"
    convert "$2" -crop "${w}x$h+0+0" +repage "$4.b.png"
    compare -metric AE "$4.a.png" "$4.b.png" "$4" 2>&1
    rm -f "$4.a.png" "$4.b.png"
}

# The same game under en_US.UTF-8, in a prefix made under it (a machine with
# an English system), and under ja_JP.UTF-8 in the project's prefix: the
# pages' areas agree pixel for pixel, and the window titles, the first line
# of a scene and the favourites' names agree.
#
# Two things are drawn by the system in its own faces: the caption of a
# form's button (the button's size is the program's and agrees), and the
# message window's lines, drawn in the Japanese system font. Wine realises
# that font as IPA Gothic or as IPA P Gothic from one start to the next even
# under Japanese, so the lines' characters are compared as drawn instead.
pages_titles_scenes_and_favourites_agree_under_english_and_japanese() {
    local ja=$LOCALE_SHOTS/ja en=$LOCALE_SHOTS/en prefix expected name diff
    if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
        fail "the en_US.UTF-8 locale is missing: uncomment it in /etc/locale.gen and run locale-gen"
        return
    fi
    play_locale_round "$ja" || return

    prefix=$E2E_DIR/$current_test-prefix
    rm -rf "$prefix"
    (
        . "$ROOT/scripts/wine-env.sh"
        export WINEPREFIX=$prefix LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
        ensure_wine_prefix >/dev/null 2>&1
        windows_managed no
    )
    local WINEPREFIX=$prefix LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 SAVE_FILE=$prefix/drive_c/windows/velmora.dat
    export WINEPREFIX LANG LC_ALL
    play_locale_round "$en"
    # Nothing of the English prefix outlives the test.
    stop_game
    wineserver -k 2>/dev/null
    [ "$test_ok" -eq 1 ] || return

    for name in titles favourites scene; do
        cmp -s "$ja/$name.txt" "$en/$name.txt" ||
            fail "the $name differ: $(diff "$ja/$name.txt" "$en/$name.txt" | tr '\n' ' ')"
    done
    [ "$(wc -l <"$ja/titles.txt")" -eq 6 ] || fail "$(wc -l <"$ja/titles.txt") window titles, expected 6"
    grep -qxF "favourite[0].title: $(sed -n 2p "$ja/titles.txt" | sed 's/ - Brivane$//')" "$ja/favourites.txt" ||
        fail "the favourite is not named after the home page: $(cat "$ja/favourites.txt")"
    expected=$(first_typed_line "$BUILD_DIR/game" tous00.txt)
    [ -n "$expected" ] && [ "$(cat "$ja/scene.txt")" = "$expected" ] ||
        fail "the scene typed \"$(cat "$ja/scene.txt")\", not \"$expected\""

    diff=$(page_area_difference "$ja/table.png" "$en/table.png" "" "$LOCALE_SHOTS/table-difference.png")
    [ "$diff" = 0 ] || fail "the table page differs in $diff pixels (see $LOCALE_SHOTS/table-difference.png)"
    # The form's button stands right of its field, as large as under Japanese;
    # only its caption, drawn by the system's button, is left out.
    read -r fx fy fw _ <<<"$(page_box otop.htm keyword)"
    [ -n "$fw" ] || { fail "otop.htm has no form"; return; }
    for name in ja en; do
        convert "$LOCALE_SHOTS/$name/home.png" -fill black \
            -draw "rectangle $((fx + fw - 2)),$((fy - 4)) $((fx + fw + 64)),$((fy + 28))" \
            "$LOCALE_SHOTS/$name/home-without-button.png"
    done
    diff=$(page_area_difference "$ja/home-without-button.png" "$en/home-without-button.png" "" \
        "$LOCALE_SHOTS/home-difference.png")
    [ "$diff" = 0 ] || fail "the home page differs in $diff pixels (see $LOCALE_SHOTS/home-difference.png)"
    for name in home table scene menu add-favourite; do
        convert "$ja/$name.png" "$en/$name.png" +append "$LOCALE_SHOTS/$name-ja-en.png"
    done
}
