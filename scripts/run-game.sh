#!/bin/sh
# Starts the game in the built demo world. With a display it simply runs; without
# one it runs on a virtual screen, saves screenshots and says where they are.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
. "$root/scripts/wine-env.sh"
exe=$BUILD_DIR/win/src/win/velmora.exe
game=$BUILD_DIR/game

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    ensure_wine_prefix
    windows_managed yes
    cd "$game" && exec wine "$exe"
fi

echo "No display: running the game on a virtual screen."
exec "$root/scripts/with-display.sh" "$root/scripts/run-headless.sh" "$exe" "$game"
