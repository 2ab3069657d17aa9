#!/usr/bin/env python3
"""Soak of the real RemoteControl.exe under Wine: many presses across the TV
applications, suspend and resume cycles, stand-ins appearing and vanishing.
It fails when the program's resources grew between a sample after the
warm-up and one at the end, when it stopped polling for longer than
POLL_GAP_MS outside a suspend window, or when it ended.

  soak_wine.py --build DIR [--src SRC] [--world DIR] [--presses N]
               [--cycles N] [--seed N]

DIR is a Windows build (win32 or win64 preset). Not part of the test run:
scripts/soak-wine.sh builds and runs it (docs/performance.md).
"""
import argparse
import bisect
import os
import random
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SRC, "tests", "e2e"))
from cases_apps import (APPS, LAUNCHED_LOG, Session, delivered, power_closes,  # noqa: E402
                        power_launches, prepare_apps, read_log)
from e2e_cases import CAPTURE_NAME  # noqa: E402
from wine_world import (SKIP, World, WorldError, request_lines, wait_for,  # noqa: E402
                        why_wine_cannot_run)

# The applications the soak runs, and the key map each reads with the
# settings below (41-key remote; the board prepare_apps picks has variant 1).
LAYOUT = 1
MAP_FILES = {
    "Orbisk": "Orbisk.ini",
    "TotalMedia": "TotalMedia35.41key.36key.44key.board-1-3-5.ini",
    "Savrin": "Savrin.41key.ini",
    "PowerCinema": "PowerCinema.ini",
}
ROTATION = ["Orbisk", "TotalMedia", "Savrin", "PowerCinema"]
LAUNCHED = "Savrin"  # DefaultTVAPP: the power key starts and closes it
# The launch and shutdown keys start and close applications or open the
# shutdown dialog; the soak presses them only where it means to.
ROUTER_KEYS = {3, 12, 22, 29, 30}

HOLD_MS, GAP_MS = 100, 200
READY_PIN = "6"
POLL_GAP_MS = 2000
REOPEN_DELAY_MS = 5000  # after the first resume notice the device is opened again
SUSPENDED_S = 1.0
PBT_APMSUSPEND, PBT_APMRESUMESUSPEND, PBT_APMRESUMEAUTOMATIC = 4, 7, 0x12

# Growth allowed between the sample after the warm-up and the one at the
# end, both taken in the same state: no stand-in up, the device open, no
# dialog. A leak of one object per press or per cycle shows far above these.
#   handles, syshandles: a few objects Wine or COM makes once, late; and
#     for each re-open of the device, what the system's own DirectShow
#     keeps of the same calls made by a plain program (opencost, measured
#     in the same prefix before the soak: Wine 8 keeps 8).
#   private, pagefile: 256 KB of heap high-water and page rounding: what
#     256 bytes lost per press, or 13 KB per cycle, would add.
#   gdi, user: a few cached objects (icons, menus) made on first use.
#   windows: none; every window the program opens it must close.
TOLERANCE = {"handles": 8, "syshandles": 8, "private": 256 * 1024, "pagefile": 256 * 1024,
             "gdi": 4, "user": 4, "windows": 0}
COUNTERS = ["handles", "private", "gdi", "user", "pagefile", "syshandles", "windows"]
HANDLE_COUNTERS = ("handles", "syshandles")
OPEN_COST_ROUNDS = 4


def map_codes(src, name):
    """The codes of an application's built-in map that act without waiting,
    less the router's keys."""
    path = os.path.join(src, "docs", "keymaps", MAP_FILES[name])
    codes = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\s*(\d+)(?:-(\d+))?\s*=\s*(.*)", line)
            if not m or "wait" in m.group(3):
                continue
            lo = int(m.group(1))
            hi = int(m.group(2) or lo)
            codes += [c for c in range(lo, hi + 1) if c not in ROUTER_KEYS]
    if not codes:
        raise WorldError("no codes read from " + path)
    return codes


def capture_searches(src, name):
    """How many searches of the capture devices one open makes to find the
    device called name: the program tries its capture names in order."""
    path = os.path.join(src, "src", "device", "tuner_device.cpp")
    with open(path, encoding="utf-8") as f:
        m = re.search(r"kCaptureNames\[\]\s*=\s*\{(.*?)\};", f.read(), re.S)
    names = re.findall(r'"([^"]*)"', m.group(1)) if m else []
    if name not in names:
        raise WorldError("%r is not among the capture names in %s" % (name, path))
    return names.index(name) + 1


def wine_out(w, args, timeout=60):
    """Runs a Windows program and returns (exit code, what it printed);
    through a file, so that nothing Wine leaves running holds a pipe."""
    path = os.path.join(w.root, "soak-out.txt")
    with open(path, "wb") as out:
        rc = subprocess.run(["wine"] + args, env=w.env(), stdin=subprocess.DEVNULL, stdout=out,
                            stderr=subprocess.DEVNULL, timeout=timeout).returncode
    with open(path, encoding="latin-1") as f:
        return rc, f.read().strip()


class PollWatch:
    """Follows the virtual tuner's request log as it grows: every request's
    tick, and the presses the driver played. A press is a rise of the ready
    pin, or a new code while it stays up: a tick that comes late may find
    the next press already held."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = b""
        self.ticks = []
        self.level = "0"
        self.rising = False
        self.held = None
        self.presses = 0

    def update(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return
        self.offset += len(data)
        lines = (self.partial + data).split(b"\n")
        self.partial = lines.pop()
        for r in request_lines(b"\n".join(lines).decode("latin-1")):
            self.ticks.append(r["tick"])
            if r["set"] == "cap-pin" and r.get("pin") == READY_PIN and "level" in r:
                self.rising = r["level"] == "1" and self.level == "0"
                self.level = r["level"]
                if self.level == "0":
                    self.held = None
            elif r["set"] == "cap-i2c" and self.level == "1" and "byte0" in r:
                if self.rising or r["byte0"] != self.held:
                    self.presses += 1
                self.held = r["byte0"]
                self.rising = False

    def first_after(self, tick):
        i = bisect.bisect_right(self.ticks, tick)
        return self.ticks[i] if i < len(self.ticks) else None

    def between(self, lo, hi):
        return bisect.bisect_left(self.ticks, hi) - bisect.bisect_right(self.ticks, lo)


def uncovered(a, b, windows):
    """How much of the interval a..b lies outside every window."""
    spans = sorted((max(a, lo), min(b, hi)) for lo, hi in windows if hi > a and lo < b)
    covered, at = 0, a
    for lo, hi in spans:
        lo = max(lo, at)
        if hi > lo:
            covered += hi - lo
            at = hi
    return (b - a) - covered


class Soak:
    def __init__(self, w, src, seed):
        self.w = w
        self.rng = random.Random(seed)
        self.codes = {name: map_codes(src, name) for name in ROTATION}
        self.watch = PollWatch(w.path("requests.log"))
        self.fed = 0          # presses written to the feed, remote.exe's included
        self.pressed = 0      # the random presses among them
        self.received = {name: 0 for name in ROTATION}
        self.cycles = []      # (suspend tick, first resume tick, first request after it)
        self.samples = []     # (label, counters, line) at the start and after each round
        self.around = []      # (counters before, counters after) each measured cycle
        self.open_cost = 0
        self.launches = 0
        self.standins = 0

    # ---- presses
    def draw(self, codes, n):
        """n codes at random, no two in a row the same, so that each reads
        as a press of its own."""
        out = []
        while len(out) < n:
            c = self.rng.choice(codes)
            if not out or c != out[-1] or len(set(codes)) == 1:
                out.append(c)
        return out

    def feed(self, codes):
        with open(self.w.path("feed.txt"), "a") as f:
            f.write("".join("%d %d %d\n" % (c, HOLD_MS, GAP_MS) for c in codes))
        self.fed += len(codes)

    def played(self):
        """Waits until the driver has played every press fed so far."""
        def done():
            self.s.alive()
            self.watch.update()
            return self.watch.presses >= self.fed
        wait_for("the driver to play %d presses" % self.fed, done, 30)

    def press_to(self, name, n, log):
        """n random codes of name's map; the application must have received
        something from them."""
        if n <= 0:
            return
        before = len(self.events(log, name))
        self.feed(self.draw(self.codes[name], n))
        self.pressed += n
        self.played()
        wait_for("%d presses of its map to reach %s" % (n, name),
                 lambda: len(self.events(log, name)) > before, 10)
        # Until the last key's messages are in: the next step may judge
        # whatever the log gains after it.
        self.s.quiet(lambda: len(self.events(log, name)), settle=0.5)

    def events(self, log, app_name):
        return delivered([e for e in read_log(self.w, log) if e["app"] == app_name])

    # ---- stand-ins the soak starts and ends itself
    def start(self, name):
        app = APPS[name]
        log = "C:\\standin-%s.log" % name
        self.forget_log(name, log)
        self.s.start_standin(app)
        self.standins += 1
        return self.s.own[-1], log

    def forget_log(self, name, log):
        """Tallies what an earlier copy received, then removes its log so
        that the next copy's start is seen afresh."""
        self.received[name] += len(self.events(log, name))
        try:
            os.remove(os.path.join(self.w.drive, log[3:]))
        except FileNotFoundError:
            pass

    def end(self, proc):
        # Killed, not closed: the window vanishes at once.
        self.w.stop_exe(proc)

    # ---- power notices
    def power(self, event):
        rc, text = wine_out(self.w, [r"C:\vtuner\taskbar.exe", "power", str(event)])
        m = re.search(r"at tick (\d+)", text)
        if rc != 0 or not m:
            raise WorldError("taskbar power %d: exit %d, %r" % (event, rc, text))
        return int(m.group(1))

    def suspend_cycle(self, n):
        """Asleep for a second, then awake: a wake by the user, or on every
        other cycle an automatic wake with the user's notice after it."""
        self.played()
        suspended = self.power(PBT_APMSUSPEND)
        time.sleep(SUSPENDED_S)
        resumes = [PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND] if n % 2 else [PBT_APMRESUMESUSPEND]
        resumed = [self.power(e) for e in resumes]

        def polling_again():
            self.s.alive()
            self.watch.update()
            return self.watch.first_after(resumed[0])
        first = wait_for("polling after the resume", polling_again, (REOPEN_DELAY_MS + POLL_GAP_MS) / 1000 + 10)
        asleep = self.watch.between(suspended + 300, resumed[0])
        if asleep:
            raise WorldError("cycle %d: %d requests while suspended: the notice did not close the device"
                             % (n, asleep))
        self.cycles.append((suspended, resumed[0], first))

    # ---- the program's own launch and close
    def launch_and_close(self, n):
        app = APPS[LAUNCHED]
        try:
            os.remove(os.path.join(self.w.drive, LAUNCHED_LOG[3:]))
        except FileNotFoundError:
            pass
        power_launches(self.s, app, LAYOUT)
        self.fed += 1
        self.press_to(LAUNCHED, n, LAUNCHED_LOG)
        self.received[LAUNCHED] += len(self.events(LAUNCHED_LOG, LAUNCHED))
        power_closes(self.s, app, LAYOUT)
        self.fed += 1
        self.launches += 1

    # ---- one round
    def round(self, r, presses):
        """Stand-in A takes keys; B appears; A vanishes while its keys are
        still playing; B takes keys, sleeps and wakes with the machine, takes
        keys again and vanishes; then the power key starts the launched
        application, which takes keys and is closed by the power key."""
        a = ROTATION[r % len(ROTATION)]
        b = ROTATION[(r + 1) % len(ROTATION)]
        share = [presses // 5] * 5
        share[-1] += presses - sum(share)
        proc_a, log_a = self.start(a)
        self.press_to(a, share[0], log_a)
        proc_b, log_b = self.start(b)
        # Keys of A's that reach B once A is gone must not wait in B either.
        both = [c for c in self.codes[a] if c in self.codes[b]]
        self.feed(self.draw(both, share[1]))
        self.pressed += share[1]
        time.sleep(share[1] * (HOLD_MS + GAP_MS) / 2000)
        self.end(proc_a)
        self.played()
        self.press_to(b, share[2], log_b)
        before = self.sample(None)
        self.suspend_cycle(r)
        self.around.append((before, self.sample(None)))
        self.press_to(b, share[3], log_b)
        self.end(proc_b)
        self.launch_and_close(share[4])

    def sample(self, label):
        """procstat's counters; kept and printed when labelled."""
        self.played()
        rc, text = wine_out(self.w, [r"C:\vtuner\procstat.exe", "Remote Control", "Remote Control"])
        if rc != 0:
            raise WorldError("procstat: exit %d, %r" % (rc, text))
        values = {}
        for field in text.split():
            k, _, v = field.partition("=")
            values[k] = int(v) if v.isdigit() else None
        if label:
            self.samples.append((label, values, text))
            print("  %-10s %s" % (label, text), flush=True)
        return values

    def measure_open_cost(self, src):
        """What the system's own DirectShow keeps per open of the device."""
        searches = capture_searches(src, CAPTURE_NAME)
        rc, text = wine_out(self.w, [r"C:\vtuner\opencost.exe", str(OPEN_COST_ROUNDS), str(searches),
                                     CAPTURE_NAME])
        m = re.search(r"per-open=(-?\d+)", text)
        if rc != 0 or not m:
            raise WorldError("opencost: exit %d, %r" % (rc, text))
        self.open_cost = max(0, int(m.group(1)))
        print("the system's DirectShow keeps %d handles per open (%d capture searches; opencost: %s)"
              % (self.open_cost, searches, " ".join(text.split())), flush=True)

    def run(self, presses, cycles, src):
        self.measure_open_cost(src)
        os.environ["RC_STANDIN_LOG"] = LAUNCHED_LOG
        try:
            self.s = Session(self.w, "soak")
        finally:
            del os.environ["RC_STANDIN_LOG"]
        try:
            print("warm-up: one round of %d presses, one cycle" % (presses // cycles), flush=True)
            self.round(0, presses // cycles)
            warm = (self.pressed, self.standins, self.launches)
            self.pressed = self.standins = self.launches = 0
            self.around = []
            self.sample("start")
            for r in range(1, cycles + 1):
                n = presses // cycles + (presses % cycles if r == cycles else 0)
                self.round(r, n)
                self.sample("round %d" % r)
            self.s.alive()
            # Still polling now, not only until the last sample.
            self.watch.update()
            seen = len(self.watch.ticks)
            time.sleep(POLL_GAP_MS / 1000 + 0.5)
            self.watch.update()
            if len(self.watch.ticks) == seen:
                raise WorldError("no request in the last %d ms" % (POLL_GAP_MS + 500))
            self.s.alive()
            return warm
        finally:
            self.forget_all()
            self.s.end()

    def forget_all(self):
        for name in ROTATION:
            self.forget_log(name, "C:\\standin-%s.log" % name)


def judge(soak):
    """The figures, and the list of what failed."""
    failures = []
    start, end = soak.samples[0][1], soak.samples[-1][1]
    print("\nresources, after the warm-up and at the end (growth allowed in brackets):")
    for name in COUNTERS:
        s, e = start.get(name), end.get(name)
        # A live GUI program has handles, memory, objects and a window: a 0
        # or no answer means the system does not keep this counter.
        if not s or e is None:
            print("  %-10s not provided here (start %s, end %s)" % (name, "n/a" if s is None else s,
                                                                  "n/a" if e is None else e))
            continue
        series = [v[name] for _, v, _ in soak.samples if v.get(name) is not None]
        grew = e - s
        allowed = TOLERANCE[name]
        split = ""
        if name in HANDLE_COUNTERS:
            allowed += soak.open_cost * len(soak.around)
            cycles = sum((after[name] or 0) - (before[name] or 0) for before, after in soak.around)
            split = "\n             %+d across the %d suspend cycles, %+d in the rest of the run" % (
                cycles, len(soak.around), grew - cycles)
        ok = grew <= allowed
        print("  %-10s %s start %d, end %d, growth %+d [%d]; min %d, max %d over %d samples%s"
              % (name, "ok  " if ok else "FAIL", s, e, grew, allowed, min(series), max(series),
                 len(series), split))
        if not ok:
            failures.append("%s grew by %d (allowed %d)" % (name, grew, allowed))

    windows = [(s, r + REOPEN_DELAY_MS) for s, r, _ in soak.cycles]
    ticks = soak.watch.ticks
    gaps = [(a, b) for a, b in zip(ticks, ticks[1:]) if b - a > POLL_GAP_MS]
    stalls = [(a, b, uncovered(a, b, windows)) for a, b in gaps]
    stalls = [g for g in stalls if g[2] > POLL_GAP_MS]
    outside = max([uncovered(a, b, windows) for a, b in zip(ticks, ticks[1:])] or [0])
    reopen = [f - r for _, r, f in soak.cycles]
    print("\npolling: %d requests over %.1f s; longest gap outside a suspend window %d ms [%d]"
          % (len(ticks), (ticks[-1] - ticks[0]) / 1000 if ticks else 0, outside, POLL_GAP_MS))
    print("suspend cycles: %d; polling again %d..%d ms after the first resume notice"
          % (len(soak.cycles), min(reopen or [0]), max(reopen or [0])))
    for a, b, out in stalls:
        failures.append("no request from tick %d to %d (%d ms outside a suspend window)" % (a, b, out))
    return failures


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", required=True, help="a Windows build directory")
    ap.add_argument("--src", default=SRC)
    ap.add_argument("--world", help="default: BUILD/soak-world")
    ap.add_argument("--presses", type=int, default=1000)
    ap.add_argument("--cycles", type=int, default=20, help="suspend and resume cycles, one per round")
    ap.add_argument("--seed", type=int, default=None)
    a = ap.parse_args()
    if a.cycles < 1 or a.presses < 5 * a.cycles:
        ap.error("at least one cycle and five presses per cycle")
    names = {"exe": "RemoteControl.exe", "vtuner": "vtuner.dll", "probe_client": "probe_client.exe",
             "remote": "remote.exe", "standin": "standin.exe", "taskbar": "taskbar.exe",
             "procstat": "procstat.exe", "opencost": "opencost.exe"}
    binaries = {k: os.path.join(a.build, v) for k, v in names.items()}
    missing = [p for p in binaries.values() if not os.path.exists(p)]
    if missing:
        print("soak: not built: " + ", ".join(missing))
        return 1
    reason = why_wine_cannot_run(binaries["exe"])
    if reason:
        print("SKIP: this machine cannot run this build under Wine:", reason)
        return SKIP
    seed = a.seed if a.seed is not None else int(time.time())
    print("soak: seed %d (run again with --seed %d), %d presses, %d suspend cycles"
          % (seed, seed, a.presses, a.cycles), flush=True)

    began = time.monotonic()
    w = World(a.world or os.path.join(a.build, "soak-world"), a.src, binaries)
    soak = None
    failures = []
    try:
        w.setup()
        prepare_apps(w, [APPS[n] for n in ROTATION], LAYOUT, APPS[LAUNCHED].code)
        for name in ("taskbar", "procstat", "opencost"):
            shutil.copy(binaries[name], w.vtdir)
        ready = time.monotonic()
        print("world ready in %.0f s" % (ready - began), flush=True)
        soak = Soak(w, a.src, seed)
        warm = soak.run(a.presses, a.cycles, a.src)
        ran = time.monotonic() - ready
        failures = judge(soak)
        print("\npresses: %d random ones after a warm-up of %d, plus %d power-key presses; "
              "the driver played %d in all" % (soak.pressed, warm[0], 2 * (soak.launches + warm[2]),
                                               soak.watch.presses))
        print("stand-ins: %d started and killed by the soak, %d started and closed by the program"
              % (soak.standins + warm[1], soak.launches + warm[2]))
        print("events the stand-ins logged: " + ", ".join("%s %d" % kv for kv in soak.received.items()))
        print("soak run %.0f s, world setup %.0f s" % (ran, ready - began))
    except (WorldError, subprocess.TimeoutExpired, OSError) as e:
        failures.append(str(e))
        if soak and soak.samples:
            print("samples so far:")
            for label, _, text in soak.samples:
                print("  %-10s %s" % (label, text))
    finally:
        w.teardown()
    print("wall time %.0f s" % (time.monotonic() - began))
    for f in failures:
        print("FAIL", f)
    print("soak %s (seed %d)" % ("failed" if failures else "passed", seed))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
