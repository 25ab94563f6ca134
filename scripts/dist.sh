#!/bin/sh
# Packs the game for players on Windows: build/dist/velmora-VERSION-win64.zip
# holds velmora.exe (linked statically: no DLLs beside it), the four archives,
# the wave folder and the player's readme, all in one folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
version=$(cat "$root/VERSION")
name=velmora-$version-win64
out=$build/dist
stage=$out/$name

rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage"
cp "$build/win/src/win/velmora.exe" "$stage/"
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
