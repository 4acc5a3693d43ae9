#!/usr/bin/env python3
"""Checks `norvale-cli --ics YEAR --calendar-days` with a real iCalendar parser.

The events must be exactly the days of YEAR whose phase day (as reported by
`norvale-cli --days ... --json`) is 0, 7, 14 or 21, each an all-day event with
the matching name, a unique UID, and the same bytes on every run.
"""
import datetime
import json
import sys

import icalendar
from ics_common import finish, run

NAMES = {0: "New Moon", 7: "First Quarter", 14: "Full Moon", 21: "Last Quarter"}




def expected_events(binary, year):
    first = datetime.date(year, 1, 1)
    count = (datetime.date(year + 1, 1, 1) - first).days
    lines = run(binary, "--days", str(count), "--date", first.isoformat(), "--json")
    expected = {}
    for line in lines.decode().splitlines():
        day = json.loads(line)
        if day["phase_day"] in NAMES:
            assert day["phase_name"] == NAMES[day["phase_day"]], day
            expected[datetime.date.fromisoformat(day["date"])] = day["phase_name"]
    return expected


def main():
    binary = sys.argv[1]
    year = int(sys.argv[2]) if len(sys.argv) > 2 else 2027
    first = run(binary, "--ics", str(year), "--calendar-days")
    failures = []
    if run(binary, "--ics", str(year), "--calendar-days", tz="Pacific/Kiritimati") != first:
        failures.append("output differs between runs (or time zones)")
    if first.replace(b"\r\n", b"").find(b"\n") >= 0:
        failures.append("a line does not end in CRLF")

    calendar = icalendar.Calendar.from_ical(first)
    if str(calendar.get("VERSION")) != "2.0" or not calendar.get("PRODID"):
        failures.append("VERSION 2.0 and PRODID are required")

    actual = {}
    uids = set()
    for event in calendar.walk("VEVENT"):
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        if isinstance(start, datetime.datetime) or not isinstance(start, datetime.date):
            failures.append(f"{start!r}: not an all-day date")
            continue
        if end - start != datetime.timedelta(days=1):
            failures.append(f"{start}: lasts {end - start}")
        if start in actual:
            failures.append(f"{start}: two events")
        actual[start] = str(event.get("SUMMARY"))
        uid = str(event.get("UID"))
        if uid in uids:
            failures.append(f"{start}: UID {uid} used twice")
        uids.add(uid)
        if not event.get("DTSTAMP"):
            failures.append(f"{start}: no DTSTAMP")
        if str(event.get("TRANSP")) != "TRANSPARENT":
            failures.append(f"{start}: not TRANSPARENT")

    expected = expected_events(binary, year)
    if any(day.year != year for day in expected) or len(expected) < 48:
        failures.append(f"implausible reference set of {len(expected)} days")
    for day in sorted(set(expected) | set(actual)):
        if expected.get(day) != actual.get(day):
            failures.append(f"{day}: expected {expected.get(day)}, got {actual.get(day)}")

    return finish(failures, f"{len(actual)} events in {year}, {len(expected)} principal-phase days")


if __name__ == "__main__":
    sys.exit(main())
