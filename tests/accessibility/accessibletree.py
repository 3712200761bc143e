#!/usr/bin/python3
"""Walks the program's accessible tree over AT-SPI, as Orca sees it, and
fails on every control the user can reach (a focusable object, or an item
of a menu) that has no name, no role a screen reader can say, or, outside
menus, no description.

Run inside a desktop session with the accessibility bus (tests/hook/
desktop-session); starts the program itself with a home folder of its own
under TMPDIR, the dictionary DICT and the transcript speech back end:

    accessibletree.py PROGRAM DICT
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Items of menus are reached by the keyboard without being focusable; they
# are read by name and shortcut, and a description would only lengthen
# every step through a menu.
MENU_ITEMS = {Atspi.Role.MENU_ITEM, Atspi.Role.CHECK_MENU_ITEM, Atspi.Role.RADIO_MENU_ITEM}
MENU_ROLES = MENU_ITEMS | {Atspi.Role.MENU, Atspi.Role.MENU_BAR, Atspi.Role.POPUP_MENU}
SILENT_ROLES = {Atspi.Role.UNKNOWN, Atspi.Role.INVALID, Atspi.Role.FILLER, Atspi.Role.REDUNDANT_OBJECT}


def find_application(pid, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                    return app
            except GLib.Error:
                pass
        time.sleep(0.2)
    return None


def walk(node, path, found, depth=0):
    """Every object below node, with the path of names that leads to it."""
    if depth > 40 or len(found) > 5000:
        return
    try:
        count = node.get_child_count()
    except GLib.Error:
        return
    for i in range(count):
        try:
            child = node.get_child_at_index(i)
        except GLib.Error:
            continue
        if child is None:
            continue
        label = "%s[%s %r]" % (path, child.get_role_name(), child.get_name())
        found.append((child, label))
        walk(child, label + " / ", found, depth + 1)


def reachable(obj):
    states = obj.get_state_set()
    if states.contains(Atspi.StateType.DEFUNCT):
        return False
    return states.contains(Atspi.StateType.FOCUSABLE) or obj.get_role() in MENU_ITEMS


def problems(objects):
    out = []
    for obj, label in objects:
        if not reachable(obj):
            continue
        role = obj.get_role()
        if not (obj.get_name() or "").strip():
            out.append("no name: " + label)
        if role in SILENT_ROLES:
            out.append("no role: " + label)
        elif role not in MENU_ROLES and not (obj.get_description() or "").strip():
            out.append("no description: " + label)
    return out


def main():
    program, dictionary = sys.argv[1], sys.argv[2]
    home = tempfile.mkdtemp(prefix="accessibletree-", dir=os.environ.get("TMPDIR"))
    try:
        settings = os.path.join(home, "config", "QLM")
        os.makedirs(settings)
        with open(os.path.join(settings, "Wordlamp.conf"), "w", encoding="utf-8") as f:
            f.write("[Settings]\nWordmere=%s\n" % dictionary)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"), QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   WORDLAMP_SPEECH="transcript:%s@0" % os.path.join(home, "transcript.txt"))
        with open(os.path.join(home, "program.log"), "w") as log:
            proc = subprocess.Popen([program], env=env, cwd=home, stdout=log, stderr=subprocess.STDOUT)
        try:
            Atspi.set_timeout(2000, 5000)
            app = find_application(proc.pid, 30)
            if app is None:
                print("accessibletree: the program did not appear on the accessibility bus", file=sys.stderr)
                return 1
            # The window is up once one of its controls has the focus.
            deadline = time.time() + 30
            while True:
                objects = []
                walk(app, "", objects)
                if time.time() > deadline or any(
                        obj.get_state_set().contains(Atspi.StateType.FOCUSED) for obj, _ in objects):
                    break
                time.sleep(0.2)
            found = problems(objects)
            count = sum(1 for obj, _ in objects if reachable(obj))
            print("accessibletree: %d objects, %d the user can reach" % (len(objects), count))
            for line in found:
                print(line)
            return 1 if found or count == 0 else 0
        finally:
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
