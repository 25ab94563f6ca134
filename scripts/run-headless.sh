#!/bin/sh
# Runs the game on the current (virtual) screen inside a Wine desktop, waits for
# its window, takes a screenshot, then closes it.
set -u
exe=$1
game=$2
shots=$BUILD_DIR/screenshots
mkdir -p "$shots"
. "$(dirname "$0")/wine-env.sh"
ensure_wine_prefix

(cd "$game" && exec wine explorer /desktop=velmora,1024x768 "$exe") &
pid=$!
deadline=$(($(date +%s) + 90))
while [ "$(date +%s)" -lt "$deadline" ] && ! xdotool search --name 'Brivane' >/dev/null 2>&1; do
    sleep 0.5
done
shot=$shots/run-$(date +%Y%m%d-%H%M%S).png
# Let the first paint land before the picture is taken.
sleep 2
import -window root "$shot"
if xdotool search --name 'Brivane' >/dev/null 2>&1; then
    echo "The game started. Screenshot: $shot"
    status=0
else
    echo "The game's window did not appear within 90 seconds. Screenshot: $shot"
    status=1
fi
wineserver -k
wait "$pid" 2>/dev/null
exit $status
