#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Reads running programs through AT-SPI, as a screen reader does, and prints
what it finds: one line per element, its role, its name in double quotes and
the states a screen reader speaks.

  screenreader.py popup              the popup's window and everything in it
  screenreader.py centre NAME        the screen point at the middle of the
                                     popup's list item NAME, as "X Y"
  screenreader.py press NAME         presses the popup's push button NAME
  screenreader.py gauge              the panel applet's battery gauge
  screenreader.py gauge-events SECONDS READY-FILE
                                     the gauge's value and description changes
                                     announced within SECONDS (or until one of
                                     each came); READY-FILE is created once the
                                     events are listened to

Waits for the program to show up as long as it takes, saying every 20 seconds
that it still waits.
Runs with the system's python3, which has pyatspi (python3-pyatspi).
"""

import os
import sys
import time

import pyatspi
from gi.repository import GLib

WAIT_SECONDS = 20
SPOKEN_STATES = [
    (pyatspi.STATE_CHECKED, "checked"),
    (pyatspi.STATE_SELECTED, "selected"),
]


def applications(name):
    desktop = pyatspi.Registry.getDesktop(0)
    return [app for app in desktop if app is not None and app.name == name]


def descendants(accessible):
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(app_name, predicate):
    """The first element of the program app_name for which predicate holds,
    waiting for it to appear for as long as it takes: a program on a loaded
    machine shows up late, and the test's own time limit ends a program that
    never does. Says every WAIT_SECONDS that it is still waiting."""
    started = time.monotonic()
    next_note = started + WAIT_SECONDS
    while True:
        for app in applications(app_name):
            try:
                for element in descendants(app):
                    if predicate(element):
                        return element
            except Exception:  # the tree changed while it was read
                pass
        if time.monotonic() >= next_note:
            print(f"screenreader.py: nothing of {app_name} found after "
                  f"{time.monotonic() - started:.0f} s, still waiting", file=sys.stderr)
            next_note += WAIT_SECONDS
        time.sleep(0.2)


def spoken(element):
    states = element.getState()
    words = [word for state, word in SPOKEN_STATES if states.contains(state)]
    line = f'{element.getRoleName()} "{element.name}"'
    return " ".join([line] + words)


def popup_window():
    def is_filled_popup(element):
        if element.getRole() != pyatspi.ROLE_FRAME:
            return False
        lists = [e for e in descendants(element) if e.getRole() == pyatspi.ROLE_LIST]
        return bool(lists) and lists[0].childCount > 0

    return find("schemepop", is_filled_popup)


def popup_element(role, name):
    window = popup_window()
    for element in descendants(window):
        if element.getRole() == role and element.name == name:
            return element
    sys.exit(f'screenreader.py: the popup has no {role} "{name}"')


def read_popup():
    window = popup_window()
    print(spoken(window))
    for element in descendants(window):
        print(spoken(element))


def centre_of_row(name):
    row = popup_element(pyatspi.ROLE_LIST_ITEM, name)
    box = row.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(box.x + box.width // 2, box.y + box.height // 2)


def press(name):
    button = popup_element(pyatspi.ROLE_PUSH_BUTTON, name)
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    sys.exit(f'screenreader.py: the button "{name}" cannot be pressed')


def gauge():
    return find("panelhost", lambda e: e.name == "Battery")


def gauge_reading(element):
    value = element.queryValue()
    return (f'{spoken(element)} value {value.currentValue:g} '
            f'({value.minimumValue:g} to {value.maximumValue:g}) '
            f'description "{element.description}"')


def read_gauge():
    print(gauge_reading(gauge()))


def gauge_events(seconds, ready_file):
    element = gauge()
    seen = {}

    def on_event(event):
        if event.source.name != "Battery":
            return
        if event.type.endswith("accessible-value"):
            seen.setdefault("value", f"value changed: {event.source.queryValue().currentValue:g}")
        elif event.type.endswith("accessible-description"):
            seen.setdefault("description", f'description changed: "{event.source.description}"')
        if len(seen) == 2:
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(
        on_event, "object:property-change:accessible-value",
        "object:property-change:accessible-description")

    def listening():
        # The program learns from the registry that someone listens; give
        # that a moment before the caller changes anything.
        with open(ready_file, "w"):
            pass
        return False

    GLib.timeout_add(1000, listening)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    for key in ("value", "description"):
        print(seen.get(key, f"no {key} change"))
    print(gauge_reading(element))


def main(argv):
    commands = {
        "popup": (0, read_popup),
        "centre": (1, centre_of_row),
        "press": (1, press),
        "gauge": (0, read_gauge),
        "gauge-events": (2, lambda s, f: gauge_events(float(s), f)),
    }
    if len(argv) < 2 or argv[1] not in commands or len(argv) - 2 != commands[argv[1]][0]:
        sys.exit(__doc__)
    commands[argv[1]][1](*argv[2:])


if __name__ == "__main__":
    os.environ.pop("NO_AT_BRIDGE", None)
    main(sys.argv)
