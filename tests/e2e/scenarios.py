"""The end-to-end scenarios: each gets a fresh X session (or, for "wayland",
weston inside one) with no program running and drives the window from
outside."""

import datetime
import functools
import os
import struct
import time

from common import Failure, check
from images import differing_pixels
from screen_reader import scenario_accessibility
from window import (
    ABOVE_MENU, CLIENT_FULL, COMPACT_SHRINK, NEXT, PICKER, PICTURE, PREV, TODAY, check_centred,
    check_client_size, check_controls, check_picture, click_and_shot, cli_panel, lit_mask,
    menu_on_picture, mirrored_mask, other_day, picture_of, read_settings, same_day, same_disk,
    text_band, SETTINGS_FORMAT,
)


def scenario_first_start(s):
    s.start_app()
    image = s.shot("first-start")
    check_client_size(s, compact=False)
    check_centred(s)
    check_picture(picture_of(s, image))
    check_controls(s, image, full=True)
    actions = s.x("xprop", "-id", s.window, "_NET_WM_ALLOWED_ACTIONS")
    check("_NET_WM_ACTION_MOVE" in actions and "_NET_WM_ACTION_CLOSE" in actions
          and "_NET_WM_ACTION_MINIMIZE" in actions, f"actions missing: {actions.strip()}")
    check("RESIZE" not in actions and "MAXIMIZE" not in actions,
          f"the window can be resized or maximised: {actions.strip()}")
    check(os.path.isdir(os.path.dirname(s.settings_path)), "the settings folder was not created")
    check(not os.path.exists(s.settings_path), "info.dat exists before any close")

    s.activate()
    s.key("Escape")
    s.wait_exit()
    check(not os.path.exists(s.settings_path), "Escape wrote info.dat")


def scenario_navigation(s):
    s.start_app()
    started = s.started_at
    today = picture_of(s, s.shot("today"))
    picker_today = s.client_region(s.steps[-1][1], PICKER)
    next_x = NEXT[0] + NEXT[2] - 10
    prev_x = PREV[0] + 10
    label_y = NEXT[1] + NEXT[3] // 2

    click = functools.partial(click_and_shot, s)

    click(next_x, label_y, "next-1")
    after_two = click(next_x, label_y, "next-2")
    click(next_x, label_y, "next-3")
    back_one = click(prev_x, PREV[1] + PREV[3] // 2, "prev-1")
    two = picture_of(s, back_one)
    same_day(picture_of(s, after_two), two, "Next x3, Prev x1 against Next x2")
    check(s.client_region(after_two, PICKER).data == s.client_region(back_one, PICKER).data,
          "the picker differs between Next x2 and Next x3, Prev x1")
    check(s.client_region(back_one, PICKER).data != picker_today.data,
          "the picker did not move")
    other_day(today, two, "two days on")

    if s.args.cli:
        check_cli_day(s, started + datetime.timedelta(days=2), two)

    picture_of(s, click(TODAY[0] + TODAY[2] // 2, label_y, "today-again"))
    same_day(today, picture_of(s, s.steps[-1][1]), '"Today"')
    check(s.client_region(s.steps[-1][1], PICKER).data == picker_today.data,
          '"Today" did not bring the picker back')

    click(next_x, label_y, "next-again")
    back = picture_of(s, click(PICTURE[0] + 60, PICTURE[1] + 60, "double-click", repeat=2))
    same_day(today, back, "double click on the picture")

    s.activate()
    s.key("Escape")
    s.wait_exit()


def find_terminator(s, limit=15):
    """Steps forward until the disk shows a fair share of both textures, so
    that a mirror image is not the same picture. Returns the screen and the
    number of steps."""
    screen = s.settle()
    for steps in range(limit):
        mask = lit_mask(picture_of(s, screen))
        share = sum(mask.values()) / len(mask)
        if 0.2 <= share <= 0.8:
            return screen, steps
        screen = click_and_shot(s, NEXT[0] + NEXT[2] - 10, NEXT[1] + NEXT[3] // 2,
                                f"terminator-{steps + 1}")
    raise Failure("no day with a visible terminator within two weeks")


def scenario_menu_settings(s):
    # First run: Compact, Southern, a move, then "Close" from the menu.
    s.start_app()
    full = s.shot("start")
    x0, y0, w0, h0 = s.outer_geometry()

    menu_on_picture(s, "Down", "Return")  # "Compact"
    s.wait(lambda: s.client_geometry()[3] == CLIENT_FULL[1] - COMPACT_SHRINK, 10,
           "the window did not become compact")
    compact = s.shot("compact")
    x1, y1, w1, h1 = s.outer_geometry()
    check((x1, y1, w1) == (x0, y0, w0) and h1 == h0 - COMPACT_SHRINK,
          f"compact window at {(x1, y1, w1, h1)}, expected {(x0, y0, w0, h0 - COMPACT_SHRINK)}")
    check_controls(s, compact, full=False)
    check(picture_of(s, compact).data != b""
          and same_disk(picture_of(s, full), picture_of(s, compact)) <= 2,
          "the picture changed with the layout")

    northern, steps = find_terminator(s)
    s.steps.append(("northern", northern))
    north = picture_of(s, northern)
    menu_on_picture(s, "Down", "Down", "Down", "Right", "Down", "Return")  # "Southern"
    # The menu is gone; the picture above its place changes once the window
    # is painted for the other hemisphere.
    south = picture_of(s, s.shot("southern", northern, s.client_rect(ABOVE_MENU),
                                 "the Southern picture"))
    north_mask, south_mask = lit_mask(north), lit_mask(south)
    mirrored = mirrored_mask(north_mask)
    agree = sum(1 for p, v in south_mask.items() if mirrored.get(p, v) == v) / len(south_mask)
    check(agree >= 0.97, f"the Southern picture is not the mirrored Northern one ({agree:.1%})")
    check(south_mask != north_mask, "the picture did not change for the Southern hemisphere")
    other = differing_pixels(text_band(north), text_band(south))
    check(other <= 6, f"the texts changed with the hemisphere ({other} pixels)")

    # Back to today, so the next start shows the same day. The window only
    # changes when the terminator was found on a later day.
    today = (TODAY[0] + TODAY[2] // 2, TODAY[1] + TODAY[3] // 2)
    if steps:
        south_today = picture_of(s, click_and_shot(s, *today, "southern-today"))
    else:
        s.click_client(*today)
        south_today = picture_of(s, s.shot("southern-today"))

    s.drag_title(-300, -150)
    moved = s.outer_geometry()
    check(moved[:2] != (x1, y1), "the window could not be moved")
    menu_on_picture(s, "Down", "Down", "Down", "Down", "Down", "Return")  # "Close"
    s.wait_exit()
    stored = read_settings(s)
    check(stored == (moved[0], moved[1], 5, 0, 0),
          f"info.dat holds {stored}, expected {(moved[0], moved[1], 5, 0, 0)}")

    # Second run: the stored place, compact and Southern come back; Escape
    # ends without touching the file.
    before_bytes = open(s.settings_path, "rb").read()
    before_stat = os.stat(s.settings_path)
    s.start_app()
    again = s.shot("second-start")
    check(s.outer_geometry() == moved[:2] + (w1, h1),
          f"second start at {s.outer_geometry()}, expected {moved[:2] + (w1, h1)}")
    check_client_size(s, compact=True)
    check_controls(s, again, full=False)
    same_day(south_today, picture_of(s, again), "the Southern picture after a restart")
    s.activate()
    s.key("Escape")
    s.wait_exit()
    after_stat = os.stat(s.settings_path)
    check(open(s.settings_path, "rb").read() == before_bytes, "Escape changed info.dat")
    check((after_stat.st_ino, after_stat.st_mtime_ns) == (before_stat.st_ino,
                                                          before_stat.st_mtime_ns),
          "Escape rewrote info.dat")

    # Third run: a close request from the window manager (Alt+F4) saves.
    s.start_app()
    s.shot("third-start")
    s.drag_title(200, 100)
    place = s.outer_geometry()
    s.activate()
    s.key("alt+F4")
    s.wait_exit()
    stored = read_settings(s)
    check(stored == (place[0], place[1], 5, 0, 0),
          f"info.dat after Alt+F4 holds {stored}, expected {(place[0], place[1], 5, 0, 0)}")


def scenario_wayland(s):
    """On weston: the window starts and paints the Moon, shows no maximise
    button and survives weston's own maximise request, steps a day with a
    click on "Next" and with Alt+Right, and saves when its title bar's close
    button closes it. The stored corner is saved back as it was: Wayland
    places the window itself."""
    os.makedirs(os.path.dirname(s.settings_path), mode=0o700)
    stored = (100, 50, 5, 1, 1)
    with open(s.settings_path, "wb") as f:
        f.write(struct.pack(SETTINGS_FORMAT, *stored))
    before_stat = os.stat(s.settings_path)
    s.start_app()
    first = s.shot("wayland-start")
    check_picture(picture_of(s, first))
    check_controls(s, first, full=True)
    today = picture_of(s, first)
    # No maximise button (fault: Qt's title bar offered one, and a click on it
    # ended the program without saving) ...
    buttons = s.title_buttons(first)
    check(buttons == 2, f"the title bar shows {buttons} buttons, expected minimise and close")
    # ... and a maximise request of weston's own (Super+Shift+M) is survived:
    # the window comes back to its own size.
    frame = s.frame
    s.key("super+shift+m")
    s.wait(lambda: s.app.poll() is not None or (s.find_window(s.settle()) or True)
           and s.frame == frame, 15, "the window did not come back from maximised",
           process=s.app)
    s.settle()
    check(s.app.poll() is None, f"norvale ended ({s.app.returncode}) when weston maximised it")

    label_y = NEXT[1] + NEXT[3] // 2
    next_at_rest = s.client_region(first, NEXT)
    one = picture_of(s, click_and_shot(s, NEXT[0] + NEXT[2] - 10, label_y, "next"))
    other_day(today, one, '"Next" on Wayland')
    check_underline_goes(s, next_at_rest)

    before = s.settle()
    s.key("alt+Right")
    two = picture_of(s, s.shot("alt-right", before, s.client_rect(), "the window after Alt+Right"))
    other_day(one, two, "Alt+Right on Wayland")
    if s.args.cli:
        check_cli_day(s, s.started_at + datetime.timedelta(days=2), two)

    s.move_pointer(*s.close_button)
    s.x("xdotool", "click", "1")
    s.wait_exit()
    after_stat = os.stat(s.settings_path)
    check(after_stat.st_ino != before_stat.st_ino, "closing did not save info.dat")
    check(read_settings(s) == stored,
          f"info.dat holds {read_settings(s)} after the close, expected {stored}")


def check_underline_goes(s, at_rest):
    """The pointer is on "Next", which is underlined; it leaves the window
    for weston's desktop: the underline goes within about 100 ms, though
    Wayland tells the program no pointer position outside its window."""
    check(s.client_region(s.settle(), NEXT).data != at_rest.data,
          '"Next" is not underlined under the pointer')
    ox, oy, _, _ = s.output
    left = time.monotonic()
    s.move_pointer(ox + 20, oy + 20)
    looked = []  # when each screenshot was begun

    def gone():
        looked.append(time.monotonic())
        return s.client_region(s.grab(), NEXT).data == at_rest.data

    s.wait(gone, 2, 'the underline of "Next" stayed after the pointer left the window')
    print(f"     underline gone in the first screenshot begun "
          f"{(looked[-1] - left) * 1000:.0f} ms after the pointer was moved "
          f"({len(looked)} screenshots)")
    s.steps.append(("underline-gone", s.grab()))


def check_cli_day(s, day, picture):
    """The picture shows the day norvale-cli draws for it, at the time of day
    the program started or now (a second may pass between the two)."""
    date = day.strftime("%Y-%m-%d")
    clocks = {s.started_at.strftime("%H:%M:%S"), datetime.datetime.now().strftime("%H:%M:%S")}
    results = []
    for clock in sorted(clocks):
        try:
            same_day(cli_panel(s, date, clock), picture, f"window against norvale-cli --date {date}")
            results.append(None)
        except Failure as failure:
            results.append(str(failure))
    check(None in results, "; ".join(r for r in results if r))


SCENARIOS = {
    "first_start": scenario_first_start,
    "navigation": scenario_navigation,
    "menu_settings": scenario_menu_settings,
    "wayland": scenario_wayland,
    "accessibility": scenario_accessibility,
}
