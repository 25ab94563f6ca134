#!/bin/bash
# A screenshot sequence of one scene on the demo world: the first record of
# "kiroku.htm" opened from its link (its key already found, so it plays to its
# end). Writes build/scene-shots/1-fade.png (the picture fading in),
# 2-typing.png (a line half typed), 3-mark.png (the end-of-line mark),
# 4-closing.png (the picture fading to white), 5-white.png (the white it ends
# in, before the window closes) and prints their paths.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
if [ -z "${SCENE_SHOTS_ON_SCREEN:-}" ]; then
    # A private virtual screen, whatever display there is.
    SCENE_SHOTS_ON_SCREEN=1 exec "$root/scripts/with-display.sh" "$0" "$@"
fi
. "$root/scripts/wine-env.sh"
ensure_wine_prefix >/dev/null 2>&1
. "$root/tests/e2e/lib.sh"
. "$root/tests/e2e/story.sh"

out=$BUILD_DIR/scene-shots
rm -rf "$out"
mkdir -p "$out"
E2E_DIR=$out/work
current_test=world
world=$(make_world)

die() {
    echo "scene-shots: $*" >&2
    import -window root "$out/failed.png" 2>/dev/null && echo "screen: $out/failed.png" >&2
    stop_game
    exit 1
}

watch=$BUILD_DIR/native/tests/e2e/screenwatch/screenwatch
[ -x "$watch" ] || die "build it first: make build"
# Part of the picture window, which stands centred on the 1024 x 768 screen.
area="412 200 200 150"

# Saves the screen as $1.png.
shoot() { import -window root "$out/$1.png"; }
# The mean brightness of the message window's text area in picture $1.
text_mean() {
    convert "$1" -crop "$((mw - 20))x$((mh - 20))+$((mx + 10))+$((my + 10))" +repage \
        -colorspace gray -format '%[fx:mean]' info: 2>/dev/null
}

open_game_at "$world" kiroku.htm 0 || die "no browser window"
id=$BROWSER_ID
wait_title_change "$id" "Brivane" >/dev/null || die "the page has no title"
found=$(wait_for_output 30 find_link 0000FF "$id") || die "no link on kiroku.htm"
read -r x y <<<"$found"

# The picture fades in from white as soon as the window opens.
# shellcheck disable=SC2086
"$watch" $area 0.5 0.95 "$out/1-fade.ppm" 60 >/dev/null &
fade=$!
xdotool mousemove "$x" "$y" click 1
message=$(wait_window "^$MESSAGE_TITLE\$" 30) || die "no message window"
read -r mx my mw mh <<<"$(window_inside "$message" dialog)"
wait "$fade" || die "no frame of the fade in"

# Then a label and the first line, typed at 40 ms a character.
sleep 0.5
shoot 2-typing
# Once it is out the mark blinks every 0.7 s: of a few frames, the darkest
# text area shows it.
sleep 2
best=""
for i in 1 2 3 4 5; do
    shoot "mark-$i"
    mean=$(text_mean "$out/mark-$i.png")
    if [ -z "$best" ] || below "$mean" "$best"; then
        best=$mean
        cp "$out/mark-$i.png" "$out/3-mark.png"
    fi
    sleep 0.3
done
rm -f "$out"/mark-*.png

# Click through to the end: the picture fades to white, holds, and the
# window closes.
# shellcheck disable=SC2086
"$watch" $area 0.5 0.95 "$out/4-closing.ppm" 120 >/dev/null &
closing=$!
# shellcheck disable=SC2086
"$watch" $area 0.99 1.01 "$out/5-white.ppm" 120 >/dev/null &
white=$!
click_until 120 "$message" 0.3 window_gone "$message" || die "the scene never ended"
wait "$closing" || die "no frame of the closing fade"
wait "$white" || die "no frame of the closing white"
for ppm in "$out"/*.ppm; do
    convert "$ppm" "${ppm%.ppm}.png" && rm "$ppm"
done
stop_game
rm -rf "$out/work"
ls "$out"/*.png
