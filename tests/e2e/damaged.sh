# End-to-end tests with damaged worlds: the game must start, tell what the
# game tells, and stay usable. Sourced by run.sh.

# Writes the 32-bit little-endian number $3 into file $1 at byte offset $2.
poke32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($3 & 255)) $((($3 >> 8) & 255)) \
        $((($3 >> 16) & 255)) $((($3 >> 24) & 255)))" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# Replaces entry $2 of archive $1 with the file $3, keeping every other entry.
replace_entry() {
    local archive=$1 name=$2 file=$3 work entry
    work=$(mktemp -d)
    while IFS=$'\t' read -r entry _; do
        "$VELARC" extract "$archive" "$entry" "$work/$entry" || return 1
    done < <("$VELARC" list "$archive")
    cp "$file" "$work/$name"
    (cd "$work" && "$VELARC" pack "$archive" $("$VELARC" list "$archive" | cut -f1)) || return 1
    rm -rf "$work"
}

# The table index of entry $2 in archive $1.
entry_index() {
    "$VELARC" list "$1" | cut -f1 | grep -n -x -F "$2" | cut -d: -f1 | awk '{print $1 - 1}'
}

# Starts the game in world $1, answers $2 message boxes of the game with
# Enter (failing on more or fewer), passes the title screen, and checks that
# the browser works: a link, if the page shows one, opens a page. Ends the
# game with Alt+F4 and expects a clean exit.
expect_usable_game() {
    local world=$1 expected=$2 boxes=0 box id found x y deadline before
    start_game "$world"
    deadline=$((SECONDS + 60))
    while [ "$SECONDS" -lt "$deadline" ] && [ -z "$(app_windows 640)" ]; do
        box=$(app_windows - | head -n 1)
        if [ -n "$box" ]; then
            boxes=$((boxes + 1))
            screenshot "$current_test-message-$boxes"
            send_keys "$box" Return
            wait_window_gone "$box" 30 || break
        fi
        sleep 0.2
    done
    [ "$boxes" -eq "$expected" ] || fail "$boxes message boxes, expected $expected"
    id=$(enter_game) || { fail "no browser window"; return; }
    sleep 1
    screenshot "$current_test"
    if found=$(find_link 0000FF "$id"); then
        read -r x y <<<"$found"
        before=$(save_file_number 848)
        xdotool mousemove "$x" "$y" click 1
        deadline=$((SECONDS + 60))
        until [ "$(save_file_number 848)" != "$before" ] || [ "$SECONDS" -ge "$deadline" ]; do
            sleep 0.2
        done
        [ "$(save_file_number 848)" != "$before" ] || fail "a link of the page does not work"
    fi
    close_and_expect_clean_exit "$id"
}

damaged_text_archive_cut_in_its_table() {
    local world
    world=$(make_world)
    forget_saved_game
    head -c 100 "$world/Text.arc" >"$world/cut" && mv "$world/cut" "$world/Text.arc"
    expect_usable_game "$world" 1
}

damaged_picture_archive_cut_in_its_data() {
    local world size
    world=$(make_world)
    forget_saved_game
    size=$(stat -c %s "$world/cg.arc")
    head -c $((size / 2)) "$world/cg.arc" >"$world/cut" && mv "$world/cut" "$world/cg.arc"
    expect_usable_game "$world" 0
}

damaged_home_page_decodes_short() {
    local world index unpacked
    world=$(make_world)
    forget_saved_game
    index=$(entry_index "$world/Text.arc" otop.htm)
    unpacked=$("$VELARC" list "$world/Text.arc" | sed -n "$((index + 1))p" | cut -f2)
    poke32 "$world/Text.arc" $((4 + 32 * index + 20)) $((unpacked + 500))
    expect_usable_game "$world" 0
}

damaged_home_page_with_a_tag_never_closed() {
    local world page
    world=$(make_world)
    forget_saved_game
    page=$(mktemp)
    "$VELARC" extract "$world/Text.arc" otop.htm "$page"
    printf '<img src="never-closed.bmp" align="' >>"$page"
    head -c 400 /dev/zero | tr '\0' 'x' >>"$page"
    replace_entry "$world/Text.arc" otop.htm "$page" || fail "cannot rebuild Text.arc"
    rm -f "$page"
    expect_usable_game "$world" 0
}

damaged_picture_with_a_lying_header() {
    local world picture name
    world=$(make_world)
    forget_saved_game
    # The home page's first picture claims to be enormous, and to be longer
    # than it is, with its pixels beyond its end.
    name=$(grep -o -m1 'src="[^"]*"' "$ROOT/data/Text/otop.htm" | cut -d'"' -f2)
    picture=$(mktemp)
    "$VELARC" extract "$world/cg.arc" "$name" "$picture" ||
        "$VELARC" extract "$world/parts.arc" "$name" "$picture" || { fail "no $name"; return; }
    poke32 "$picture" 2 4000000000
    poke32 "$picture" 10 3000000000
    poke32 "$picture" 18 100000
    poke32 "$picture" 22 100000
    replace_entry "$world/cg.arc" "$name" "$picture" || fail "cannot rebuild cg.arc"
    rm -f "$picture"
    expect_usable_game "$world" 0
}

damaged_save_file_cut_in_half() {
    local world
    world=$(make_world)
    forget_saved_game
    expect_usable_game "$world" 0
    head -c 426 "$SAVE_FILE" >"$SAVE_FILE.cut" && mv "$SAVE_FILE.cut" "$SAVE_FILE"
    expect_usable_game "$world" 0
}

damaged_save_file_with_absurd_counts() {
    local world
    world=$(make_world)
    forget_saved_game
    expect_usable_game "$world" 0
    poke32 "$SAVE_FILE" 840 4294967295
    poke32 "$SAVE_FILE" 844 4294967295
    poke32 "$SAVE_FILE" 848 4294967295
    expect_usable_game "$world" 0
}

damaged_password_table_with_slots_out_of_range() {
    local world table
    world=$(make_world)
    forget_saved_game
    table=$(mktemp)
    printf '\x81\xa0\x82\x58\x82\x58\x81\x40ninety-nine\r\n\x81\xa0\x82\x50\x82\x56\x81\x40sixteen\r\n\x81\xa0\r\n\x81\xa0\x82\x4f\r\n' >"$table"
    replace_entry "$world/Text.arc" password.txt "$table" || fail "cannot rebuild Text.arc"
    rm -f "$table"
    expect_usable_game "$world" 0
}

# Neither the Windows directory nor the player's own folder takes a save: a
# folder stands in the save file's place, a file in the user folder's. The
# player is told once, and plays on.
no_place_takes_the_save_and_the_player_is_told_once() {
    local world title box id home found x y user_folder
    world=$(make_world)
    forget_saved_game
    user_folder=$(dirname "$USER_SAVE_FILE")
    rm -rf "$user_folder"
    mkdir -p "$SAVE_FILE" "$(dirname "$user_folder")"
    : >"$user_folder"
    start_game "$world"
    title=$(wait_title) || { fail "no title screen"; return; }
    send_keys "$title" Return
    box=$(wait_message_box 60) || fail "no message that the game cannot be saved"
    if [ -n "$box" ]; then
        screenshot "$current_test-message"
        send_keys "$box" Return
        wait_window_gone "$box" 30 || fail "the message stayed"
    fi
    id=$(wait_window 'Brivane$') || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }
    found=$(find_link 0000FF "$id") || { fail "no link on the home page"; return; }
    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    wait_title_change "$id" "$home" >/dev/null || fail "the link opened no page"
    screenshot "$current_test-page"
    [ -z "$(app_windows -)" ] || fail "told a second time"
    # Its last save, on the way out, is not told again.
    close_and_expect_clean_exit "$id"
    forget_saved_game
}
