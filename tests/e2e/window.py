"""The Norvale window as the end-to-end tests see it: where its picture,
disk, text rows and controls are, its settings file, the context menu, and the
checks and comparisons made on its screenshots."""

import os
import struct
import subprocess

from common import check, scaled
from images import Image, differing_pixels, luminance, uniform
from xserver import SCREEN_H, SCREEN_W

# The window's layout in pixels (dialog base units 6 x 13).
CLIENT_FULL = (149, 219)
COMPACT_SHRINK = 30
PICTURE = (7, 6, 135, 156)  # client x, y, width, height of the Moon picture
DISK = (12, 5, 123, 116)  # the disk's bounding box inside the picture
TEXT_ROWS = (118, 129, 141)  # top rows of the three text lines in the picture
TEXT_ROW_HEIGHT = 11


def du(x, y, w, h):
    """Dialog units to client pixels (x * 6 / 4, y * 13 / 8, rounded)."""
    rx = lambda v: int(v * 6 / 4 + 0.5)
    ry = lambda v: int(v * 13 / 8 + 0.5)
    return rx(x), ry(y), rx(x + w) - rx(x), ry(y + h) - ry(y)


PREV = du(5, 100, 24, 9)
TODAY = du(36, 101, 26, 9)
NEXT = du(69, 101, 25, 9)
PICKER = du(5, 112, 62, 15)
MENU_BUTTON = du(70, 112, 24, 15)

# The context menu is opened here (client pixels); it opens to the right of
# and below the pointer, so the picture above this row stays uncovered.
MENU_POINT = (PICTURE[0] + 60, PICTURE[1] + 60)
ABOVE_MENU = (PICTURE[0], PICTURE[1], PICTURE[2], 60)

SETTINGS_FORMAT = "<iiiBB"  # left, top, date layout, Northern, full: 14 bytes


def picture_of(session, image):
    """The Moon picture cut out of a screenshot."""
    return session.client_region(image, PICTURE)


def read_settings(session):
    with open(session.settings_path, "rb") as f:
        data = f.read()
    check(len(data) == 14, f"info.dat holds {len(data)} bytes, not 14")
    return struct.unpack(SETTINGS_FORMAT, data)


def click_and_shot(session, x, y, name, **kw):
    """Clicks at client pixels and returns the window once it has changed and
    come to rest."""
    before = session.settle()
    session.click_client(x, y, **kw)
    return session.shot(name, before, session.client_rect(), f'the window after "{name}"')


def menu_on_picture(session, *keys):
    """Right click on the picture, then choose with the keyboard: every key
    but the last waits for the menu to redraw, the last one for the menu to be
    gone from the screen (or the program to end). Returns the screen from
    before the menu."""
    before = session.settle()
    session.click_client(*MENU_POINT, button=3)
    session.wait(session.popups, 10, "the menu did not open", process=session.app)
    shown = session.wait_screen(before, what="the menu")
    # The part of the window the menu covers shows the menu until the program
    # paints the window again.
    mx, my, mw, mh = session.geometry_of(session.popups()[0])
    cx, cy, cw, ch = session.client_rect()
    left, top = max(mx, cx), max(my, cy)
    under = (left, top, min(mx + mw, cx + cw) - left, min(my + mh, cy + ch) - top)
    check(under[2] > 0 and under[3] > 0, f"the menu at {(mx, my, mw, mh)} is not over the window")
    for key in keys[:-1]:
        session.key(key)
        shown = session.wait_screen(shown, what=f"the menu after {key}")
    session.key(keys[-1])

    def gone():
        if session.app.poll() is not None:
            return True
        return not session.popups() and session.grab().crop(*under).data != shown.crop(*under).data

    session.wait(gone, 10, f"the menu did not close after {keys[-1]}")
    return before


def disk_points(inset=3):
    """Picture coordinates inside the disk, kept `inset` pixels off its edge."""
    left, top, right, bottom = DISK
    cx, cy = (left + right) / 2, (top + bottom) / 2
    radius = (right - left) / 2 - inset
    return [
        (x, y)
        for y in range(top, bottom)
        for x in range(left, right)
        if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius
    ]


LIT_THRESHOLD = 116  # the dark texture stays below ~90, the lit one above ~140


def lit_mask(picture):
    return {p: luminance(picture.pixel(*p)) > LIT_THRESHOLD for p in disk_points()}


def mirrored_mask(mask):
    left, _, right, _ = DISK
    return {(left + right - 1 - x, y): v for (x, y), v in mask.items()}


FOCUS_RING = 2  # the focus mark along the picture's edge, once the keyboard is used


def text_band(picture):
    """The text rows, without the edge the focus mark may cover."""
    top = TEXT_ROWS[0]
    return picture.crop(FOCUS_RING, top, picture.width - 2 * FOCUS_RING,
                        picture.height - top - FOCUS_RING).without_stars()


def disk_region(picture):
    left, top, right, bottom = DISK
    return picture.crop(left, top, right - left, bottom - top)


def same_disk(a, b):
    points = disk_points()
    da, db = disk_region(a), disk_region(b)
    left, top = DISK[0], DISK[1]
    differ = sum(
        1
        for x, y in points
        if max(
            abs(p - q)
            for p, q in zip(da.pixel(x - left, y - top), db.pixel(x - left, y - top))
        )
        > 24
    )
    return differ


def check_centred(session, compact=False):
    """Centred horizontally; vertically centred with the full height less 50,
    which puts a full window 25 pixels below the exact centre."""
    x, y, w, h = session.outer_geometry()
    full_h = h + (COMPACT_SHRINK if compact else 0)
    want_x = SCREEN_W // 2 - w // 2
    want_y = SCREEN_H // 2 - (full_h - 50) // 2
    check(abs(x - want_x) <= 1 and abs(y - want_y) <= 1,
          f"window at ({x}, {y}), expected about ({want_x}, {want_y})")


def check_client_size(session, compact):
    _, _, w, h = session.client_geometry()
    want = (CLIENT_FULL[0], CLIENT_FULL[1] - (COMPACT_SHRINK if compact else 0))
    check((w, h) == want, f"client area {w}x{h}, expected {want[0]}x{want[1]}")


def check_picture(picture):
    """Black panel, a textured disk, three rows of white text."""
    inside = set(disk_points(inset=0))
    left, top, right, bottom = DISK
    cx, cy, r = (left + right) / 2, (top + bottom) / 2, (right - left) / 2 + 2
    black = total = 0
    for y in range(0, TEXT_ROWS[0]):
        for x in range(picture.width):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                continue
            total += 1
            black += max(picture.pixel(x, y)) < 24
    check(black >= 0.97 * total, f"panel around the disk is not black ({black}/{total})")
    disk = disk_points()
    lit = sum(1 for p in disk if max(picture.pixel(*p)) >= 8)
    check(lit >= 0.99 * len(disk), "the disk is not covered by texture")
    for row in TEXT_ROWS:
        white = sum(
            1
            for y in range(row, min(row + TEXT_ROW_HEIGHT, picture.height))
            for x in range(picture.width)
            if min(picture.pixel(x, y)) > 200
        )
        check(white >= 15, f"no white text in the row at y = {row}")


def check_controls(session, image, full):
    """The picker and "Menu" are shown exactly in the full layout; the labels always."""
    for name, rect in (("Prev", PREV), ("Today", TODAY), ("Next", NEXT)):
        check(not uniform(session.client_region(image, rect)), f'no "{name}" label')
    _, _, _, h = session.client_geometry()
    for name, (x, y, w, _) in (("picker", PICKER), ("Menu", MENU_BUTTON)):
        # The strip of the control that stays inside the compact window, left
        # of and right of the toggle triangle's column.
        strip = (x + 2, y, min(w - 4, 50), h - y)
        shown = not uniform(session.client_region(image, strip))
        check(shown == full, f"the {name} is {'shown' if shown else 'hidden'} in the "
              f"{'full' if full else 'compact'} layout")


def cli_panel(session, date, clock, southern=False):
    """The panel norvale-cli draws for a day at a time of day."""
    path = os.path.join(session.work, f"cli-{date}-{clock.replace(':', '')}-{southern}.png")
    argv = [session.args.cli, "--png", path, "--date", date, "--time", clock, "--seed", "1"]
    if southern:
        argv.append("--southern")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TZ=os.environ.get("TZ", "UTC"),
               XDG_RUNTIME_DIR=session.runtime, HOME=session.home, XDG_CONFIG_HOME=session.config)
    subprocess.run(argv, env=env, check=True, capture_output=True, timeout=scaled(30))
    return Image.load(path)


def same_day(a, b, what):
    """Two pictures of the same day: equal disk and text rows (stars aside)."""
    disk = same_disk(a, b)
    text = differing_pixels(text_band(a), text_band(b))
    check(disk <= 2 and text <= 6, f"{what}: the pictures differ (disk {disk}, text {text} pixels)")


def other_day(a, b, what):
    text = differing_pixels(text_band(a), text_band(b))
    check(text > 30, f"{what}: the text rows did not change ({text} pixels)")
