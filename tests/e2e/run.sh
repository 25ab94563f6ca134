#!/bin/bash
# End-to-end tests: the real velmora.exe on the demo world, as a player meets it.
set -u
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/damaged.sh"
. "$(dirname "$0")/furniture.sh"
. "$(dirname "$0")/story.sh"
. "$(dirname "$0")/keepsakes.sh"
. "$(dirname "$0")/downloads.sh"
. "$(dirname "$0")/release.sh"
. "$(dirname "$0")/playthrough.sh"
. "$(dirname "$0")/crossplay.sh"
. "$(dirname "$0")/locale.sh"

close_and_expect_clean_exit() {
    send_keys "$1" alt+F4
    wait_exit || { fail "still running after Alt+F4"; return; }
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
}

starts_with_the_title_then_the_browser_window() {
    local world title id
    world=$(make_world)
    start_game "$world"
    title=$(wait_title) || { fail "no title screen"; return; }
    [ -z "$(app_windows -)" ] || fail "a message box appeared"
    screenshot "$current_test-title"
    send_keys "$title" Return
    id=$(wait_window 'Brivane$') || { fail "no window titled Brivane"; return; }
    screenshot "$current_test"
    close_and_expect_clean_exit "$id"
}

escape_on_the_title_quits_without_a_browser_window() {
    local world title
    world=$(make_world)
    start_game "$world"
    title=$(wait_title) || { fail "no title screen"; return; }
    send_keys "$title" Escape
    wait_exit || { fail "still running after Escape"; return; }
    [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
    xdotool search --name 'Brivane$' >/dev/null 2>&1 && fail "a browser window appeared"
}

missing_archive_is_told_and_start_up_goes_on() {
    local world box id
    world=$(make_world)
    rm "$world/cg.arc"
    start_game "$world"
    box=$(wait_message_box) || { fail "no message box"; return; }
    screenshot "$current_test"
    send_keys "$box" Return
    id=$(enter_game) || { fail "no browser window after the message"; return; }
    close_and_expect_clean_exit "$id"
}

every_archive_missing_gives_four_messages() {
    local world count=0 box deadline=$((SECONDS + 60))
    world=$E2E_DIR/$current_test
    rm -rf "$world" && mkdir -p "$world"
    start_game "$world"
    # One box after another until the title shows; each is answered with Enter.
    while [ "$SECONDS" -lt "$deadline" ] && [ -z "$(app_windows 640)" ]; do
        box=$(app_windows - | head -n 1)
        if [ -n "$box" ]; then
            count=$((count + 1))
            send_keys "$box" Return
            wait_window_gone "$box" 30 || break
        fi
        sleep 0.2
    done
    [ "$count" -eq 4 ] || fail "$count message boxes, expected 4"
    wait_title >/dev/null || fail "no title screen after the messages"
}

a_second_copy_ends_at_once_and_a_new_one_starts_after_the_first() {
    local world title second
    world=$(make_world)
    start_game "$world"
    title=$(wait_title) || { fail "no title screen"; return; }
    (cd "$world" && exec wine "$GAME_EXE") &
    second=$!
    wait_exit 60 "$second" || { fail "the second copy is still running"; return; }
    [ "$EXIT_STATUS" -eq 0 ] || fail "second copy's exit status $EXIT_STATUS"
    [ "$(app_windows 0 | wc -l)" -eq 1 ] || fail "the second copy showed a window"
    xdotool getwindowname "$title" >/dev/null 2>&1 || fail "the first copy's title screen is gone"

    send_keys "$title" Escape
    wait_exit || { fail "the first copy did not end"; return; }
    start_game "$world"
    wait_title >/dev/null || fail "no title screen after the first copy ended"
}

browses_by_clicking_links_and_saves_as_it_goes() {
    local world id home found x y deadline
    world=$(make_world)
    forget_saved_game
    start_game "$world"
    id=$(enter_game) || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }
    screenshot "$current_test-home"
    [ "$(save_file_number 848)" = 1 ] || fail "the home page was not saved as visited"

    # Text links are underlined in pure blue until visited.
    found=$(find_link 0000FF "$id") || { fail "no link on the home page"; return; }
    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    deadline=$((SECONDS + 60))
    until [ "$(save_file_number 848)" = 2 ] || [ "$SECONDS" -ge "$deadline" ]; do sleep 0.2; done
    [ "$(save_file_number 848)" = 2 ] || { fail "the click opened no page"; return; }
    screenshot "$current_test-page"

    # Back home, the link followed is drawn in the visited colour.
    send_keys "$id" alt+Left
    deadline=$((SECONDS + 60))
    until { [ "$(xdotool getwindowname "$id")" = "$home" ] && screen_shows 500050; } ||
        [ "$SECONDS" -ge "$deadline" ]; do sleep 0.5; done
    [ "$(xdotool getwindowname "$id")" = "$home" ] || fail "Alt+Left did not go back home"
    screen_shows 500050 || fail "the visited link is not purple"
    screenshot "$current_test-back"
    close_and_expect_clean_exit "$id"
    [ "$(save_file_number 848)" -ge 2 ] 2>/dev/null || fail "the save file lost the visited pages"
}

searches_from_the_search_page_and_goes_back_and_forward_through_a_result() {
    local world id home first search found portal ox oy x y w h result
    local results_pixels result_pixels deadline
    world=$(make_world)
    forget_saved_game
    start_game "$world"
    id=$(enter_game) || { fail "no browser window"; return; }
    home=$(wait_title_change "$id" "Brivane") || { fail "the home page has no title"; return; }

    # Where the page area stands on the screen, from the home page's first
    # link: find_link answers 10 pixels right of its left end, 7 below its top.
    found=$(wait_link 0000FF "$id") || { fail "no link on the home page"; return; }
    first=$(page_box otop.htm onews.htm)
    read -r x y w h <<<"$first"
    read -r ox oy <<<"$found"
    ox=$((ox - x - 10))
    oy=$((oy - y - 7))

    read -r x y w h <<<"$(page_box otop.htm search.htm)"
    [ -n "$x" ] || { fail "the home page has no link to search.htm"; return; }
    xdotool mousemove $((ox + x + w / 2)) $((oy + y + h / 2)) click 1
    search=$(wait_title_change "$id" "$home") || { fail "the search link opened nothing"; return; }

    # Type a word into the search field and press Enter (a word of the keys
    # on the keyboard: other characters xdotool types by remapping a key,
    # which Wine may read before the new mapping).
    read -r x y w h <<<"$(page_box search.htm keyword)"
    [ -n "$x" ] || { fail "search.htm has no keyword field"; return; }
    xdotool mousemove $((ox + x + 20)) $((oy + y + h / 2)) click 1
    xdotool type --delay 50 "KIRIMI"
    xdotool key Return
    # The portal and its news: the portal is visited (purple), the news not
    # yet (blue); the page had no blue link before.
    found=$(wait_link 0000FF "$id") || { fail "no results after Enter"; return; }
    portal=$(find_link 500050 "$id")
    screenshot "$current_test-results"
    [ "$(xdotool getwindowname "$id")" = "$search" ] || fail "the results have another title"
    results_pixels=$(settled_address_bar_pixels "$id")
    [ "$(address_bar_text "$id")" = "http://search.kirimi.net/" ] ||
        fail "the address bar does not show the search page's address"
    # The keyboard back in the page: the result page's own field holds the word.
    xdotool mousemove $((ox + x + 20)) $((oy + y + h / 2)) click 1

    read -r x y <<<"$found"
    xdotool mousemove "$x" "$y" click 1
    result=$(wait_title_change "$id" "$search") || { fail "the news result opened nothing"; return; }
    result_pixels=$(settled_address_bar_pixels "$id" "$results_pixels") ||
        fail "the address bar did not change"
    screenshot "$current_test-result"

    send_keys "$id" alt+Left
    wait_title_change "$id" "$result" >/dev/null || { fail "Alt+Left did not go back"; return; }
    # Wine takes the Alt key's release for the menu bar: leave it.
    xdotool key Escape
    [ "$(xdotool getwindowname "$id")" = "$search" ] || fail "Back did not lead to the results"
    # The first result, the portal, stands where it stood.
    deadline=$((SECONDS + 30))
    until [ "$(find_link 500050 "$id")" = "$portal" ] || [ "$SECONDS" -ge "$deadline" ]; do
        sleep 0.3
    done
    [ "$(find_link 500050 "$id")" = "$portal" ] || fail "the results are gone after Back"
    wait_address_bar "$id" "$results_pixels" ||
        fail "the address bar does not show the search page's address after Back"
    screenshot "$current_test-back"

    send_keys "$id" alt+Right
    wait_title_change "$id" "$search" >/dev/null || { fail "Alt+Right did not go forward"; return; }
    xdotool key Escape
    [ "$(xdotool getwindowname "$id")" = "$result" ] || fail "Forward did not lead to the result"
    wait_address_bar "$id" "$result_pixels" ||
        fail "the address bar does not show the result's address after Forward"
    [ "$(address_bar_text "$id")" = "http://www.kirimi.net/news/" ] ||
        fail "the address bar does not show the result's address"
}

run_test starts_with_the_title_then_the_browser_window
run_test browses_by_clicking_links_and_saves_as_it_goes
run_test searches_from_the_search_page_and_goes_back_and_forward_through_a_result
run_test escape_on_the_title_quits_without_a_browser_window
run_test types_addresses_and_sees_the_fetch_and_the_page
run_test back_and_forward_buttons_follow_the_history
run_test the_title_show_reaches_its_first_strip_fade
run_test missing_archive_is_told_and_start_up_goes_on
run_test every_archive_missing_gives_four_messages
run_test a_second_copy_ends_at_once_and_a_new_one_starts_after_the_first
run_test damaged_text_archive_cut_in_its_table
run_test damaged_picture_archive_cut_in_its_data
run_test damaged_home_page_decodes_short
run_test damaged_home_page_with_a_tag_never_closed
run_test damaged_picture_with_a_lying_header
run_test damaged_save_file_cut_in_half
run_test damaged_save_file_with_absurd_counts
run_test no_place_takes_the_save_and_the_player_is_told_once
run_test damaged_password_table_with_slots_out_of_range
run_test plays_a_record_scene_from_its_link
run_test saves_a_wallpaper_where_the_player_types_it
run_test saves_a_wallpaper_under_a_name_too_long_for_a_path_and_plays_on
run_test installs_the_plugin_with_its_progress
run_test adds_favourites_and_opens_one_from_the_menu_after_a_restart
run_test plays_the_64_bit_release_zip_in_a_fresh_prefix
run_test plays_the_32_bit_release_zip_in_a_fresh_prefix
run_test plays_the_demo_world_from_a_new_game_to_its_ending
run_test a_save_goes_from_windows_to_the_web_edition_and_back
run_test pages_titles_scenes_and_favourites_agree_under_english_and_japanese
finish_tests
