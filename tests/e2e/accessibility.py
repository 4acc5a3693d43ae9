"""The accessibility bus (AT-SPI) of the end-to-end tests: the bus launcher
and registry of at-spi2-core on the session bus of dbus-run-session, and a
recorder (atspi_recorder.py, under Debian's /usr/bin/python3 with
python3-pyatspi) that listens as a screen reader does while xdotool drives
the window. The checks read the events it recorded and what it reads of the
program's objects."""

import json
import os
import queue
import shutil
import subprocess
import threading
import time

from common import Failure, check, scaled

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SYSTEM_PYTHON = "/usr/bin/python3"  # where Debian's python3-pyatspi is installed
RECORDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_recorder.py")


def missing_tools():
    missing = [t for t in ("dbus-send",) if shutil.which(t) is None]
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        missing.append("a session bus (run under dbus-run-session)")
    if not os.access(LAUNCHER, os.X_OK):
        missing.append("at-spi2-core")
    if not os.access(SYSTEM_PYTHON, os.X_OK) or subprocess.run(
            [SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True).returncode != 0:
        missing.append("python3-pyatspi")
    return missing


class Bus:
    """The accessibility bus of one X session and the recorder on it."""

    def __init__(self, session):
        self.session = session
        self.events = []  # every event recorded, in order
        self.replies = queue.Queue()
        self.recorder = None

    def start(self):
        s = self.session
        launcher = s.spawn([LAUNCHER, "--launch-immediately"], s.x_env(), "at-spi-bus-launcher")

        def up():
            return subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"], capture_output=True, timeout=scaled(5)).returncode == 0

        s.wait(up, 15, "the accessibility bus did not start", process=launcher)
        # Qt exports the window on the bus without asking whether a screen
        # reader runs.
        s.app_env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    def listen(self):
        """Starts the recorder once the program is on the bus."""
        s = self.session
        self.recorder = subprocess.Popen(
            [SYSTEM_PYTHON, RECORDER], env=s.x_env(), stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=open(os.path.join(s.work, "recorder.log"), "wb"),
            text=True, bufsize=1)
        s.processes.append(self.recorder)
        threading.Thread(target=self._read, daemon=True).start()
        self.reply(timeout=30)  # {"ready": true}
        s.wait(lambda: any(n["role"] == "image" for n in self.tree()), 20,
               "the Moon picture did not reach the accessibility bus")

    def _read(self):
        for line in self.recorder.stdout:
            record = json.loads(line)
            if "event" in record:
                self.events.append(record)
            else:
                self.replies.put(record)

    def reply(self, timeout=10):
        try:
            return self.replies.get(timeout=scaled(timeout))
        except queue.Empty:
            raise Failure("the accessibility recorder did not answer")

    def ask(self, *words):
        self.recorder.stdin.write("\t".join(str(w) for w in words) + "\n")
        self.recorder.stdin.flush()
        record = self.reply()
        if record.get("error"):
            raise Failure(f"on the bus, {' '.join(map(str, words))}: {record['error']}")
        return record["reply"]

    def tree(self):
        return self.ask("tree") or []

    def node(self, role, name=None):
        """The first object of the program with that role (and name)."""
        for n in self.tree():
            if n["role"] == role and (name is None or n["name"] == name):
                return n
        raise Failure(f"no {role} {name or ''} on the bus")

    def mark(self):
        return len(self.events)

    def wait_event(self, since, what, timeout=10, **want):
        """The first event recorded after `since` whose fields hold `want`
        (a callable tests the field); waits for it within the timeout."""
        def matches(event):
            for key, value in want.items():
                have = event.get(key)
                if not (value(have) if callable(value) else have == value):
                    return False
            return True

        deadline = time.monotonic() + scaled(timeout)
        while True:
            for event in self.events[since:]:
                if matches(event):
                    return event
            if time.monotonic() > deadline:
                seen = "\n  ".join(json.dumps(e) for e in self.events[since:][-15:])
                raise Failure(f"no event on the bus for {what}; recorded:\n  {seen}")
            time.sleep(0.05)

    def log(self):
        """The recorded events, kept with the artefacts."""
        with open(os.path.join(self.session.work, "atspi-events.log"), "w") as f:
            for event in self.events:
                f.write(json.dumps(event) + "\n")
