#!/usr/bin/env python3
"""The true picture's geometry against python3-ephem.

    check_true_geometry.py TRUE_PROBE [COUNT]

Draws the Moon at COUNT (default 200) random instants from 1900 to 2100 (a
fixed seed) through the probe, at 1024 x 1024 with the disk 0.8 of the side at
the mean distance, from the Earth's centre with north up, and again from a
random place with that place's zenith up. Against an independent computation
from ephem's positions it checks:

- the lit share of the disk's pixels within 1 point of (1 + cos i) / 2, i the
  Sun-Moon-observer angle from ephem's places and distances;
- the direction from the disk's centre to the middle of the bright limb within
  2 degrees of the position angle chi (Meeus 48.5, from ephem's apparent right
  ascensions and declinations; from a place, chi less the parallactic angle q
  of the place's zenith);
- the disk's radius within 1 pixel of 409.6 px times 385000.56 km / distance;
- with north up, the centres of Mare Crisium (17.0 N, 59.1 E), Plato (51.6 N,
  9.3 W) and Tycho (43.3 S, 11.2 W) within 2 pixels of where ephem's libration
  and the position angle of the Moon's axis put them. ephem gives no position
  angle of the axis, so this script computes it from ephem's positions as in
  Meeus chapter 53 (without the physical libration, a few hundredths of a
  degree).

Prints the largest differences and exits 1 when a bound is broken.
"""

import calendar
import datetime
import math
import random
import subprocess
import sys

import ephem

SIDE = 1024
RADIUS = 0.8 * SIDE / 2
MEAN_KM = 385000.56
AU_KM = 149597870.7
EARTH_KM = 6378.14
INCLINATION = math.radians(1.54242)
FEATURES = [("Mare Crisium", 17.0, 59.1), ("Plato", 51.6, -9.3), ("Tycho", -43.3, -11.2)]
SHARE_BOUND = 0.01
ANGLE_BOUND = 2.0
RADIUS_BOUND = 1.0
FEATURE_BOUND = 2.0


def angle_difference(a, b):
    return (a - b + 180.0) % 360.0 - 180.0


def bright_limb(moon_ra, moon_dec, sun_ra, sun_dec):
    """Meeus 48.5, degrees 0 to 360."""
    d = sun_ra - moon_ra
    chi = math.atan2(math.cos(sun_dec) * math.sin(d),
                     math.sin(sun_dec) * math.cos(moon_dec)
                     - math.cos(sun_dec) * math.sin(moon_dec) * math.cos(d))
    return math.degrees(chi) % 360.0


def phase_angle(moon_ra, moon_dec, moon_km, sun):
    psi = float(ephem.separation((moon_ra, moon_dec), (sun.ra, sun.dec)))
    r = sun.earth_distance * AU_KM
    return math.atan2(r * math.sin(psi), moon_km - r * math.cos(psi))


def axis_angle(date, moon_ra, moon_dec, libration_lat):
    """The position angle of the Moon's axis, Meeus 53 (rho = sigma = 0)."""
    jde = ephem.julian_date(date) + 69.0 / 86400.0
    t = (jde - 2451545.0) / 36525.0
    omega = math.radians(125.0445479 - 1934.1362891 * t + 0.0020754 * t * t)
    sun_mean = math.radians(280.4665 + 36000.7698 * t)
    moon_mean = math.radians(218.3165 + 481267.8813 * t)
    dpsi = math.radians((-17.20 * math.sin(omega) - 1.32 * math.sin(2 * sun_mean)
                         - 0.23 * math.sin(2 * moon_mean) + 0.21 * math.sin(2 * omega)) / 3600)
    deps = math.radians((9.20 * math.cos(omega) + 0.57 * math.cos(2 * sun_mean)
                         + 0.10 * math.cos(2 * moon_mean) - 0.09 * math.cos(2 * omega)) / 3600)
    eps = math.radians(23.4392911 - 0.0130042 * t) + deps
    v = omega + dpsi
    x = math.sin(INCLINATION) * math.sin(v)
    y = math.sin(INCLINATION) * math.cos(v) * math.cos(eps) - math.cos(INCLINATION) * math.sin(eps)
    w = math.atan2(x, y)
    return math.degrees(math.asin(math.hypot(x, y) * math.cos(moon_ra - w) / math.cos(libration_lat)))


def project(lat, lon, l, b, p, radius):
    """Pixel of a selenographic point on a north-up picture: the sphere turned
    to the sub-Earth point (l, b), the Moon's north at position angle p (from
    the sky's north through the east, which is to the left), the Moon's east
    toward the sky's west."""
    lat, dl, b, p = math.radians(lat), math.radians(lon - l), math.radians(b), math.radians(p)
    x, e, z = math.cos(lat) * math.cos(dl), math.cos(lat) * math.sin(dl), math.sin(lat)
    north = -x * math.sin(b) + z * math.cos(b)
    # Sky coordinates: right is west, up is north; the Moon's north turned
    # from the sky's north toward the east (left) by p.
    right = e * math.cos(p) - north * math.sin(p)
    up = e * math.sin(p) + north * math.cos(p)
    return SIDE / 2 + radius * right, SIDE / 2 - radius * up


def topocentric_km(date, place_lat, place_lon, geo):
    """The distance from a place on the ellipsoid to the Moon (geo: ephem's
    geocentric Moon), in km."""
    obs = ephem.Observer()
    obs.lon, obs.lat, obs.date = str(place_lon), str(place_lat), date
    theta = float(obs.sidereal_time())
    phi = math.radians(place_lat)
    u = math.atan(0.99664719 * math.tan(phi))
    rc, rs = math.cos(u), 0.99664719 * math.sin(u)
    d = geo.earth_distance * AU_KM
    m = (d * math.cos(geo.dec) * math.cos(geo.ra), d * math.cos(geo.dec) * math.sin(geo.ra),
         d * math.sin(geo.dec))
    o = (EARTH_KM * rc * math.cos(theta), EARTH_KM * rc * math.sin(theta), EARTH_KM * rs)
    return math.dist(m, o)


def main():
    probe = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    rng = random.Random(28)
    first = calendar.timegm((1900, 1, 1, 0, 0, 0))
    last = calendar.timegm((2100, 12, 31, 23, 59, 59))
    instants = [rng.randint(first, last) for _ in range(count)]
    places = [(rng.uniform(-70, 70), rng.uniform(-180, 180)) for _ in range(count)]
    lines = [str(t) for t in instants] + [f"{t} {la:.4f} {lo:.4f}" for t, (la, lo) in
                                           zip(instants, places)]
    result = subprocess.run([probe], input="\n".join(lines) + "\n", capture_output=True,
                            text=True, check=True)
    rows = result.stdout.split("\n")[:len(lines)]

    worst = {"share": 0.0, "angle": 0.0, "angle_zenith": 0.0, "radius": 0.0, "feature": 0.0}
    skipped = 0
    failures = []
    for n, row in enumerate(rows):
        zenith = n >= count
        t = instants[n % count]
        place = places[n % count] if zenith else None
        measured, _, own = row.partition(" | ")
        fields = measured.split()
        share, limb, radius = float(fields[1]), float(fields[2]), float(fields[3])
        date = ephem.Date(datetime.datetime.fromtimestamp(t, datetime.timezone.utc)
                          .replace(tzinfo=None))
        sun = ephem.Sun(date)
        geo = ephem.Moon(date)
        if zenith:
            obs = ephem.Observer()
            obs.lat, obs.lon, obs.date = str(place[0]), str(place[1]), date
            obs.elevation, obs.pressure = 0.0, 0.0
            moon = ephem.Moon(obs)
            sun = ephem.Sun(obs)
            km = topocentric_km(date, place[0], place[1], geo)
            hour = float(obs.sidereal_time()) - float(moon.ra)
            phi = math.radians(place[0])
            q = math.degrees(math.atan2(math.sin(hour), math.tan(phi) * math.cos(moon.dec)
                                        - math.sin(moon.dec) * math.cos(hour)))
        else:
            moon, km, q = geo, geo.earth_distance * AU_KM, 0.0
        i = phase_angle(moon.ra, moon.dec, km, sun)
        exact = (1 + math.cos(i)) / 2
        chi = bright_limb(moon.ra, moon.dec, sun.ra, sun.dec)
        expected_radius = RADIUS * MEAN_KM / km
        what = f"{datetime.datetime.fromtimestamp(t, datetime.timezone.utc):%Y-%m-%d %H:%M:%S}" + (
            f" from {place[0]:.2f} {place[1]:.2f}, zenith up" if zenith else "")

        worst["share"] = max(worst["share"], abs(share - exact))
        if abs(share - exact) > SHARE_BOUND:
            failures.append(f"{what}: lit share {share:.4f}, exact {exact:.4f}")
        worst["radius"] = max(worst["radius"], abs(radius - expected_radius))
        if abs(radius - expected_radius) > RADIUS_BOUND:
            failures.append(f"{what}: radius {radius:.2f}, expected {expected_radius:.2f}")
        if math.isnan(limb):
            # No terminator on the disk: within a degree or two of full or new.
            if 0.002 < exact < 0.998:
                failures.append(f"{what}: no bright limb at a lit share of {exact:.4f}")
            skipped += 1
        else:
            off = abs(angle_difference(limb, chi - q))
            key = "angle_zenith" if zenith else "angle"
            worst[key] = max(worst[key], off)
            if off > ANGLE_BOUND:
                failures.append(f"{what}: bright limb at {limb:.2f}, chi - q {chi - q:.2f}")
        if not zenith:
            l, b = math.degrees(geo.libration_long), math.degrees(geo.libration_lat)
            p = axis_angle(date, geo.ra, geo.dec, geo.libration_lat)
            for k, (name, lat, lon) in enumerate(FEATURES):
                x, y = float(fields[4 + 2 * k]), float(fields[5 + 2 * k])
                ex, ey = project(lat, lon, l, b, p, expected_radius)
                off = math.hypot(x - ex, y - ey)
                worst["feature"] = max(worst["feature"], off)
                if not off <= FEATURE_BOUND:
                    failures.append(f"{what}: {name} at ({x:.1f}, {y:.1f}), expected "
                                    f"({ex:.1f}, {ey:.1f})")

    print(f"{count} instants 1900-2100, north up from the Earth's centre and zenith up from "
          f"random places; 1024 x 1024")
    print(f"lit share: within {worst['share'] * 100:.3f} points (bound 1)")
    print(f"bright limb: north up within {worst['angle']:.3f} deg, zenith up within "
          f"{worst['angle_zenith']:.3f} deg (bound 2; {skipped} pictures without a terminator)")
    print(f"radius: within {worst['radius']:.3f} px (bound 1)")
    print(f"features: within {worst['feature']:.3f} px (bound 2)")
    for failure in failures[:20]:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
