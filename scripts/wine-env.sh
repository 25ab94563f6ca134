# Sourced by the scripts that run Windows programs: the project's own Wine prefix
# under build/, a Japanese locale and no debug chatter.
: "${BUILD_DIR:=$(cd "$(dirname "$0")/.." && pwd)/build}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
# A crash ends the program at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"

# Creates the prefix on first use (about 20 seconds); later calls return at once.
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1 || true
        wineserver -w
    fi
    # A prefix made before Wine's 32-bit half (Debian's wine32) was installed
    # has no 32-bit system until it is updated.
    if [ -x /usr/lib/wine/wine ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        wineboot -u >/dev/null 2>&1 || true
        wineserver -w
    fi
}

# Wine takes top-level windows for ones a window manager looks after and, on
# hiding one, waits up to two seconds for the manager to take it off the
# screen. A virtual screen has no manager, so there the windows are Wine's own
# ("no"); on a real desktop they are the manager's ("yes", Wine's default).
windows_managed() {
    if [ "$1" = no ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1
    fi
}
