#!/usr/bin/env python3
"""Screenshots of the tray menu and the three dialogs as Wine draws them
under Xvfb, written as PNG files for the README. Builds nothing: give it the
Windows build's files. Needs xwd (Debian package x11-apps) besides what the
Wine runs need.

  shoot.py --build BUILD_DIR [--out docs/images]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SRC, "tests", "e2e"))
import dialog_cases as dc  # noqa: E402
from wine_world import World, wait_for  # noqa: E402

MARGIN = 6


def shot(w, out, box):
    dump = os.path.join(w.root, "screen.xwd")
    subprocess.run(["xwd", "-root", "-silent", "-out", dump], env=w.env(), check=True, timeout=30)
    x, y, width, height = box
    subprocess.run([sys.executable, os.path.join(HERE, "xwd_to_png.py"), dump, out,
                    str(x - MARGIN), str(y - MARGIN), str(width + 2 * MARGIN),
                    str(height + 2 * MARGIN)], check=True, timeout=60)
    print("wrote", out)


def frame(w, name):
    """The window with its frame: Wine draws dialog frames itself."""
    wid = wait_for(name, lambda: dc.visible(w, name), 10)[0]
    time.sleep(0.5)  # let it paint
    return wid, dc.geometry(w, wid)


def dismiss(w, wid, name, key):
    dc.xdo(w, "windowfocus", "--sync", wid)
    dc.xdo(w, "key", key)
    wait_for(name + " to close", lambda: not dc.visible(w, name), 10)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--out", default=os.path.join(SRC, "docs", "images"))
    a = ap.parse_args()
    if not shutil.which("xwd"):
        sys.exit("shoot.py: xwd is missing (apt-get install x11-apps)")
    b = os.path.abspath(a.build)
    files = {"exe": "RemoteControl.exe", "vtuner": "vtuner.dll", "probe_client": "probe_client.exe",
             "remote": "remote.exe"}
    w = World(os.path.join(b, "screenshot-world"), SRC, {k: os.path.join(b, v) for k, v in files.items()})
    os.makedirs(a.out, exist_ok=True)
    w.setup()
    try:
        # No window manager runs on Xvfb: let Wine draw the frames and captions.
        w.wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/t", "REG_SZ",
               "/d", "N", "/f")
        proc = dc.start(w, "screenshots", default_app=4, media_center=True)
        layout = ["Media Center", "-", "Setting", "-", "About", "-", "Exit"]

        menu = dc.open_tray_menu(w)
        time.sleep(0.5)
        mx, my, mw, mh = dc.geometry(w, menu)
        tray = dc.visible(w, "Wine System Tray")[0]
        tx, ty, tw, th = dc.geometry(w, tray)
        left, top = min(mx, tx), min(my, ty)
        shot(w, os.path.join(a.out, "tray-menu.png"),
             (left, top, max(mx + mw, tx + tw) - left, max(my + mh, ty + th) - top))
        dc.choose(w, menu, layout, "About")
        wid, box = frame(w, "Remote Control - About")
        shot(w, os.path.join(a.out, "about.png"), box)
        dismiss(w, wid, "Remote Control - About", "Return")

        dc.choose(w, dc.open_tray_menu(w), layout, "Setting")
        wid, box = frame(w, "Remote Control - Setting")
        shot(w, os.path.join(a.out, "setting.png"), box)
        dismiss(w, wid, "Remote Control - Setting", "Escape")

        w.press(30, 100)
        wid, box = frame(w, dc.SHUT_DOWN)
        shot(w, os.path.join(a.out, "shutdown.png"), box)
        w.press(29, 100)
        wait_for("the dialog to close", lambda: not dc.visible(w, dc.SHUT_DOWN), 10)
        w.stop_exe(proc)
    finally:
        w.teardown()


if __name__ == "__main__":
    main()
