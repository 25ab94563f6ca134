#!/bin/sh
# Installs what building, running and testing need, and nothing when all is there.
set -eu

packages="cmake make g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
mingw-w64 wine wine64 xvfb x11-utils libx11-dev xdotool xclip imagemagick fonts-ipafont-gothic locales
clang-format zip unzip graphviz emscripten chromium"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_missing PACKAGE...: those of them not installed yet.
install_missing() {
    missing=""
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
            missing="$missing $p"
        fi
    done
    [ -n "$missing" ] || return 0
    echo "Installing:$missing"
    # A mirror caught mid-sync fails one of its lists; the install goes on with
    # the others and fails itself if what it needs is not there.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq || true
    # shellcheck disable=SC2086
    if ! as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null; then
        # An i386 library must have the very version of its amd64 twin. Without
        # the i386 list of the security updates, only the release's own
        # versions match: take those for both architectures.
        echo "Retrying with the release's own versions"
        pin=$(mktemp)
        printf 'Package: *\nPin: release n=%s,l=Debian\nPin-Priority: 1001\n' \
            "$(. /etc/os-release && echo "$VERSION_CODENAME")" >"$pin"
        # shellcheck disable=SC2086
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --allow-downgrades \
            -o Dir::Etc::Preferences="$pin" $missing >/dev/null
        rm -f "$pin"
    fi
}

# Whether the kernel runs 32-bit x86 programs: a three-instruction one, built
# with the binutils that g++ brings.
runs_32bit_programs() {
    dir=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null &&
        ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null &&
        "$dir/exit" 2>/dev/null
    status=$?
    rm -rf "$dir"
    return $status
}

# shellcheck disable=SC2086
install_missing $packages

# The web tests run on Node.js. A machine that has its own keeps it (Debian's
# npm would replace it with Debian's older one).
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    install_missing nodejs npm
fi
# playwright-core, as pinned in the lock file, for the web tests.
if [ ! -d "$(dirname "$0")/../tests/web/node_modules/playwright-core" ]; then
    echo "Installing the web tests' packages"
    (cd "$(dirname "$0")/../tests/web" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi

# The 32-bit edition runs on Wine's 32-bit half, a package of the i386
# architecture. Some kernels (sandboxes) run no 32-bit programs: there that
# half cannot start, and Debian's wine would take it for 32- and 64-bit
# programs alike, so it stays away.
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" && runs_32bit_programs; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture"
        as_root dpkg --add-architecture i386
    fi
    install_missing wine32:i386
fi

# Dialogs, menus and message boxes need a Japanese locale under Wine; one
# end-to-end test runs the game in an English one.
for loc in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8\$"; then
        echo "Generating the $loc.UTF-8 locale"
        as_root sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
        as_root locale-gen >/dev/null
    fi
done
