#!/bin/sh
# Runs the game on the current (virtual) screen inside a Wine desktop: takes a
# screenshot of the title screen, starts the game with Enter, takes one of the
# browser window, then closes it.
set -u
exe=$1
game=$2
shots=$BUILD_DIR/screenshots
mkdir -p "$shots"
. "$(dirname "$0")/wine-env.sh"
ensure_wine_prefix

# Waits up to 90 seconds for a window whose title matches $1.
wait_for() {
    deadline=$(($(date +%s) + 90))
    while [ "$(date +%s)" -lt "$deadline" ]; do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    return 1
}

# Lets the first paint land, then saves the screen as $1.
shoot() {
    sleep 2
    shot=$shots/$1-$(date +%Y%m%d-%H%M%S).png
    import -window root "$shot"
    echo "Screenshot: $shot"
}

(cd "$game" && exec wine explorer /desktop=velmora,1024x768 "$exe") &
pid=$!
status=1
if wait_for '^Ｖｅｌｍｏｒａ$'; then
    echo "The title screen is up."
    shoot title
    xdotool key Return
    if wait_for 'Brivane$'; then
        echo "The browser window is up."
        shoot browser
        status=0
    else
        echo "The browser window did not appear within 90 seconds."
        shoot failed
    fi
else
    echo "The title screen did not appear within 90 seconds."
    shoot failed
fi
wineserver -k
wait "$pid" 2>/dev/null
exit $status
