#!/usr/bin/env bash
# Installs the Debian packages Norvale needs to build, run and test, when any is
# missing. As root it installs them; otherwise it prints the exact command and
# stops, so nothing is ever half set up behind the user's back.
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache pkg-config
    qt6-base-dev libgl-dev libnova-dev
    libfreetype-dev libfontconfig-dev libpng-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    fonts-dejavu-core fonts-dejavu-extra locales
    xvfb xdotool x11-utils openbox imagemagick weston qt6-wayland
    python3 python3-icalendar python3-ephem
    dpkg-dev fakeroot file lintian appstream desktop-file-utils
)

# `install-deps.sh --bench` adds what the benchmarks compare with: bsdgames'
# pom and pngphoon for norvale-cli, GNU time for peak memory.
if [[ ${1:-} == --bench ]]; then
    packages+=(bsdgames pngphoon time)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    cmd="apt-get install -y --no-install-recommends ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then
        echo "Norvale needs these Debian packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo $cmd" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    $cmd
fi

# The tests check that texts do not follow the process locale; they need a
# locale with a decimal comma and German month names to prove it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [[ $(id -u) -eq 0 ]]; then
        localedef -i de_DE -f UTF-8 de_DE.UTF-8
    else
        echo "note: the de_DE.UTF-8 locale is missing; the locale tests will fail without it" >&2
        echo "  (as root: localedef -i de_DE -f UTF-8 de_DE.UTF-8)" >&2
    fi
fi
