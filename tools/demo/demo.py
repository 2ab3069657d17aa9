#!/usr/bin/env python3
"""A short remote session with the real RemoteControl.exe under Wine: the
virtual tuner plays the card, a stand-in plays the TV application. Each
remote press is told in one line: what the program read and did, and what
the application received.

  demo.py --build BUILD_DIR [--app NAME] [--layout 1-4]
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SRC, "tests", "e2e"))
from cases_apps import (APPS, LAUNCHED_LOG, POSTED_LPARAM, Session, delivered,  # noqa: E402
                        power_key, prepare_apps, read_log, repeated)
from dialog_cases import geometry, visible, xdo  # noqa: E402
from wine_world import World, WorldError, wait_for, why_wine_cannot_run  # noqa: E402

LAYOUTS = {1: "41-key", 2: "36-key", 3: "35-key", 4: "44-key"}
# A few keys beyond the digits, per application, that its maps act on.
EXTRA_KEYS = {
    "ArcSoftTV5": [11, 16, 23],
    "TotalMedia": [11, 17, 65],
    "MediaCenter": [13, 23, 11],
    "PowerCinema": [11, 9, 31],
    "TVEnhance": [11, 15, 73],
    "Orbisk": [9, 74, 24],
    "OrbiskCenter": [32, 64, 26],
    "Savrin": [24, 26, 9],
}
DIGITS = [0, 1, 2]  # the remote's 1, 2 and 3
MOUSE_RIGHT = 6

VK_NAMES = {0x08: "Back", 0x09: "Tab", 0x0D: "Return", 0x10: "Shift", 0x11: "Ctrl", 0x12: "Alt",
            0x1B: "Esc", 0x20: "Space", 0x21: "PageUp", 0x22: "PageDown", 0x23: "End",
            0x24: "Home", 0x25: "Left", 0x26: "Up", 0x27: "Right", 0x28: "Down", 0x2E: "Delete",
            0x6A: "Multiply", 0x6B: "Add", 0x6D: "Subtract", 0xAD: "VolumeMute",
            0xAE: "VolumeDown", 0xAF: "VolumeUp"}
MODIFIERS = (0x10, 0x11, 0x12)


def vk_name(vk):
    if vk in VK_NAMES:
        return VK_NAMES[vk]
    if 0x30 <= vk <= 0x39 or 0x41 <= vk <= 0x5A:
        return chr(vk)
    if 0x60 <= vk <= 0x69:
        return "Numpad%d" % (vk - 0x60)
    if 0x70 <= vk <= 0x87:
        return "F%d" % (vk - 0x6F)
    return "VK 0x%02X" % vk


def told(events):
    """Key events and messages as a user would name them: keystrokes as
    chords ("Ctrl+Shift+L"), posted key-downs and command messages with the
    window they went to."""
    out, held, chorded = [], [], False
    for window, kind, a, b, c in events:
        where = "" if window == "main" else " to " + window
        if kind == "MSG":
            out.append("message %d command %d%s" % (a, b, where))
        elif c == POSTED_LPARAM:
            out.append("posted key-down %s%s" % (vk_name(a), where))
        elif kind.endswith("DOWN"):
            if a not in MODIFIERS:
                out.append("+".join([vk_name(m) for m in held] + [vk_name(a)]) + where)
                chorded = True
            elif a not in held:
                held.append(a)
                chorded = False
        elif a in held:
            if not chorded:  # a modifier tapped alone
                out.append(vk_name(a) + where)
                chorded = True
            held.remove(a)
    return ", ".join(out) or "nothing"


def received(events):
    """Names what arrived; a held press may pass more than once."""
    if not events:
        return "nothing"
    for n in range(1, len(events) + 1):
        copies = repeated(events, n)
        if copies:
            text = told(events[:n])
            return text if copies == 1 else "%s (x%d, the press was held)" % (text, copies)
    return told(events)


class Demo:
    def __init__(self, w, app, layout):
        self.w, self.app, self.layout = w, app, layout
        self.s = None

    def say(self, text):
        print(text, flush=True)

    def trace(self):
        return [l.split('OutputDebugStringA "', 1)[1].rstrip('"').replace("<RCMessageBox>  ", "")
                for l in self.w.exe_output().splitlines() if 'OutputDebugStringA "' in l]

    def program_read(self, before):
        """The codes the program read and the distinct lines it traced
        since line `before` of its trace; the release (-1) is left out."""
        codes, said = [], []
        for line in self.trace()[before:]:
            if line.startswith("scan Code ="):
                code = "0x" + line.split("(")[-1].rstrip(")")
                if code != "0xFFFFFFFF" and code not in codes:
                    codes.append(code)
            elif line not in said:
                said.append(line)
        text = "read " + ("/".join(codes) or "nothing")
        return text + (', traced "%s"' % " | ".join(said) if said else "")

    def press(self, code, label=None):
        seen = len(self.trace())
        name = "press %2d" % code + (" (%s)" % label if label else "")
        got = self.s.press(code, LAUNCHED_LOG, self.app.name, 0)
        return name, self.program_read(seen), got

    def launch(self):
        code = power_key(self.app, self.layout)
        seen = len(self.trace())
        self.s.key(code)

        def args():
            self.s.alive()
            return [e for e in read_log(self.w, LAUNCHED_LOG)
                    if e["app"] == self.app.name and e["event"] == "ARGS"]
        started = wait_for(self.app.name + " to start", args, 20)
        window = [e for e in read_log(self.w, LAUNCHED_LOG) if e["event"] == "START"]
        self.s.quiet(lambda: len(self.trace()))  # the launch's waits end before the next press
        self.say("press %2d (power): %s, started %s %s; %s" % (
            code, self.program_read(seen), self.app.path, started[0]["text"][5:],
            window[0]["text"][6:] if window else "no window"))

    def keys(self):
        for code in DIGITS + EXTRA_KEYS[self.app.name]:
            label = "digit %d" % (code + 1) if code in DIGITS else None
            name, read, got = self.press(code, label)
            self.say("%s: %s; %s received %s" % (name, read, self.app.name, received(got)))

    def close(self):
        code = power_key(self.app, self.layout)
        before = len(read_log(self.w, LAUNCHED_LOG))
        seen = len(self.trace())
        self.s.key(code)
        wait_for(self.app.name + " to exit", lambda: self.s.alive() or any(
            e["event"] == "EXIT" for e in read_log(self.w, LAUNCHED_LOG)[before:]), 20)
        tail = read_log(self.w, LAUNCHED_LOG)[before:]
        closes = [e["event"] for e in tail if e["event"] in ("WM_SYSCOMMAND", "WM_CLOSE", "CLOSE")]
        got = delivered(tail)
        parts = ([received(got)] if got else []) + closes
        self.say("press %2d (power): %s; %s received %s, and exited" % (
            code, self.program_read(seen), self.app.name, " then ".join(parts) or "nothing"))

    def mouse(self):
        tray = wait_for("Wine's tray window", lambda: visible(self.w, "Wine System Tray"), 10)[0]
        x0, y0, _, _ = geometry(self.w, tray)
        x0, y0 = x0 + 80, y0 + 10  # over a window of Wine's, so Wine knows where it is
        xdo(self.w, "mousemove", str(x0), str(y0))
        seen = len(self.trace())
        self.w.press(MOUSE_RIGHT, 1000)
        time.sleep(1.5)
        out = xdo(self.w, "getmouselocation", "--shell")
        pos = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        self.say("press %2d (held 1 s, no TV application running): %s; pointer moved "
                 "from %d,%d to %s,%s" % (MOUSE_RIGHT, self.program_read(seen), x0, y0,
                                          pos.get("X"), pos.get("Y")))

    def run(self):
        prepare_apps(self.w, [self.app], self.layout, self.app.code)
        self.say("RemoteControl.exe polls the virtual tuner; %s chosen, %s remote" % (
            self.app.name, LAYOUTS[self.layout]))
        self.s = Session(self.w, "demo")
        try:
            self.launch()
            self.keys()
            self.close()
            self.mouse()
        finally:
            self.s.end()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", required=True, help="the Windows build directory (win32, or win64)")
    ap.add_argument("--app", default="Savrin", choices=sorted(APPS))
    ap.add_argument("--layout", type=int, default=1, choices=sorted(LAYOUTS),
                    help="1 41-key, 2 36-key, 3 35-key, 4 44-key remote")
    a = ap.parse_args()
    b = os.path.abspath(a.build)
    binaries = {"exe": os.path.join(b, "RemoteControl.exe"), "vtuner": os.path.join(b, "vtuner.dll"),
                "probe_client": os.path.join(b, "probe_client.exe"),
                "remote": os.path.join(b, "remote.exe"), "standin": os.path.join(b, "standin.exe")}
    for path in binaries.values():
        if not os.path.exists(path):
            print("demo: %s is missing; build the win32 preset first" % path, file=sys.stderr)
            return 2
    reason = why_wine_cannot_run(binaries["exe"])
    if reason:
        print("demo: this machine cannot run this build under Wine (%s); the "
              "scenario player plays a similar session: build/host/tools/rcsim docs/scenarios/savrin.scn"
              % reason, file=sys.stderr)
        return 1
    os.environ["RC_STANDIN_LOG"] = LAUNCHED_LOG
    w = World(os.path.join(b, "demo-world"), SRC, binaries)
    print("Setting up a Wine prefix and Xvfb (takes a little while)...", flush=True)
    try:
        w.setup()
        Demo(w, APPS[a.app], a.layout).run()
    except (WorldError, subprocess.TimeoutExpired, OSError) as e:
        print("demo: %s" % e, file=sys.stderr)
        return 1
    finally:
        w.teardown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
