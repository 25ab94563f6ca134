#!/bin/sh
# Packs the game for players on Windows, one zip an edition:
# build/dist/velmora-VERSION-win32.zip and velmora-VERSION-win64.zip. Each holds
# its velmora.exe (linked statically: no DLLs beside it), the four archives,
# the wave folder and the player's readme, all in one folder. Prints their paths.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
version=$(cat "$root/VERSION")
out=$build/dist

# pack EDITION BUILD: the zip of the game built in BUILD.
pack() {
    name=velmora-$version-$1
    stage=$out/$name
    rm -rf "$stage" "$out/$name.zip"
    mkdir -p "$stage"
    cp "$build/$2/src/win/velmora.exe" "$stage/"
    for arc in cg ex Text parts; do
        cp "$build/game/$arc.arc" "$stage/"
    done
    cp -r "$build/game/wave" "$stage/"
    # Windows' own editor reads a UTF-8 text with its byte-order mark, lines ended CR LF.
    {
        printf '\357\273\277'
        sed "s/@VERSION@/$version/; s/\$/\r/" "$root/dist/readme.txt"
    } >"$stage/readme.txt"
    (cd "$out" && zip -qr -X "$name.zip" "$name")
    rm -rf "$stage"
    echo "$out/$name.zip"
}

pack win32 win32
pack win64 win
