#!/bin/bash
# The demo world's map: Graphviz draws it without a word of warning, and every
# page of Text.arc is a node of it. Usage: map.sh VELARC WORLD_DIR
set -u
velarc=$1
world=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$velarc" map "$world" "$work/map.svg" 2>"$work/err"; then
    echo "FAIL: velarc map ended with an error:"
    cat "$work/err"
    exit 1
fi
if [ -s "$work/err" ]; then
    echo "FAIL: drawing the map gave warnings:"
    cat "$work/err"
    exit 1
fi
missing=0
pages=0
while IFS=$'\t' read -r name _; do
    case $name in
    *.htm | *.HTM) ;;
    *) continue ;;
    esac
    pages=$((pages + 1))
    node=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
    if ! grep -qF "<title>$node</title>" "$work/map.svg"; then
        echo "FAIL: $node is not on the map"
        missing=$((missing + 1))
    fi
done < <("$velarc" list "$world/Text.arc")
if [ "$pages" -eq 0 ] || [ "$missing" -ne 0 ]; then
    echo "FAIL: $missing of $pages pages missing from the map"
    exit 1
fi
echo "the map shows all $pages pages"
