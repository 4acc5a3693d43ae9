#!/usr/bin/env python3
"""A private X server: Xvfb on a free display (it names the display itself,
-displayfd) with the openbox window manager, as the end-to-end tests
(xsession.py), scripts/screenshot.sh and scripts/bench.sh start it, and the
screenshot of one of its windows.

    xserver.py run [--wm openbox|none] [--size WxH] [--dpi N] -- COMMAND...
        runs COMMAND with DISPLAY set to a fresh server (1280x800 by default,
        with openbox unless --wm none; WAYLAND_DISPLAY unset), then ends the
        server. Exit status: COMMAND's, or 77 when Xvfb or openbox is missing
        or does not start (COMMAND is not run then).
    xserver.py shot [--frame] WINDOW FILE
        writes the window WINDOW of $DISPLAY ("root": the whole screen; with
        --frame the window manager's frame around it) to FILE, a picture of the
        type its name gives.
"""

import sys

if __name__ == "__main__":
    sys.dont_write_bytecode = True  # no byte-code caches in the source tree

import argparse  # noqa: E402 (after the line above)
import ctypes  # noqa: E402
import os  # noqa: E402
import select  # noqa: E402
import shlex  # noqa: E402
import shutil  # noqa: E402
import signal  # noqa: E402
import subprocess  # noqa: E402
import tempfile  # noqa: E402
import time  # noqa: E402

from common import SKIP, Failure, check, scaled  # noqa: E402
from images import grab_window  # noqa: E402

SCREEN_W, SCREEN_H = 1280, 800
POLL = 0.1


def die_with_parent():
    """Children get SIGTERM when their parent dies, even by SIGKILL (a ctest
    timeout)."""
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
    except (OSError, AttributeError):
        pass


def start_xvfb(log, processes, size=(SCREEN_W, SCREEN_H), dpi=None):
    """Starts Xvfb on a free display, its output to the file `log`, and
    returns the display (":N"). The server is added to `processes` as soon as
    it runs, so a caller ends it even when it never reports its display."""
    read_end, write_end = os.pipe()
    argv = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24"]
    if dpi is not None:
        argv += ["-dpi", str(dpi)]
    with open(log, "wb") as err:
        server = subprocess.Popen(
            argv + ["-nolisten", "tcp"],
            pass_fds=(write_end,),
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL,
            stderr=err,
            preexec_fn=die_with_parent,
        )
    processes.append(server)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + scaled(15)
    try:
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            check(left > 0 and server.poll() is None, "Xvfb did not start")
            ready, _, _ = select.select([read_end], [], [], left)
            if ready:
                chunk = os.read(read_end, 16)
                check(chunk, "Xvfb did not report its display")
                number += chunk
    finally:
        os.close(read_end)
    return ":" + number.decode().strip()


def start_openbox(env, work, processes):
    """Starts openbox on env's DISPLAY, its output to work/openbox.log, and
    waits until it manages the screen (it runs its start-up command then)."""
    ready = os.path.join(work, "openbox-ready")
    with open(os.path.join(work, "openbox.log"), "wb") as out:
        wm = subprocess.Popen(
            ["openbox", "--sm-disable", "--startup", f"touch {shlex.quote(ready)}"],
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=out,
            stderr=subprocess.STDOUT,
            preexec_fn=die_with_parent,
        )
    processes.append(wm)
    deadline = time.monotonic() + scaled(15)
    while not os.path.exists(ready):
        check(wm.poll() is None, f"openbox ended with status {wm.returncode}")
        check(time.monotonic() < deadline, "openbox did not start")
        time.sleep(POLL)


def stop(processes):
    """Ends the processes, the last started first."""
    for process in reversed(processes):
        if process.poll() is None:
            process.terminate()
    for process in reversed(processes):
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def run(command, size, dpi, wm):
    missing = [t for t in ("Xvfb", wm) if t and shutil.which(t) is None]
    if missing:
        print(f"xserver: {' and '.join(missing)} missing", file=sys.stderr)
        return SKIP
    work = tempfile.mkdtemp(prefix="norvale-x-")
    processes = []
    try:
        try:
            display = start_xvfb(os.path.join(work, "Xvfb.log"), processes, size, dpi)
            env = dict(os.environ, DISPLAY=display)
            env.pop("WAYLAND_DISPLAY", None)
            if wm:
                start_openbox(env, work, processes)
        except Failure as failure:
            print(f"xserver: {failure}", file=sys.stderr)
            return SKIP
        status = subprocess.run(command, env=env).returncode
        return status if status >= 0 else 128 - status
    finally:
        stop(processes)
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="what", required=True)
    run_parser = commands.add_parser("run", help="run a command on a private X server")
    run_parser.add_argument("--wm", choices=("openbox", "none"), default="openbox")
    run_parser.add_argument("--size", default=f"{SCREEN_W}x{SCREEN_H}")
    run_parser.add_argument("--dpi", type=int)
    run_parser.add_argument("command", nargs="+")
    shot_parser = commands.add_parser("shot", help="a screenshot of one window on $DISPLAY")
    shot_parser.add_argument("--frame", action="store_true")
    shot_parser.add_argument("window")
    shot_parser.add_argument("file")
    args = parser.parse_args()
    if args.what == "run":
        width, _, height = args.size.partition("x")
        return run(args.command, (int(width), int(height)), args.dpi,
                   None if args.wm == "none" else args.wm)
    display = os.environ.get("DISPLAY")
    if not display:
        print("xserver: DISPLAY is not set", file=sys.stderr)
        return 2
    grab_window(display, args.window, args.file, frame=args.frame)
    return 0


if __name__ == "__main__":
    sys.exit(main())
