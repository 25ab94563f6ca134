#!/bin/bash
# Makes each fuzz target's seed corpus in $BUILD_DIR/fuzz/seeds/TARGET/ from
# the built demo world (build/game, read with velarc), a few hand-made inputs,
# and every earlier finding kept in tests/fuzz/regressions/TARGET/. The same
# world always gives the same seeds; each seed stays small.
# Binary seeds are written by printf formats built of octal escapes:
# shellcheck disable=SC2059
set -eu
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
velarc=$build/native/tools/velarc
game=$build/game
seeds=$build/fuzz/seeds.new

if [ ! -x "$velarc" ] || [ ! -f "$game/Text.arc" ]; then
    echo "fuzz-seeds: needs $velarc and the demo world in $game (make data)" >&2
    exit 1
fi

targets="archive lzss encode tokenizer lines password bmp page save world search scenario velplay"
rm -rf "$seeds"
for t in $targets; do
    mkdir -p "$seeds/$t"
done

# ---- helpers ----

# The decoded entry NAME of archive ARC (cg, ex, Text, parts), to standard output.
entry() {
    "$velarc" extract "$game/$1.arc" "$2"
}

# The packed LZSS stream of entry NAME of archive ARC, as the archive holds it.
packed() {
    local line packedSize offset
    line=$("$velarc" list "$game/$1.arc" | awk -F '\t' -v n="$2" '$1 == n')
    packedSize=$(cut -f 3 <<<"$line")
    offset=$(cut -f 4 <<<"$line")
    tail -c +"$((offset + 1))" "$game/$1.arc" | head -c "$packedSize"
}

# Little-endian integers and zero bytes.
le16() {
    printf "$(printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)))"
}
le32() {
    local v=$(($1 & 0xFFFFFFFF))
    printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((v & 255)) $((v >> 8 & 255)) \
        $((v >> 16 & 255)) $((v >> 24 & 255)))"
}
zeros() {
    head -c "$1" /dev/zero
}
# N bytes of a fixed pattern.
pattern() {
    local n=$1 chunk
    chunk=$(printf '\\021\\042\\063\\104\\125\\146\\167\\210\\231\\252\\273\\314\\335\\356\\377\\001')
    while :; do printf "$chunk"; done | head -c "$n"
}

# A .bmp file: WIDTH HEIGHT (negative: top-down) BITS COMPRESSION (0, or 3
# with 5-6-5 masks for 16 bits and 8-8-8 for 32); a grey ramp for 8 bits or fewer.
bmp() {
    local width=$1 height=$2 bits=$3 compression=$4 rows stride table=0 pixels colours=0 i grey
    rows=${height#-}
    # shellcheck disable=SC2017 # whole 32-bit words of a row
    stride=$(((width * bits + 31) / 32 * 4))
    pixels=$((stride * rows))
    if [ "$compression" -eq 3 ]; then
        table=12
    elif [ "$bits" -le 8 ]; then
        colours=$((1 << bits))
        table=$((colours * 4))
    fi
    printf 'BM'
    le32 $((54 + table + pixels))
    le32 0
    le32 $((54 + table))
    le32 40
    le32 "$width"
    le32 "$height"
    le16 1
    le16 "$bits"
    le32 "$compression"
    le32 "$pixels"
    le32 2835
    le32 2835
    le32 "$colours"
    le32 0
    if [ "$compression" -eq 3 ] && [ "$bits" -eq 16 ]; then
        le32 0xF800 && le32 0x07E0 && le32 0x001F
    elif [ "$compression" -eq 3 ]; then
        le32 0xFF0000 && le32 0xFF00 && le32 0xFF
    fi
    for ((i = 0; i < colours; i++)); do
        grey=$((i * 255 / (colours - 1)))
        printf "$(printf '\\%03o\\%03o\\%03o\\000' "$grey" "$grey" "$grey")"
    done
    pattern "$pixels"
}

# A string field of WIDTH bytes: TEXT and zeros.
field() {
    printf '%s' "$2"
    zeros $(($1 - ${#2}))
}

# The 852-byte game state of a new game, with the three list counts given.
state() {
    printf '\001\001\001\001\001'
    printf '\001\000\001\000\000\000\000\000\000\000\000\000\000\000\000\000'
    field 256 'http://www.korvex.jp/'
    field 20 'otop.htm'
    printf '\001\000\000\000\000\000\000\000\000\000\000\000\000\000\000'
    field 256 'umaker00.htm'
    field 256 'kyoumaker00.htm'
    le32 2 && le32 41 && le32 0 && le32 0
    le32 "$1" && le32 "$2" && le32 "$3"
}

# A world seed: sections "@@ PATH" (see tests/fuzz/world.cpp), each an entry
# of the demo world ("Text/otop.htm"), a loose file ("wave/title.wav"), or
# a whole file given as PATH=FILE; ":N" keeps the first N bytes.
world() {
    local item path cut first=1 source
    for item in "$@"; do
        path=${item%%:*}
        cut=
        [ "$item" = "$path" ] || cut=${item#*:}
        source=
        case $path in *=*)
            source=${path#*=}
            path=${path%%=*}
            ;;
        esac
        [ "$first" = 1 ] || printf '\n'
        first=0
        printf '@@ %s\n' "$path"
        {
            if [ -n "$source" ]; then
                cat "$source"
            elif [ "${path%%/*}" = wave ]; then
                cat "$game/$path"
            else
                entry "${path%%/*}" "${path#*/}"
            fi
        } | if [ -n "$cut" ]; then head -c "$cut"; else cat; fi
    done
}

pages="otop.htm search.htm urlmiss.htm xtags.htm ximages.htm xlinks.htm tou0001.htm bbs.htm
    kyoudata.htm kankou.htm upress.htm kirokuin.htm"

# ---- archive: small archives packed from demo entries ----
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
entry Text password.txt >"$stage/password.txt"
entry Text search.htm >"$stage/search.htm"
entry parts dots.bmp >"$stage/dots.bmp"
entry Text xlinks.htm >"$stage/xlinks.htm"
(cd "$stage" && "$velarc" pack "$seeds/archive/three.arc" password.txt search.htm dots.bmp >/dev/null)
(cd "$stage" && "$velarc" pack "$seeds/archive/one.arc" xlinks.htm >/dev/null)
zeros 4 >"$seeds/archive/empty.arc"

# ---- lzss: packed streams as the archives hold them; encode: what they decode to ----
for e in Text/password.txt Text/search.htm Text/xlinks.htm Text/suga00.txt parts/dots.bmp \
    parts/arrows.bmp parts/lamps.bmp ex/icon01.ico; do
    packed "${e%%/*}" "${e#*/}" >"$seeds/lzss/${e#*/}"
    entry "${e%%/*}" "${e#*/}" >"$seeds/encode/${e#*/}"
done

# ---- tokenizer: pages; page: their tokens, one a line, after a settings byte ----
for p in $pages; do
    entry Text "$p" >"$seeds/tokenizer/$p"
    { printf '\000' && "$velarc" tokens "$game/Text.arc" "$p"; } >"$seeds/page/$p" || true
done
# Plug-in, Caps Lock and every link visited; and a picture of the input's own.
{ printf '\007' && "$velarc" tokens "$game/Text.arc" ximages.htm; } >"$seeds/page/ximages-plugin"
# Tables: nested past the depth limit, a row past 16 cells, cells and rows
# without their ends, links and pictures in cells, and a table left open.
{
    printf '\000'
    for i in 1 2 3 4 5 6 7 8 9 10; do
        printf '<table border="1">\n<caption align="bottom left">\nc%s\n</caption>\n<tr>\n<th width="%s">\n' "$i" "$((i * 9))"
    done
    printf 'x\n<a href="x.htm">\n<img src="a.bmp" width="50%%">\n</a>\n<a name="n">\ny\n'
    for i in 1 2 3 4 5 6 7 8 9 10; do
        printf '</th>\n</tr>\n</table>\n'
    done
    printf '<table>\n<tr>\n'
    for i in $(seq 17); do
        printf '<td width="4">\n<img src="bs.bmp" align="middle">\nk\n<td>\n'
    done
    printf '<tr>\n<td width="120">\n<nobr>\nlong text in a cell\n</nobr>\n<br>\n<font size="2">\nwrapped text in a cell\n</a>\n<table>\n<td>\n'
} >"$seeds/page/tables"
# Forms: inputs outside any form, a form without its end, a second end, inputs
# without size, value or type, absurd sizes, and forms in table cells.
{
    printf '\011<input type="text" name="keyword">\n<input type="reset">\n<form>\n'
    printf '<input type="password" size="99999999999" value="pw">\n<input type="submit">\n'
    printf '<input type="checkbox">\n<input name="x">\n</form>\n</form>\n<div align="center">\n'
    printf '<form>\n<input type="submit" name="検索ボタン" value="a very long caption">\n<br>\n'
    printf '<table border="1">\n<caption align="top right">\nc\n</caption>\n<tr>\n<td width="30">\n'
    printf '<form>\n<input type="text" size="-5">\n</form>\n</td>\n<td width="9">\n'
    printf '<input type="reset" value="r">\n</td>\n</tr>\n<tr>\n<td width="90">\nq\n</td>\n</tr>\n</table>\n'
    printf '<form>\n<input type="text" size="3">\n'
} >"$seeds/page/forms"
{ printf '\000<img src="own.bmp" align="middle">\n<a href="x.htm">\n<img src="own.jpg">\n</a>\n\000' &&
    entry parts lamps.bmp; } >"$seeds/page/own-picture"

# ---- lines and password: data texts ----
for t in search.txt password.txt ero.txt tous00.txt suga00.txt; do
    entry Text "$t" >"$seeds/lines/$t"
done
entry Text password.txt >"$seeds/password/password.txt"

# ---- search: search.txt, ero.txt and a search text, separated by zero bytes ----
{ entry Text search.txt && printf '\000' && entry Text ero.txt && printf '\000' &&
    printf '\226\266 \201\100\201\142|ab AB'; } >"$seeds/search/table-and-words"
{ printf '\201\240a.htm\r\n//\r\n\201\233x\r\n\201\240\202\154\202\144\202\167\202\163\r\n\000bad\r\n\000x bad'; } >"$seeds/search/blocked"

# ---- scenario: a text number, flags, then a scenario text ----
for n in 0 1 2 12 15; do
    t=$(printf 'tous%02d.txt' "$n")
    { printf "\\$(printf '%03o' "$n")\\001" && entry Text "$t"; } >"$seeds/scenario/$t"
done
{ printf '\002\000' && entry Text suga00.txt; } >"$seeds/scenario/suga00.txt"

# ---- bmp: small demo pictures, and one of every depth the loader knows ----
for p in arrows dots lamps news; do
    entry parts "$p.bmp" >"$seeds/bmp/$p.bmp"
done
entry cg xbutton.bmp >"$seeds/bmp/xbutton.bmp"
bmp 13 5 1 0 >"$seeds/bmp/bits1.bmp"
bmp 7 6 4 0 >"$seeds/bmp/bits4.bmp"
bmp 9 -4 8 0 >"$seeds/bmp/bits8-top-down.bmp"
bmp 5 3 16 0 >"$seeds/bmp/bits16.bmp"
bmp 5 3 16 3 >"$seeds/bmp/bits16-fields.bmp"
bmp 4 4 32 3 >"$seeds/bmp/bits32-fields.bmp"
bmp 6 2 32 0 >"$seeds/bmp/bits32.bmp"

# ---- save: a new game, one with every list, and one cut inside its lists ----
state 0 0 0 >"$seeds/save/new-game.dat"
{
    state 2 2 3
    field 256 'Kirimizaka news' && field 256 '' && field 20 'onews.htm'
    field 256 'search' && field 256 'fog' && field 20 'search.htm'
    field 256 'http://www.korvex.jp/' && field 256 'http://kirimi.example/top'
    field 20 'otop.htm' && field 20 'onews.htm' && field 20 'tou0001.htm'
} >"$seeds/save/lists.dat"
head -c 1400 "$seeds/save/lists.dat" >"$seeds/save/cut.dat"

# ---- world: pieces of the demo world, picture headers only where pictures are big ----
scenes="cg/title.bmp:54 cg/dm00.bmp:54 cg/dm00a.bmp:54 cg/pict0100.bmp:54"
# shellcheck disable=SC2086
world Text/otop.htm Text/search.htm Text/urlmiss.htm Text/search.txt Text/ero.txt \
    $scenes parts/dots.bmp wave/title.wav:44 >"$seeds/world/start"
# shellcheck disable=SC2086
world Text/tou0001.htm Text/tous00.txt Text/tous01.txt Text/suga00.txt Text/sugatop.htm \
    Text/password.txt $scenes cg/pict0000.bmp:54 cg/pict0000m.bmp:54 ex/icon01.ico \
    wave/0000.wav:44 >"$seeds/world/messages"
world Text/xtags.htm Text/ximages.htm Text/xlinks.htm cg/xbutton.bmp cg/xphoto.bmp:54 \
    cg/xsketch.bmp:54 cg/xwide.bmp:54 parts/xbadges.bmp parts/bgfog.bmp:54 >"$seeds/world/showcase"
world "Text.arc=$seeds/archive/three.arc" "parts.arc=$seeds/archive/one.arc" cg/dm01.bmp:54 \
    >"$seeds/world/whole-archives"

# ---- velplay: scripts of velplay commands, played on the demo world ----
# The README's session.
cat >"$seeds/velplay/readme" <<'EOF'
click sugatop.htm
click kiroku.htm
click tou0000.htm
answer kirimon
answer きりみん
cancel
EOF
# The whole story in one run, from a new game to the ending pages at stage 10.
cat >"$seeds/velplay/story" <<'EOF'
click sugatop.htm
click suga00.htm
click suga01.htm
click suga09.htm
click sugad01.htm
click suga02.htm
click suga03.htm
click suga04.htm
click suga05.htm
click sugad02.htm
click suga06.htm
click suga07.htm
click suga08.htm
click suga10.htm
click sugad03.htm
click suga11.htm
click suga12.htm
click suga13.htm
click sugatop.htm
click kiroku.htm
click suga14.htm
click tou0000.htm
answer wrong
answer きりみん
click tou0100.htm
cancel
click tou0100.htm
answer umineko
click tou0200.htm
answer goro
click tou0300.htm
answer shirasaki
click tou0400.htm
answer 0707
click kirokuin.htm
submit tou0001.htm
back
submit tou0501.htm
answer yuri
click kiroku.htm
click tou0700.htm
answer higurashi
click tou0800.htm
answer shiroyami
click tou0900.htm
answer kiriyomi
click tou1000.htm
answer 白い沈黙
plugin
open ipan52.htm
open ipan52.htm
open ipan52.htm
open omaker00.htm
click usyo.htm
home
click olinks.htm
click machi.htm
click machihis.htm
click machi.htm
click kankou.htm
click olinks.htm
click umaker00.htm
click olinks.htm
click shinbun.htm
click sugatop.htm
click kiroku.htm
click tou0600.htm
answer KM307
open umaker00.htm
click upress.htm
open kiroku.htm
click tou1100.htm
answer しずく
click tou1200.htm
answer 0710
click tou1300.htm
answer 真壁
click sugatop.htm
click ohome.htm
click ipan07.htm
click ohome.htm
click ipan45.htm
open umaker00.htm
open kiroku.htm
click tou1400.htm
answer 旧測候所
click sugatop.htm
click ohome.htm
click ipan13.htm
click kankou.htm
click olinks.htm
click umaker00.htm
open kiroku.htm
click tou1500.htm
answer 真壁　修
click sugatop.htm
click ohome.htm
click ipan21.htm
click ohome.htm
click otop.htm
click olinks.htm
click umaker00.htm
click olinks.htm
click kyoumaker00.htm
EOF
# What the player could not do, a line that is not UTF-8, an empty line,
# quotes, backslashes and control characters for the reports to escape, and a
# prompt left open at the end of the input.
{
    printf 'jump otop.htm\nclick kiroku.htm\nanswer goro\ncancel\nforward\nback\nopen\n'
    printf 'answer \303\n\nsubmit 検索ボタン\nclick SUGATOP.HTM\nclick kiroku.htm\n'
    printf 'type "a"\\b\001\037\177\nfavourite add\nsearch \t"\\\nfavourite add\n\002\n'
    printf 'click tou0200.htm\nback\nhome\n'
} >"$seeds/velplay/refusals"
# Searches and typed addresses, with CR LF line ends and no end to the last line.
{
    printf 'search 霧　霧\r\nclick onews.htm\r\nback\r\nforward\r\nsearch \r\nsearch エロ\r\n'
    printf 'type HTTP://www.kirimi.net/news/\ntype http://nowhere/x.HTM\ntype http://nowhere/\ntype '
} >"$seeds/velplay/search-and-type"
# Downloads, the plug-in, favourites and the home page.
cat >"$seeds/velplay/keepsakes" <<'EOF'
open kankou.htm
click wall02.htm
click icon01.htm
open kyouplug.htm
click plugin
click plugin
open osyo.htm
favourite add
search 霧
favourite add
open otop.htm
favourite open 1
favourite open 0
favourite open 2
home current
open otop.htm
home
home
favourite delete 0
favourite drop 0
home standard
home
EOF

# ---- earlier findings, so that every run replays them ----
for t in $targets; do
    if [ -d "$root/tests/fuzz/regressions/$t" ]; then
        cp "$root/tests/fuzz/regressions/$t"/* "$seeds/$t/"
    fi
done

# Made aside and put in place at once: a fuzzer starting meanwhile still
# finds whole seeds.
rm -rf "$build/fuzz/seeds"
mv "$seeds" "$build/fuzz/seeds"
