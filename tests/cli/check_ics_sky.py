#!/usr/bin/env python3
"""Checks `norvale-cli --ics YEAR` (the true instants) with a real iCalendar
parser and an independent ephemeris (python3-ephem).

Every new moon, first quarter, full moon and last quarter of YEAR in UTC must
be one timed event in UTC at the ephemeris's instant (within TOLERANCE
seconds) lasting no time (DURATION:PT0S, so no client shows it on two days), named exactly "New Moon", "First Quarter", "Full Moon" or "Last
Quarter", with a UID unlike the calendar model's; the bytes must not depend on
the time zone or the run, and SOURCE_DATE_EPOCH must fix DTSTAMP.
"""
import datetime
import sys

import ephem
import icalendar
from ics_common import finish, run

TOLERANCE = 120  # seconds: the library is tested to 30 s; this catches gross faults
FINDERS = {"New Moon": ephem.next_new_moon, "First Quarter": ephem.next_first_quarter_moon,
           "Full Moon": ephem.next_full_moon, "Last Quarter": ephem.next_last_quarter_moon}




def reference(year):
    """(name, UTC datetime) of every principal phase in YEAR, from ephem."""
    start = ephem.Date(datetime.datetime(year, 1, 1))
    end = ephem.Date(datetime.datetime(year + 1, 1, 1))
    phases = []
    for name, finder in FINDERS.items():
        when = finder(start)
        while when < end:
            phases.append((name, when.datetime().replace(tzinfo=datetime.timezone.utc)))
            when = finder(when + 1)
    return sorted(phases, key=lambda p: p[1])


def main():
    binary = sys.argv[1]
    year = int(sys.argv[2]) if len(sys.argv) > 2 else 2027
    first = run(binary, "--ics", str(year))
    failures = []
    if run(binary, "--ics", str(year), tz="Pacific/Kiritimati") != first:
        failures.append("output differs between runs (or time zones)")
    if first.replace(b"\r\n", b"").find(b"\n") >= 0:
        failures.append("a line does not end in CRLF")
    stamped = run(binary, "--ics", str(year), extra={"SOURCE_DATE_EPOCH": "1700000000"})
    if stamped.count(b"DTSTAMP:20231114T221320Z\r\n") != first.count(b"BEGIN:VEVENT"):
        failures.append("SOURCE_DATE_EPOCH does not fix every DTSTAMP")

    calendar = icalendar.Calendar.from_ical(first)
    model = icalendar.Calendar.from_ical(run(binary, "--ics", str(year), "--calendar-days"))
    name = str(calendar.get("X-WR-CALNAME"))
    if name == str(model.get("X-WR-CALNAME")) or "true" not in name:
        failures.append(f"calendar name {name!r} does not tell the true instants from the model")
    events = []
    uids = set()
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        if not isinstance(start, datetime.datetime) or start.utcoffset() != datetime.timedelta(0):
            failures.append(f"{start!r}: not a time in UTC")
            continue
        events.append((str(event.get("SUMMARY")), start))
        if "DTEND" in event or event.get("DURATION") is None or \
                event.decoded("DURATION") != datetime.timedelta(0):
            failures.append(f"{start}: not an instant (DURATION:PT0S without DTEND)")
        uid = str(event.get("UID"))
        if uid in uids or uid.startswith("moon-phase-"):
            failures.append(f"{start}: UID {uid} used twice or in the model's namespace")
        uids.add(uid)
        if start.year != year:
            failures.append(f"{start}: outside {year}")

    expected = reference(year)
    if len(events) != len(expected):
        failures.append(f"{len(events)} events, the ephemeris has {len(expected)}")
    worst = 0.0
    for (name, when), (ref_name, ref_when) in zip(events, expected):
        off = abs((when - ref_when).total_seconds())
        worst = max(worst, off)
        if name != ref_name or off > TOLERANCE:
            failures.append(f"{when}: {name}, the ephemeris has {ref_name} at {ref_when}")

    return finish(failures, f"{len(events)} events in {year}, at most {worst:.0f} s from the ephemeris")


if __name__ == "__main__":
    sys.exit(main())
