#!/usr/bin/python3
# Capture end to end: the real program with the real Wlhook, a GTK 3
# application holding the text, keys from xdotool, under openbox with the
# accessibility bus (run inside desktop-session --window-manager). One walk:
# a selected word is looked up and read in full, Escape returns to the GTK
# window, the word at the caret, an empty capture, a capture with the program
# in front, 100 hot-key presses within a second, and Escape after the
# source window has gone. Speech is read back from the transcript.
#
#   capture_walk.py PROGRAM DICTIONARY_FOLDER ATSPIREADY
#
# The first line names the system's python3, the one python3-gi belongs to.

import os
import subprocess
import sys
import tempfile
import time

TIMEOUT = 15


def wait_for(what, test, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out: " + what)


def active_window():
    out = subprocess.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"], capture_output=True, text=True).stdout
    try:
        return int(out.split()[-1], 16)
    except (ValueError, IndexError):
        return 0


def windows_of(pid):
    out = subprocess.run(["xdotool", "search", "--all", "--pid", str(pid), "--onlyvisible", "--name", "."],
                         capture_output=True, text=True).stdout
    return [int(w) for w in out.split()]


def hot_key():
    subprocess.run(["xdotool", "keydown", "ctrl", "keydown", "shift", "keydown", "F12", "sleep", "0.06", "keyup", "F12",
                    "keyup", "shift", "keyup", "ctrl"], check=True)


def hot_key_burst(times, seconds):
    """The hot key `times` times within `seconds`, through XTest."""
    from Xlib import X, XK, display
    from Xlib.ext import xtest

    d = display.Display()
    codes = [d.keysym_to_keycode(XK.string_to_keysym(name)) for name in ("Control_L", "Shift_L", "F12")]
    start = time.monotonic()
    for i in range(times):
        for code in codes:
            xtest.fake_input(d, X.KeyPress, code)
        for code in reversed(codes):
            xtest.fake_input(d, X.KeyRelease, code)
        d.sync()
        time.sleep(max(0.0, start + (i + 1) * seconds / times - time.monotonic()))
    d.close()


def ensure_window_manager():
    """The session's window manager now and then fails to come up under
    load: one of our own then takes its place (returned, to be ended)."""

    def managed():
        return "_NET_ACTIVE_WINDOW" in subprocess.run(["xprop", "-root", "_NET_SUPPORTED"], capture_output=True,
                                                      text=True).stdout

    try:
        wait_for("the window manager", managed, 5)
        return None
    except AssertionError:
        manager = subprocess.Popen(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
        wait_for("our window manager", managed)
        return manager


class Transcript:
    def __init__(self, path):
        self.path = path
        self.mark = 0

    def lines(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                f.seek(self.mark)
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def spoken(self):
        return "".join(line.split("\t")[1] for line in self.lines() if line.startswith("Speak\t"))

    def skip(self):
        self.mark = os.path.getsize(self.path) if os.path.exists(self.path) else 0


class Target:
    """gtktarget.py with one entry."""

    def __init__(self, here, atspiready, text, start, end):
        env = dict(os.environ, GDK_BACKEND="x11", GSETTINGS_BACKEND="memory")
        self.process = subprocess.Popen(["/usr/bin/python3", os.path.join(here, "gtktarget.py"), "entry", text,
                                         str(start), str(end)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1, env=env)
        self.expect("ready")
        self.atspiready = atspiready
        self.accessible_focus()
        self.window = wait_for("the GTK window", lambda: (windows_of(self.process.pid) or [0])[0])

    def expect(self, prefix):
        end = time.monotonic() + TIMEOUT
        while time.monotonic() < end:
            line = self.process.stdout.readline()
            if not line:
                break
            if line.startswith(prefix):
                return line
        raise AssertionError("gtktarget: no " + prefix)

    def command(self, line, answer):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.expect(answer)

    def accessible_focus(self):
        """Until the accessibility bus, too, knows a focused object of the
        target (GTK tells it a moment after it has taken the focus, later
        still on a busy machine), as for a user who came to the window a
        moment before pressing the hot key."""
        subprocess.run([self.atspiready, str(self.process.pid), str(TIMEOUT * 1000)], check=True,
                       timeout=TIMEOUT + 5)

    def front(self):
        subprocess.run(["xdotool", "windowactivate", "--sync", str(self.window)], check=False)
        self.command("activate", "ready")
        wait_for("the GTK window active", lambda: active_window() == self.window)
        self.accessible_focus()

    def quit(self):
        if self.process.poll() is None:
            self.process.stdin.write("quit\n")
            self.process.stdin.flush()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def shut_down(target, manager, wordlamp, work):
    """Ends what a walk started: the GTK target, the window manager, the
    program (killed if it does not end within 10 s), the work folder."""
    if target:
        target.quit()
    if manager:
        manager.terminate()
        manager.wait(10)
    if wordlamp.poll() is None:
        wordlamp.terminate()
        try:
            wordlamp.wait(10)
        except subprocess.TimeoutExpired:
            wordlamp.kill()
            wordlamp.wait()
    subprocess.run(["rm", "-rf", work])


def main():
    program, dictionary, atspiready = sys.argv[1:4]
    here = os.path.dirname(os.path.abspath(__file__))
    work = tempfile.mkdtemp(prefix="capture-walk.")
    config = os.path.join(work, "config")
    os.makedirs(os.path.join(config, "QLM"))
    with open(os.path.join(config, "QLM", "Wordlamp.conf"), "w", encoding="utf-8") as f:
        f.write("[Settings]\nWordmere=%s\n" % dictionary)
    transcript = Transcript(os.path.join(work, "transcript.txt"))
    env = dict(os.environ, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               WORDLAMP_SPEECH="transcript:%s@0" % transcript.path)
    wordlamp = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL)
    target = None
    manager = None
    try:
        manager = ensure_window_manager()
        own = wait_for("the program's window", lambda: (windows_of(wordlamp.pid) or [0])[0])
        target = Target(here, atspiready, "apple run", 0, 5)
        # The entry takes the focus once more while the hook listens, so the
        # library knows the focused control without searching for it.
        subprocess.run(["xdotool", "windowactivate", "--sync", str(own)], check=False)
        target.front()

        # A selected word: looked up, the program comes forward, the whole entry is read.
        target.command("select 0 5", "selected")
        transcript.skip()
        hot_key()
        wait_for("the entry read", lambda: all(part in transcript.spoken() for part in ("りんご", "リンゴの木")))
        wait_for("the program in front", lambda: active_window() == own)

        # Escape in the result pane: back to the GTK window.
        transcript.skip()
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        wait_for("パス", lambda: "パス" in transcript.spoken())
        wait_for("the GTK window active again", lambda: active_window() == target.window)

        # No selection: the word at the caret.
        target.command("select 6 6", "selected")
        transcript.skip()
        hot_key()
        wait_for("run read", lambda: "走ること" in transcript.spoken() and active_window() == own)
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        wait_for("the GTK window active again", lambda: active_window() == target.window)

        # Nothing after the caret: the message and the signal; the GTK window keeps the focus.
        target.command("select 9 9", "selected")
        transcript.skip()
        hot_key()
        wait_for("the signal", lambda: "Signal\t100\t3\t0" in transcript.lines())
        time.sleep(0.3)
        assert active_window() == target.window, "the empty capture took the focus"

        # The program in front: the hot key captures nothing.
        subprocess.run(["xdotool", "windowactivate", "--sync", str(own)], check=False)
        wait_for("the program active", lambda: active_window() == own)
        time.sleep(0.3)
        transcript.skip()
        hot_key()
        time.sleep(1.0)
        assert not any(line.startswith(("Signal\t100", "Speak\t")) and "りんご" in line or "Signal\t100\t3" in line
                       for line in transcript.lines()), transcript.lines()

        # 100 presses within a second from the GTK window: looked up, the program lives on.
        target.front()
        target.command("select 0 5", "selected")
        transcript.skip()
        started = time.monotonic()
        hot_key_burst(100, 0.8)
        elapsed = time.monotonic() - started
        wait_for("the entry read after the burst", lambda: "りんご" in transcript.spoken())
        assert wordlamp.poll() is None, "the program ended during the burst"
        print("100 presses in %.2f s" % elapsed)

        # The source window is gone before Escape: nothing happens, the program goes on.
        wait_for("the program in front", lambda: active_window() == own)
        target.quit()
        time.sleep(0.3)
        transcript.skip()
        subprocess.run(["xdotool", "windowactivate", "--sync", str(own)], check=False)
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        time.sleep(0.5)
        assert wordlamp.poll() is None, "the program ended after Escape"
        print("capture walk passed")
        return 0
    except AssertionError:
        print("transcript since the last step:\n" + "\n".join(transcript.lines()[-40:]), file=sys.stderr)
        raise
    finally:
        shut_down(target, manager, wordlamp, work)


if __name__ == "__main__":
    sys.exit(main())
