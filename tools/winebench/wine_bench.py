"""The Wine side of scripts/bench.sh: the real exe next to its floors.

- idle CPU: the exe's process over a window, next to pollfloor.exe (the
  same 65 ms timer and the same one driver request, nothing else); the
  wineserver's share is given apart, since every poll goes through it;
- press-to-receipt latency: a line appended to the virtual tuner's feed
  (the key goes down) to the stand-in's log line of the command it got;
- start-up to the tray icon, next to trayfloor.exe, which adds one.

Prints one JSON object. CPU time is read from /proc (utime + stime of the
process, in clock ticks), wall time from time.monotonic().
"""
import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
from cases_apps import APPS, LAUNCHED_LOG, Session, prepare_apps, read_log  # noqa: E402
from wine_world import World, WorldError, wait_for  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")
# Orbisk on the 44-key layout: key 9 posts command 4003 to its main window.
APP, LAYOUT, KEY, RECEIPT = "Orbisk", 4, 9, "wParam=4003"
TRAY = {"exe": ("Remote Control", "Remote Control", 10), "floor": ("TrayFloor", "TrayFloor", 1)}


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime


def our_wineserver(w):
    """The wineserver of this world's prefix (found by its environment)."""
    want = ("WINEPREFIX=" + w.prefix).encode()
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                if b"wineserver" not in f.read():
                    continue
            with open("/proc/%s/environ" % pid, "rb") as f:
                if want in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            continue
    raise WorldError("no wineserver for " + w.prefix)


def windows_process(popen, name):
    """The Linux process running the Windows program `name` that popen
    started (Wine's loader usually becomes it)."""
    def find():
        for pid in [popen.pid] + children(popen.pid):
            try:
                with open("/proc/%d/cmdline" % pid, "rb") as f:
                    if name.encode() in f.read():
                        return pid
            except OSError:
                pass
        return None
    return wait_for(name + "'s process", find, 10)


def children(pid):
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def idle_cpu(w, program, seconds):
    """CPU of the program's process and of the wineserver over `seconds`
    after a settling pause, and the driver requests made meanwhile."""
    w.clear_files()
    proc = w._spawn_detached(["wine", "C:\\rc\\" + program], os.path.join(w.root, "bench.out"),
                             env=w.env())
    try:
        pid = windows_process(proc, program)
        wait_for(program + " polling", lambda: len(w.requests()) >= 5, 30)
        time.sleep(2)
        server = our_wineserver(w)
        c0, s0, r0, t0 = cpu_seconds(pid), cpu_seconds(server), len(w.requests()), time.monotonic()
        time.sleep(seconds)
        c1, s1, r1, t1 = cpu_seconds(pid), cpu_seconds(server), len(w.requests()), time.monotonic()
    finally:
        w.stop_exe(proc)
    wall = t1 - t0
    return {"cpu_percent": 100 * (c1 - c0) / wall, "wineserver_percent": 100 * (s1 - s0) / wall,
            "requests_per_s": (r1 - r0) / wall, "seconds": wall}


def latency(w, presses, seed):
    app = APPS[APP]
    prepare_apps(w, [app], LAYOUT, app.code)
    s = Session(w, "bench_latency")
    feed = w.path("feed.txt")
    rng = random.Random(seed)
    out = []
    try:
        log = s.start_standin(app)
        for _ in range(presses):
            before = sum(RECEIPT in e["text"] for e in read_log(w, log))
            # Past the 250 ms repeat window since the last read of the
            # previous press, at a random phase against the 65 ms poll.
            time.sleep(0.4 + rng.random() * 0.065)
            with open(feed, "a") as f:
                f.write("%d 100 100\n" % KEY)
            t0 = time.monotonic()
            deadline = t0 + 5
            while sum(RECEIPT in e["text"] for e in read_log(w, log)) <= before:
                if time.monotonic() > deadline:
                    raise WorldError("no receipt within 5 s")
                time.sleep(0.0005)
            out.append(1000 * (time.monotonic() - t0))
    finally:
        s.end()
    out.sort()
    return {"presses": len(out), "mean_ms": statistics.mean(out), "p50_ms": out[len(out) // 2],
            "p99_ms": out[min(len(out) - 1, int(len(out) * 0.99))], "max_ms": out[-1]}


def startup(w, program, runs):
    cls, title, icon = TRAY["floor" if program == "trayfloor.exe" else "exe"]
    times = []
    for i in range(runs):
        waiter = w._spawn_detached(["wine", "C:\\rc\\trayfloor.exe", "wait", cls, title, str(icon), "20000"],
                                   os.path.join(w.root, "bench.out"), env=w.env())
        windows_process(waiter, "trayfloor.exe")
        time.sleep(1.0)  # the waiter is up and asking
        t0 = time.monotonic()
        proc = w._spawn_detached(["wine", "C:\\rc\\" + program], os.path.join(w.root, "bench.out"),
                                 env=w.env())
        rc = waiter.wait(timeout=30)
        t1 = time.monotonic()
        w.stop_exe(proc)
        if rc != 0:
            raise WorldError("%s: no tray icon within 20 s (run %d)" % (program, i + 1))
        times.append(1000 * (t1 - t0))
    times.sort()
    return {"runs": runs, "median_ms": times[len(times) // 2], "min_ms": times[0], "max_ms": times[-1]}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True, help="the Windows build directory")
    ap.add_argument("--src", required=True)
    ap.add_argument("--world", required=True)
    ap.add_argument("--idle-seconds", type=float, default=60)
    ap.add_argument("--presses", type=int, default=200)
    ap.add_argument("--startups", type=int, default=10)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    b = os.path.abspath(a.build)
    binaries = {"exe": b + "/RemoteControl.exe", "vtuner": b + "/vtuner.dll",
                "probe_client": b + "/probe_client.exe", "remote": b + "/remote.exe",
                "standin": b + "/standin.exe"}
    os.environ["RC_STANDIN_LOG"] = LAUNCHED_LOG
    w = World(a.world, os.path.abspath(a.src), binaries)
    result = {"arch": w.arch}
    w.setup()
    try:
        app = APPS[APP]
        prepare_apps(w, [app], LAYOUT, app.code)
        for tool in ("pollfloor.exe", "trayfloor.exe"):
            shutil.copy(os.path.join(b, tool), os.path.join(w.drive, "rc", tool))
        result["idle_exe"] = idle_cpu(w, "RemoteControl.exe", a.idle_seconds)
        result["idle_floor"] = idle_cpu(w, "pollfloor.exe", a.idle_seconds)
        result["startup_exe"] = startup(w, "RemoteControl.exe", a.startups)
        result["startup_floor"] = startup(w, "trayfloor.exe", a.startups)
        result["latency"] = latency(w, a.presses, a.seed)
    finally:
        w.teardown()
    print(json.dumps(result, indent=1))


if __name__ == "__main__":
    main()
