#!/bin/sh
# Builds the demo world from data/ into build/game: the four archives and the
# loose wave files. Pages and texts are UTF-8 with LF line ends in data/; the
# game reads code page 932 with CR LF. The same sources always give the same bytes.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
tools=$build/native/tools
stage=$build/data-stage
game=$build/game

rm -rf "$stage"
mkdir -p "$stage" "$game"

# Hand-written sources: texts converted, anything else copied as it is.
for arc in cg ex Text parts; do
    mkdir -p "$stage/$arc"
    [ -d "$root/data/$arc" ] || continue
    for src in "$root/data/$arc"/*; do
        [ -f "$src" ] || continue
        name=$(basename "$src")
        case "$name" in
        *.htm | *.txt)
            if ! iconv -f UTF-8 -t CP932 "$src" | sed 's/$/\r/' >"$stage/$arc/$name"; then
                echo "build-data: $src has characters that code page 932 cannot hold" >&2
                exit 1
            fi
            ;;
        *) cp "$src" "$stage/$arc/$name" ;;
        esac
    done
done

# Generated art and sound: every manifest data/art*.txt.
for manifest in "$root"/data/art*.txt; do
    "$tools/velgen" "$manifest" "$stage"
done

for arc in cg ex Text parts; do
    files=$(cd "$stage/$arc" && find . -maxdepth 1 -type f | sed 's|^\./||' | LC_ALL=C sort)
    # shellcheck disable=SC2086
    (cd "$stage/$arc" && "$tools/velarc" pack "$game/$arc.arc.new" $files)
    mv "$game/$arc.arc.new" "$game/$arc.arc"
done

rm -rf "$game/wave"
if [ -d "$stage/wave" ]; then
    cp -r "$stage/wave" "$game/wave"
fi
