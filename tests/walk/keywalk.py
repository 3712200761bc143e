#!/usr/bin/python3
"""Random walks of keys and mouse actions through the real Wordlamp window.

Each walk starts the program on a private virtual X server with its own
settings folder and the transcript speech back end, sends a seeded random
sequence of the keys a user of the window presses (typing, Enter, arrows
with and without Shift, paging, Ctrl+A/C/V/X/Z, the function keys with and
without Alt, Esc, Tab, the menus' mnemonics) mixed with clicks and drags
inside the window, and ends with a key that must be heard. A walk fails
when the program dies, hangs, stays silent at the end, does not shut down
cleanly, or a sanitizer reports anything.

    keywalk.py --program BIN --dict DIR [--walks N] [--seed S] [--keys K]
               [--modes MODE,...] [--replay FILE] [--keep DIR] [--gdb]

Modes: plain, big7 (magnification 7), reverse (reversed colours), readall
(a read-all running through most of the walk), menus (menus, the quick
guide and the edit menu opened often), speechgone (speech-dispatcher, whose
private server is killed once the window is up; the last key must then be
seen to work, as it cannot be heard). A failing walk's actions are written
to a file that --replay runs again; tests/walk/regressions holds the ones
that found faults.
"""

import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# X key names a user presses, with how often each comes up.
LETTERS = list("abcdefghijklmnopqrstuvwxyz")
WORDS = ["apple", "take", "see", "eat", "book", "run", "study", "appl*", "zzzzq", "a*", "the", "3d"]
KEYS = (
    [("Return", 8), ("BackSpace", 4), ("Delete", 3), ("Escape", 4), ("Tab", 3), ("shift+Tab", 2)]
    + [(k, 3) for k in ("Left", "Right", "Up", "Down", "Home", "End", "Prior", "Next")]
    + [("shift+" + k, 2) for k in ("Left", "Right", "Up", "Down", "Home", "End")]
    + [("ctrl+shift+End", 1), ("ctrl+Home", 1), ("ctrl+End", 1)]
    + [("alt+" + k, 3) for k in ("Left", "Right", "Up", "Down", "Prior", "Next")]
    + [("ctrl+" + k, 2) for k in ("a", "c", "v", "x", "z", "g")]
    + [("F%d" % n, 1) for n in range(2, 13) if n != 10]
    + [("alt+F%d" % n, 2) for n in (2, 5, 6, 7, 8, 9, 10)]
    + [("F6", 3), ("asterisk", 1), ("space", 2)]
)
# Menus and their items by mnemonic, without the one that ends the program.
MODES = ["plain", "big7", "reverse", "readall", "menus", "speechgone"]
MENUS = {
    "f": "cshpolbn",
    "r": "teaslpmn",
    "e": "tcpla",
    "v": "vrs",
    "m": "oese",
    "h": "dua",
}


def weighted(rng, table):
    total = sum(w for _, w in table)
    pick = rng.uniform(0, total)
    for item, w in table:
        pick -= w
        if pick <= 0:
            return item
    return table[-1][0]


def make_walk(rng, count, mode):
    """A list of actions; each is a list of words: a kind and its arguments."""
    actions = []
    if mode == "readall":
        actions.append(["type", "apple"])
        actions.append(["key", "Return"])
    while len(actions) < count:
        r = rng.random()
        if mode == "readall" and r < 0.08:
            actions.append(["key", rng.choice(["alt+F5", "alt+F10", "alt+F9"])])
        elif r < 0.12:
            # A word typed into the input box and looked up.
            if rng.random() < 0.6:
                actions.append(["key", "alt+s"])
            actions.append(["type", rng.choice(WORDS)])
            if rng.random() < 0.8:
                actions.append(["key", "Return"])
        elif r < 0.18:
            actions.append(["type", rng.choice(LETTERS)])
        elif r < 0.19:
            actions.append(["key", rng.choice(["alt+s", "alt+w"])])
        elif r < (0.30 if mode == "menus" else 0.23):
            menu = rng.choice(sorted(MENUS))
            actions.append(["key", "alt+" + menu])
            if rng.random() < 0.7:
                actions.append(["key", rng.choice(MENUS[menu])])
            elif rng.random() < 0.5:
                actions.append(["key", rng.choice(["Down", "Right", "Left", "Escape"])])
        elif r < (0.34 if mode == "menus" else 0.245):
            actions.append(["key", "F1"])
        elif r < 0.37:
            actions.append(["click", "%.3f" % rng.random(), "%.3f" % rng.random(), rng.choice(["1", "1", "1", "3"])])
        elif r < 0.41:
            actions.append(["drag", "%.3f" % rng.uniform(0, 1), "%.3f" % rng.uniform(0.3, 1),
                            "%.3f" % rng.uniform(0, 1), "%.3f" % rng.uniform(0.3, 1)])
        elif r < 0.42:
            actions.append(["dblclick", "%.3f" % rng.random(), "%.3f" % rng.random()])
        else:
            actions.append(["key", weighted(rng, KEYS)])
    return actions


class Input:
    """Keys and the mouse through the X server's XTest extension: one
    connection for the whole walk, so a walk runs at a typist's pace rather
    than at the pace of a process per key."""

    MODIFIERS = {"shift": "Shift_L", "ctrl": "Control_L", "alt": "Alt_L"}
    CHARACTERS = {"*": "asterisk", " ": "space"}

    def __init__(self, name):
        from Xlib import display as xdisplay
        self.display = xdisplay.Display(name)
        self.codes = {}

    def code(self, keyname):
        """The keycode of a key name, and whether Shift is needed for it."""
        if keyname not in self.codes:
            from Xlib import XK
            keysym = XK.string_to_keysym(keyname)
            found = None
            for keycode in range(8, 256):
                for index in (0, 1):
                    if keysym and self.display.keycode_to_keysym(keycode, index) == keysym:
                        found = (keycode, index == 1)
                        break
                if found:
                    break
            if not found:
                raise ValueError("no key for %r" % keyname)
            self.codes[keyname] = found
        return self.codes[keyname]

    def fake(self, kind, detail=0, x=None, y=None):
        from Xlib.ext import xtest
        if x is None:
            xtest.fake_input(self.display, kind, detail)
        else:
            xtest.fake_input(self.display, kind, detail, x=x, y=y)

    def key(self, combination):
        from Xlib import X
        *mods, name = combination.split("+")
        keycode, shifted = self.code(name)
        held = [self.code(self.MODIFIERS[m])[0] for m in mods]
        if shifted and "shift" not in mods:
            held.append(self.code("Shift_L")[0])
        for m in held:
            self.fake(X.KeyPress, m)
        self.fake(X.KeyPress, keycode)
        self.fake(X.KeyRelease, keycode)
        for m in reversed(held):
            self.fake(X.KeyRelease, m)
        self.display.sync()

    def type(self, text):
        for ch in text:
            self.key(self.CHARACTERS.get(ch, ch))

    def move(self, x, y):
        from Xlib import X
        self.fake(X.MotionNotify, x=x, y=y)
        self.display.sync()

    def button(self, number, down):
        from Xlib import X
        self.fake(X.ButtonPress if down else X.ButtonRelease, number)
        self.display.sync()

    def perform(self, action, geometry, pause):
        x, y, w, h = geometry

        def at(fx, fy):
            # Inside the window's client area, clear of its edge.
            return int(x + 4 + float(fx) * (w - 8)), int(y + 4 + float(fy) * (h - 8))

        kind = action[0]
        if kind == "key":
            self.key(action[1])
        elif kind == "type":
            self.type(action[1])
        elif kind in ("click", "dblclick"):
            self.move(*at(action[1], action[2]))
            button = int(action[3]) if kind == "click" else 1
            for _ in range(1 if kind == "click" else 2):
                self.button(button, True)
                self.button(button, False)
        elif kind == "drag":
            self.move(*at(action[1], action[2]))
            self.button(1, True)
            time.sleep(pause)
            self.move(*at((float(action[1]) + float(action[3])) / 2, (float(action[2]) + float(action[4])) / 2))
            time.sleep(pause)
            self.move(*at(action[3], action[4]))
            self.button(1, False)
        else:
            raise ValueError(action)
        time.sleep(pause)

    def close(self):
        self.display.close()


def private_home(folder):
    """The home, settings, cache and data folders of a helper program (the
    window manager, the speech server) inside `folder`, not the user's."""
    return {"HOME": folder, "XDG_CONFIG_HOME": os.path.join(folder, "config"),
            "XDG_CACHE_HOME": os.path.join(folder, "cache"), "XDG_DATA_HOME": os.path.join(folder, "data")}


class Display:
    """A private Xvfb; the display number comes from -displayfd."""

    def __init__(self, workdir):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "w")
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        deadline = time.time() + 30
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        self.manager = None
        if shutil.which("openbox"):
            # A window manager, as on a user's desktop: a modal window opened
            # from the keyboard gets the keys, a click on a blocked window
            # brings its dialog forward.
            self.manager = subprocess.Popen(["openbox", "--sm-disable"],
                                            env={**os.environ, **private_home(workdir), "DISPLAY": self.name},
                                            stdout=self.log, stderr=subprocess.STDOUT)
            deadline = time.time() + 15
            while time.time() < deadline and not self.managed():
                time.sleep(0.1)

    def managed(self):
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env={**os.environ, "DISPLAY": self.name},
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return "window id" in r.stdout

    def close(self):
        for p in (self.manager,):
            if p:
                p.terminate()
                p.wait()
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.log.close()


class SpeechServer:
    """A private speech-dispatcher with a silent output module."""

    def __init__(self, folder):
        self.folder = folder
        conf = os.path.join(folder, "conf")
        os.makedirs(os.path.join(conf, "modules"), exist_ok=True)
        os.makedirs(os.path.join(folder, "log"), exist_ok=True)
        with open(os.path.join(conf, "speechd.conf"), "w") as f:
            f.write('LogLevel 1\nLogDir "%s"\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                    'AddModule "silent" "sd_generic" "silent.conf"\nDefaultModule silent\n'
                    'DefaultLanguage "en"\n' % os.path.join(folder, "log"))
        with open(os.path.join(conf, "modules", "silent.conf"), "w") as f:
            f.write('GenericExecuteSynth "true"\nGenericMaxChunkLength 100000\nGenericDelimiters "\x1f"\n'
                    'GenericLanguage "en" "en" "utf-8"\nGenericLanguage "ja" "ja" "utf-8"\n'
                    'AddVoice "en" "MALE1" "en"\nAddVoice "ja" "MALE1" "ja"\n')
        self.socket = os.path.join(folder, "sock")
        self.proc = subprocess.Popen(
            ["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-c", "unix_socket", "-S", self.socket,
             "-P", os.path.join(folder, "pid"), "-L", os.path.join(folder, "log")],
            env={**os.environ, **private_home(folder)}, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 20
        while time.time() < deadline and not os.path.exists(self.socket):
            time.sleep(0.05)
        if not os.path.exists(self.socket):
            self.kill()
            raise WalkFailure("the private speech-dispatcher did not start")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def read_settings(home):
    values = {}
    try:
        with open(os.path.join(home, "config", "QLM", "Wordlamp.conf"), encoding="utf-8") as f:
            for line in f:
                if "=" in line:
                    k, v = line.rstrip("\n").split("=", 1)
                    values[k] = v
    except FileNotFoundError:
        pass
    return values


def write_settings(home, dict_dir, mode):
    folder = os.path.join(home, "config", "QLM")
    os.makedirs(folder, exist_ok=True)
    lines = ["[Settings]", "Wordmere=" + dict_dir, "Left=600", "Top=600", "Width=11385", "Height=8775"]
    if mode == "big7":
        lines += ["BigMode=True", "FontSize=7"]
    lines.append("Reverse=" + ("True" if mode == "reverse" else "False"))
    with open(os.path.join(folder, "Wordlamp.conf"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def transcript_lines(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().splitlines()
    except FileNotFoundError:
        return []


def sanitizer_reports(home):
    found = []
    for name in sorted(os.listdir(home)):
        if name.startswith("sanitizer."):
            with open(os.path.join(home, name), errors="replace") as f:
                text = f.read()
            if text.strip():
                found.append(text)
    return found


class Walk:
    def __init__(self, args, display, seed, actions, workdir):
        self.args, self.display, self.seed, self.actions = args, display, seed, actions
        self.home = tempfile.mkdtemp(prefix="walk-%s-" % seed, dir=workdir)
        self.transcript = os.path.join(self.home, "transcript.txt")
        self.proc = None
        self.done = 0
        self.speechd = None

    def env(self):
        env = dict(os.environ)
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        speed = "50" if self.args.mode == "readall" else "2"
        env.update({
            "DISPLAY": self.display.name,
            "QT_QPA_PLATFORM": "xcb",
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_CONFIG_DIRS": os.path.join(self.home, "system"),
            "XDG_CACHE_HOME": os.path.join(self.home, "cache"),
            "XDG_RUNTIME_DIR": runtime,
            "LANG": "C.UTF-8",
            "WORDLAMP_SPEECH": "transcript:%s@%s" % (self.transcript, speed),
        })
        if self.speechd:
            env.update({"WORDLAMP_SPEECH": "speechd", "SPEECHD_ADDRESS": "unix_socket:" + self.speechd.socket,
                        "WORDLAMP_SPEECHD_AUTOSPAWN": "0"})
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        log = os.path.join(self.home, "sanitizer")
        for var in ("ASAN_OPTIONS", "UBSAN_OPTIONS"):
            if var in env:
                env[var] += ":log_path=" + log
        if self.speechd and "ASAN_OPTIONS" in env:
            # Full stacks through glib, so that libspeechd's own leak on a
            # failed connection is told from ours by its suppression.
            env["ASAN_OPTIONS"] += ":fast_unwind_on_malloc=0"
        return env

    def xdotool(self, words, timeout=60):
        return subprocess.run(["xdotool"] + words, env={**os.environ, "DISPLAY": self.display.name},
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout, text=True)

    def alive(self):
        return self.proc.poll() is None

    def start(self):
        write_settings(self.home, self.args.dict, self.args.mode)
        if self.args.mode == "speechgone":
            self.speechd = SpeechServer(os.path.join(self.home, "speechd"))
        self.out = open(os.path.join(self.home, "program.log"), "w")
        command = [self.args.program]
        if self.args.gdb:
            # The stack of a crash goes to the program's output.
            command = ["gdb", "-q", "-batch", "-ex", "run", "-ex", "thread apply all bt 30", "--args"] + command
        self.proc = subprocess.Popen(command, env=self.env(), stdout=self.out,
                                     stderr=subprocess.STDOUT, cwd=self.home)
        deadline = time.time() + self.args.start_timeout
        wid = ""
        while time.time() < deadline and self.alive():
            r = self.xdotool(["search", "--onlyvisible", "--name", "ランプ"])
            wid = r.stdout.split()[0] if r.stdout.split() else ""
            if wid:
                break
            time.sleep(0.2)
        if not wid:
            raise WalkFailure("the window did not appear")
        self.wid = wid
        self.wait_quiet()
        g = self.xdotool(["getwindowgeometry", "--shell", wid]).stdout
        vals = dict(line.split("=", 1) for line in g.split() if "=" in line)
        self.geometry = (int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"]))
        if self.speechd:
            self.speechd.kill()

    def wait_quiet(self, quiet=0.4, limit=20):
        """Until the transcript has not grown for `quiet` seconds."""
        deadline = time.time() + limit
        last, since = -1, time.time()
        while time.time() < deadline:
            n = len(transcript_lines(self.transcript))
            if n != last:
                last, since = n, time.time()
            elif time.time() - since >= quiet:
                return True
            time.sleep(0.05)
        return False

    def run(self):
        self.start()
        self.input = Input(self.display.name)
        pause = self.args.delay / 1000.0
        for i, action in enumerate(self.actions):
            self.input.perform(action, self.geometry, pause)
            self.done = i + 1
            if not self.alive():
                if self.ended_by_user():
                    return  # the keys chose 終了 in the menu: a user's way out
                raise WalkFailure("the program died (status %s) after action %d" % (self.proc.returncode, i + 1))
        self.finish()

    def ended_by_user(self):
        """Whether the program ended through its own shutdown: status 0 and
        the farewell said (with the speech server gone, status 0 only)."""
        if self.proc.returncode != 0:
            return False
        if self.speechd:
            return True
        lines = transcript_lines(self.transcript)
        farewell = [i for i, l in enumerate(lines) if l.startswith("Speak\tランプの英和 和英辞典 おわり")]
        if not farewell:
            return False
        after = [l for l in lines[farewell[-1] + 1:] if l.split("\t")[0] in ("Speak", "SapiSpeak", "Signal")]
        if after:
            raise WalkFailure("the program spoke after its farewell: %r" % after[:3])
        return True

    def finish(self):
        # Close whatever is open (menus, the quick guide, the history list,
        # a message box) and stop a reading, then a key that must be heard.
        # A click or a drag may have left the keyboard focus outside the
        # program, as it may for a user, who then brings the window back
        # first (the window manager brings an open dialog forward with it).
        for _ in range(8):
            if not self.alive():
                break
            self.xdotool(["windowactivate", "--sync", self.wid], timeout=20)
            time.sleep(0.3)
            for _ in range(2):
                self.input.key("Escape")
                time.sleep(0.15)
            self.wait_quiet(quiet=0.4, limit=10)
            active = self.xdotool(["getactivewindow"]).stdout.strip()
            if active == self.wid:
                break
        if not self.alive() and self.ended_by_user():
            return
        if not self.wait_quiet(quiet=0.5, limit=30):
            raise WalkFailure("the program never fell quiet")
        if not self.alive():
            if self.ended_by_user():
                return
            raise WalkFailure("the program died (status %s) at the end" % self.proc.returncode)
        before = len(transcript_lines(self.transcript))
        stored = read_settings(self.home)
        self.input.key("F6")
        deadline = time.time() + 15
        done = False
        while time.time() < deadline and not done:
            if self.speechd:
                # Nothing can be heard: the magnification the key stores.
                now = read_settings(self.home)
                done = (now.get("FontSize"), now.get("BigMode")) != (stored.get("FontSize"), stored.get("BigMode"))
            else:
                new = transcript_lines(self.transcript)[before:]
                done = any(l.startswith("Speak\t") and ("拡大" in l or "通常" in l) for l in new)
            time.sleep(0.05)
        if not done:
            active = self.xdotool(["getactivewindow", "getwindowname"]).stdout.strip()
            focus = self.xdotool(["getwindowfocus", "getwindowname"]).stdout.strip()
            raise WalkFailure("the last key (F6) was not heard: the window hangs or is silent"
                              " (active window %r, focus %r)" % (active, focus))
        self.stop()

    def stop(self):
        if self.proc and self.alive():
            # With the speech server gone every word of the farewell waits for
            # a connection that cannot come: allowed longer, but bounded.
            limit = max(self.args.stop_timeout, 60) if self.speechd else self.args.stop_timeout
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(limit)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
                raise WalkFailure("the program did not end on SIGTERM within %d s" % limit)
            if self.proc.returncode != 0:
                raise WalkFailure("the program ended with status %d on SIGTERM" % self.proc.returncode)

    def cleanup(self):
        if getattr(self, "input", None):
            self.input.close()
        if self.proc and self.alive():
            self.proc.kill()
            self.proc.wait()
        if self.speechd:
            self.speechd.kill()
        if getattr(self, "out", None):
            self.out.close()


class WalkFailure(Exception):
    pass


def save_actions(path, seed, mode, actions):
    with open(path, "w", encoding="utf-8") as f:
        f.write("# seed %s mode %s\n" % (seed, mode))
        for a in actions:
            f.write("\t".join(a) + "\n")


def load_actions(path):
    mode, actions = None, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                parts = line.split()
                if "mode" in parts:
                    mode = parts[parts.index("mode") + 1]
                continue
            if line:
                actions.append(line.split("\t"))
    return mode, actions


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--program", required=True)
    ap.add_argument("--dict", required=True)
    ap.add_argument("--walks", type=int, default=3, help="random walks (after the replayed ones)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--keys", type=int, default=150)
    ap.add_argument("--delay", type=float, default=15, help="ms after each action")
    ap.add_argument("--modes", default="plain",
                    help="comma-separated; the walks take them in turn: " + ", ".join(MODES))
    ap.add_argument("--replay", action="append", default=[])
    ap.add_argument("--keep", help="folder for the actions of failing walks")
    ap.add_argument("--transcripts", help="folder to keep each walk's speech transcript in")
    ap.add_argument("--start-timeout", type=float, default=60)
    ap.add_argument("--stop-timeout", type=float, default=20)
    ap.add_argument("--gdb", action="store_true", help="run the program under gdb and print a crash's stack")
    args = ap.parse_args()
    args.program = os.path.abspath(args.program)
    args.dict = os.path.abspath(args.dict)
    modes = args.modes.split(",")
    if any(m not in MODES for m in modes):
        ap.error("unknown mode in %s" % args.modes)
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("keywalk: %s is missing (scripts/setup installs it)" % tool, file=sys.stderr)
            return 2

    walks = []
    for path in args.replay:
        mode, actions = load_actions(path)
        walks.append((os.path.basename(path), mode or "plain", actions))
    for n in range(args.walks):
        seed, mode = args.seed + n, modes[n % len(modes)]
        walks.append((str(seed), mode, make_walk(random.Random(seed), args.keys, mode)))

    workdir = tempfile.mkdtemp(prefix="wordlamp-keywalk-")
    failures, keys, reports = 0, 0, 0
    started = time.time()
    try:
        display = Display(workdir)
        try:
            for name, mode, actions in walks:
                args.mode = mode
                walk = Walk(args, display, name, actions, workdir)
                t0 = time.time()
                try:
                    walk.run()
                    status = "ok"
                except (WalkFailure, subprocess.TimeoutExpired) as e:
                    status = "FAILED: %s" % e
                finally:
                    walk.cleanup()
                keys += walk.done
                found = sanitizer_reports(walk.home)
                if found:
                    reports += len(found)
                    status = "FAILED: sanitizer report" if status == "ok" else status + "; sanitizer report"
                    for text in found:
                        print(text, file=sys.stderr)
                if status != "ok":
                    failures += 1
                    with open(os.path.join(walk.home, "program.log"), errors="replace") as f:
                        tail = f.read()[-4000:]
                    print("--- program output of walk %s ---\n%s" % (name, tail), file=sys.stderr)
                    if args.keep:
                        os.makedirs(args.keep, exist_ok=True)
                        path = os.path.join(args.keep, "walk-%s-%s.txt" % (mode, name))
                        save_actions(path, name, mode, actions[:walk.done + 1] if walk.done < len(actions) else actions)
                        print("keywalk: actions of walk %s written to %s" % (name, path), file=sys.stderr)
                print("walk %s (%s, %d actions, %.1f s): %s" % (name, mode, walk.done, time.time() - t0, status),
                      flush=True)
                if args.transcripts and os.path.exists(walk.transcript):
                    os.makedirs(args.transcripts, exist_ok=True)
                    shutil.copy(walk.transcript, os.path.join(args.transcripts, "transcript-%s-%s.txt" % (mode, name)))
                shutil.rmtree(walk.home, ignore_errors=True)
        finally:
            display.close()
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    print("keywalk: %d walks, %d actions, %d failed, %d sanitizer reports, %.0f s"
          % (len(walks), keys, failures, reports, time.time() - started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
