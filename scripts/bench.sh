#!/usr/bin/env bash
# Runs every benchmark program of a release build.
set -euo pipefail
build=${1:-build/release}
for b in "$build"/bench/*_bench; do
    [[ -x "$b" ]] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b"
done
