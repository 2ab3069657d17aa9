"""The Wine world of the end-to-end runs: one 32-bit prefix and one Xvfb per
run, the virtual tuner registered in it, RemoteControl.exe started in it.

Only our own processes are ever stopped: our Xvfb by its pid, our
wineserver by `wineserver -k` with our WINEPREFIX, the exe by its pid.
"""
import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import time

SETTINGS_KEY = r"HKEY_LOCAL_MACHINE\Software\VirtualTuner"
APP_KEY = r"HKEY_LOCAL_MACHINE\Software\Tarvel Multimedia\RI Darer Izaz Ivararadi"
PCI_ENUM = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Enum\PCI"
MEDIA_CLASS = "{4d36e96c-e325-11ce-bfc1-08002be10318}"
MISSING_CLSID = "{0BADC1A5-0000-4000-8000-000000000000}"
CAPTURE_INSTANCES = r"HKEY_CLASSES_ROOT\CLSID\{65E8773D-8F56-11D0-A3B9-00A0C9223196}\Instance"
# Extra device entries a case may list before the tuner (keys sort first).
ODD_DEVICES = ["{00000000-0000-0000-0000-0000000000%02X}" % i for i in (1, 2)]
BOARD_ROW = re.compile(
    r'\{\s*"PCI\\\\(VEN_1131&DEV_[0-9A-Fa-f]{4}&SUBSYS_[0-9A-Fa-f]{8})"\s*,'
    r"\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\}")
KEY_LINE = "<RCMessageBox>  scan Code =  (%X)"


class WorldError(Exception):
    pass


def wait_for(what, predicate, timeout):
    """Polls predicate until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WorldError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(0.05)


def board_rows(src_dir):
    """The board table's rows as (hardware id, (ready pin, reader, variant))."""
    path = os.path.join(src_dir, "src", "device", "board_table.cpp")
    with open(path, encoding="utf-8") as f:
        rows = [(m.group(1), (int(m.group(2)), int(m.group(3)), int(m.group(4))))
                for m in BOARD_ROW.finditer(f.read())]
    if not rows:
        raise WorldError("no board rows found in " + path)
    return rows


def pick_board(src_dir, want):
    """A hardware id whose attributes, after every row that matches it has
    overwritten the last, are the wanted (pin, reader, variant) triple."""
    rows = board_rows(src_dir)
    for hwid, _ in rows:
        last = [t for h, t in rows if h.upper() == hwid.upper()][-1]
        if last == want:
            return hwid.upper()
    raise WorldError("no board with attributes %r in the table" % (want,))


def request_lines(text):
    """Parses the virtual tuner's log: one dict per answered request."""
    out = []
    for line in text.splitlines():
        parts = line.split()
        if len(parts) < 3 or not parts[0].isdigit():
            continue
        entry = {"tick": int(parts[0]), "set": parts[1]}
        for field in parts[2:]:
            if "=" in field:
                k, v = field.split("=", 1)
                entry[k] = v
        out.append(entry)
    return out


WINE64_LOADER = "/usr/lib/wine/wine64"


def pe_is_64bit(path):
    """True for an x86-64 PE image (the Wine-only build), False for i386."""
    with open(path, "rb") as f:
        head = f.read(4096)
    at = int.from_bytes(head[0x3C:0x40], "little")
    return head[at:at + 4] == b"PE\0\0" and head[at + 4:at + 6] == b"\x64\x86"


class World:
    def __init__(self, root, src_dir, binaries):
        self.root = os.path.abspath(root)
        self.src = src_dir
        self.bin = binaries  # name -> path of the build's files
        exe = binaries.get("exe")
        # A 64-bit build runs in a 64-bit prefix; `wine` then means wine64
        # (Debian's wrapper prefers wine32 whenever it is installed).
        self.arch = "win64" if exe and os.path.exists(exe) and pe_is_64bit(exe) else "win32"
        self.shim = os.path.join(self.root, "bin")
        self.prefix = os.path.join(self.root, "prefix")
        self.drive = os.path.join(self.prefix, "drive_c")
        self.vtdir = os.path.join(self.drive, "vtuner")
        self.state_file = os.path.join(self.root, "world.json")
        self.state = {}
        if os.path.exists(self.state_file):
            with open(self.state_file) as f:
                self.state = json.load(f)

    # ---- environment and processes
    def env(self, debug="-all", extra=None):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix, WINEARCH=self.arch, WINEDLLOVERRIDES="mscoree,mshtml=",
                   WINEDEBUG=debug, DISPLAY=self.state.get("display", ""))
        if self.arch == "win64":
            self._write_shim()
            env.update(PATH=self.shim + os.pathsep + env.get("PATH", ""), WINELOADER=WINE64_LOADER)
        env.pop("WINELOADERNOEXEC", None)
        if extra:
            env.update(extra)
        return env

    def _write_shim(self):
        path = os.path.join(self.shim, "wine")
        if os.path.exists(path):
            return
        os.makedirs(self.shim, exist_ok=True)
        with open(path, "w") as f:
            f.write('#!/bin/sh\nexec %s "$@"\n' % WINE64_LOADER)
        os.chmod(path, 0o755)

    def run(self, args, timeout=60, extra=None, check=True):
        """Runs a wine command; output goes to files so that nothing the
        wine processes leave behind holds the test's pipes."""
        log = os.path.join(self.root, "wine-cmd.log")
        with open(log, "ab") as out:
            out.write(("$ %s\n" % " ".join(args)).encode())
            out.flush()
            p = subprocess.run(args, env=self.env(extra=extra), stdin=subprocess.DEVNULL,
                               stdout=out, stderr=out, timeout=timeout)
        if check and p.returncode != 0:
            raise WorldError("%s exited with %d (see %s)" % (" ".join(args), p.returncode, log))
        return p.returncode

    def wine(self, *args, **kw):
        return self.run(["wine"] + list(args), **kw)

    def _spawn_detached(self, args, out_path, **kw):
        out = open(out_path, "ab")
        return subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                start_new_session=True, **kw)

    # ---- the world's life
    def setup(self):
        if os.path.exists(self.root):
            shutil.rmtree(self.root)
        os.makedirs(self.root)
        self.state = {}
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.root, "xvfb.log"), "ab"),
                                pass_fds=(write_fd,), start_new_session=True)
        os.close(write_fd)
        self.state["xvfb_pid"] = xvfb.pid
        self._save()
        display = b""
        deadline = time.monotonic() + 20
        while not display.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            display += chunk
        os.close(read_fd)
        if not display.strip().isdigit():
            raise WorldError("Xvfb reported no display")
        self.state["display"] = ":" + display.decode().strip()
        self._save()
        # A persistent server of our own, started apart from the test's
        # pipes; every later wine call of this run talks to it.
        self._start_server()
        self.wine("wineboot", "-i", timeout=240)
        # A fresh server after the prefix is made: with the first one, RpcSs
        # can fail to start, and then every first window waits about 10 s.
        self.run(["wineserver", "-k"], timeout=30, check=False)
        self.run(["wineserver", "-w"], timeout=60, check=False)
        self._start_server()
        self.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/t", "REG_SZ",
                  "/d", "win7", "/f")
        os.makedirs(self.vtdir, exist_ok=True)
        os.makedirs(os.path.join(self.drive, "rc"), exist_ok=True)

    def _start_server(self):
        server = self._spawn_detached(["wineserver", "-p"], os.path.join(self.root, "wineserver.log"),
                                      env=self.env())
        try:
            server.wait(timeout=10)  # it forks into the background
        except subprocess.TimeoutExpired:
            pass

    def teardown(self):
        if os.path.isdir(self.prefix):
            self.run(["wineserver", "-k"], timeout=30, check=False)
        pid = self.state.get("xvfb_pid")
        if pid and self._is_our_xvfb(pid):
            os.kill(pid, signal.SIGTERM)
        self.state = {}
        self._save()

    def _is_our_xvfb(self, pid):
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                return b"Xvfb" in f.read()
        except OSError:
            return False

    def _save(self):
        with open(self.state_file, "w") as f:
            json.dump(self.state, f)

    # ---- files inside the prefix
    def install(self):
        """Copies the build's files in, so a case always runs the latest."""
        if not self.state.get("display"):
            raise WorldError("the world was not set up")
        for name in ("vtuner", "probe_client", "remote"):
            shutil.copy(self.bin[name], self.vtdir)
        if self.bin.get("exe") and os.path.exists(self.bin["exe"]):
            shutil.copy(self.bin["exe"], os.path.join(self.drive, "rc", "RemoteControl.exe"))

    def path(self, name):
        return os.path.join(self.vtdir, name)

    def requests(self):
        try:
            with open(self.path("requests.log"), encoding="latin-1") as f:
                return request_lines(f.read())
        except FileNotFoundError:
            return []

    def clear_files(self):
        for name in ("requests.log", "feed.txt"):
            try:
                os.remove(self.path(name))
            except FileNotFoundError:
                pass

    # ---- registry
    def reg_import(self, lines):
        """Imports .reg lines in one regedit run."""
        text = "Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(lines) + "\r\n"
        path = os.path.join(self.root, "case.reg")
        with open(path, "wb") as f:
            f.write(b"\xff\xfe" + text.encode("utf-16-le"))
        # Wine's Z: drive is the Unix root.
        self.wine("regedit", "/s", "Z:" + path.replace("/", "\\"))

    def reset_lines(self):
        """Removes every value a case may have set."""
        lines = ["[-%s]" % SETTINGS_KEY, "[-%s]" % APP_KEY]
        lines += ["[-%s\\%s]" % (CAPTURE_INSTANCES, key) for key in ODD_DEVICES]
        for hwid in sorted({h.upper() for h, _ in board_rows(self.src)}):
            lines.append("[-%s\\%s]" % (PCI_ENUM, hwid))
        return lines

    @staticmethod
    def pci_lines(hwid, instance="4&1A2B3C4D&0&0020"):
        # The first hardware id carries a revision after the subsystem, as
        # real devices report it; the match is by prefix.
        ids = ["PCI\\%s&REV_D1" % hwid, "PCI\\%s" % hwid, "PCI\\%s" % hwid.split("&SUBSYS_")[0]]
        raw = ("\0".join(ids) + "\0\0").encode("utf-16-le")
        return ["[%s\\%s\\%s]" % (PCI_ENUM, hwid, instance),
                '"HardwareID"=hex(7):' + ",".join("%02x" % b for b in raw),
                '"ClassGUID"="%s"' % MEDIA_CLASS]

    @staticmethod
    def odd_device_lines(name_of_fitting_length):
        """Two capture devices the search must pass over: one whose friendly
        name is a number, one whose name is too long for the program's
        80-byte buffer but begins with the wanted name. Their class does not
        exist, so binding either would end the search with nothing."""
        return ["[%s\\%s]" % (CAPTURE_INSTANCES, ODD_DEVICES[0]),
                '"FriendlyName"=dword:00000001', '"CLSID"="%s"' % MISSING_CLSID,
                "[%s\\%s]" % (CAPTURE_INSTANCES, ODD_DEVICES[1]),
                '"FriendlyName"="%s"' % (name_of_fitting_length + " " + "x" * 80),
                '"CLSID"="%s"' % MISSING_CLSID]

    @staticmethod
    def tuner_lines(**values):
        lines = ["[%s]" % SETTINGS_KEY]
        for name, v in values.items():
            if isinstance(v, int):
                lines.append('"%s"=dword:%08x' % (name, v))
            else:
                lines.append('"%s"="%s"' % (name, v.replace("\\", "\\\\")))
        return lines

    def register_tuner(self, name):
        self.wine("regsvr32", "/s", r"C:\vtuner\vtuner.dll", extra={"VTUNER_NAME": name})

    def press(self, code, hold_ms=300):
        self.wine(r"C:\vtuner\remote.exe", str(code), str(hold_ms))

    # ---- the program under test
    def start_exe(self, tag):
        self.stderr_path = os.path.join(self.root, tag + ".stderr")
        if os.path.exists(self.stderr_path):
            os.remove(self.stderr_path)
        return self._spawn_detached(["wine", r"C:\rc\RemoteControl.exe"], self.stderr_path,
                                    env=self.env("-all,+debugstr"))

    def stop_exe(self, proc):
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGTERM)
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(timeout=5)
        # The server reaps the process; wait until the next case's start
        # cannot meet a closing copy.
        time.sleep(0.3)

    def exe_output(self):
        try:
            with open(self.stderr_path, encoding="latin-1") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def key_lines(self):
        return [l for l in self.exe_output().splitlines() if "<RCMessageBox>  scan Code = " in l]


TOOLS = ("exe", "vtuner", "probe", "remote")

# ctest reports a case that exits with this code as skipped, not passed.
SKIP = 77


def why_wine_cannot_run(exe=None):
    """None when this machine's Wine runs the build of exe; otherwise the
    reason. Some kernels refuse 32-bit programs outright (execve says
    ENOEXEC): only the 64-bit build (preset win64) runs there."""
    loader = WINE64_LOADER if exe and os.path.exists(exe) and pe_is_64bit(exe) else "wine"
    try:
        r = subprocess.run([loader, "--version"], capture_output=True, text=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired) as e:
        return f"wine --version: {e}"
    if r.returncode == 0:
        return None
    said = (r.stderr or r.stdout).strip().splitlines()
    return f"wine --version exited {r.returncode}: {said[-1] if said else ''}"


def case_main(cases, tools=TOOLS, actions=("run",)):
    """The command line every case script shares:
    --world DIR --src SRC --TOOL PATH... (setup | teardown | run CASE)."""
    ap = argparse.ArgumentParser()
    ap.add_argument("--world", required=True)
    ap.add_argument("--src", required=True)
    for name in tools:
        ap.add_argument("--" + name, required=True)
    ap.add_argument("action", choices=list(actions))
    ap.add_argument("case", nargs="?", choices=sorted(cases))
    a = ap.parse_args()
    if a.action == "run" and a.case is None:
        ap.error("run needs a case")
    reason = why_wine_cannot_run(getattr(a, "exe", None))
    if reason:
        print("SKIP: this machine cannot run this build under Wine "
              "(where 32-bit programs cannot run, the win64 preset's can):", reason)
        return SKIP
    binaries = {("probe_client" if name == "probe" else name): getattr(a, name) for name in tools}
    w = World(a.world, a.src, binaries)
    try:
        if a.action == "setup":
            w.setup()
        elif a.action == "teardown":
            w.teardown()
        else:
            cases[a.case](w)
    except (WorldError, subprocess.TimeoutExpired, OSError, KeyError, ValueError) as e:
        print("FAIL", e)
        return 1
    return 0
