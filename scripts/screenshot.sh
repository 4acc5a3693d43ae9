#!/usr/bin/env bash
# Takes screenshots of the real Norvale window for the README: the full layout
# at 1x (docs/window.png) and at a device pixel ratio of 2 (docs/window-2x.png).
# Runs the window on a private Xvfb server with openbox for the frame
# (tests/e2e/xserver.py starts both and takes the pictures), and a throw-away
# settings folder, so nothing of the user's own setup is touched.
#
#   scripts/screenshot.sh [BUILD] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
xserver=tests/e2e/xserver.py

# Outside the X server: check the tools and run this script again inside it.
if [[ "${1:-}" != --in-session ]]; then
    build=${1:-build/dev}
    out=${2:-docs}
    norvale="$build/app/norvale"
    [[ -x "$norvale" ]] || { echo "screenshot: $norvale is not built" >&2; exit 1; }
    for tool in Xvfb openbox xdotool import python3; do
        command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
    done
    status=0
    python3 "$xserver" run --size 800x600 -- "$PWD/scripts/screenshot.sh" --in-session \
        "$norvale" "$out" || status=$?
    [[ $status != 77 ]] || { echo "screenshot: the X server or openbox did not start" >&2; exit 1; }
    exit "$status"
fi

norvale=$2
out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shoot() { # scale file
    local scale=$1 file=$2 wid
    mkdir -p "$work/config-$scale"
    XDG_CONFIG_HOME="$work/config-$scale" XDG_CACHE_HOME="$work/cache" \
        QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$norvale" >"$work/norvale-$scale.log" 2>&1 &
    local pid=$!
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible --name '^Norvale$' 2>/dev/null | head -n 1) && [[ -n "$wid" ]] && break
        sleep 0.1
    done
    [[ -n "${wid:-}" ]] || { echo "screenshot: the window did not appear" >&2; kill "$pid"; return 1; }
    sleep 1.5 # let the window manager frame and place it
    xdotool mousemove 0 0
    python3 "$xserver" shot --frame "$wid" "$file"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "wrote $file"
}

mkdir -p "$out"
shoot 1 "$out/window.png"
shoot 2 "$out/window-2x.png"
