#!/usr/bin/env bash
# Starts Norvale from a build folder. The window program itself says so and
# prints today's phase when there is no display to open a window on.
set -euo pipefail
build=${1:-build/dev}
if [[ -x "$build/app/norvale" ]]; then
    exec "$build/app/norvale"
fi
exec "$build/cli/norvale-cli"
