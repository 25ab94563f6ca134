#!/bin/sh
# Runs a command on a private virtual screen (Xvfb) and ends every Windows
# process of the project's prefix afterwards, so nothing outlives the screen.
set -u
export BUILD_DIR=${BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
. "$(dirname "$0")/wine-env.sh"
ensure_wine_prefix >/dev/null 2>&1
windows_managed no
xvfb-run -a -s "-screen 0 1024x768x24" "$@"
status=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
windows_managed yes
exit $status
