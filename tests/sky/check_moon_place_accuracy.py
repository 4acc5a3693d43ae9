#!/usr/bin/env python3
"""Checks the Moon seen from places against python3-ephem.

Usage: check_moon_place_accuracy.py PROBE [CASES]

PROBE is norvale_moon_place_probe. Random cases (fixed seed): a place with a
latitude within 72 degrees of the equator, a UTC day from 1900 to 2100 and an
instant in it. The probe's rise, set and upper transit over the day are
compared with events found here on ephem's own positions, with the almanac
convention (an Observer at sea level with pressure 0, so no refraction of its
own, and the upper limb 34' below the horizon). ephem's next_rising and
friends are not used: they can loop forever (ephem 4.1.4 at latitude
-64.70919803, longitude -133.15744625 from 1971-06-07 07:58:20 UTC). Instead
each crossing is bracketed by a scan every half hour and bisected, so every
reference costs a bounded number of positions, and each case runs under an
alarm as well, so the check can never hang.

Bounds: within 60 s (within 60 degrees of the equator) or 120 s (60 to 72
degrees), the same events on both sides except within the bound of the day's
ends, the transit's altitude, the altitude and the azimuth within 0.05
degrees (above 80 degrees of altitude the azimuth's difference times the
cosine of the altitude, the arc on the sky), and the bright limb's position angle (chi, from ephem's Sun and
topocentric Moon) and its angle from the zenith within 0.5 degrees. Prints
the largest differences and exits 1 when any passes its bound.
"""

import math
import random
import signal
import subprocess
import sys

import ephem

from ephem_time import ephem_date, finish, unix_seconds

SEED = 20271207
HORIZON = -math.radians(34.0 / 60.0)
SCAN_SECONDS = 1800
CASE_SECONDS_LIMIT = 20
ANGLE_BOUND = 0.05  # degrees: altitude, azimuth, altitude at transit
LIMB_BOUND = 0.5  # degrees: chi and chi - q
NEAR_ZENITH = 80.0  # degrees of altitude


class Reference:
    """The Moon from one place on ephem's positions."""

    def __init__(self, lat, lon):
        self.observer = ephem.Observer()
        self.observer.lat = math.radians(lat)
        self.observer.lon = math.radians(lon)
        self.observer.elevation = 0.0
        self.observer.pressure = 0.0
        self.moon = ephem.Moon()

    def at(self, seconds):
        self.observer.date = ephem_date(seconds)
        self.observer.epoch = self.observer.date
        self.moon.compute(self.observer)
        return self.moon

    def limb(self, seconds):
        m = self.at(seconds)
        return float(m.alt) + float(m.radius) - HORIZON

    def hour_angle(self, seconds):
        ha = float(self.at(seconds).ha)
        return math.atan2(math.sin(ha), math.cos(ha))

    def events(self, start, end):
        """(kind, seconds) of every crossing in [start, end], by scan and bisection."""
        found = []
        a, la, ha = start, self.limb(start), self.hour_angle(start)
        while a < end:
            b = min(a + SCAN_SECONDS, end)
            lb, hb = self.limb(b), self.hour_angle(b)
            if (la < 0) != (lb < 0):
                found.append(("r" if la < 0 else "s", bisect(self.limb, a, b, la < 0)))
            if ha < 0 <= hb and hb - ha < math.pi:
                found.append(("t", bisect(self.hour_angle, a, b, True)))
            a, la, ha = b, lb, hb
        return found


def bisect(f, a, b, rising):
    for _ in range(14):  # 1800 s / 2^14: 0.1 s
        c = (a + b) / 2
        if (f(c) >= 0) == rising:
            b = c
        else:
            a = c
    return (a + b) / 2


def chi_and_zenith(reference, seconds, lat):
    """chi from ephem's Sun and topocentric Moon, and chi - q, in degrees."""
    moon = reference.at(seconds)
    sun = ephem.Sun(reference.observer)
    a0, d0, a, d = float(sun.ra), float(sun.dec), float(moon.ra), float(moon.dec)
    chi = math.atan2(math.cos(d0) * math.sin(a0 - a),
                     math.sin(d0) * math.cos(d) - math.cos(d0) * math.sin(d) * math.cos(a0 - a))
    h, phi = float(moon.ha), math.radians(lat)
    q = math.atan2(math.sin(h), math.tan(phi) * math.cos(d) - math.sin(d) * math.cos(h))
    return math.degrees(chi) % 360, math.degrees(chi - q) % 360


def angle_diff(a, b):
    return (a - b + 180.0) % 360.0 - 180.0


class Timeout(Exception):
    pass


def on_alarm(_signum, _frame):
    raise Timeout()


def run_probe(probe, cases):
    text = "".join(f"{lat!r} {lon!r} {day} {day + 86400} {t}\n" for lat, lon, day, t in cases)
    out = subprocess.run([probe], input=text, capture_output=True, text=True, check=True,
                         timeout=600).stdout
    return out.splitlines()


def parse(line):
    f = line.split()
    row = {"always": f[0], "alt": float(f[1]), "az": float(f[2]), "chi": float(f[3]),
           "zenith": float(f[5]), "events": []}
    i = 6
    while i < len(f):
        if f[i] == "t":
            row["events"].append(("t", int(f[i + 1]), float(f[i + 2])))
            i += 3
        else:
            row["events"].append((f[i], int(f[i + 1]), None))
            i += 2
    return row


def compare(case, row, worst, failures):
    lat, lon, day, t = case
    bound = 60 if abs(lat) <= 60 else 120
    band = "within 60" if bound == 60 else "60 to 72"
    where = f"{lat:.5f},{lon:.5f} on {ephem_date(day)} UT"
    ref = Reference(lat, lon)
    theirs = ref.events(day - 2 * bound, day + 86400 + 2 * bound)
    matched = set()
    for kind, ours, altitude in row["events"]:
        near = [(abs(ours - s), i) for i, (k, s) in enumerate(theirs) if k == kind]
        diff, i = min(near) if near else (math.inf, None)
        if diff > bound:
            failures.append(f"{where}: {kind} {ours} has no reference event within {bound} s")
            continue
        matched.add(i)
        worst[band] = max(worst[band], diff)
        if altitude is not None:
            alt = math.degrees(float(ref.at(theirs[i][1]).alt))
            worst["transit altitude"] = max(worst["transit altitude"], abs(altitude - alt))
            if abs(altitude - alt) > ANGLE_BOUND:
                failures.append(f"{where}: transit altitude {altitude:.4f}, reference {alt:.4f}")
    for i, (kind, s) in enumerate(theirs):
        if i not in matched and day + bound <= s < day + 86400 - bound:
            failures.append(f"{where}: the reference's {kind} at {s:.0f} is missing")
    crossed = any(k in "rs" for k, _ in theirs if day <= _ < day + 86400)
    if row["always"] != "no" and crossed:
        failures.append(f"{where}: always {row['always']}, but the reference crosses")
    moon = ref.at(t)
    alt, az = math.degrees(float(moon.alt)), math.degrees(float(moon.az))
    chi, zenith = chi_and_zenith(ref, t, lat)
    for name, ours, theirs_value, limit in (
            ("altitude", row["alt"], alt, ANGLE_BOUND),
            ("azimuth", row["az"], az, ANGLE_BOUND),
            ("chi", row["chi"], chi, LIMB_BOUND),
            ("chi - q", row["zenith"], zenith, LIMB_BOUND)):
        diff = abs(angle_diff(ours, theirs_value))
        if name == "azimuth" and alt > NEAR_ZENITH:
            # Near the zenith a hundredth of a degree across the sky is a
            # large turn of the azimuth: compare the arc on the sky there.
            diff *= math.cos(math.radians(alt))
        worst[name] = max(worst[name], diff)
        if diff > limit:
            failures.append(f"{where} at {t}: {name} {ours:.4f}, reference {theirs_value:.4f}")


def main():
    probe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(SEED)
    first = unix_seconds(1900)
    days = round((float(ephem.Date("2101/1/1")) - float(ephem.Date("1900/1/1"))))
    cases = []
    for _ in range(count):
        lat = rng.uniform(-72.0, 72.0)
        lon = rng.uniform(-180.0, 180.0)
        day = first + rng.randrange(days) * 86400
        cases.append((lat, lon, day, day + rng.randrange(86400)))
    rows = run_probe(probe, cases)
    worst = {"within 60": 0.0, "60 to 72": 0.0, "transit altitude": 0.0, "altitude": 0.0,
             "azimuth": 0.0, "chi": 0.0, "chi - q": 0.0}
    failures = []
    signal.signal(signal.SIGALRM, on_alarm)
    for case, line in zip(cases, rows):
        if line == "none":
            failures.append(f"{case}: no figures")
            continue
        signal.alarm(CASE_SECONDS_LIMIT)
        try:
            compare(case, parse(line), worst, failures)
        except Timeout:
            failures.append(f"{case}: the reference took over {CASE_SECONDS_LIMIT} s")
        finally:
            signal.alarm(0)
    if len(rows) != len(cases):
        failures.append(f"the probe answered {len(rows)} of {len(cases)} cases")
    print(f"{len(cases)} random places and UTC days, 1900-2100, against ephem {ephem.__version__}:")
    print(f"  rise, set, transit within 60 degrees of the equator: within {worst['within 60']:.1f} s")
    print(f"  rise, set, transit at 60 to 72 degrees:              within {worst['60 to 72']:.1f} s")
    for name in ("transit altitude", "altitude", "azimuth", "chi", "chi - q"):
        print(f"  {name:52} within {worst[name]:.4f} degrees")
    return finish(failures)


if __name__ == "__main__":
    sys.exit(main())
