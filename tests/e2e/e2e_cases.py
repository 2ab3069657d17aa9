#!/usr/bin/env python3
"""End-to-end cases under Wine: the real RemoteControl.exe, the virtual
tuner as its driver, keys fed through the tuner's feed.

  e2e_cases.py --world DIR --src SRC --exe EXE --vtuner DLL --probe EXE
               --remote EXE --taskbar EXE (setup | teardown | run CASE)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_world import KEY_LINE, TOOLS, WorldError, case_main, pick_board, wait_for  # noqa: E402

CAPTURE_NAME = "713x BDA Analog Capture"
POLL_TIMEOUT = 30
KEY_TIMEOUT = 10


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        raise WorldError(what)


def prepare(w, tuner_name, board=None, **tuner):
    """A clean registry with one board entry and the tuner settings."""
    w.install()
    w.clear_files()
    lines = w.reset_lines()
    if board:
        lines += w.pci_lines(board)
    if tuner:
        lines += w.tuner_lines(**tuner)
    w.reg_import(lines)
    w.register_tuner(tuner_name)


def start_polling(w, tag, predicate=None):
    proc = w.start_exe(tag)

    def polling():
        if proc.poll() is not None:
            raise WorldError("RemoteControl.exe ended early:\n" + w.exe_output()[-2000:])
        reqs = w.requests()
        return len(reqs) >= 3 and (predicate is None or predicate(reqs))
    try:
        wait_for("the program to poll the virtual tuner", polling, POLL_TIMEOUT)
    except WorldError:
        w.stop_exe(proc)
        raise
    return proc


def press_until_key(w, proc, code, line_value):
    line = KEY_LINE % line_value
    w.press(code)

    def seen():
        if proc.poll() is not None:
            raise WorldError("RemoteControl.exe ended:\n" + w.exe_output()[-2000:])
        return any(line in l for l in w.key_lines())
    wait_for(repr(line) + " in the program's debugger output", seen, KEY_TIMEOUT)
    print("seen %r" % line)


def ticks_with(reqs, ready_set, ready_pin, whole=True):
    """Splits the log into ticks: each starts with a read of the ready pin.
    With whole, the last tick is left out: the log may have been read while
    that tick was still asking."""
    ticks = []
    for r in reqs:
        if r["set"] == ready_set and r.get("pin") == str(ready_pin):
            ticks.append([r])
        elif ticks:
            ticks[-1].append(r)
    return ticks[:-1] if whole else ticks


def whole_key_ticks(w, ready_set, ready_pin):
    """Waits for key ticks that the log holds in full, and returns them."""
    def ready():
        return [t for t in ticks_with(w.requests(), ready_set, ready_pin) if t[0].get("level") == "1"]
    return wait_for("a whole key tick in the request log", ready, KEY_TIMEOUT)


# ---- cases

def case_vtuner_probe(w):
    """The virtual tuner on its own, through Wine's SetupAPI and DirectShow."""
    board = pick_board(w.src, (6, 2, 1))
    prepare(w, CAPTURE_NAME, board)
    out = os.path.join(w.root, "probe-capture.txt")
    probe = w._spawn_detached(["wine", r"C:\vtuner\probe_client.exe", "capture", CAPTURE_NAME, "37"],
                              out, env=w.env())
    wait_for("the probe client's first requests", lambda: w.requests() or probe.poll() is not None, 30)
    w.press(37, 400)
    rc = probe.wait(timeout=30)
    print(open(out, encoding="latin-1").read())
    check(rc == 0, "capture-path checks of the probe client")

    prepare(w, "7160 BDA Main Device0", ChipId=0x7161)
    rc = w.wine(r"C:\vtuner\probe_client.exe", "main", "7160 BDA Main Device0", "0x7161", check=False)
    check(rc == 0, "main-device checks of the probe client (chip 0x7161)")

    prepare(w, CAPTURE_NAME, board)
    listing = os.path.join(w.root, "wine-cmd.log")
    start = os.path.getsize(listing)
    w.wine(r"C:\vtuner\probe_client.exe", "devices")
    with open(listing, encoding="latin-1") as f:
        f.seek(start)
        devices = f.read()
    check(("device PCI\\%s&REV_D1" % board) in devices, "SetupAPI lists the PCI entry " + board)


def case_capture_press(w):
    """Capture path, reader type 2: a fed press reaches the key tick."""
    board = pick_board(w.src, (6, 2, 1))
    prepare(w, CAPTURE_NAME, board, ReadyPin=6)
    proc = start_polling(w, "capture_press")
    try:
        press_until_key(w, proc, 37, 37)
        reqs = w.requests()
        check(all(r["set"] in ("cap-pin", "cap-i2c") for r in reqs), "only capture-path requests")
        check(any(r["set"] == "cap-i2c" and r.get("byte0") == "0x25" for r in reqs),
              "the I2C read returned the fed code")
        pins = {r.get("pin") for r in reqs if r["set"] == "cap-pin"}
        check(pins == {"6"}, "board %s: ready pin 6 from its entry, not the default 7 (pins %s)"
              % (board, sorted(pins)))
        key_ticks = whole_key_ticks(w, "cap-pin", 6)
        check(all(len(t) == 2 for t in key_ticks), "two requests per key tick")
    finally:
        w.stop_exe(proc)


def case_odd_devices_first(w):
    """Devices with a non-text or over-long friendly name, listed before the
    card, are passed over; the card is still found and keys flow."""
    board = pick_board(w.src, (6, 2, 1))
    prepare(w, CAPTURE_NAME, board, ReadyPin=6)
    w.reg_import(w.odd_device_lines(CAPTURE_NAME))
    proc = start_polling(w, "odd_devices_first")
    try:
        press_until_key(w, proc, 37, 37)
    finally:
        w.stop_exe(proc)


def case_main_device_probe(w):
    """Main-device path: the chip probe finds 0x7162, then keys flow."""
    board = pick_board(w.src, (3, 2, 1))
    prepare(w, "7162 BDA Main Device0", board, ReadyPin=3, ChipId=0x7162)
    proc = start_polling(w, "main_device_probe", lambda rs: any(r["set"] == "main-pin" for r in rs))
    try:
        reqs = w.requests()
        probes = [(r.get("chip"), r.get("found")) for r in reqs if r["set"] == "probe"]
        print("probes:", probes)
        check(probes == [("0x7164", "0"), ("0x7163", "0"), ("0x7162", "1")],
              "probes for 0x7164, 0x7163, 0x7162; found 0x7162")
        pin_reads = [r for r in reqs if r["set"] == "main-pin"]
        check(all(r.get("chip") == "0x7162" and r.get("pin") == "3" for r in pin_reads),
              "pin requests carry chip 0x7162 and the board's ready pin 3")
        press_until_key(w, proc, 37, 37)
        i2c = [r for r in w.requests() if r["set"] == "main-i2c"]
        check(any(r.get("byte0") == "0x25" for r in i2c), "main-device I2C read returned the code")
        check(all(r.get("sel") == "1" for r in i2c), "device selector 1 after the 7162 fallback")
    finally:
        w.stop_exe(proc)


def case_main_device_7160(w):
    """The 7160 main device: the first probe answers, device selector 0."""
    board = pick_board(w.src, (3, 2, 5))
    prepare(w, "7160 BDA Main Device0", board, ReadyPin=3, ChipId=0x7164)
    proc = start_polling(w, "main_device_7160", lambda rs: any(r["set"] == "main-pin" for r in rs))
    try:
        probes = [(r.get("chip"), r.get("found")) for r in w.requests() if r["set"] == "probe"]
        check(probes == [("0x7164", "1")], "one probe, answered by 0x7164 (%s)" % probes)
        press_until_key(w, proc, 30, 30)
        i2c = [r for r in w.requests() if r["set"] == "main-i2c"]
        check(i2c and all(r.get("sel") == "0" for r in i2c), "device selector 0 on the 7160 device")
    finally:
        w.stop_exe(proc)


def case_reader_type1(w):
    """A reader-type-1 board from the PCI entry: the tick reads pins 0..5 and I2C."""
    board = pick_board(w.src, (6, 1, 1))
    prepare(w, "Philips Cap713x Video Capture", board, ReadyPin=6)
    proc = start_polling(w, "reader_type1")
    try:
        # The pin decoder takes the first I2C byte shifted right by one.
        press_until_key(w, proc, 74, 37)
        key_ticks = whole_key_ticks(w, "cap-pin", 6)
        shape = [[r["set"] + ":" + r.get("pin", "") for r in t] for t in key_ticks]
        want = ["cap-pin:6"] + ["cap-pin:%d" % i for i in range(6)] + ["cap-i2c:"]
        print("key tick of board %s: %s" % (board, " ".join(want)))
        check(all(s == want for s in shape),
              "every key tick reads the ready pin, pins 0..5 in order, then I2C (8 requests)")
    finally:
        w.stop_exe(proc)


def case_idle_second(w):
    """One idle second of the real exe: requests per tick."""
    board = pick_board(w.src, (6, 2, 1))
    prepare(w, CAPTURE_NAME, board, ReadyPin=6)
    proc = start_polling(w, "idle_second",
                         lambda rs: rs[-1]["tick"] - rs[0]["tick"] >= 1500)
    try:
        reqs = w.requests()
        end = reqs[-1]["tick"]
        second = [r for r in reqs if end - 1000 < r["tick"] <= end]
        ticks = ticks_with(second, "cap-pin", 6)
        print("idle second: %d requests in %d ticks (%s per tick)"
              % (len(second), len(ticks), [len(t) for t in ticks]))
        for r in second[:4]:
            print("   ", r)
        check(10 <= len(ticks) <= 20, "about 15 ticks in one second (65 ms timer)")
        check(all(len(t) == 1 for t in ticks), "one request per idle tick")
    finally:
        w.stop_exe(proc)


def case_all_fail_mend(w):
    """A driver that refuses every request: no phantom key on any tick."""
    board = pick_board(w.src, (6, 1, 1))
    prepare(w, CAPTURE_NAME, board, ReadyPin=6, Refuse=1)
    proc = start_polling(w, "all_fail_mend", lambda rs: len(rs) >= 40)
    try:
        w.press(37)
        first = len(w.requests())
        wait_for("twenty more ticks", lambda: len(w.requests()) >= first + 160, 15)
        reqs = w.requests()
        check(all(r.get("refused") == "driver" for r in reqs), "every request was refused")
        # Each tick of the pin decoder ends with its I2C read.
        check(sum(r["set"] == "cap-i2c" for r in reqs) >= 20, "the key tick kept polling")
        lines = w.key_lines()
        check(not lines, "no key lines from a refusing driver (got %d, first %r)"
              % (len(lines), lines[:1]))
    finally:
        w.stop_exe(proc)


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}

import cases_shell  # noqa: E402
CASES.update(cases_shell.CASES)


def main():
    return case_main(CASES, TOOLS + ("taskbar",), ("setup", "teardown", "run"))


if __name__ == "__main__":
    sys.exit(main())
