#!/usr/bin/python3
# The GTK 3 application of the X11 capture tests: a window with one entry,
# text view or button, accessible through GTK's own accessibility bridge.
# The same interface as wlhook_qttarget:
#
#   gtktarget.py KIND TEXT [START END] [--clipboard TEXT]
#     KIND entry | textview | button; START END select (equal: the caret),
#     in characters.
#
# Prints "ready X Y W H" (the widget's screen rectangle) once its window is
# active and the widget has the focus, and "key-press F12" / "key-release
# F12" for each F12 event that reaches it. Commands on standard input:
# "select START END", "activate" (prints "ready ..." again), "quit", and
# "clipboard SIZE FILL PREFIX": puts PREFIX (the rest of the line) followed
# by the character FILL up to SIZE characters on the clipboard (GTK sends
# a text above 256 KB in pieces), then prints "clipboard set".
# The first line names the system's python3, the one python3-gi belongs to,
# whatever other python3 comes first on PATH.

import os
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def say(line):
    print(line, flush=True)


def select(widget, start, end):
    if isinstance(widget, Gtk.Button):
        return
    if isinstance(widget, Gtk.Entry):
        if start == end:
            widget.set_position(start)
        else:
            widget.select_region(start, end)
    else:
        buffer = widget.get_buffer()
        buffer.select_range(buffer.get_iter_at_offset(end), buffer.get_iter_at_offset(start))


def main():
    args = sys.argv[1:]
    clipboard = None
    if "--clipboard" in args:
        at = args.index("--clipboard")
        clipboard = args[at + 1]
        del args[at : at + 2]
    if len(args) < 2:
        return 2
    kind, text = args[0], args[1]

    # A grab-induced focus change must not select the entry's whole text.
    Gtk.Settings.get_default().set_property("gtk-entry-select-on-focus", False)
    window = Gtk.Window(title="Wlhook GTK target")
    if kind == "entry":
        widget = Gtk.Entry()
        widget.set_text(text)
    elif kind == "textview":
        widget = Gtk.TextView()
        widget.get_buffer().set_text(text)
    else:
        widget = Gtk.Button(label=text)
    window.add(widget)
    window.set_default_size(480, 240)
    window.move(100, 100)
    window.connect("destroy", Gtk.main_quit)

    def on_key(_, event):
        if event.keyval == Gdk.KEY_F12:
            say("key-press F12" if event.type == Gdk.EventType.KEY_PRESS else "key-release F12")
        return False

    window.connect("key-press-event", on_key)
    window.connect("key-release-event", on_key)

    state = {"ready": None}

    def check_ready():
        if not window.is_active() or not widget.has_focus():
            window.present()
            widget.grab_focus()
            return True
        origin = window.get_window().get_origin()
        x, y = widget.translate_coordinates(window, 0, 0)
        allocation = widget.get_allocation()
        say(f"ready {origin[-2] + x} {origin[-1] + y} {allocation.width} {allocation.height}")
        state["ready"] = None
        return False

    def start_readiness():
        if state["ready"] is None:
            state["ready"] = GLib.timeout_add(20, check_ready)

    def on_input(fd, _):
        data = os.read(fd, 4096)
        if not data:
            Gtk.main_quit()
            return False
        for command in data.decode().splitlines():
            words = command.split(" ")
            if words[0] == "select" and len(words) == 3:
                select(widget, int(words[1]), int(words[2]))
                say("selected")
            elif words[0] == "activate":
                start_readiness()
            elif words[0] == "quit":
                Gtk.main_quit()
            elif words[0] == "clipboard" and len(words) >= 4:
                prefix = command.split(" ", 3)[3]
                filled = prefix + words[2] * (int(words[1]) - len(prefix))
                Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD).set_text(filled, -1)
                say("clipboard set")
        return True

    GLib.unix_fd_add_full(GLib.PRIORITY_DEFAULT, sys.stdin.fileno(), GLib.IOCondition.IN | GLib.IOCondition.HUP,
                          on_input)

    window.show_all()
    widget.grab_focus()
    if len(args) >= 4:
        select(widget, int(args[2]), int(args[3]))
    if clipboard is not None:
        Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD).set_text(clipboard, -1)
    start_readiness()
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
