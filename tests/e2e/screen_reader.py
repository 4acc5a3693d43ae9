"""The screen-reader scenario: the window driven with xdotool while the
accessibility bus (AT-SPI) records what a screen reader would present."""

import datetime

from accessibility import Bus
from common import check
from window import CLIENT_FULL, COMPACT_SHRINK, PICTURE

DAY_ZERO = datetime.date(1899, 12, 30)  # day 0 of the picker's value on the bus


def day_number(day):
    return (day - DAY_ZERO).days


def focus_ring(s, image):
    """The colours of the picture's outermost two pixels all round."""
    x, y, w, h = s.client_rect(PICTURE)
    ring = []
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            if min(xx - x, yy - y, x + w - 1 - xx, y + h - 1 - yy) < 2:
                ring.append(image.pixel(xx, yy))
    return ring


def check_focus_mark(s, image, shown):
    """With the focus mark the ring is one colour at 3:1 or more against the
    black panel; without it the ring is the panel's own (black and stars)."""
    ring = focus_ring(s, image)
    colour = max(set(ring), key=ring.count)
    share = ring.count(colour) / len(ring)
    marked = share >= 0.98 and contrast(colour, (0, 0, 0)) >= 3
    check(marked == shown, f"focus mark {'missing' if shown else 'shown'}: {share:.0%} of the "
          f"picture's edge in {colour}")


def contrast(a, b):
    def lum(c):
        lin = [(v / 255 / 12.92) if v / 255 <= 0.04045 else ((v / 255 + 0.055) / 1.055) ** 2.4
               for v in c]
        return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]
    la, lb = sorted((lum(a), lum(b)))
    return (lb + 0.05) / (la + 0.05)


def scenario_accessibility(s):
    """What a screen reader sees and hears, read on the accessibility bus
    while xdotool drives the window: roles and names, the new day as an event
    for each place the focus can be, the picture's focus mark and tooltip
    key, the picker's value and actions, the help's links, and the focus of
    the compact layout after a layout switch and the About box."""
    bus = Bus(s)
    bus.start()
    try:
        accessibility_steps(s, bus)
    finally:
        bus.log()


def accessibility_steps(s, bus):
    s.start_app()
    bus.listen()
    tree = bus.tree()
    window = tree[1]
    check(window["role"] in ("frame", "dialog") and window["name"] == "Norvale",
          f"the main window is a {window['role']} named {window['name']!r}")
    unnamed = [n["role"] for n in tree if n["role"] in ("frame", "dialog") and not n["name"]]
    check(not unnamed, f"unnamed windows on the bus: {unnamed}")
    picture = bus.node("image")
    today = datetime.date.today()
    check(picture["focusable"] and picture["name"].startswith("Today: ")
          and "% illuminated" in picture["name"] and " day" in picture["name"],
          f"the picture: {picture}")
    check(picture["description"].startswith("True sky at "),
          f"the picture's description: {picture['description']!r}")
    check("Action" in picture["interfaces"] and bus.ask("action", "image", picture["name"], "-")
          ["names"][-2:] == ["ShowMenu", "ShowToolTip"], "the picture's actions")
    menu = bus.node("push button", "Menu")
    check(menu["focused"] and menu["description"] == picture["name"],
          f'"Menu" at start-up: {menu}')
    s.activate()

    # "Menu" has the focus: its description carries the new day.
    since = bus.mark()
    s.key("alt+Right")
    event = bus.wait_event(since, 'the new day with the focus on "Menu"',
                           event="object:property-change:accessible-description",
                           role="push button", name="Menu", focused=True)
    day = bus.node("image")["name"]
    check(day.startswith("Future: ") and bus.node("push button", "Menu")["description"] == day,
          f'after Alt+Right on "Menu": {day!r}')

    # Tab reaches the picture, which shows its focus mark; its name carries
    # the new day.
    before = s.settle()
    check_focus_mark(s, before, shown=False)
    since = bus.mark()
    s.key("Tab")
    bus.wait_event(since, "the focus on the picture", event="object:state-changed:focused",
                   role="image", detail1=1)
    check_focus_mark(s, s.shot("picture-focused", before, s.client_rect(PICTURE),
                               "the focus mark"), shown=True)
    since = bus.mark()
    s.key("alt+Right")
    event = bus.wait_event(since, "the new day with the focus on the picture",
                           event="object:property-change:accessible-name", role="image",
                           focused=True, name=lambda n: n.startswith("Future: ") and n != day)
    day = event["name"]
    before = s.settle()
    s.key("ctrl+F1")
    s.wait(s.popups, 10, "Ctrl+F1 on the picture showed no tooltip", process=s.app)
    s.shot("tooltip", before, what="the tooltip")

    # Tab goes round to the picker: its own text and its description.
    since = bus.mark()
    s.key("Tab")
    bus.wait_event(since, "the focus on the picker", event="object:state-changed:focused",
                   role="spin button", name="Date", detail1=1)
    since = bus.mark()
    s.key("alt+Left")
    bus.wait_event(since, "the picker's new text", event="object:text-changed:insert",
                   role="spin button", any=lambda text: bool(text))
    event = bus.wait_event(since, "the new day with the focus on the picker",
                           event="object:property-change:accessible-description",
                           role="spin button", name="Date", focused=True)
    day = bus.node("image")["name"]
    check(bus.node("spin button", "Date")["description"] == day, "the picker's description")

    # The picker's value is its day; Increase steps it, a value sets it.
    value = bus.ask("value", "spin button", "Date")
    want = day_number(today + datetime.timedelta(days=1))
    check(value == {"value": want, "minimum": day_number(datetime.date(1900, 1, 1)),
                    "maximum": day_number(datetime.date(9999, 1, 1)), "step": 1.0},
          f"the picker's value on the bus: {value}, expected day {want}")
    since = bus.mark()
    done = bus.ask("action", "spin button", "Date", "Increase")["done"]
    check(done is True, f"Increase returned {done}")
    bus.wait_event(since, "the day after Increase", event="object:property-change:accessible-name",
                   role="image", name=lambda n: n != day and n.startswith("Future: "))
    check(bus.ask("value", "spin button", "Date")["value"] == want + 1, "Increase: the value")
    since = bus.mark()
    bus.ask("value", "spin button", "Date", day_number(datetime.date(2002, 1, 13)))
    bus.wait_event(since, "the day set as the picker's value",
                   event="object:property-change:accessible-description", role="spin button",
                   focused=True)
    day = bus.node("image")["name"]
    check(day.startswith("History: 13 Jan, Sunday"), f"the picture after the value: {day!r}")

    # The help: a window whose links Tab selects and Enter follows.
    s.key("F1")
    s.wait(lambda: any(n["name"] == "Norvale Help" and n["role"] in ("frame", "dialog")
                       for n in bus.tree()), 15, "no help window on the bus")
    s.wait(lambda: s.x("xdotool", "getactivewindow") != s.window, 10,
           "the help window did not take the focus")
    help_text = next(n for n in bus.tree() if n["name"] == "Norvale Help"
                     and "Text" in n["interfaces"])
    links = []
    for _ in range(3):
        since = bus.mark()
        s.key("Tab")
        bus.wait_event(since, "a link selected by Tab", event="object:text-selection-changed",
                       name="Norvale Help")
        links.append(bus.ask("text", help_text["role"], "Norvale Help")["selections"])
    check(links == [["The window"], ["The menu"], ["Keys"]], f"Tab in the help selects {links}")
    before = s.settle()
    s.key("Return")
    s.shot("help-keys", before, what="the help after Enter on a link")
    since = bus.mark()
    s.key("Escape")
    s.wait(lambda: not any(n["name"] == "Norvale Help" for n in bus.tree()), 10,
           "Escape did not close the help")
    s.activate()  # whether the window manager did or not
    bus.wait_event(since, "the focus back on the picker", event="object:state-changed:focused",
                   role="spin button", detail1=1)

    # Compact: the picture takes the focus from the hidden picker, and has it
    # again after the About box.
    since = bus.mark()
    s.key("shift+F10")
    s.wait(s.popups, 10, "Shift+F10 opened no menu", process=s.app)
    s.key("Return")  # "Compact", the active first item
    bus.wait_event(since, "the focus on the picture in the compact layout",
                   event="object:state-changed:focused", role="image", detail1=1)
    s.wait(lambda: s.client_geometry()[3] == CLIENT_FULL[1] - COMPACT_SHRINK, 10,
           "the window did not become compact")
    check_focus_mark(s, s.shot("compact-focused"), shown=True)
    s.key("shift+F10")
    s.wait(s.popups, 10, "Shift+F10 opened no menu", process=s.app)
    for key in ("Down", "Down", "Down", "Right", "Up", "Return"):  # Help, About...
        s.key(key)
    s.wait(lambda: any(n["role"] == "dialog" for n in bus.tree()), 10, "no About box")
    since = bus.mark()
    s.key("Return")
    bus.wait_event(since, "the focus back on the picture after the About box",
                   event="object:state-changed:focused", role="image", detail1=1)
    s.key("Escape")
    s.wait_exit()
