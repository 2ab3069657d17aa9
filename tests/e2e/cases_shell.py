"""End-to-end cases of the application shell: the settings key, the
remote-off exit, a second copy closing the first, the hidden window, the
icon after an Explorer restart and the version record. Loaded by
e2e_cases.py, which runs them by name."""
import os
import re
import shutil
import struct
import subprocess
import time

from wine_world import APP_KEY, World, WorldError, pick_board, wait_for  # noqa: F401

CAPTURE_NAME = "713x BDA Analog Capture"
NIM_ADD, NIM_MODIFY, NIM_DELETE = 0, 1, 2
TRAY_CALL = re.compile(r"Shell_NotifyIcon\w*\s.*?dwMessage\s*=\s*(?:0x)?([0-9a-fA-F]+)")
VERSION_TEXT = "Remote Control Utility V1.2.0.0"


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        raise WorldError(what)


def reset(w, settings=None, board=True):
    """Clean registry; optionally the settings key with some values."""
    w.install()
    w.clear_files()
    lines = w.reset_lines()
    if board:
        lines += w.pci_lines(pick_board(w.src, (6, 2, 1)))
        lines += w.tuner_lines(ReadyPin=6)
    if settings:
        lines.append("[%s]" % APP_KEY)
        lines += ['"%s"=dword:%08x' % (k, v) for k, v in settings.items()]
    w.reg_import(lines)
    w.register_tuner(CAPTURE_NAME)


def start_traced(w, tag):
    """Starts the exe with Wine's tray channel on; returns (process, trace path)."""
    path = os.path.join(w.root, tag + ".stderr")
    if os.path.exists(path):
        os.remove(path)
    proc = w._spawn_detached(["wine", r"C:\rc\RemoteControl.exe"], path,
                             env=w.env("-all,+systray,+debugstr"))
    return proc, path


def read(path):
    try:
        with open(path, encoding="latin-1") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def tray_calls(text):
    """The Shell_NotifyIcon messages in a trace, in order."""
    return [int(m.group(1), 16 if "0x" in m.group(0) else 10)
            for m in (TRAY_CALL.search(l) for l in text.splitlines()) if m]


def icon_left(calls):
    """True when the last add is not followed by a delete."""
    shown = False
    for c in calls:
        if c == NIM_ADD:
            shown = True
        elif c == NIM_DELETE:
            shown = False
    return shown


def reg_values(w):
    """The settings key's values as {name: int}, {} when the key is missing."""
    out = os.path.join(w.root, "reg-query.txt")
    with open(out, "wb") as f:
        subprocess.run(["wine", "reg", "query", APP_KEY], env=w.env(), stdin=subprocess.DEVNULL,
                       stdout=f, stderr=subprocess.DEVNULL, timeout=30)
    values = {}
    for line in read(out).splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] == "REG_DWORD":
            values[parts[0]] = int(parts[2], 16)
    return values


def at_least(values, count):
    return values if len(values) >= count else None


def alive_or_fail(w, proc, path):
    if proc.poll() is not None:
        raise WorldError("RemoteControl.exe ended early:\n" + read(path)[-2000:])


# ---- cases

def case_shell_settings_key(w):
    """First start creates the key with two values; the second adds two more."""
    reset(w)
    check(reg_values(w) == {}, "no settings key before the first start")
    proc, path = start_traced(w, "settings_first")
    try:
        first = wait_for("the settings key", lambda: alive_or_fail(w, proc, path) or
                         at_least(reg_values(w), 2), 20)
    finally:
        w.stop_exe(proc)
    print("after the first start:", first)
    check(first == {"DefaultTVAPP": 6, "AlwaysRemoteOff": 0},
          "first start: DefaultTVAPP = 6 and AlwaysRemoteOff = 0, nothing else")
    proc, path = start_traced(w, "settings_second")
    try:
        second = wait_for("the second start's values",
                          lambda: alive_or_fail(w, proc, path) or
                          at_least(reg_values(w), 4), 20)
    finally:
        w.stop_exe(proc)
    print("after the second start:", second)
    check(second == {"DefaultTVAPP": 6, "AlwaysRemoteOff": 0, "Default41keyIR": 0, "PDCounter": 0},
          "second start adds Default41keyIR = 0 and PDCounter = 0")


def case_shell_remote_off(w):
    """AlwaysRemoteOff = 1: exit code 0 at once, the icon added then deleted."""
    reset(w, {"DefaultTVAPP": 6, "AlwaysRemoteOff": 1})
    proc, path = start_traced(w, "remote_off")
    try:
        rc = proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        w.stop_exe(proc)
        raise WorldError("RemoteControl.exe kept running with AlwaysRemoteOff = 1")
    calls = tray_calls(read(path))
    print("exit code %d, tray calls %s" % (rc, calls))
    check(rc == 0, "exit code 0")
    check(calls[:1] == [NIM_ADD] and NIM_DELETE in calls, "an add (0) followed by a delete (2)")
    check(not icon_left(calls), "no tray icon left")
    # The checker itself: the same trace without its delete must show an icon left.
    cut = "\n".join(l for l in read(path).splitlines()
                    if not (TRAY_CALL.search(l) and tray_calls(l) == [NIM_DELETE]))
    check(icon_left(tray_calls(cut)), "the check reports an icon left when the delete is cut out")
    check(w.requests() == [], "no driver request: no timer ran")


def case_shell_second_copy(w):
    """A second copy closes the first, which removes its icon and ends."""
    reset(w)
    first, first_path = start_traced(w, "copy_first")
    second = None
    try:
        wait_for("the first copy polling", lambda: alive_or_fail(w, first, first_path) or
                 len(w.requests()) >= 3, 30)
        check(tray_calls(read(first_path)) == [NIM_ADD], "the first copy added its icon")
        second, second_path = start_traced(w, "copy_second")
        wait_for("the first copy to end", lambda: first.poll() is not None, 20)
        calls = tray_calls(read(first_path))
        print("first copy: exit %s, tray calls %s" % (first.returncode, calls))
        check(calls == [NIM_ADD, NIM_DELETE], "the first copy deleted its icon on the way out")
        seen = len(w.requests())
        wait_for("the second copy polling on", lambda: alive_or_fail(w, second, second_path) or
                 len(w.requests()) >= seen + 5, 20)
        calls = tray_calls(read(second_path))
        check(second.poll() is None and calls == [NIM_ADD],
              "the second copy runs with its icon (tray calls %s)" % calls)
    finally:
        w.stop_exe(first)
        if second:
            w.stop_exe(second)


def visible_windows(w, name):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                         env=w.env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=10)
    return out.stdout.split()


def case_shell_hidden_window(w):
    """The main window exists but is never shown."""
    reset(w)
    proc, path = start_traced(w, "hidden")
    try:
        # Timers start after the window is hidden: polling means its state is final.
        wait_for("the program polling", lambda: alive_or_fail(w, proc, path) or
                 len(w.requests()) >= 3, 30)
        check(tray_calls(read(path)) == [NIM_ADD], "the window was created (its icon was added)")
        shown = visible_windows(w, "^Remote Control$")
        check(shown == [], "no visible X window titled Remote Control (found %s)" % shown)
        alive_or_fail(w, proc, path)
    finally:
        w.stop_exe(proc)


def taskbar(w, *args):
    """Runs taskbar.exe (a restarting Explorer's steps); returns its exit code."""
    return w.wine(r"C:\vtuner\taskbar.exe", *args, check=False)


def icon_shown(w):
    """True when the shell answers a modify of the program's icon 10."""
    return taskbar(w, "has", "Remote Control", "Remote Control", "10") == 0


def case_shell_explorer_restart(w):
    """The shell forgets the icon and announces a new taskbar: the program
    adds it again; announced while the icon is there, it only modifies it."""
    reset(w)
    shutil.copy(w.bin["taskbar"], w.vtdir)
    proc, path = start_traced(w, "explorer_restart")
    try:
        wait_for("the program polling", lambda: alive_or_fail(w, proc, path) or
                 len(w.requests()) >= 3, 30)
        check(tray_calls(read(path)) == [NIM_ADD], "the icon was added at the start")
        check(icon_shown(w), "the shell shows the icon")
        check(taskbar(w, "forget", "Remote Control", "Remote Control", "10") == 0,
              "the shell forgot the icon, as a new Explorer does")
        # The probe itself: it must see the icon gone.
        check(not icon_shown(w), "the shell no longer shows the icon")
        check(taskbar(w, "announce") == 0, "TaskbarCreated broadcast")
        calls = wait_for("the icon added again", lambda: alive_or_fail(w, proc, path) or
                         at_least(tray_calls(read(path)), 2), 20)
        print("tray calls after the restart:", calls)
        check(calls == [NIM_ADD, NIM_ADD], "one add on TaskbarCreated")
        wait_for("the shell to show the icon again", lambda: icon_shown(w), 20)
        print("ok   the shell shows the icon again")
        check(taskbar(w, "announce") == 0, "TaskbarCreated broadcast with the icon still shown")
        calls = wait_for("the answer to the second broadcast", lambda: alive_or_fail(w, proc, path) or
                         at_least(tray_calls(read(path)), 4), 20)
        print("tray calls after the second broadcast:", calls)
        check(calls == [NIM_ADD, NIM_ADD, NIM_ADD, NIM_MODIFY],
              "the refused add is followed by a modify that the shell takes")
        check(icon_shown(w), "the shell still shows the icon")
        alive_or_fail(w, proc, path)
    finally:
        w.stop_exe(proc)


def fixed_file_info(data):
    """File and product version of the VS_FIXEDFILEINFO record, as tuples."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        raise WorldError("no VS_FIXEDFILEINFO record in the exe")
    fms, fls, pms, pls = struct.unpack_from("<4I", data, at + 8)
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)  # noqa: E731
    return split(fms, fls), split(pms, pls)


def string_value(data, name):
    """A StringFileInfo value: UTF-16 key, padded to 4 bytes, then the text."""
    key = (name + "\0").encode("utf-16-le")
    at = data.find(key)
    if at < 0:
        return None
    start = at + len(key)
    start += (-start) % 4
    end = data.find(b"\0\0", start)
    while end >= 0 and (end - start) % 2:
        end = data.find(b"\0\0", end + 1)
    return data[start:end].decode("utf-16-le", "replace") if end >= 0 else None


def case_shell_version_resource(w):
    """The version record of the exe we ship."""
    with open(w.bin["exe"], "rb") as f:
        data = f.read()
    file_ver, product_ver = fixed_file_info(data)
    print("file version %s, product version %s" % (file_ver, product_ver))
    check(file_ver == (1, 2, 0, 0) and product_ver == (1, 2, 0, 0), "file and product version 1.2.0.0")
    texts = {n: string_value(data, n) for n in ("FileVersion", "ProductVersion", "FileDescription",
                                                  "ProductName")}
    print("strings:", texts)
    check(texts["FileVersion"] == "1.2.0.0" and texts["ProductVersion"] == "1.2.0.0",
          "version strings 1.2.0.0")
    check(VERSION_TEXT in (texts["FileDescription"], texts["ProductName"]),
          "the text " + VERSION_TEXT)


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}
