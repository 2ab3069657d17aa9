#!/usr/bin/env python3
"""The setup program under Wine, in a prefix of its own: a silent install,
its files, shortcuts, logon start and uninstall entry, a start through the
logon command that polls the virtual tuner, an update over a running copy
that keeps the settings, and silent uninstalls with and without
/REMOVESETTINGS.

  cases_installer.py --world DIR --src SRC --exe EXE --installer SETUP
                     --version A.B.C.D --vtuner DLL run install_update_uninstall
"""
import glob
import os
import re
import shutil
import subprocess
import sys

from e2e_cases import CAPTURE_NAME
from wine_world import APP_KEY, World, WorldError, case_main, pick_board, wait_for

INSTALL_DIR = r"C:\Program Files\Remote Control"
UNINST_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Remote Control"
RUN_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run"
VENDOR_KEY = r"HKEY_LOCAL_MACHINE\Software\Tarvel Multimedia"
REG_LINE = re.compile(r"^\s+(.*?)\s+(REG_\w+)\s+(.*?)\s*$")


class InstallWorld(World):
    def env(self, debug="-all", extra=None):
        env = super().env(debug, extra)
        # Shortcuts stay inside the prefix: no menu entries in the real home.
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml,winemenubuilder.exe="
        return env

    def unix(self, windows_path):
        return os.path.join(self.drive, *windows_path[3:].split("\\"))

    def reg_query(self, key):
        """{value name: (type, data)}; None when the key is missing."""
        out = os.path.join(self.root, "reg-query.txt")
        with open(out, "wb") as f:
            rc = subprocess.run(["wine", "reg", "query", key], env=self.env(), stdin=subprocess.DEVNULL,
                                stdout=f, stderr=subprocess.DEVNULL, timeout=30).returncode
        if rc != 0:
            return None
        with open(out, encoding="latin-1") as f:
            return {m.group(1): (m.group(2), m.group(3))
                    for m in map(REG_LINE.match, f.read().splitlines()) if m}

    def dword(self, key, name):
        values = self.reg_query(key) or {}
        kind, data = values.get(name, (None, None))
        return int(data, 16) if kind == "REG_DWORD" else None

    def setup_exe(self, *args):
        """Runs the setup program and returns its exit code."""
        return self.wine("Z:" + self.bin["installer"].replace("/", "\\"), *args, timeout=180, check=False)

    def shortcuts(self):
        found = glob.glob(os.path.join(self.drive, "**", "Start Menu", "Programs", "Remote Control", "*"),
                          recursive=True)
        return sorted(os.path.basename(p) for p in found)


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        raise WorldError(what)


def program_of(command):
    """The program a Run command line names (quoted or not)."""
    command = command.strip()
    if command.startswith('"'):
        return command[1:command.index('"', 1)]
    return command.split()[0]


def same_file(a, b):
    with open(a, "rb") as f, open(b, "rb") as g:
        return f.read() == g.read()


def check_installed(w, version):
    exe = w.unix(INSTALL_DIR + r"\RemoteControl.exe")
    check(os.path.isfile(exe) and same_file(exe, w.bin["exe"]), "the built exe is installed")
    check(os.path.isfile(w.unix(INSTALL_DIR + r"\Uninstall.exe")), "the uninstaller is installed")
    links = w.shortcuts()
    check(links == ["Remote Control.lnk", "Uninstall Remote Control.lnk"],
          "Start Menu shortcuts for the program and the uninstaller (%s)" % links)
    run = (w.reg_query(RUN_KEY) or {}).get("Remote Control")
    check(run == ("REG_SZ", '"%s\\RemoteControl.exe"' % INSTALL_DIR), "the logon start (%s)" % (run,))
    entry = w.reg_query(UNINST_KEY) or {}
    print("uninstall entry:", entry)
    wanted = {"DisplayName": "Remote Control", "DisplayVersion": version, "Publisher": "Tarvel Multimedia",
              "UninstallString": '"%s\\Uninstall.exe"' % INSTALL_DIR,
              "QuietUninstallString": '"%s\\Uninstall.exe" /S' % INSTALL_DIR,
              "DisplayIcon": INSTALL_DIR + r"\RemoteControl.exe,0"}
    for name, value in wanted.items():
        check(entry.get(name) == ("REG_SZ", value), "uninstall entry %s = %s" % (name, value))
    size = w.dword(UNINST_KEY, "EstimatedSize")
    check(size is not None and size * 1024 >= os.path.getsize(exe), "EstimatedSize covers the exe (%s KB)" % size)
    return run[1]


def uninstall(w, *switches):
    """The quiet uninstall: the uninstaller copies itself away and returns at
    once, so wait for its entry and files to go."""
    rc = w.wine(INSTALL_DIR + r"\Uninstall.exe", "/S", *switches, timeout=60, check=False)
    check(rc == 0, "the uninstaller started (exit %d)" % rc)
    wait_for("the uninstall to finish", lambda: w.reg_query(UNINST_KEY) is None and
             not os.path.exists(w.unix(INSTALL_DIR)), 60)
    check(w.shortcuts() == [], "the shortcuts are gone")
    check("Remote Control" not in (w.reg_query(RUN_KEY) or {}), "the logon start is gone")


def case_install_update_uninstall(world):
    w = InstallWorld(world.root, world.src, world.bin)
    version = w.bin["version"]
    w.setup()
    procs = []
    try:
        # The card, for the installed program to poll.
        os.makedirs(w.vtdir, exist_ok=True)
        shutil.copy(w.bin["vtuner"], w.vtdir)
        w.reg_import(w.pci_lines(pick_board(w.src, (6, 2, 1))) + w.tuner_lines(ReadyPin=6))
        w.register_tuner(CAPTURE_NAME)
        check(w.setup_exe("/S") == 0, "silent install")
        run = check_installed(w, version)
        check(w.reg_query(APP_KEY) is None, "setup leaves the settings key to the program")

        # The logon start: the Run command starts the installed program,
        # whose first start writes its settings.
        proc = w._spawn_detached(["wine", program_of(run)], os.path.join(w.root, "run.stderr"), env=w.env())
        procs.append(proc)
        wait_for("the program's first settings", lambda: w.dword(APP_KEY, "DefaultTVAPP") is not None, 30)
        check(proc.poll() is None, "the program started by the Run command runs")
        wait_for("the installed program to poll the virtual tuner", lambda: len(w.requests()) >= 3, 30)
        print("ok   it polls the virtual tuner")
        w.wine("reg", "add", APP_KEY, "/v", "DefaultTVAPP", "/t", "REG_DWORD", "/d", "3", "/f")

        # An update over the running copy closes it, replaces the file and
        # keeps the settings.
        check(w.setup_exe("/S") == 0, "silent install over the running copy")
        wait_for("the running copy to close", lambda: proc.poll() is not None, 20)
        print("ok   the running copy was closed")
        check_installed(w, version)
        check(w.dword(APP_KEY, "DefaultTVAPP") == 3, "the update kept DefaultTVAPP = 3")

        # Uninstall keeps the settings unless asked; it closes a copy the
        # update started again.
        uninstall(w)
        check(w.dword(APP_KEY, "DefaultTVAPP") == 3, "uninstall kept the settings key")
        check(w.setup_exe("/S") == 0, "install again")
        uninstall(w, "/REMOVESETTINGS")
        check(w.reg_query(APP_KEY) is None, "/REMOVESETTINGS removed the settings key")
        check(w.reg_query(VENDOR_KEY) is None, "and its empty parent")
    finally:
        for proc in procs:
            w.stop_exe(proc)
        w.teardown()


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_") and fn is not case_main}

if __name__ == "__main__":
    sys.exit(case_main(CASES, tools=("exe", "installer", "version", "vtuner")))
