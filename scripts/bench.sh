#!/usr/bin/env bash
# Runs every benchmark program of a release build.
#
# The programs run on Qt's offscreen platform, except the start-up benchmark:
# it measures how long a real window takes to show, so it runs on a private
# Xvfb server with openbox (a window manager frames and maps the windows;
# tests/e2e/xserver.py starts both) when Xvfb and openbox are installed, and
# falls back to offscreen otherwise.
set -euo pipefail
build=${1:-build/release}
xserver="$(dirname "$0")/../tests/e2e/xserver.py"

for b in "$build"/bench/*_bench; do
    [[ -x "$b" ]] || continue
    echo "== $(basename "$b")"
    if [[ "$(basename "$b")" == app_startup_bench ]]; then
        # Status 77: the server did not start and the benchmark did not run.
        status=0
        python3 "$xserver" run --size 1280x800 -- \
            sh -c 'echo "(Xvfb + openbox on $DISPLAY)" && exec env -u QT_QPA_PLATFORM "$0"' "$b" \
            || status=$?
        [[ $status != 0 ]] || continue
        [[ $status == 77 ]] || exit "$status"
        echo "(Xvfb or openbox unavailable: offscreen)"
    fi
    QT_QPA_PLATFORM=offscreen "$b"
done

# norvale-cli against pom and pngphoon, whole processes.
echo "== norvale-cli against pom and pngphoon"
python3 "$(dirname "$0")/../bench/cli_vs_tools.py" "$build/cli/norvale-cli"
