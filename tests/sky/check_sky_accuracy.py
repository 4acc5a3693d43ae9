#!/usr/bin/env python3
"""Checks the sky figures against an independent ephemeris, python3-ephem.

Usage: check_sky_accuracy.py PROBE [INSTANTS_PER_SPAN]

PROBE is norvale_sky_probe. Random UTC instants (fixed seed) are drawn from
each span below; for each, the probe's previous new moon and next four phases
are compared with ephem's own phase search (the same definition: apparent
geocentric ecliptic longitude of the Moon less the Sun's), in Universal Time,
so the difference includes the two programs' different Delta T models (the
largest difference with Delta T taken out is printed as well). The
illuminated fraction is compared with (1 + cos i) / 2, i the Sun-Moon-Earth
angle from ephem's own positions and distances; ephem's moon_phase is not
used, being itself up to 0.6 points off that. Prints the largest differences
per span and exits 1 when any passes its bound.
"""

import math
import random
import subprocess
import sys

import ephem

from ephem_time import ephem_date, finish, seconds_of, unix_seconds

SEED = 20270328
KM_PER_AU = 149597870.7
BROWN_LUNATION_ONE = 2423436.6115  # the new moon of 1923-01-17 02:41 UT (JD)
SYNODIC_MONTH = 29.530588853

# (first year, end year, phase bound in seconds, what Delta T is there)
SPANS = [
    (1800, 1900, 30, "measured, telescopic"),
    (1900, 2030, 30, "measured"),
    (2030, 2100, 90, "predicted"),
    (2100, 2201, 120, "predicted"),
]
ILLUMINATION_BOUND = 0.1  # percentage points
DISTANCE_BOUND_KM = 10.0

PHASES = [
    ("previous new moon", ephem.previous_new_moon),
    ("next new moon", ephem.next_new_moon),
    ("next first quarter", ephem.next_first_quarter_moon),
    ("next full moon", ephem.next_full_moon),
    ("next last quarter", ephem.next_last_quarter_moon),
]


def geocentric(body):
    r = body.earth_distance
    ra, dec = float(body.g_ra), float(body.g_dec)
    return (r * math.cos(dec) * math.cos(ra), r * math.cos(dec) * math.sin(ra), r * math.sin(dec))


def exact_illumination(date):
    """100 (1 + cos i) / 2 from ephem's apparent geocentric positions."""
    s = geocentric(ephem.Sun(date))
    moon = ephem.Moon(date)
    m = geocentric(moon)
    to_sun = [a - b for a, b in zip(s, m)]
    to_earth = [-a for a in m]
    dot = sum(a * b for a, b in zip(to_sun, to_earth))
    cross = (
        to_sun[1] * to_earth[2] - to_sun[2] * to_earth[1],
        to_sun[2] * to_earth[0] - to_sun[0] * to_earth[2],
        to_sun[0] * to_earth[1] - to_sun[1] * to_earth[0],
    )
    i = math.atan2(math.sqrt(sum(c * c for c in cross)), dot)
    return 100.0 * (1.0 + math.cos(i)) / 2.0, moon.earth_distance * KM_PER_AU


def run_probe(probe, instants):
    text = "".join(f"{t}\n" for t in instants)
    out = subprocess.run([probe], input=text, capture_output=True, text=True, check=True).stdout
    rows = {}
    for line in out.splitlines():
        f = line.split()
        if f[1] == "none":
            rows[int(f[0])] = None
            continue
        rows[int(f[0])] = {
            "illumination": float(f[1]),
            "phases": [int(x) for x in f[3:8]],
            "distance": float(f[8]),
            "lunation": int(f[9]),
            "delta_t": float(f[10]),
        }
    return rows


def main():
    probe = sys.argv[1]
    per_span = int(sys.argv[2]) if len(sys.argv) > 2 else 120
    rng = random.Random(SEED)
    failures = []
    for first, end, bound, delta_t in SPANS:
        lo, hi = unix_seconds(first), unix_seconds(end) - 1
        instants = [rng.randint(lo, hi) for _ in range(per_span)]
        rows = run_probe(probe, instants)
        worst = {name: (0.0, None) for name, _ in PHASES}
        worst_other = {"illumination": (0.0, None), "distance": (0.0, None)}
        worst_tt = 0.0
        for t in instants:
            row = rows.get(t)
            if row is None:
                failures.append(f"{t}: no figures")
                continue
            d = ephem_date(t)
            reference = [search(d) for _, search in PHASES]
            for (name, _), ours, theirs in zip(PHASES, row["phases"], reference):
                diff = ours - seconds_of(theirs)
                # The same difference on the uniform time scale (TT).
                tt = diff + row["delta_t"] - ephem.delta_t(theirs)
                worst_tt = max(worst_tt, abs(tt))
                if abs(diff) > abs(worst[name][0]):
                    worst[name] = (diff, t)
                if abs(diff) > bound:
                    failures.append(f"{t} ({d} UT): {name} {ours} is {diff:+.1f} s off")
            # reference[0] is ephem's previous new moon (Dublin Julian days).
            brown = round((float(reference[0]) + 2415020.0 - BROWN_LUNATION_ONE)
                          / SYNODIC_MONTH) + 1
            if row["lunation"] != brown:
                failures.append(f"{t} ({d} UT): lunation {row['lunation']}, expected {brown}")
            illumination, distance = exact_illumination(d)
            for label, exact, limit in (("illumination", illumination, ILLUMINATION_BOUND),
                                        ("distance", distance, DISTANCE_BOUND_KM)):
                diff = row[label] - exact
                if abs(diff) > abs(worst_other[label][0]):
                    worst_other[label] = (diff, t)
                if abs(diff) > limit:
                    failures.append(f"{t} ({d} UT): {label} {row[label]:.4f}, "
                                    f"reference {exact:.4f}")
        print(f"{first}-{end - 1} ({len(instants)} instants, Delta T {delta_t}; "
              f"phases within {bound} s):")
        for name, (diff, t) in worst.items():
            print(f"  {name:20} largest difference {diff:+7.1f} s  (at {t})")
        print(f"  {'in TT':20} largest difference {worst_tt:7.1f} s  (Delta T taken out)")
        print(f"  {'illumination':20} largest difference "
              f"{worst_other['illumination'][0]:+.4f} points")
        print(f"  {'distance':20} largest difference {worst_other['distance'][0]:+.2f} km")
    return finish(failures)


if __name__ == "__main__":
    sys.exit(main())
