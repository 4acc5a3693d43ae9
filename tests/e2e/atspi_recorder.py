#!/usr/bin/python3
"""Listens on the accessibility bus (AT-SPI) as a screen reader does and
records what the Norvale program sends there, for the end-to-end tests.

Runs under Debian's /usr/bin/python3, where python3-pyatspi is installed. It
needs the session's DBUS_SESSION_BUS_ADDRESS and the bus launcher already
running. Every event of the program is written to standard output as one JSON
line {"event": type, "role", "name", "detail1", "any", "focused"}; commands read
from standard input, one a line, are answered with one JSON line
{"reply": ...}:

    tree                  the program's objects: role, name, description,
                          interfaces and states, depth first
    value ROLE NAME [V]   the Value interface of the first object with that
                          role and name: its value, or set to V first
    action ROLE NAME ACT  runs the named action; replies what it returned
    text ROLE NAME        the Text interface: text length and the selection

Nothing here asks D-Bus to introspect an object (Qt 6.4's bridge crashes on
`Introspect` of an accessible object): pyatspi uses the AT-SPI calls only.
"""

import json
import sys

import pyatspi
from gi.repository import GLib

APP_NAME = "norvale"
EVENTS = [
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:property-change:accessible-value",
    "object:state-changed:focused",
    "object:text-changed",
    "object:text-selection-changed",
    "object:text-caret-moved",
    "object:value-changed",
    "object:children-changed",
    "window:activate",
    "focus:",
]


def emit(record):
    sys.stdout.write(json.dumps(record) + "\n")
    sys.stdout.flush()


def of_program(accessible):
    try:
        app = accessible.getApplication()
        return app is not None and app.name == APP_NAME
    except Exception:
        return False


def text_of(value):
    if isinstance(value, (str, int, float, bool)) or value is None:
        return value
    try:
        return f"{value.getRoleName()}:{value.name}"
    except Exception:
        return str(value)


def on_event(event):
    source = event.source
    if not of_program(source):
        return
    try:
        focused = source.getState().contains(pyatspi.STATE_FOCUSED)
        emit({"event": event.type, "role": source.getRoleName(), "name": source.name,
              "detail1": event.detail1, "any": text_of(event.any_data), "focused": focused})
    except Exception as error:  # an object gone between the event and the look
        emit({"event": event.type, "error": str(error)})


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == APP_NAME:
            return app
    return None


def walk(node, depth=0):
    if node is None:
        return
    yield node, depth
    for child in node:
        yield from walk(child, depth + 1)


def describe(node, depth):
    states = node.getState()
    return {
        "depth": depth, "role": node.getRoleName(), "name": node.name,
        "description": node.description, "interfaces": sorted(pyatspi.listInterfaces(node)),
        "focusable": states.contains(pyatspi.STATE_FOCUSABLE),
        "focused": states.contains(pyatspi.STATE_FOCUSED),
        "showing": states.contains(pyatspi.STATE_SHOWING),
    }


def find(role, name):
    for node, _ in walk(program()):
        if node.getRoleName() == role and node.name == name:
            return node
    raise LookupError(f"no {role} named {name!r}")


def answer(line):
    words = line.split("\t")
    command = words[0]
    if command == "tree":
        return [describe(n, d) for n, d in walk(program())]
    if command == "value":
        value = find(words[1], words[2]).queryValue()
        if len(words) > 3:
            value.currentValue = float(words[3])
        return {"value": value.currentValue, "minimum": value.minimumValue,
                "maximum": value.maximumValue, "step": value.minimumIncrement}
    if command == "action":
        action = find(words[1], words[2]).queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if words[3] not in names:
            return {"names": names, "done": None}
        return {"names": names, "done": bool(action.doAction(names.index(words[3])))}
    if command == "text":
        text = find(words[1], words[2]).queryText()
        selections = [text.getSelection(i) for i in range(text.getNSelections())]
        return {"length": text.characterCount, "caret": text.caretOffset,
                "selections": [text.getText(a, b) for a, b in selections]}
    raise LookupError(f"unknown command {command!r}")


def on_command(channel, condition):
    line = channel.readline()
    if not line:
        pyatspi.Registry.stop()
        return False
    try:
        emit({"reply": answer(line.rstrip("\n"))})
    except Exception as error:
        emit({"reply": None, "error": f"{type(error).__name__}: {error}"})
    return True


def main():
    pyatspi.Registry.registerEventListener(on_event, *EVENTS)
    GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP,
                      on_command)
    emit({"ready": True})
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
