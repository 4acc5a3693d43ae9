#!/usr/bin/env python3
"""Fails when ctest skipped a test that tests/skips-allowed.txt does not list.

    check-skips.py JUNIT_XML

JUNIT_XML is what `ctest --output-junit` wrote. Every skipped test is printed;
the exit status is 1 when one of them is not on the allow-list (or the file
is missing), 0 otherwise.
"""

import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ALLOWED = Path(__file__).resolve().parent.parent / "tests" / "skips-allowed.txt"


def allowed_names():
    names = {}
    for line in ALLOWED.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, _, reason = line.partition("\t")
            names[name.strip()] = reason.strip()
    return names


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    report = Path(sys.argv[1])
    if not report.is_file():
        print(f"check-skips: no test report at {report}", file=sys.stderr)
        return 1
    allowed = allowed_names()
    unexpected = []
    for case in ET.parse(report).getroot().iter("testcase"):
        if case.find("skipped") is None and case.get("status") != "notrun":
            continue
        name = case.get("name", "?")
        if name in allowed:
            print(f"skipped (allowed: {allowed[name]}): {name}")
        else:
            unexpected.append(name)
    for name in unexpected:
        print(f"check-skips: {name} was skipped and is not in {ALLOWED.name}", file=sys.stderr)
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main())
