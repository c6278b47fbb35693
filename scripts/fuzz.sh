#!/usr/bin/env bash
# Runs the libFuzzer harnesses of a fuzz build (cmake --preset fuzz).
#
#   scripts/fuzz.sh [-t SECONDS] [-j JOBS] [HARNESS...]
#
# Each harness first replays the inputs that once failed it
# (tests/fuzz/regressions/<harness>/), then fuzzes for SECONDS (default 20)
# from its seeds and what earlier runs found (build-fuzz/fuzz/corpus/<harness>),
# at most JOBS harnesses at a time (default 1). A failing input is saved under
# build-fuzz/fuzz/artifacts/. Prints one line per harness: executions, coverage
# (cov: edges, ft: features), corpus size. Exits non-zero when any harness failed.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=20
jobs=1
while getopts "t:j:" opt; do
    case $opt in
        t) seconds=$OPTARG ;;
        j) jobs=$OPTARG ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
build=${VELTRIX_FUZZ_BUILD:-build-fuzz}
dir=$build/fuzz
if [ $# -gt 0 ]; then
    harnesses=("$@")
else
    harnesses=()
    for bin in "$dir"/fuzz_*; do [ -x "$bin" ] && harnesses+=("$(basename "$bin")"); done
fi
[ ${#harnesses[@]} -gt 0 ] || { echo "no harnesses in $dir: build the fuzz preset first" >&2; exit 2; }
mkdir -p "$dir/artifacts" "$dir/logs"

run() {
    local name=$1 seeds corpus log regressions
    seeds=$dir/seeds/corpus/${name#fuzz_}
    corpus=$dir/corpus/$name
    log=$dir/logs/$name.log
    regressions=tests/fuzz/regressions/$name
    mkdir -p "$corpus" "$seeds"
    # Inputs that once failed must pass now.
    if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
        if ! "$dir/$name" "$regressions"/* >"$log.regressions" 2>&1; then
            echo "$name: FAILED on a regression input (see $log.regressions)"
            return 1
        fi
    fi
    # The inputs are small files: a reader has no business allocating much
    # more than they hold, so a large allocation fails the run.
    "$dir/$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -max_len=65536 \
        -malloc_limit_mb=256 -rss_limit_mb=2048 -artifact_prefix="$dir/artifacts/$name-" \
        "$corpus" "$seeds" >"$log" 2>&1
    local rc=$?
    local execs cov ft units
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    units=$(find "$corpus" -type f | wc -l)
    if [ $rc -ne 0 ]; then
        echo "$name: FAILED after ${execs:-?} executions (see $log)"
        grep -m3 -E "ERROR|property failed|SUMMARY" "$log" | sed 's/^/    /'
        return 1
    fi
    printf '%-18s %10s execs  cov %-5s ft %-6s corpus %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$units"
}

failed=0
running=0
pids=()
for name in "${harnesses[@]}"; do
    run "$name" &
    pids+=($!)
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait "${pids[0]}" || failed=$((failed + 1))
        pids=("${pids[@]:1}")
        running=$((running - 1))
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
echo "fuzz: $((${#harnesses[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
