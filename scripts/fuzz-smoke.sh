#!/usr/bin/env bash
# A short fuzzing pass for `make test`: configures the fuzz preset (clang),
# builds only the fuzz targets and runs each one for a few seconds over its
# seed corpus. FUZZ_SMOKE_SECONDS changes the time per target (default 10);
# an optional argument names another build folder.
#
#   scripts/fuzz-smoke.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target fuzz_targets -j 2
exec scripts/fuzz.sh "$build" "${FUZZ_SMOKE_SECONDS:-10}"
