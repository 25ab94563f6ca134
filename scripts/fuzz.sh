#!/bin/bash
# Runs the fuzz targets built in $BUILD_DIR/fuzz, one at a time, after making
# their seeds (scripts/fuzz-seeds.sh).
#
#   scripts/fuzz.sh run SECONDS [TARGET...]
#       fuzzes each target for SECONDS, growing its corpus in
#       build/fuzz/corpus/TARGET, and ends with a table of executions,
#       coverage and findings
#   scripts/fuzz.sh smoke SECONDS [TARGET...]
#       runs each target for SECONDS on its seeds alone and reports it as a
#       test in GoogleTest's words: passed when it ends without a finding
#
# Inputs that crash, leak, hang or run out of memory go to
# build/fuzz/findings/TARGET/; each target's output is in build/fuzz/logs/
# (build/fuzz/logs/smoke/ for smoke runs).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
fuzz=$build/fuzz
all="archive lzss encode tokenizer lines password bmp page save world search scenario velplay"

usage() {
    echo "usage: scripts/fuzz.sh run|smoke SECONDS [TARGET...]  (targets: $all)" >&2
    exit 2
}
[ $# -ge 2 ] || usage
mode=$1
seconds=$2
shift 2
case $mode in run | smoke) ;; *) usage ;; esac
case $seconds in '' | *[!0-9]*) usage ;; esac
targets=${*:-$all}
for t in $targets; do
    case " $all " in *" $t "*) ;; *) echo "fuzz: no target $t" >&2 && usage ;; esac
    if [ ! -x "$fuzz/tests/fuzz/fuzz_$t" ]; then
        echo "fuzz: $fuzz/tests/fuzz/fuzz_$t is not built (make fuzz builds it)" >&2
        exit 1
    fi
done

"$root/scripts/fuzz-seeds.sh" || exit 1
# Smoke runs keep their own logs, so that a test run beside a long one
# does not write over its output.
logs=$fuzz/logs
[ "$mode" = smoke ] && logs=$fuzz/logs/smoke
mkdir -p "$logs"

dictionary() {
    case $1 in
    tokenizer | page) echo "$root/tests/fuzz/dict/html.dict" ;;
    lines | password) echo "$root/tests/fuzz/dict/password.dict" ;;
    world) echo "$root/tests/fuzz/dict/world.dict" ;;
    velplay) echo "$root/tests/fuzz/dict/velplay.dict" ;;
    esac
}

# Runs one target on the corpus folder given; sets executions, speed, cov,
# ft, units (in the corpus), found (new finding files, one a line) and status.
run_target() {
    local t=$1 corpus=$2 log=$logs/$1.log findings=$fuzz/findings/$1 marker last dict
    mkdir -p "$findings" "$corpus"
    marker=$(mktemp)
    local args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
        -artifact_prefix="$findings/")
    dict=$(dictionary "$t")
    [ -n "$dict" ] && args+=(-dict="$dict")
    # No -jobs or -workers: one process, on one core.
    "$fuzz/tests/fuzz/fuzz_$t" "${args[@]}" "$corpus" "$fuzz/seeds/$t" >"$log" 2>&1
    status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    # -a: libFuzzer's log holds dictionary entries as raw bytes.
    last=$(grep -a -E '^#[0-9]+.* cov: ' "$log" | tail -n 1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    units=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    found=$(find "$findings" -type f -newer "$marker" \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
    rm -f "$marker"
    # A target that dies without leaving an input behind is a finding too.
    if [ "$status" -ne 0 ] && [ -z "$found" ]; then
        found="(no input kept; see $log)"
    fi
}

# What a finding's log says about it, for the reader of the tier's summary.
explain() {
    grep -a -E '^==[0-9]+==ERROR|^SUMMARY|check failed|runtime error|^ERROR' "$1" | head -n 5
}

tests() {
    if [ "$1" -eq 1 ]; then echo test; else echo tests; fi
}

if [ "$mode" = smoke ]; then
    passed=0
    failed=()
    count=$(wc -w <<<"$targets")
    echo "[==========] Running $count fuzz targets for $seconds s each on their seeds."
    for t in $targets; do
        echo "[ RUN      ] fuzz.$t"
        scratch=$(mktemp -d)
        run_target "$t" "$scratch"
        rm -rf "$scratch"
        if [ -z "$found" ]; then
            echo "[       OK ] fuzz.$t (${executions:-0} executions, cov ${cov:-?}, ft ${ft:-?})"
            passed=$((passed + 1))
        else
            explain "$logs/$t.log"
            echo "FAIL: fuzz.$t found $(head -n 1 <<<"$found")"
            echo "[  FAILED  ] fuzz.$t"
            failed+=("$t")
        fi
    done
    echo "[==========] $count fuzz targets ran."
    echo "[  PASSED  ] $passed $(tests "$passed")."
    if [ ${#failed[@]} -gt 0 ]; then
        echo "[  FAILED  ] ${#failed[@]} $(tests ${#failed[@]}), listed below:"
        for t in "${failed[@]}"; do
            echo "[  FAILED  ] fuzz.$t"
        done
        exit 1
    fi
    exit 0
fi

report=()
all_found=""
for t in $targets; do
    echo "== fuzz_$t for $seconds s"
    run_target "$t" "$fuzz/corpus/$t"
    n=0
    [ -n "$found" ] && n=$(wc -l <<<"$found")
    [ -n "$found" ] && explain "$logs/$t.log" && all_found+="$found"$'\n'
    report+=("$(printf '%-10s %12s %9s %6s %7s %7s %9s' "$t" "${executions:-?}" "${speed:-?}" \
        "${cov:-?}" "${ft:-?}" "${units:-?}" "$n")")
done
echo
printf '%-10s %12s %9s %6s %7s %7s %9s\n' target executions exec/s cov ft corpus findings
printf '%s\n' "${report[@]}"
if [ -n "$all_found" ]; then
    echo
    echo "Findings (reproduce with build/fuzz/tests/fuzz/fuzz_TARGET FILE):"
    printf '%s' "$all_found"
    exit 1
fi
