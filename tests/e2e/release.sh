# End-to-end test of the players' release: the zip unpacked into a fresh Wine
# prefix runs as it is. Sourced by run.sh.

plays_from_the_release_zip_in_a_fresh_prefix() {
    local zip listing dir prefix
    zip=$("$ROOT/scripts/dist.sh") || { fail "scripts/dist.sh failed"; return; }
    listing=$(unzip -Z1 "$zip") || { fail "not a zip: $zip"; return; }
    for f in velmora.exe cg.arc ex.arc Text.arc parts.arc readme.txt wave/title.wav; do
        grep -q "^velmora-[^/]*/$f\$" <<<"$listing" || fail "$f is not in the zip"
    done
    grep -qi '\.dll$' <<<"$listing" && fail "the zip holds a DLL"

    dir=$E2E_DIR/$current_test
    prefix=$E2E_DIR/$current_test-prefix
    rm -rf "$dir" "$prefix"
    mkdir -p "$dir" "$prefix"
    unzip -q "$zip" -d "$dir"
    # The test's own prefix: a fresh machine that has never seen the game.
    local WINEPREFIX=$prefix
    export WINEPREFIX
    wineboot --init >/dev/null 2>&1
    wineserver -w
    play_the_release "$dir" "$prefix"
    # Whatever happened, nothing of the fresh prefix outlives the test.
    wineserver -k 2>/dev/null
    [ -z "$GAME_PID" ] || wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}

# Starts the unpacked game in $1 and plays its opening; the save file must
# then stand in the Windows folder of prefix $2.
play_the_release() {
    local id
    (cd "$1"/velmora-*/ && exec wine velmora.exe 2>/dev/null) &
    GAME_PID=$!
    wait_title 120 >/dev/null || { fail "no title screen"; return; }
    screenshot "$current_test-title"
    id=$(enter_game) || { fail "no browser window"; return; }
    wait_title_change "$id" "Brivane" >/dev/null || fail "the home page has no title"
    screenshot "$current_test-home"
    close_and_expect_clean_exit "$id"
    [ -s "$2/drive_c/windows/velmora.dat" ] || fail "no save file in the fresh prefix's Windows folder"
}
