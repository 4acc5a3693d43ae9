#!/usr/bin/env python3
"""norvale-cli against the tools people compare it with, whole process.

    cli_vs_tools.py NORVALE_CLI [RUNS]

Runs each pair of programs RUNS times (default 41), alternating them run by
run so that a busy machine slows both alike, checks that every run succeeded
(exit status 0 and its output present), and prints the median wall time and
the median peak resident memory (the kernel's ru_maxrss of the finished
process, as GNU time's %M) of each, with the goals:

- the plain text answer: at most 2 x the time of bsdgames' pom, at most pom's
  memory + 2 MiB;
- --png: at most 2 x the time of `pngphoon -w 1024 -h 768` (the smallest
  size at which pngphoon draws a Moon);
- --png --true --size 1920x1080 (a wallpaper): at most 150 ms, with
  `pngphoon -w 1920 -h 1080` timed beside it;
- --png --true at the panel's size: at most 2 x the time of --png;
- the true sky: every principal phase of 2000-2099 (--phases over the
  century) in no more time than gcal takes for the same century
  (`gcal -n --astronomical-holidays YEAR` for each of the 100 years, the
  way gcal is asked year by year), and --days 3660 --json (the sky's figures
  on every line) in at most 0.4 s.

Exit status 0 when every goal holds, 1 when one does not, 2 when a program
is missing or a run failed.
"""

import os
import statistics
import sys
import tempfile
import time

POM = "/usr/games/pom"
PNGPHOON = "/usr/bin/pngphoon"
GCAL = "/usr/bin/gcal"


GNU_TIME = "/usr/bin/time"


def peak_memory_kib(argv):
    """The peak resident memory of argv, as GNU time's %M reports it.

    Measured apart from the timed runs: a child forked from this Python
    process would count the interpreter's pages in its own peak."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    with tempfile.NamedTemporaryFile("r") as report:
        pid = os.posix_spawn(GNU_TIME, [GNU_TIME, "-f", "%M", "-o", report.name] + argv,
                             os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                           (os.POSIX_SPAWN_DUP2, devnull, 2)])
        os.waitpid(pid, 0)
        os.close(devnull)
        return int(report.read().split()[-1])


def run_once(argv, output_file=None, peak=True):
    """Runs argv with stdout to a file; returns (seconds, peak KiB or 0, ok)."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    out_fd = devnull
    captured = None
    if output_file is None:
        captured = tempfile.TemporaryFile()
        out_fd = captured.fileno()
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, out_fd, 1),
                                       (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status = os.waitpid(pid, 0)
    seconds = time.perf_counter() - start
    os.close(devnull)
    ok = os.waitstatus_to_exitcode(status) == 0
    if captured is not None:
        captured.seek(0)
        ok = ok and len(captured.read()) > 0
        captured.close()
    else:
        ok = ok and os.path.getsize(output_file) > 0
        os.unlink(output_file)
    peak = peak_memory_kib(argv) if peak else 0
    if output_file is not None and os.path.exists(output_file):
        os.unlink(output_file)
    return seconds, peak, ok


def compare(name, ours, theirs, runs, time_goal, memory_goal_kib=None, limit_ms=None):
    """Alternates the two commands; returns True when the goals hold: ours at
    most time_goal times theirs, or (with limit_ms) at most limit_ms."""
    samples = {"ours": [], "theirs": []}
    for i in range(runs):
        order = [("ours", ours), ("theirs", theirs)]
        if i % 2:
            order.reverse()
        for label, (argv, output) in order:
            seconds, rss, ok = run_once(argv, output)
            if not ok:
                print(f"{name}: a run of {' '.join(argv)} failed", file=sys.stderr)
                sys.exit(2)
            samples[label].append((seconds, rss))
    ours_ms = statistics.median(s for s, _ in samples["ours"]) * 1000
    theirs_ms = statistics.median(s for s, _ in samples["theirs"]) * 1000
    ours_mib = statistics.median(r for _, r in samples["ours"]) / 1024
    theirs_mib = statistics.median(r for _, r in samples["theirs"]) / 1024
    ratio = ours_ms / theirs_ms
    passed = ratio <= time_goal if limit_ms is None else ours_ms <= limit_ms
    goal = f"goal <= {time_goal}x" if limit_ms is None else f"goal <= {limit_ms} ms"
    theirs_name = os.path.basename(theirs[0][0])
    if theirs[0][0] == ours[0][0]:
        theirs_name = "--png"
    line = (f"{name}: norvale-cli {ours_ms:.2f} ms {ours_mib:.1f} MiB, "
            f"{theirs_name} {theirs_ms:.2f} ms {theirs_mib:.1f} MiB; "
            f"time {ratio:.2f}x ({goal})")
    if memory_goal_kib is not None:
        extra = ours_mib - theirs_mib
        passed = passed and extra * 1024 <= memory_goal_kib
        line += f", memory {extra:+.1f} MiB (goal <= +{memory_goal_kib / 1024:.0f} MiB)"
    print(line + (" PASS" if passed else " FAIL"))
    return passed


def century(cli, runs):
    """--phases over 2000-2099 against gcal run once per year, alternating."""
    ours = [cli, "--phases", "2000-01-01", "--to", "2099-12-31"]
    years = [[GCAL, "-n", "--astronomical-holidays", str(y)] for y in range(2000, 2100)]
    samples = {"ours": [], "gcal": []}
    for i in range(runs):
        order = ["ours", "gcal"] if i % 2 == 0 else ["gcal", "ours"]
        for label in order:
            total = 0.0
            for argv in ([ours] if label == "ours" else years):
                seconds, _, ok = run_once(argv, peak=False)
                if not ok:
                    print(f"century: a run of {' '.join(argv)} failed", file=sys.stderr)
                    sys.exit(2)
                total += seconds
            samples[label].append(total)
    ours_s = statistics.median(samples["ours"])
    gcal_s = statistics.median(samples["gcal"])
    passed = ours_s <= gcal_s
    print(f"phases of a century: norvale-cli {ours_s:.3f} s, gcal (100 runs) {gcal_s:.3f} s; "
          f"time {ours_s / gcal_s:.2f}x (goal <= 1x) {'PASS' if passed else 'FAIL'}")
    return passed


def budget(name, argv, runs, limit_seconds):
    """Median wall time of a long run against its budget; True when within."""
    times = []
    for _ in range(runs):
        seconds, _, ok = run_once(argv)
        if not ok:
            print(f"{name}: a run of {' '.join(argv)} failed", file=sys.stderr)
            sys.exit(2)
        times.append(seconds)
    median = statistics.median(times)
    passed = median <= limit_seconds
    print(f"{name}: {median:.2f} s (budget {limit_seconds} s) {'PASS' if passed else 'FAIL'}")
    return passed


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    cli = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 41
    for tool in (cli, POM, PNGPHOON, GNU_TIME, GCAL):
        if not os.access(tool, os.X_OK):
            print(f"missing {tool} (Debian: bsdgames, pngphoon, time, gcal)", file=sys.stderr)
            return 2
    os.environ["TZ"] = "UTC"
    folder = tempfile.mkdtemp(prefix="norvale-bench-")
    ours_png = os.path.join(folder, "norvale.png")
    theirs_png = os.path.join(folder, "pngphoon.png")
    results = [
        compare("text answer", ([cli], None), ([POM], None), runs, 2.0, 2048),
        compare("png", ([cli, "--seed", "1", "--png", ours_png], ours_png),
                ([PNGPHOON, "-w", "1024", "-h", "768", "-q", "-f", theirs_png], theirs_png),
                runs, 2.0),
        century(cli, 5),
        compare("--true 1920x1080",
                ([cli, "2026-12-17", "--time", "12:00", "--seed", "1", "--true", "--size",
                  "1920x1080", "--png", ours_png], ours_png),
                ([PNGPHOON, "-w", "1920", "-h", "1080", "-q", "-f", theirs_png], theirs_png),
                runs, None, limit_ms=150),
        compare("--true at the panel's size",
                ([cli, "2026-12-17", "--time", "12:00", "--seed", "1", "--true", "--png",
                  ours_png], ours_png),
                ([cli, "2026-12-17", "--time", "12:00", "--seed", "1", "--png", theirs_png],
                 theirs_png),
                runs, 2.0),
        budget("--days 3660 --json (sky on every line)",
               [cli, "2027-01-01", "--time", "12:00", "--days", "3660", "--json"], 5, 0.4),
    ]
    os.rmdir(folder)
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
