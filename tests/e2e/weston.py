"""A Wayland session for the end-to-end tests: the weston compositor with its
X11 back end in a window on Xvfb, and `norvale` on Qt's wayland platform
inside it. weston passes the X server's pointer and keys on to its Wayland
clients, so xdotool drives the program as in the X11 session; the program's
window is found on the screen, since Wayland has no tool to ask for it, and
its title bar (with the close button) is the program's own: Qt's offers a
maximise button that a window of fixed size cannot follow."""

import datetime
import glob
import os
import shutil

from common import check
from xsession import Session

# weston's output: a window at the X screen's top-left corner in one flat
# colour, so the program's window is whatever differs from it. It stays clear
# of the screen's centre, where the X pointer starts.
OUTPUT_W, OUTPUT_H = 600, 380
BACKGROUND = (0x20, 0x40, 0x60)
PARKING = (1200, 750)  # the pointer outside weston's output
SOCKET = "norvale-e2e"
WESTON_INI = """[core]
idle-time=0

[shell]
panel-position=none
background-color=0xff204060
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
"""
CLIENT_W, CLIENT_H = 149, 219  # the full layout's client area


def missing_tools():
    """What the Wayland session needs beyond the X session's tools."""
    missing = [t for t in ("weston",) if shutil.which(t) is None]
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        missing.append("Qt's wayland platform")
    return missing


class WestonSession(Session):
    """Xvfb with weston in it instead of openbox, and norvale on Wayland."""

    def __init__(self, args, scenario):
        super().__init__(args, scenario)
        self.output = None  # weston's output on the X screen: x, y, width, height
        self.client = None  # norvale's client area on the X screen: x, y
        self.close_button = None  # the title bar's close button on the X screen
        self.frame = None  # the window on the X screen: left, top, right, bottom

    def start_x(self):
        self.start_xvfb()
        ini = os.path.join(self.work, "weston.ini")
        with open(ini, "w") as f:
            f.write(WESTON_INI)
        compositor = self.spawn(
            ["weston", "--backend=x11-backend.so", "--use-pixman", f"--config={ini}",
             f"--socket={SOCKET}", f"--width={OUTPUT_W}", f"--height={OUTPUT_H}"],
            self.x_env(), "weston")

        def shown():
            window = self.output_window()
            if window is None or not os.path.exists(os.path.join(self.runtime, SOCKET)):
                return False
            self.output = self.geometry_of(window)
            x, y, w, h = self.output
            return self.grab().pixel(x + w // 2, y + h // 2) == BACKGROUND

        self.wait(shown, 30, "weston did not show its desktop", process=compositor)
        # weston draws its pointer at the last place it saw the X pointer
        # (somewhere on its output before that): it is left in the output's
        # bottom-right corner, where its arrow falls off the output.
        x, y, w, h = self.output
        self.move_pointer(x + w - 1, y + h - 1)
        self.move_pointer(*PARKING)
        # The X server's keys go to weston's window, which hands them to the
        # focused Wayland window. The X focus is set once, before any Wayland
        # window exists: moving it later makes weston take the keyboard focus
        # from its window and give it back, which a key may fall between.
        self.x("xdotool", "windowfocus", "--sync", self.output_window())

    def start_app(self):
        env = self.x_env()
        env.pop("DISPLAY")  # Wayland only: no way back to X11
        env.update(WAYLAND_DISPLAY=SOCKET, QT_QPA_PLATFORM="wayland")
        env.setdefault("TZ", "UTC")
        for name in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                     "QT_WAYLAND_DISABLE_WINDOWDECORATION"):
            env.pop(name, None)
        if env.get("LSAN_OPTIONS"):
            # Sanitizer build: the leaks Qt's Wayland client and Mesa leave at
            # exit are suppressed by library (tests/lsan.supp), which their
            # stacks name only when unwound in full.
            env["LSAN_OPTIONS"] += ":fast_unwind_on_malloc=0"
        self.move_pointer(*PARKING)
        desktop = self.grab()
        self.app_runs += 1
        self.started_at = datetime.datetime.now()
        self.app = self.spawn([self.args.norvale], env, f"norvale-{self.app_runs}")
        self.wait_screen(desktop, self.output, 30, "the Norvale window on weston")
        # Shown is not yet painted: the screen is read again until the
        # window's frame, title bar and Moon picture are all there.
        self.wait(lambda: self.find_window(self.settle()) or True, 15,
                  "the Norvale window on weston has no Moon picture", process=self.app)

    def find_window(self, image):
        """The window is what differs from weston's background: its frame,
        Qt's title bar above the client area, and the client area, whose
        Moon picture (black, at client (7, 6)) gives its top."""
        ox, oy, ow, oh = self.output
        columns, rows = [0] * ow, [0] * oh
        for y in range(oh):
            row = image.crop(ox, oy + y, ow, 1).data
            for x in range(ow):
                if tuple(row[3 * x : 3 * x + 3]) != BACKGROUND:
                    columns[x] += 1
                    rows[y] += 1
        # The window's rows and columns differ in 100 pixels or more; those of
        # a pointer weston may draw on its output, in a few.
        xs = [ox + x for x, count in enumerate(columns) if count >= 100]
        ys = [oy + y for y, count in enumerate(rows) if count >= 100]
        check(xs and ys, "no window on weston's output")
        left, right, top, bottom = min(xs), max(xs), min(ys), max(ys)
        width = right - left + 1
        check(width >= CLIENT_W, f"the window on weston is {width} pixels wide")
        cx = left + (width - CLIENT_W) // 2
        picture_top = None
        for y in range(top, bottom + 1):
            black = sum(1 for x in range(cx + 7, cx + 7 + 135) if max(image.pixel(x, y)) < 24)
            if black >= 0.9 * 135:
                picture_top = y
                break
        check(picture_top is not None, "no Moon picture in the window on weston")
        self.client = (cx, picture_top - 6)
        # The close button: the rightmost dark mark of the title bar.
        marks = [(x, y) for y in range(top, self.client[1]) for x in range(right - 30, right + 1)
                 if max(image.pixel(x, y)) < 100]
        check(marks, "no close button in the title bar")
        self.frame = (left, top, right, bottom)
        edge = max(x for x, _ in marks)
        button = [(x, y) for x, y in marks if x > edge - 14]
        self.close_button = (sum(x for x, _ in button) // len(button),
                             sum(y for _, y in button) // len(button))

    def title_buttons(self, image):
        """How many buttons the title bar shows at its right end: groups of
        dark columns in its last 60 pixels, 3 or more clean columns apart
        (Qt's own bar: close, maximise and part of minimise)."""
        left, top, right, _ = self.frame
        columns = [any(max(image.pixel(x, y)) < 100 for y in range(top, self.client[1]))
                   for x in range(max(left, right - 60), right + 1)]
        groups, gap = 0, 3
        for dark in columns:
            if dark and gap >= 3:
                groups += 1
            gap = 0 if dark else gap + 1
        return groups

    def client_geometry(self):
        return self.client + (CLIENT_W, CLIENT_H)

    def output_window(self):
        """weston's window on the X server, by the name xwininfo reads (a
        search by name with xdotool does not find it)."""
        for line in self.x("xwininfo", "-root", "-children").splitlines():
            if '"Weston Compositor' in line:
                return line.split()[0]
        return None
