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

# Creates the prefix on first use (about 20 seconds) and links its UI faces to
# a Japanese face; later calls return at once.
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
    link_japanese_fonts
}

# Menus, captions, message boxes and the system's dialogs are drawn in the
# system's UI faces, which have no Japanese characters: only under a Japanese
# locale does Wine fall back to a Japanese face by itself. Windows links a
# Japanese font to them (FontLink\SystemLink), and so does the prefix, with the
# IPA Gothic files, found by file name as Wine sees them. "MS Shell Dlg" is
# Tahoma under another name, and Wine reads no link for such a name. Wine
# writes the links of Tahoma and Microsoft Sans Serif anew whenever the code
# page changes, so they are written again whenever the locale is not the one
# the marker names; the import runs under the new locale, after Wine's rewrite.
link_japanese_fonts() (
    marker=$WINEPREFIX/.velmora-fontlink
    locale=${LC_ALL:-${LANG:-C}}
    [ "$(cat "$marker" 2>/dev/null)" = "$locale" ] && exit 0
    # "ipagp.ttf", "ipag.ttf", as the bytes of a list of strings.
    files=69,70,61,67,70,2e,74,74,66,00,69,70,61,67,2e,74,74,66,00,00
    {
        printf 'REGEDIT4\n\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
        for face in Tahoma "Microsoft Sans Serif" "Segoe UI"; do
            printf '"%s"=hex(7):%s\n' "$face" "$files"
        done
    } >"$marker.reg"
    wine reg import "Z:$(printf '%s' "$marker.reg" | tr / '\\')" >/dev/null 2>&1 &&
        echo "$locale" >"$marker"
)

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
