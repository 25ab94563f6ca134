# End-to-end test of the players' release: each edition's zip unpacked into a
# fresh Wine prefix runs as it is. Sourced by run.sh.

plays_the_64_bit_release_zip_in_a_fresh_prefix() { plays_the_release_zip win64 pei-x86-64; }
plays_the_32_bit_release_zip_in_a_fresh_prefix() { plays_the_release_zip win32 pei-i386; }

# plays_the_release_zip EDITION FORMAT: the zip of EDITION holds the game, its
# velmora.exe is of objdump's FORMAT and needs no DLL beside it, and it plays.
plays_the_release_zip() {
    local edition=$1 format=$2 zip listing dir prefix headers dll
    zip=$("$ROOT/scripts/dist.sh" | grep -- "-$edition\.zip\$") || { fail "scripts/dist.sh made no $edition zip"; return; }
    listing=$(unzip -Z1 "$zip") || { fail "not a zip: $zip"; return; }
    for f in velmora.exe cg.arc ex.arc Text.arc parts.arc readme.txt wave/title.wav; do
        grep -q "^velmora-[^/]*-$edition/$f\$" <<<"$listing" || fail "$f is not in the zip"
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

    # Every DLL the program names must be one of the system's own: the
    # compiler's runtime is linked in. objdump speaks the locale's language;
    # its words are read in English.
    headers=$(LC_ALL=C objdump -p "$dir"/velmora-*/velmora.exe) || fail "objdump cannot read velmora.exe"
    grep -q "file format $format\$" <<<"$headers" || fail "velmora.exe is not $format"
    grep -qi "DLL Name: kernel32\.dll\$" <<<"$headers" || fail "objdump lists no kernel32.dll for velmora.exe"
    for dll in $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]'); do
        [ -f "$prefix/drive_c/windows/system32/$dll" ] || fail "velmora.exe needs $dll, which Windows lacks"
    done
    # Wine runs 32-bit programs with its 32-bit half, which a kernel without
    # 32-bit support cannot run; the prefix then has no 32-bit system.
    if [ "$format" = pei-i386 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "NOTE: $current_test: the zip was checked but not played: this Wine runs no 32-bit programs"
    else
        play_the_release "$dir" "$prefix"
    fi
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
