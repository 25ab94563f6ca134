#!/bin/sh
# Serves build/web on 127.0.0.1 and opens it in Chromium. Without a display
# it loads the page headless, presses on past the title and writes
# screenshots of the title and the browser, printing their paths.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
port=${PORT:-8080}

if [ -n "${DISPLAY:-}" ] && [ "${VELMORA_HEADLESS:-}" != 1 ]; then
    node "$root/scripts/serve-web.mjs" "$build/web" "$port" &
    server=$!
    trap 'kill $server 2>/dev/null' EXIT INT TERM
    sleep 1
    echo "Brivane is served at http://127.0.0.1:$port/ (Ctrl+C stops it)"
    chromium --new-window "http://127.0.0.1:$port/" >/dev/null 2>&1 || true
    wait $server
else
    node "$root/tests/web/shots.mjs"
fi
