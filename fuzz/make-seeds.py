#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds are small, valid or nearly valid inputs that start the fuzzers off
deep inside the parsers. Run it again after changing it; the output is
deterministic, so unchanged seeds keep their bytes.
"""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def settings_seeds():
    def record(left, top, fmt, north, full):
        return struct.pack("<iiiBB", left, top, fmt, north, full)

    write("fuzz_settings", "default", record(565, 307, 5, 1, 1))
    write("fuzz_settings", "compact-southern", record(100, 120, 0, 0, 0))
    write("fuzz_settings", "flags-2-ff", record(-5, -7, 12, 2, 0xFF))
    write("fuzz_settings", "short-13", record(1, 2, 3, 0, 0)[:13])
    write("fuzz_settings", "short-5", record(1, 2, 3, 0, 0)[:5])
    write("fuzz_settings", "long-20", record(-2147483648, 2147483647, 7, 1, 0) + b"extra!")
    write("fuzz_settings", "empty", b"")


def bmp(width, height, colours_used=256, pixel_gap=0, cut=0):
    stride = (width + 3) // 4 * 4
    palette = b"".join(bytes((i, 255 - i, (i * 7) & 0xFF, 0)) for i in range(256))
    rows = b"".join(bytes(((x + y) & 0xFF for x in range(width))) + bytes(stride - width)
                    for y in range(height))
    offset = 14 + 40 + len(palette) + pixel_gap
    size = offset + len(rows)
    header = b"BM" + struct.pack("<IHHI", size, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835,
                       colours_used, 0)
    data = header + info + palette + bytes(pixel_gap) + rows
    return data[:len(data) - cut] if cut else data


def bmp_seeds():
    write("fuzz_bmp", "4x3", bmp(4, 3))
    write("fuzz_bmp", "5x2-padded", bmp(5, 2))
    write("fuzz_bmp", "1x1-colours-0", bmp(1, 1, colours_used=0))
    write("fuzz_bmp", "3x3-gap", bmp(3, 3, pixel_gap=6))
    write("fuzz_bmp", "7x4-cut", bmp(7, 4, cut=5))
    write("fuzz_bmp", "headers-only", bmp(2, 2)[:54])


def cli_seeds():
    lines = {
        "date-days": ["--date", "2002-01-20", "--days", "10"],
        "date-eq-json": ["--date=2002-01-13", "--time=13:29", "--json"],
        "png": ["--png", "out.png", "--southern", "--seed", "42", "--date", "1999-12-31"],
        "ics": ["--ics", "2024"],
        "help": ["--help"],
        "version": ["-h", "--version"],
        "last-day": ["--date", "9999-01-01", "--days=1"],
        "past-end": ["--date", "9998-12-31", "--days", "36600"],
        "bad-time": ["--time", "24:00:00"],
        "unknown": ["--moon", "\x01\xff"],
        "rise-before-1900": ["--rise", "1823-01-20"],
        "set-place": ["--set-place", "52.52,13.40,Berlin"],
    }
    for name, args in lines.items():
        write("fuzz_cli_args", name, "\0".join(args).encode("latin-1"))


def dates_seeds():
    rng = random.Random(20020113)
    # The harness takes its case from the last byte (FuzzedDataProvider reads
    # numbers from the end); random bytes of a few lengths for each case.
    for case in range(4):
        for length in (16, 48, 96):
            body = bytes(rng.randrange(256) for _ in range(length - 1))
            write("fuzz_dates", f"case{case}-{length}", body + bytes([case]))


if __name__ == "__main__":
    settings_seeds()
    bmp_seeds()
    cli_seeds()
    dates_seeds()
