#!/usr/bin/env python3
"""Checks the printed minutes of the principal phases against python3-ephem.

Usage: check_sky_minutes.py PROBE [PHASES]

PROBE is norvale_sky_probe. PHASES (default 2000) random principal phases
from 1900 to 2019 (fixed seed), where both programs take Delta T from the
measurements: each is one of the next four phases of a random instant. The
minute Norvale prints (the instant rounded to the nearest minute, half a
minute up) must equal ephem's instant rounded the same way for at least
95 % of them; cutting the minutes instead of rounding them agrees about half
the time. Prints the share and exits 1 below it.
"""

import math
import random
import subprocess
import sys

import ephem

from ephem_time import ephem_date, seconds_of, unix_seconds

SEED = 20261207
REQUIRED_SHARE = 0.95
FINDERS = [ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon,
           ephem.next_last_quarter_moon]


def nearest_minute(seconds):
    return math.floor((seconds + 30) / 60)


def main():
    probe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(SEED)
    lo, hi = unix_seconds(1900), unix_seconds(2020) - 40 * 86400
    picks = [(rng.randint(lo, hi), rng.randrange(4)) for _ in range(count)]
    text = "".join(f"{t}\n" for t, _ in picks)
    out = subprocess.run([probe], input=text, capture_output=True, text=True, check=True).stdout
    rows = {int(line.split()[0]): line.split() for line in out.splitlines()}
    same = 0
    worst = 0.0
    for t, kind in picks:
        ours = int(rows[t][4 + kind])  # the next new, first quarter, full, last quarter
        theirs = seconds_of(FINDERS[kind](ephem_date(t)))
        worst = max(worst, abs(ours - theirs))
        same += nearest_minute(ours) == nearest_minute(theirs)
    share = same / count
    print(f"{same} of {count} phases 1900-2019 ({100 * share:.1f} %) print ephem's minute; "
          f"the instants differ by {worst:.1f} s at most")
    return 0 if share >= REQUIRED_SHARE else 1


if __name__ == "__main__":
    sys.exit(main())
