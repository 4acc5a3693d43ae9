#!/usr/bin/env bash
# Runs every libFuzzer target of a build folder for the given number of
# seconds, each over a fresh copy of its committed seed corpus (the committed
# seeds never change). Crash reproducers land in $FUZZ_ARTIFACTS (default:
# <build>/fuzz-artifacts). Exits non-zero when any target finds a fault.
#
#   scripts/fuzz.sh BUILD SECONDS
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BUILD SECONDS" >&2
    exit 2
fi
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
artifacts=${FUZZ_ARTIFACTS:-$build/fuzz-artifacts}
mkdir -p "$artifacts"
artifacts=$(cd "$artifacts" && pwd)

targets=()
for exe in "$build"/fuzz/fuzz_*; do
    [[ -x $exe && -f $exe ]] && targets+=("$exe")
done
if ((${#targets[@]} == 0)); then
    echo "fuzz: no fuzz targets in $build/fuzz (build them with --target fuzz_targets)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
printf '%-16s %12s %8s %8s  %s\n' target executions exec/s corpus result
for exe in "${targets[@]}"; do
    name=$(basename "$exe")
    corpus=$work/$name
    mkdir -p "$corpus"
    if [[ -d $root/fuzz/corpus/$name ]]; then
        cp "$root/fuzz/corpus/$name"/. "$corpus"/ -r
    fi
    log=$artifacts/$name.log
    status=0
    # One process, one job: the machine is shared. Leaks count as faults.
    "$exe" -max_total_time="$seconds" -print_final_stats=1 -detect_leaks=1 \
        -artifact_prefix="$artifacts/$name-" "$corpus" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    units=$(find "$corpus" -type f | wc -l)
    if ((status == 0)); then
        result=ok
    else
        result="FAULT (exit $status, see $log)"
        failed=1
    fi
    printf '%-16s %12s %8s %8s  %s\n' "$name" "${runs:-?}" "${speed:-?}" "$units" "$result"
done
exit $failed
