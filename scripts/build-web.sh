#!/bin/sh
# Builds the web edition into build/web: the page, its script and style, the
# game compiled to WebAssembly, the demo world's archives and sounds, the
# program's own art for the chrome, the page face with its licence, and the
# service worker that keeps all of it for offline play.
# Needs the native build (for velcp932), the demo world and the art.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${JOBS:-2}
config=$build/web-build
out=$build/web

# Emscripten's tools run on Node.js; one that is not Debian's own finds
# Debian's packages of them only so.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

if [ ! -f "$config/CMakeCache.txt" ]; then
    emcmake cmake -S "$root" -B "$config" -DCMAKE_BUILD_TYPE=Release \
        -DVELMORA_CP932_TOOL="$build/native/tools/velcp932/velcp932" >/dev/null
fi
cmake --build "$config" -j "$jobs" -- --no-print-directory -s

rm -rf "$out.new"
mkdir -p "$out.new/wave" "$out.new/art" "$out.new/fonts"
cp "$root"/web/*.html "$root"/web/*.css "$root"/web/*.js "$out.new/"
cp "$config/src/web/velmora.js" "$config/src/web/velmora.wasm" "$out.new/"
cp "$build"/game/*.arc "$out.new/"
cp "$build"/game/wave/*.wav "$out.new/wave/"
cp "$build"/res-art/*.bmp "$build"/res-art/*.cur "$out.new/art/"
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$out.new/fonts/"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$out.new/fonts/ipag-LICENSE.txt"
# The list of files the service worker keeps for offline play, with their hashes.
node "$root/scripts/web-files.mjs" "$out.new"
# Swapped in whole: a server serving the folder never sees half a build.
rm -rf "$out"
mv "$out.new" "$out"
echo "web: $out"
