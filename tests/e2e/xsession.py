"""One X session for the end-to-end tests: Xvfb on a free display and the
openbox window manager (as xserver.py starts them), and the `norvale` program started with a fresh
settings folder; the X client tools (xdotool, xprop, xwininfo) that find its
window, read its place and frame and move the pointer and keys; screenshots
and the waits for the screen; the artefacts of a failed run."""

import datetime
import os
import shutil
import subprocess
import tempfile
import time

import xserver
from common import Failure, check, scaled
from images import screenshot
from xserver import die_with_parent

# Pauses between two looks inside a bounded wait: at the window state or a
# file, and at the screen (two screenshots this far apart and equal mean the
# screen is at rest).
POLL = 0.1
SCREEN_POLL = 0.15


class Session:
    """One X server with a window manager, and the program under test."""

    def __init__(self, args, scenario):
        self.args = args
        self.scenario = scenario
        self.work = tempfile.mkdtemp(prefix=f"norvale-e2e-{scenario}-")
        self.config = os.path.join(self.work, "config")
        self.home = os.path.join(self.work, "home")
        self.runtime = os.path.join(self.work, "runtime")
        for folder in (self.config, self.home, self.runtime):
            os.makedirs(folder, mode=0o700)
        self.display = None
        self.processes = []
        self.app = None
        self.app_runs = 0
        self.window = None
        self.steps = []  # (name, Image) of every screenshot taken
        self.app_env = {}  # set for the program beside the session's own

    # -- processes

    def spawn(self, argv, env, name):
        out = open(os.path.join(self.work, f"{name}.log"), "wb")
        process = subprocess.Popen(
            argv,
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=out,
            stderr=subprocess.STDOUT,
            preexec_fn=die_with_parent,
        )
        out.close()
        self.processes.append(process)
        return process

    def x_env(self):
        env = dict(os.environ)
        env.update(DISPLAY=self.display, HOME=self.home, XDG_CONFIG_HOME=self.config,
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"), XDG_RUNTIME_DIR=self.runtime)
        return env

    def x(self, *argv, timeout=10):
        """Runs an X client tool on the session's display and returns its output."""
        result = subprocess.run(
            list(argv), env=self.x_env(), capture_output=True, text=True, timeout=scaled(timeout)
        )
        if result.returncode != 0:
            raise Failure(f"{' '.join(argv)} failed: {result.stderr.strip()}")
        return result.stdout

    def start_x(self):
        self.start_xvfb()
        xserver.start_openbox(self.x_env(), self.work, self.processes)

    def start_xvfb(self):
        self.display = xserver.start_xvfb(os.path.join(self.work, "Xvfb.log"), self.processes,
                                          dpi=96)

    def start_app(self):
        env = self.x_env()
        env["QT_QPA_PLATFORM"] = "xcb"
        env.setdefault("TZ", "UTC")
        for name in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
            env.pop(name, None)
        env.update(self.app_env)
        desktop = self.grab()
        self.app_runs += 1
        self.started_at = datetime.datetime.now()
        self.app = self.spawn([self.args.norvale], env, f"norvale-{self.app_runs}")
        self.window = None

        def found():
            out = subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--name", "^Norvale$"],
                env=self.x_env(), capture_output=True, text=True, timeout=scaled(10),
            ).stdout.split()
            if out:
                self.window = out[0]
                return self.frame_extents() is not None
            return False

        self.wait(found, 30, "the Norvale window did not appear", process=self.app)
        # Mapped is not painted: wait for the client area to show more than
        # the desktop did, and to come to rest.
        self.wait_screen(desktop, self.client_rect(), 15, "the Norvale window")

    def wait_exit(self, timeout=15):
        try:
            code = self.app.wait(timeout=scaled(timeout))
        except subprocess.TimeoutExpired:
            raise Failure("norvale did not end")
        check(code == 0, f"norvale ended with status {code}")
        self.window = None

    def wait(self, condition, timeout, message, process=None):
        deadline = time.monotonic() + scaled(timeout)
        while True:
            if process is not None and process.poll() is not None:
                raise Failure(f"{message} (the process ended with status {process.returncode})")
            try:
                if condition():
                    return
            except Failure:
                pass
            if time.monotonic() > deadline:
                raise Failure(message)
            time.sleep(POLL)

    def close(self):
        xserver.stop(self.processes)

    # -- geometry

    def frame_extents(self):
        out = self.x("xprop", "-id", self.window, "_NET_FRAME_EXTENTS")
        if "=" not in out:
            return None
        return tuple(int(v) for v in out.split("=", 1)[1].split(","))  # left, right, top, bottom

    def client_geometry(self):
        return self.geometry_of(self.window)

    def geometry_of(self, window):
        """A window's place on the screen and size: x, y, width, height."""
        out = self.x("xwininfo", "-id", window)
        values = {}
        for line in out.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key.strip()] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def outer_geometry(self):
        x, y, w, h = self.client_geometry()
        left, right, top, bottom = self.frame_extents()
        return x - left, y - top, w + left + right, h + top + bottom

    def client_rect(self, rect=None):
        """A rectangle given in client pixels (the whole client area without
        one) in screen pixels."""
        cx, cy, w, h = self.client_geometry()
        x, y, w, h = rect or (0, 0, w, h)
        return cx + x, cy + y, w, h

    def popups(self):
        """The program's windows on screen other than its main window: its
        open menus."""
        result = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(self.app.pid)],
            env=self.x_env(), capture_output=True, text=True, timeout=scaled(10),
        )
        return [w for w in result.stdout.split() if w != self.window]

    # -- screenshots

    def grab(self):
        return screenshot(self.display)

    def wait_screen(self, before=None, rect=None, timeout=10, what="the screen"):
        """Waits until the screen has changed and then come to rest, and
        returns the last screenshot. Changed: the region `rect` (screen x, y,
        width, height; the whole screen without it) differs from the same
        region of `before`; without `before` the screen need not change. At
        rest: two screenshots in a row are the same."""
        cut = (lambda image: image.crop(*rect).data) if rect else (lambda image: image.data)
        deadline = time.monotonic() + scaled(timeout)
        changed = previous = None
        while True:
            if self.app is not None and self.app.poll() is not None:
                raise Failure(f"norvale ended with status {self.app.returncode} while waiting "
                              f"for {what}")
            current = self.grab()
            if changed is None and (before is None or cut(current) != cut(before)):
                changed = current
            elif changed is not None and current.data == previous.data:
                return current
            previous = current
            if time.monotonic() > deadline:
                state = "change" if changed is None else "come to rest"
                raise Failure(f"{what} did not {state} within {scaled(timeout):g} s")
            time.sleep(SCREEN_POLL)

    def settle(self, timeout=10):
        """Waits until two screenshots in a row are the same."""
        return self.wait_screen(None, None, timeout)

    def shot(self, name, before=None, rect=None, what="the screen"):
        """The screen once it has changed from `before` (in `rect`) and come
        to rest, kept among the artefacts as the step `name`."""
        image = self.wait_screen(before, rect, what=what)
        self.steps.append((name, image))
        return image

    def client_region(self, image, rect):
        return image.crop(*self.client_rect(rect))

    # -- input

    def move_pointer(self, x, y):
        """Moves the pointer to a screen point and waits until it is there."""
        self.x("xdotool", "mousemove", str(x), str(y))
        self.wait(lambda: self.x("xdotool", "getmouselocation").split()[:2] == [f"x:{x}", f"y:{y}"],
                  5, f"the pointer did not reach ({x}, {y})")

    def click_client(self, x, y, button=1, repeat=1):
        cx, cy, _, _ = self.client_geometry()
        self.move_pointer(cx + x, cy + y)
        self.x("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))

    def activate(self):
        self.x("xdotool", "windowactivate", "--sync", self.window)

    def key(self, name):
        """Presses and releases one key or chord ("Escape", "alt+F4")."""
        self.x("xdotool", "key", name)

    def drag_title(self, dx, dy):
        """Moves the window by dragging its title bar with the pointer."""
        x, y, w, _ = self.outer_geometry()
        _, _, top, _ = self.frame_extents()
        grab_x, grab_y = x + w // 2, y + max(top // 2, 1)
        self.move_pointer(grab_x, grab_y)
        self.x("xdotool", "mousedown", "1")
        for step in range(1, 5):
            sx, sy = dx * step // 4, dy * step // 4
            self.move_pointer(grab_x + sx, grab_y + sy)
            # The first motion only starts openbox's move; from the second on
            # the frame keeps its offset from the point where it was pressed.
            if step > 1:
                self.wait(lambda: self.outer_geometry()[:2] == (x + sx, y + sy), 5,
                          f"the window did not follow the pointer to "
                          f"({grab_x + sx}, {grab_y + sy})")
        self.x("xdotool", "mouseup", "1")
        self.settle()

    # -- settings file

    @property
    def settings_path(self):
        return os.path.join(self.config, "Norvale", "info.dat")

    # -- artefacts

    def keep_artifacts(self, reason):
        base = os.environ.get("E2E_ARTIFACTS") or self.args.artifacts
        if not base:
            return None
        stamp = datetime.datetime.now().strftime("%Y%m%d-%H%M%S")
        folder = os.path.join(base, f"{self.scenario}-{stamp}")
        os.makedirs(folder, exist_ok=True)
        for index, (name, image) in enumerate(self.steps, 1):
            image.save_png(os.path.join(folder, f"{index:02d}-{name}.png"))
        for entry in os.listdir(self.work):
            if entry.endswith(".log"):
                shutil.copy(os.path.join(self.work, entry), folder)
        if os.path.exists(self.settings_path):
            shutil.copy(self.settings_path, folder)
        with open(os.path.join(folder, "failure.txt"), "w") as f:
            f.write(reason + "\n")
        return folder
