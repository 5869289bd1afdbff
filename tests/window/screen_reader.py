#!/usr/bin/python3
"""What a screen reader hears of the window, over AT-SPI: the results with their captions before
and after a press on Compute, the events that tell the reader the values changed, and the
results reached and their menu opened with the keyboard alone (F6, Down, Shift+F10).
Usage (inside a D-Bus session with an X display): screen_reader.py DAYLIGHT"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTIONS = ["Min Day", "Max Day", "Daylight", "Night", "Full Daylight"]


def find(root, predicate, depth=0):
    if predicate(root):
        return root
    for child in root:
        if child is not None and depth < 12:
            found = find(child, predicate, depth + 1)
            if found:
                return found
    return None


def app_named(name, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name.lower():
                return app
        time.sleep(0.2)
    sys.exit(f"no application {name} on the accessibility bus")


def results(app):
    """The accessible names of the five results, by caption."""
    names = {}
    def walk(node, depth=0):
        if node is None or depth > 12:
            return
        if node.getRole() == pyatspi.ROLE_LABEL:
            for caption in CAPTIONS:
                if node.name == caption or node.name.startswith(caption + ": "):
                    names.setdefault(caption, node.name)
        for child in node:
            walk(child, depth + 1)
    walk(app)
    return names


def settle(seconds):
    """Lets the events of the last action arrive."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        context.iteration(False)
        time.sleep(0.01)


def focused(app):
    return find(app, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))


def keys(*names):
    """Real key presses, through X, to the window that has the focus."""
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Daylight$", "windowfocus",
                    "--sync", "key", "--delay", "50", *names], check=True)


def main():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    pyatspi.Registry.getDesktop(0)  # the registry is up before the window looks for it
    window = subprocess.Popen([sys.argv[1]], env=env, stderr=subprocess.DEVNULL)
    try:
        app = app_named("daylight")
        heard = []
        def on_name(event):
            heard.append(event.source.name)
        pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
        said = []  # what gains the focus or opens, as a reader announces it
        def on_focus(event):
            if event.type.startswith("window") or event.detail1 == 1:
                said.append((event.type, event.source.getRoleName(), event.source.name))
        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused",
                                               "window:create", "window:activate")
        before = results(app)
        button = find(app, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Compute")
        button.queryAction().doAction(0)
        settle(3)
        after = results(app)
        print("before:", before)
        print("after:", after)
        print("heard:", heard)
        # The keyboard alone: F6 to the results, Down to the next, Shift+F10 for the menu.
        keys("F6")
        settle(0.5)
        first = focused(app)
        keys("Down")
        settle(0.5)
        second = focused(app)
        said.clear()
        keys("shift+F10", "Down", "Down")
        settle(1)
        menu = [name for _, role, name in said if role == "menu item"]
        keys("Escape")
        print("F6:", first and first.name, "| Down:", second and second.name,
              "| Shift+F10, Down, Down:", menu)
        ok = (after.get("Min Day") == "Min Day: 9.35208417825225"
              and after.get("Night") == "Night: 14.6479158217478"
              and any(name.startswith("Min Day: 9.35") for name in heard)
              and first is not None and first.name == "Min Day: 9.35208417825225"
              and second is not None and second.name == "Max Day: 14.6479158217478"
              and menu == ["Copy", "Copy All Results"])
        print("screen reader check:", "passed" if ok else "FAILED")
        return 0 if ok else 1
    finally:
        window.terminate()


if __name__ == "__main__":
    sys.exit(main())
