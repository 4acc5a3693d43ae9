#!/usr/bin/env bash
# Runs every benchmark program of a release build.
#
# The programs run on Qt's offscreen platform, except the start-up benchmark:
# it measures how long a real window takes to show, so it runs on a private
# Xvfb server with openbox (a window manager frames and maps the windows)
# when Xvfb and openbox are installed, and falls back to offscreen otherwise.
set -euo pipefail
build=${1:-build/release}

xpids=()
xdir=
display=
stop_x() {
    local p
    for p in "${xpids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${xpids[@]}"; do wait "$p" 2>/dev/null || true; done
    xpids=()
    [[ -z "$xdir" ]] || rm -rf "$xdir"
    xdir=
}
trap stop_x EXIT

# Starts Xvfb on the first free display (-displayfd) and openbox on it, and
# sets display; fails when either cannot start.
start_x() {
    command -v Xvfb >/dev/null && command -v openbox >/dev/null || return 1
    xdir=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp \
        3>"$xdir/display" >"$xdir/xvfb.log" 2>&1 &
    xpids+=($!)
    local n
    for n in $(seq 100); do
        [[ -s "$xdir/display" ]] && break
        sleep 0.1
    done
    [[ -s "$xdir/display" ]] || return 1
    display=":$(head -n 1 "$xdir/display")"
    # openbox runs its start-up command once it manages the screen.
    DISPLAY=$display openbox --sm-disable --startup "touch $xdir/wm-ready" \
        >"$xdir/openbox.log" 2>&1 &
    xpids+=($!)
    for n in $(seq 100); do
        [[ -e "$xdir/wm-ready" ]] && break
        sleep 0.1
    done
    [[ -e "$xdir/wm-ready" ]]
}

for b in "$build"/bench/*_bench; do
    [[ -x "$b" ]] || continue
    echo "== $(basename "$b")"
    if [[ "$(basename "$b")" == app_startup_bench ]]; then
        if start_x; then
            echo "(Xvfb + openbox on $display)"
            env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" "$b"
            stop_x
            continue
        fi
        stop_x
        echo "(Xvfb or openbox unavailable: offscreen)"
    fi
    QT_QPA_PLATFORM=offscreen "$b"
done

# norvale-cli against pom and pngphoon, whole processes.
echo "== norvale-cli against pom and pngphoon"
python3 "$(dirname "$0")/../bench/cli_vs_tools.py" "$build/cli/norvale-cli"
