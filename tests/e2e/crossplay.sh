# One save for both editions: the Windows playthrough's save at chapter 5
# goes on in the web edition (tests/web/crossplay.mjs, headless Chromium) to
# the ending; the save the web edition exports at chapter 8 goes on here, at
# the same stage, with the same favourite and home page. Sourced by run.sh,
# after the playthrough.

# The fields of a save file that say where the story stands, as velarc shows them.
story_fields() {
    "$VELARC" save "$1" | grep -E '^(disclosureStage|passwordSolved|umakerPage|kyoumakerPage|notesRead|pluginMissing|homePage|homeAddress|favourite\[[0-9]+\]\.(title|fileName)): '
}

a_save_goes_from_windows_to_the_web_edition_and_back() {
    local from=$E2E_DIR/saves/chapter-05.dat back=$E2E_DIR/saves/web-chapter-08.dat log=$E2E_DIR/crossplay.log
    [ -f "$from" ] || { fail "no chapter 5 save: the playthrough did not reach it"; return; }
    rm -f "$back"
    node "$ROOT/tests/web/crossplay.mjs" "$from" 5 8 "$back" >"$log" 2>&1 || {
        fail "the web edition did not play on from the Windows save: $(tail -n 3 "$log")"
        return
    }
    [ -f "$back" ] || { fail "the web edition exported no chapter 8 save"; return; }

    PLAY_WORLD=$(make_world)
    LAYOUT_CLIENT=$PLAY_CLIENT
    forget_saved_game
    cp "$back" "$SAVE_FILE"
    begin_play || return
    # The game has saved on opening the home page: the story is the web's.
    [ "$(story_fields "$SAVE_FILE")" = "$(story_fields "$back")" ] ||
        fail "the story after loading the web's save: $(diff <(story_fields "$back") <(story_fields "$SAVE_FILE") | tr '\n' ' ')"
    stage_is 8 || fail "the stage is $(save_field disclosureStage), not 8"
    # On screen: the company's page of stage 8, and the favourite in its menu.
    local step
    for step in 'follow olinks.htm' 'follow umaker00.htm umaker05.htm' 'favourite open kiroku.htm'; do
        # shellcheck disable=SC2086
        play_step $step
        [ "$test_ok" -eq 1 ] || { fail "at: $step"; return; }
    done
    screenshot "$current_test"
    close_and_expect_clean_exit "$PLAY_ID"
}
