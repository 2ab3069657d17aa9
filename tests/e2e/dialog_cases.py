#!/usr/bin/env python3
"""End-to-end cases of the dialogs, the tray menu and the mouse keys under
Wine: windows are seen and clicked through the X server of the run's world.

  dialog_cases.py --world DIR --src SRC --exe EXE --vtuner DLL --probe EXE
                  --remote EXE --standin EXE run CASE
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_cases import CAPTURE_NAME, check, prepare, start_polling  # noqa: E402
from wine_world import APP_KEY, TOOLS, World, WorldError, case_main, pick_board, wait_for  # noqa: E402

SHUT_DOWN = "Remote Control - Shut Down"
SETTING = "Remote Control - Setting"
MEDIA_CENTER_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Media Center"
# Wine's popup menu: 3 px border, 16 px items, 9 px separators.
MENU_BORDER, MENU_ITEM, MENU_SEPARATOR = 3, 16, 9


def xdo(w, *args):
    return subprocess.run(["xdotool"] + list(args), env=w.env(), capture_output=True,
                          text=True, timeout=20).stdout.strip()


def visible(w, name):
    return xdo(w, "search", "--onlyvisible", "--name", "^%s$" % name).split()


def geometry(w, wid):
    out = xdo(w, "getwindowgeometry", "--shell", wid)
    g = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])


def held_open(w, proc, name, seconds):
    """The window stays up for `seconds` while the program runs."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not visible(w, name) or proc.poll() is not None:
            return False
        time.sleep(0.1)
    return True


def start(w, tag, default_app=None, media_center=False):
    board = pick_board(w.src, (6, 2, 1))
    prepare(w, CAPTURE_NAME, board, ReadyPin=6)
    lines = ["[-%s]" % MEDIA_CENTER_KEY]
    if media_center:
        lines += ["[%s]" % MEDIA_CENTER_KEY, '"Ident"="5.1"']
    if default_app is not None:
        lines += ["[%s]" % APP_KEY, '"DefaultTVAPP"=dword:%08x' % default_app]
    w.reg_import(lines)
    return start_polling(w, tag)


def open_tray_menu(w):
    """Clicks the program's icon in Wine's tray window; returns the popup."""
    tray = wait_for("Wine's tray window", lambda: visible(w, "Wine System Tray"), 10)[0]
    before = set(xdo(w, "search", "--onlyvisible", "--name", "").split())
    xdo(w, "mousemove", "--window", tray, "8", "8")
    xdo(w, "click", "1")

    def popup():
        new = set(xdo(w, "search", "--onlyvisible", "--name", "").split()) - before
        return [wid for wid in new if xdo(w, "getwindowname", wid) == ""]
    return wait_for("the popup menu", popup, 10)[0]


def choose(w, menu, layout, item):
    """Clicks `item` of a menu laid out as `layout` ('-' for a separator)."""
    x, y, _, _ = geometry(w, menu)
    top = y + MENU_BORDER
    for entry in layout:
        height = MENU_SEPARATOR if entry == "-" else MENU_ITEM
        if entry == item:
            xdo(w, "mousemove", str(x + 30), str(top + height // 2))
            xdo(w, "click", "1")
            return
        top += height
    raise WorldError("no item %r in %r" % (item, layout))


def close_by_alt_f4(w, name):
    """Closes a stand-in the way a user would, so later cases meet no TV
    application."""
    for wid in visible(w, name):
        xdo(w, "windowfocus", "--sync", wid)
        xdo(w, "key", "alt+F4")
    wait_for(name + " to close", lambda: not visible(w, name), 10)


def stored_default_app(w):
    out = os.path.join(w.root, "reg-query.txt")
    with open(out, "wb") as f:
        subprocess.run(["wine", "reg", "query", APP_KEY, "/v", "DefaultTVAPP"], env=w.env(),
                       stdout=f, stderr=subprocess.DEVNULL, timeout=60)
    text = open(out, encoding="latin-1").read()
    return int(text.split("0x")[1].split()[0], 16) if "0x" in text else None


# ---- cases

def case_shutdown_cancel(w):
    """Opened by a press held over several ticks, left open by that hold,
    cancelled by a new press of 29, whose own hold does not open it again."""
    proc = start(w, "shutdown_cancel")
    try:
        w.press(30, 600)
        wait_for("the shutdown dialog", lambda: visible(w, SHUT_DOWN), 10)
        check(held_open(w, proc, SHUT_DOWN, 1.5), "the opening hold neither confirms nor cancels")
        w.press(29, 600)
        wait_for("the dialog to close", lambda: not visible(w, SHUT_DOWN), 10)
        time.sleep(1.5)
        check(not visible(w, SHUT_DOWN), "the cancelling hold does not open it again")
        check(proc.poll() is None, "the program runs on")
    finally:
        w.stop_exe(proc)


def case_setting_stores(w):
    """Setting chosen in the real popup of the real tray icon; OK stores the
    one application on offer as DefaultTVAPP."""
    proc = start(w, "setting_stores", default_app=6, media_center=True)
    try:
        menu = open_tray_menu(w)
        # Orbisk (6) is not installed: no application entry.
        choose(w, menu, ["-", "Setting", "-", "About", "-", "Exit"], "Setting")
        dialog = wait_for("the Setting dialog", lambda: visible(w, SETTING), 10)[0]
        xdo(w, "windowfocus", "--sync", dialog)
        xdo(w, "key", "Return")
        wait_for("the dialog to close", lambda: not visible(w, SETTING), 10)
        check(stored_default_app(w) == 4, "DefaultTVAPP stored as 4 (Media Center)")
    finally:
        w.stop_exe(proc)


def case_second_copy_setting(w):
    """A second start while the first copy shows its Setting dialog: the
    first copy ends, its dialog with it, and the second runs on alone."""
    first = start(w, "second_copy_first", default_app=6)
    second = None
    try:
        menu = open_tray_menu(w)
        choose(w, menu, ["-", "Setting", "-", "About", "-", "Exit"], "Setting")
        wait_for("the Setting dialog", lambda: visible(w, SETTING), 10)
        second = w.start_exe("second_copy_second")
        wait_for("the first copy to end", lambda: first.poll() is not None, 20)
        check(not visible(w, SETTING), "the first copy's Setting dialog went with it")
        seen = len(w.requests())

        def second_polls():
            if second.poll() is not None:
                raise WorldError("the second copy ended:\n" + w.exe_output()[-2000:])
            return len(w.requests()) >= seen + 5
        wait_for("the second copy polling on", second_polls, 20)
        check(first.poll() is not None and second.poll() is None,
              "exactly one copy runs: the second (first exit %s)" % first.returncode)
    finally:
        w.stop_exe(first)
        if second:
            w.stop_exe(second)


def case_menu_switch(w):
    """The application entry chosen in the popup starts that application."""
    ehome = os.path.join(w.drive, "windows", "ehome")
    os.makedirs(ehome, exist_ok=True)
    shutil.copy(w.bin["standin"], os.path.join(ehome, "ehshell.exe"))
    proc = start(w, "menu_switch", default_app=4, media_center=True)
    try:
        menu = open_tray_menu(w)
        choose(w, menu, ["Media Center", "-", "Setting", "-", "About", "-", "Exit"], "Media Center")
        wait_for("the Media Center stand-in's window",
                 lambda: visible(w, "Windows Media Center"), 30)
        check(True, "switching started C:\\windows\\ehome\\ehshell.exe")
    finally:
        w.stop_exe(proc)
        close_by_alt_f4(w, "Windows Media Center")


def case_mouse_keys(w):
    """Key 6 held with nothing running moves the pointer right, faster as
    the hold goes on; the position is read back from the X server."""
    proc = start(w, "mouse_keys")
    try:
        # Over a window of Wine's, so that Wine sees where the pointer is.
        tray = wait_for("Wine's tray window", lambda: visible(w, "Wine System Tray"), 10)[0]
        tx, ty, _, _ = geometry(w, tray)
        start_x, start_y = tx + 80, ty + 10
        xdo(w, "mousemove", str(start_x), str(start_y))
        w.press(6, 1000)
        time.sleep(1.5)  # the feed returns at once; the hold goes on
        out = xdo(w, "getmouselocation", "--shell")
        pos = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        x, y = int(pos["X"]), int(pos["Y"])
        # Each event is traced twice; on a 1024-pixel screen the steps are
        # four of 1 px, five of 6 px, then 12 px each.
        events = sum("scan Code =  (6)" in l for l in w.key_lines()) // 2
        want = sum(1 if i < 4 else 6 if i < 9 else 12 for i in range(events))
        print("%d events; pointer at %d,%d" % (events, x, y))
        check(events >= 5 and (x, y) == (start_x + want, start_y),
              "moved right by %d px, accelerating, and no further" % want)
    finally:
        w.stop_exe(proc)


def case_shutdown_confirm(w):
    """In a prefix of its own, since Wine ends every process of the prefix:
    a held press leaves the dialog open, a new press confirms, and the
    program starts Wine's forced power-off."""
    own = World(w.root + "-shutdown", w.src, w.bin)
    own.setup()
    try:
        board = pick_board(own.src, (6, 2, 1))
        prepare(own, CAPTURE_NAME, board, ReadyPin=6)
        own.stderr_path = os.path.join(own.root, "shutdown_confirm.stderr")
        proc = own._spawn_detached(["wine", r"C:\rc\RemoteControl.exe"], own.stderr_path,
                                   env=own.env("-all,+debugstr,+process"))
        wait_for("the program to poll", lambda: len(own.requests()) >= 3, 30)
        own.press(30, 1500)
        wait_for("the shutdown dialog", lambda: visible(own, SHUT_DOWN), 10)
        check(held_open(own, proc, SHUT_DOWN, 1.0), "left open by the held power key")
        own.press(30, 200)
        wait_for("the program to end with the session", lambda: proc.poll() is not None, 30)
        began = [l for l in own.exe_output().splitlines()
                 if "CreateProcess" in l and "wineboot.exe --kill --shutdown" in l]
        print(began[0][:160] if began else "no wineboot start")
        check(bool(began), "the program started Wine's forced shutdown (EWX_POWEROFF|EWX_FORCE)")
    finally:
        own.teardown()


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    return case_main(CASES, TOOLS + ("standin",))


if __name__ == "__main__":
    sys.exit(main())
