#!/usr/bin/env python3
"""End-to-end cases of the eight TV applications under Wine: stand-in copies
under each application's executable name, started, driven and closed by the
real RemoteControl.exe through the virtual tuner.

  cases_apps.py --world DIR --src SRC --exe EXE --vtuner DLL --probe EXE
                --remote EXE --standin EXE run CASE
"""
import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dialog_cases import visible, xdo  # noqa: E402
from e2e_cases import CAPTURE_NAME, check, start_polling  # noqa: E402
from wine_world import APP_KEY, TOOLS, WorldError, case_main, pick_board, wait_for  # noqa: E402

# Stand-ins started by the program inherit its environment, so they all
# write here; the ones a case starts itself get files of their own.
LAUNCHED_LOG = r"C:\standin-launched.log"
MEDIA_CENTER_PROBE = r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Media Center"
EVENT_TIMEOUT = 12
HOLD_MS = 100
HELD_POWER_MS = 3000  # longer than any start's wait

VK_SHIFT, VK_CONTROL, VK_MENU, VK_F4 = 0x10, 0x11, 0x12, 0x73
POSTED_LPARAM = 0x01500001


class App:
    def __init__(self, name, code, exe, key, value, cls, title, close):
        self.name, self.code, self.exe = name, code, exe
        self.key, self.value = key, value  # install key under HKLM and its value
        self.cls, self.title, self.close = cls, title, close

    @property
    def dir(self):
        if self.name == "MediaCenter":
            return r"C:\windows\ehome"
        return "C:\\tv\\" + self.name

    @property
    def path(self):
        return self.dir + "\\" + self.exe


APPS = {a.name: a for a in [
    App("ArcSoftTV5", 10, "TotalMediaTV5.exe", r"SOFTWARE\ArcSoft\ArcSoft TV\5.0", "AppPath",
        "_MIRACLE_20090309_1", "Arcsoft TV 5.0", "altf4"),
    App("TotalMedia", 5, "TotalMedia.exe", r"SOFTWARE\ArcSoft\TotalMedia", "AppPath",
        "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia", "altf4"),
    App("OrbiskCenter", 9, "Kestrin.exe", r"Software\Tarvel Multimedia\Quessa\Vorn", "AppPath",
        "TarvelMainPanel_Class", "Orbisk Center", (4024, 25)),
    App("MediaCenter", 4, "ehshell.exe",
        r"SOFTWARE\Classes\Applications\ehshell.exe\shell\open\command", "",
        "eHome Render Window", "Windows Media Center", "wm_close"),
    App("PowerCinema", 8, "PowerCinema.exe", r"SOFTWARE\CyberLink\PowerCinema", "InstallPath",
        "StandIn_PowerCinema", "PowerCinema", "altf4"),
    App("TVEnhance", 7, "TVEnhance.exe", r"SOFTWARE\CyberLink\TVEnhance", "InstallPath",
        "TVEnhance", "TV Enhance", "altf4"),
    App("Savrin", 2, "Nolvo.exe", r"Software\Tarvel Multimedia\Pelko", "AppPath",
        "StandIn_Savrin", "Dravune", (3000, 25)),
    App("Orbisk", 6, "Brisel.exe", r"Software\Tarvel Multimedia\Mirrow\Vorn", "AppPath",
        "TarvelMainPanel_Class", "TVR", (4024, 1)),
]}



def power_key(app, layout):
    """The key that closes the active application: per layout for Savrin
    and Media Center, 22 on the 35-key remote for the two ArcSoft ones, else
    12. It is also one of the three launch keys."""
    if app.name in ("Savrin", "MediaCenter"):
        return {1: 12, 2: 3, 3: 22}.get(layout, 12)
    if app.name in ("ArcSoftTV5", "TotalMedia"):
        return 22 if layout == 3 else 12
    return 12


# ---- what a stand-in received

def parse_log(text):
    """One dict per line: app, window, event, and the event's fields."""
    out = []
    for line in text.splitlines():
        parts = line.split(" ", 3)
        if len(parts) < 4 or not parts[0].startswith("t="):
            continue
        words = parts[3].split()
        entry = {"app": parts[1], "window": parts[2], "event": words[0], "text": parts[3]}
        for field in words[1:]:
            if "=" in field:
                k, v = field.split("=", 1)
                entry[k] = v
        out.append(entry)
    return out


def read_log(w, win_path):
    unix = os.path.join(w.drive, win_path[3:].replace("\\", "/"))
    try:
        with open(unix, encoding="latin-1") as f:
            return parse_log(f.read())
    except FileNotFoundError:
        return []


def delivered(entries):
    """The key events and private messages among the log entries."""
    out = []
    for e in entries:
        if e["event"].startswith("WM_") and "vk" in e:
            out.append((e["window"], e["event"], int(e["vk"], 16), int(e["ext"]),
                        int(e["lParam"], 16)))
        elif e["event"] == "MSG":
            out.append((e["window"], "MSG", int(e["text"].split()[1]), int(e["wParam"]),
                        int(e["lParam"])))
    return out


def fmt(event):
    window, kind, a, b, c = event
    if kind == "MSG":
        return "%s MSG %d wParam=%d" % (window, a, b)
    return "%s %s vk=0x%02X ext=%d lParam=0x%08X" % (window, kind, a, b, c)


# ---- what the tables say should arrive

def tap(vk):
    return [(True, vk), (False, vk)]


def chord(*keys):
    mods, key = keys[:-1], keys[-1]
    return ([(True, m) for m in mods] + tap(key) + [(False, m) for m in reversed(mods)])


def matches_injected(got, keys, window="main"):
    """Compares received key messages with synthetic presses (down, vk):
    order, virtual keys, the extended bit (on every key but the modifiers,
    which go out as the left keys), and the system form while Alt is held."""
    if len(got) != len(keys):
        return False
    alt = ctrl = False
    for g, (down, vk) in zip(got, keys):
        g_window, kind, g_vk, ext, _ = g
        if vk == VK_MENU:
            alt = down
        if vk == VK_CONTROL:
            ctrl = down
        if g_window != window or g_vk != vk or kind == "MSG":
            return False
        if ext != (0 if vk in (VK_SHIFT, VK_CONTROL, VK_MENU) else 1):
            return False
        if kind.endswith("DOWN") != down:
            return False
        # Keys under Alt alone are system keys; Alt itself and keys under
        # Ctrl+Alt may be reported either way.
        if vk != VK_MENU and not ctrl and kind.startswith("WM_SYS") != alt:
            return False
    return True


def repeated(got, n):
    """How many whole copies of a sequence of n events got holds (a held
    key may pass more than once), or 0."""
    if n == 0 or not got or len(got) % n:
        return 0
    first = got[:n]
    return len(got) // n if all(got[i:i + n] == first for i in range(0, len(got), n)) else 0


# ---- the world of one case

def install_lines(w, apps, layout, target):
    lines = w.reset_lines()
    for a in APPS.values():
        lines.append("[-HKEY_LOCAL_MACHINE\\%s]" % a.key)
    lines.append("[-%s]" % MEDIA_CENTER_PROBE)
    for a in apps:
        lines.append("[HKEY_LOCAL_MACHINE\\%s]" % a.key)
        if a.name == "MediaCenter":
            # The command line of the ehshell association; Vista and 7 are
            # told by the Ident value.
            lines.append('@="\\"%s\\" \\"%%1\\""' % a.path.replace("\\", "\\\\"))
            lines += ["[%s]" % MEDIA_CENTER_PROBE, '"Ident"="5.1"']
        else:
            lines.append('"%s"="%s"' % (a.value, a.dir.replace("\\", "\\\\")))
    lines += ["[%s]" % APP_KEY, '"DefaultTVAPP"=dword:%08x' % target,
              '"Default41keyIR"=dword:%08x' % layout, '"AlwaysRemoteOff"=dword:00000000']
    return lines


def prepare_apps(w, apps, layout, target):
    """A clean registry with the card, the install keys of apps pointing at
    stand-in copies named as their executables, and the settings."""
    w.install()
    w.clear_files()
    for a in apps:
        unix_dir = os.path.join(w.drive, a.dir[3:].replace("\\", "/"))
        os.makedirs(unix_dir, exist_ok=True)
        shutil.copy(w.bin["standin"], os.path.join(unix_dir, a.exe))
    for name in ("standin-launched.log",) + tuple("standin-%s.log" % n for n in APPS):
        try:
            os.remove(os.path.join(w.drive, name))
        except FileNotFoundError:
            pass
    board = pick_board(w.src, (6, 2, 1))
    lines = install_lines(w, apps, layout, target) + w.pci_lines(board) + w.tuner_lines(ReadyPin=6)
    w.reg_import(lines)
    w.register_tuner(CAPTURE_NAME)


class Session:
    """One run of the program with stand-ins; tracks what each log held
    before a press, so each press is judged by what it added."""

    def __init__(self, w, tag):
        self.w = w
        # Everything the program starts inherits this mark, which is how
        # leftovers of a failed case are told apart at the end.
        self.mark = "%d-%s-%d" % (os.getpid(), tag, time.monotonic_ns())
        os.environ["RC_E2E_SESSION"] = self.mark
        try:
            self.proc = start_polling(w, tag)
        finally:
            del os.environ["RC_E2E_SESSION"]
        self.own = []  # stand-ins started by the case

    def start_standin(self, app, *args):
        log = "C:\\standin-%s.log" % app.name
        p = self.w._spawn_detached(["wine", app.path] + list(args),
                                   os.path.join(self.w.root, "standin.out"),
                                   env=self.w.env(extra={"RC_STANDIN_LOG": log}))
        self.own.append(p)
        wait_for(app.name + " stand-in window", lambda: self.starts(log), EVENT_TIMEOUT)
        return log

    def starts(self, log):
        return [e for e in read_log(self.w, log) if e["event"] == "START"]

    def control(self, app, verb, form, log):
        before = len(read_log(self.w, log))
        self.w.wine(app.path, "--app", app.name, "--control", verb, form)
        wait_for("%s %s %s" % (app.name, verb, form),
                 lambda: any(e["event"] == "FORM" for e in read_log(self.w, log)[before:]),
                 EVENT_TIMEOUT)

    def alive(self):
        if self.proc.poll() is not None:
            raise WorldError("RemoteControl.exe ended:\n" + self.w.exe_output()[-2000:])

    def press(self, code, log, app, want):
        """Presses code; waits until at least want events reached the app,
        then until its log is quiet, and returns what the press added."""
        before = len(read_log(self.w, log))
        self.key(code)

        def events():
            self.alive()
            return delivered([e for e in read_log(self.w, log)[before:] if e["app"] == app])
        if want:
            wait_for("%d events at %s after key %d" % (want, app, code),
                     lambda: len(events()) >= want, EVENT_TIMEOUT)
        return self.quiet(events)

    def key(self, code):
        """Presses code and waits until the program has read it."""
        seen = len(self.w.key_lines())
        self.w.press(code, HOLD_MS)
        wait_for("key %d in the program's debugger output" % code,
                 lambda: self.alive() or len(self.w.key_lines()) > seen, EVENT_TIMEOUT)

    def quiet(self, fetch, settle=0.6, longest=4.0):
        last, since, start = fetch(), time.monotonic(), time.monotonic()
        while time.monotonic() - since < settle and time.monotonic() - start < longest:
            time.sleep(0.1)
            now = fetch()
            if now != last:
                last, since = now, time.monotonic()
        return last

    def end(self):
        for p in self.own:
            if p.poll() is None:
                self.w.stop_exe(p)
        self.w.stop_exe(self.proc)
        for pid in self.launched_pids():
            print("ending stand-in pid %d the program left running" % pid)
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass

    def launched_pids(self):
        """Processes of our prefix that carry this session's mark: the
        stand-ins the program started (they leave its process group)."""
        want = {b"WINEPREFIX=" + self.w.prefix.encode(),
                b"RC_E2E_SESSION=" + self.mark.encode()}
        pids = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    env = set(f.read().split(b"\0"))
            except OSError:
                continue
            if want <= env:
                pids.append(int(entry))
        return pids


def expect_injected(s, code, keys, app, what, log=LAUNCHED_LOG, window="main"):
    got = s.press(code, log, app.name, len(keys))
    copies = repeated(got, len(keys))
    check(copies >= 1 and matches_injected(got[:len(keys)], keys, window),
          "%s key %d: %s\n      got: %s" % (app.name, code, what, "; ".join(map(fmt, got)) or "nothing"))


def expect_posted(s, code, want, app, what, log=LAUNCHED_LOG):
    got = s.press(code, log, app.name, len(want) if want else 0)
    ok = (repeated(got, len(want)) >= 1) if want else not got
    check(ok, "%s key %d: %s\n      want: %s\n      got:  %s"
          % (app.name, code, what, "; ".join(map(fmt, want)) or "nothing",
             "; ".join(map(fmt, got)) or "nothing"))


def posted_key(vk, window="main"):
    return (window, "WM_KEYDOWN", vk, 1, POSTED_LPARAM)


def command(message, wparam, window="main"):
    return (window, "MSG", message, wparam, 0)


def power_launches(s, app, layout):
    """The power key, held well past the repeat window, starts the
    application once; its repeats neither close it nor start it again."""
    w = s.w
    w.press(power_key(app, layout), HELD_POWER_MS)

    def started():
        s.alive()
        return [e for e in read_log(w, LAUNCHED_LOG) if e["app"] == app.name and e["event"] == "ARGS"]
    wait_for(app.name + " started by the power key", started, 20)
    # Past the release, then until the program has read the last event: a
    # start that waits (Orbisk Center's 2 s) still has repeats after it.
    time.sleep(HELD_POWER_MS / 1000)
    s.quiet(lambda: len(w.key_lines()))
    s.quiet(lambda: read_log(w, LAUNCHED_LOG))
    args = started()
    entries = read_log(w, LAUNCHED_LOG)
    check(not [e for e in entries if e["app"] == app.name and e["event"] == "EXIT"],
          "%s still runs after the held power key" % app.name)
    start = [e for e in entries if e["event"] == "START"]
    check(len(args) == 1 and args[0]["text"] == 'ARGS "remote"',
          "%s started once with the parameter \"remote\" (%s)" % (app.name, [a["text"] for a in args]))
    check(start and ('class="%s"' % app.cls) in start[0]["text"],
          "%s's window of class %s is up" % (app.name, app.cls))


def power_closes(s, app, layout):
    w = s.w
    before = len(read_log(w, LAUNCHED_LOG))
    s.key(power_key(app, layout))
    wait_for(app.name + " to exit", lambda: s.alive() or any(
        e["event"] == "EXIT" for e in read_log(w, LAUNCHED_LOG)[before:]), 20)
    tail = read_log(w, LAUNCHED_LOG)[before:]
    names = [e["event"] for e in tail]
    got = delivered(tail)
    if app.close == "altf4":
        keys = [(g[1], g[2]) for g in got]
        # The left Alt (ext=0): a right one is AltGr on many layouts.
        ok = (keys[:2] == [("WM_SYSKEYDOWN", VK_MENU), ("WM_SYSKEYDOWN", VK_F4)]
              and got[0][3] == 0 and "WM_SYSCOMMAND" in names and "WM_CLOSE" in names)
        how = "Alt+F4: the left Alt (ext=0) and F4 as system keys, then SC_CLOSE and WM_CLOSE"
    elif app.close == "wm_close":
        ok = "WM_CLOSE" in names and not got and "WM_SYSCOMMAND" not in names
        how = "a posted WM_CLOSE and no keys"
    else:
        message, cmd = app.close
        ok = (got == [command(message, cmd)] and "CLOSE" in names and "WM_CLOSE" not in names)
        how = "message %d command %d alone" % (message, cmd)
    check(ok, "%s closed by %s (got %s)" % (app.name, how, " ".join(e["text"] for e in tail)))


# ---- cases

def run_app(w, name, layout, keys):
    """The power key launches the application, keys reaches it, the power
    key closes it by its own method."""
    app = APPS[name]
    prepare_apps(w, [app], layout, app.code)
    s = Session(w, "app_" + name)
    try:
        power_launches(s, app, layout)
        keys(s, app)
        power_closes(s, app, layout)
    finally:
        s.end()


def case_app_arcsoft_tv5(w):
    def keys(s, app):
        expect_injected(s, 0, tap(0x61), app, "numpad digit 1")
        expect_injected(s, 11, tap(0x0D), app, "tap VK_RETURN")
        expect_injected(s, 16, chord(VK_CONTROL, VK_SHIFT, ord("L")), app, "chord Ctrl+Shift+L")
        expect_injected(s, 23, chord(VK_MENU, 0x0D), app, "chord Alt+Return")
    run_app(w, "ArcSoftTV5", 1, keys)


def case_app_totalmedia(w):
    def keys(s, app):
        expect_injected(s, 0, tap(0x61), app, "numpad digit 1 (35-key map)")
        expect_injected(s, 17, tap(0x6B), app, "tap VK_ADD")
        expect_injected(s, 65, chord(VK_CONTROL, VK_SHIFT, ord("P")), app, "chord Ctrl+Shift+P")
        expect_injected(s, 10, chord(VK_MENU, 0x0D), app, "chord Alt+Return")
        expect_posted(s, 19, [], app, "bring forward only: no key")
    run_app(w, "TotalMedia", 3, keys)


def case_app_media_center(w):
    def keys(s, app):
        expect_posted(s, 0, [posted_key(0x61)], app, "post digit 1")
        expect_posted(s, 10, [posted_key(0x60)], app, "post digit 0")
        expect_injected(s, 13, chord(VK_CONTROL, ord("D")), app, "chord Ctrl+D")
        expect_injected(s, 23, chord(VK_MENU, 0x0D), app, "chord Alt+Return")
    run_app(w, "MediaCenter", 1, keys)


def case_app_powercinema(w):
    def keys(s, app):
        expect_posted(s, 11, [posted_key(0x0D)], app, "post key-down VK_RETURN")
        expect_posted(s, 0, [posted_key(0x61)], app, "post digit 1")
        expect_injected(s, 9, chord(VK_CONTROL, ord("L")), app, "chord Ctrl+L")
        expect_injected(s, 31, chord(VK_CONTROL, VK_SHIFT, VK_MENU, 0x24), app,
                        "chord Ctrl+Shift+Alt+Home")
        expect_posted(s, 15, [], app, "15 sends nothing")
    run_app(w, "PowerCinema", 4, keys)


def case_app_tvenhance(w):
    def keys(s, app):
        expect_posted(s, 11, [posted_key(0x0D)], app, "post key-down VK_RETURN (36-key remote)")
        expect_posted(s, 10, [posted_key(0x60)], app, "post digit 0")
        expect_injected(s, 15, chord(VK_CONTROL, VK_SHIFT, ord("X")), app, "chord Ctrl+Shift+X")
        expect_injected(s, 73, chord(VK_CONTROL, VK_SHIFT, VK_MENU, 0x24), app,
                        "chord Ctrl+Shift+Alt+Home")
    run_app(w, "TVEnhance", 2, keys)


def case_app_orbisk(w):
    def keys(s, app):
        expect_posted(s, 0, [command(4024, 10001)], app, "command digit 1")
        expect_posted(s, 9, [command(4024, 4003)], app, "command 4003")
        expect_posted(s, 74, [command(4024, 20)], app, "command 20 to the raised window")
    run_app(w, "Orbisk", 4, keys)


def case_app_orbisk_center(w):
    def keys(s, app):
        m = 4024
        expect_posted(s, 0, [command(m, 10001)], app, "command digit 1 to the main window")
        expect_posted(s, 32, [command(m, 35002)], app, "form rule with no form: the main window")
        s.control(app, "show", "TPopupForm", LAUNCHED_LOG)
        expect_posted(s, 11, [command(m, 35005, "TPopupForm")], app, "form rule: the popup form")
        expect_posted(s, 0, [], app, "main rule with a form up: nothing")
        expect_posted(s, 64, [command(m, 1005)], app, "always rule: the main window")
        s.control(app, "hide", "TPopupForm", LAUNCHED_LOG)
        s.control(app, "show", "PictureView", LAUNCHED_LOG)
        expect_posted(s, 26, [], app, "not-viewer rule with the picture viewer up: nothing")
        expect_posted(s, 66, [command(m, 35001, "PictureView")], app, "form rule: the viewer")
        s.control(app, "hide", "PictureView", LAUNCHED_LOG)
        expect_posted(s, 26, [command(m, 1002)], app, "not-viewer rule with no form: the main window")
    run_app(w, "OrbiskCenter", 1, keys)


def case_app_savrin(w):
    def keys(s, app):
        m = 3000
        expect_posted(s, 0, [command(m, 10001)], app, "command digit 1")
        expect_posted(s, 24, [command(m, 5)], app, "command 5")
        s.control(app, "show", "TSourceForm", LAUNCHED_LOG)
        expect_posted(s, 11, [command(m, 35005, "TSourceForm")], app, "form rule: the source form")
        expect_posted(s, 0, [], app, "main rule with a form up: nothing")
        expect_posted(s, 26, [command(m, 1002)], app, "always rule: the main window")
        expect_posted(s, 24, [command(m, 5)], app, "plain: the main window, no form search")
        s.control(app, "hide", "TSourceForm", LAUNCHED_LOG)
    run_app(w, "Savrin", 1, keys)


def case_app_priority(w):
    """Orbisk and Media Center running, neither active: the first key goes to
    Orbisk, first in the priority order, though Media Center came up last."""
    orbisk, mc = APPS["Orbisk"], APPS["MediaCenter"]
    prepare_apps(w, [orbisk, mc], 1, orbisk.code)
    s = Session(w, "app_priority")
    try:
        orbisk_log = s.start_standin(orbisk)
        mc_log = s.start_standin(mc)
        mc_before = len(read_log(w, mc_log))
        expect_posted(s, 0, [command(4024, 10001)], orbisk, "first key to Orbisk", orbisk_log)
        expect_posted(s, 10, [command(4024, 10000)], orbisk, "and the next", orbisk_log)
        got = delivered(read_log(w, mc_log)[mc_before:])
        check(not got, "Media Center received nothing (%s)" % "; ".join(map(fmt, got)))
    finally:
        s.end()


def case_app_letter_case(w):
    """User32's search ignores letter case, the title walk does not."""
    arc, tm = APPS["ArcSoftTV5"], APPS["TotalMedia"]
    prepare_apps(w, [arc, tm], 1, arc.code)
    s = Session(w, "app_letter_case")
    try:
        # A window of another class with ArcSoft TV 5.0's exact title: the
        # power key's title walk finds it and starts nothing.
        exact = s.start_standin(arc, "--class", "StandIn_Other", "--title", "Arcsoft TV 5.0")
        s.key(12)
        launched = s.quiet(lambda: read_log(w, LAUNCHED_LOG), settle=3.0, longest=6.0)
        check(not launched, "title walk found \"Arcsoft TV 5.0\": nothing started")
        s.w.stop_exe(s.own.pop())
        # The same title in capitals: the walk passes it over, so it starts.
        os.remove(os.path.join(w.drive, exact[3:]))
        s.start_standin(arc, "--class", "StandIn_Other", "--title", "ARCSOFT TV 5.0")
        power_launches(s, arc, 1)
        power_closes(s, arc, 1)
        s.w.stop_exe(s.own.pop())
        # FindWindowExA finds TotalMedia's window under a title in capitals:
        # the first key marks it active and reaches it.
        log = s.start_standin(tm, "--title", "ARCSOFT TOTALMEDIA")
        expect_injected(s, 11, tap(0x0D), tm, "tap VK_RETURN to \"ARCSOFT TOTALMEDIA\"", log)
    finally:
        s.end()


# A user application of the key-map file: the stand-in under a class and
# title of the file's choosing, found, started by the power key, driven by
# its own rows and closed by the power key again.
USER_KEYMAP = """[app:Player]
class = PlayerMain
title = Player
exe = C:\\player\\player.exe
args = --app TVEnhance --class PlayerMain --title Player
0 = Space
1 = post 0x0111 5 0
"""


def write_keymap(w, text):
    """Next to the installed exe: the program looks there when the user's
    folder has none."""
    ini = os.path.join(w.drive, "rc", "RemoteControl.ini")
    with open(ini, "w", newline="\r\n") as f:
        f.write(text)
    return ini


# Three faults (an unknown key name, a code out of range, a line that is no
# row) around one good override of another application.
BROKEN_KEYMAP = """[Orbisk]
0 = Hyperspace
300 = F2
this is not a row
[TotalMedia35]
17 = F5
"""


def case_app_broken_keymap(w):
    """A key-map file with errors: one box captioned "Remote Control" at
    start, and the built-in map still drives a built-in application."""
    app = APPS["Orbisk"]
    prepare_apps(w, [app], 4, app.code)
    ini = write_keymap(w, BROKEN_KEYMAP)
    s = Session(w, "app_broken_keymap")
    try:
        boxes = wait_for("the key-map error box", lambda: visible(w, "Remote Control"), EVENT_TIMEOUT)
        time.sleep(1.5)
        boxes = visible(w, "Remote Control")
        check(len(boxes) == 1, "one box for the whole file (%d up)" % len(boxes))
        xdo(w, "key", "--window", boxes[0], "Return")
        wait_for("the box to close", lambda: not visible(w, "Remote Control"), EVENT_TIMEOUT)
        power_launches(s, app, 4)
        expect_posted(s, 0, [command(4024, 10001)], app, "built-in row under an erroneous one")
        expect_posted(s, 9, [command(4024, 4003)], app, "another built-in row")
        power_closes(s, app, 4)
    finally:
        s.end()
        os.remove(ini)


def case_app_user_keymap(w):
    prepare_apps(w, [], 1, 100)  # DefaultTVAPP 100: the file's first application
    player = os.path.join(w.drive, "player")
    os.makedirs(player, exist_ok=True)
    shutil.copy(w.bin["standin"], os.path.join(player, "player.exe"))
    ini = write_keymap(w, USER_KEYMAP)
    s = Session(w, "app_user_keymap")
    try:
        s.key(12)

        def started():
            s.alive()
            return [e for e in read_log(w, LAUNCHED_LOG) if e["event"] == "START"]
        start = wait_for("the user application started by the power key", started, 20)
        check('class="PlayerMain"' in start[0]["text"] and 'title="Player"' in start[0]["text"],
              "the file's application is up under its own class and title (%s)" % start[0]["text"])
        got = s.press(0, LAUNCHED_LOG, "TVEnhance", 2)
        check([(g[1], g[2]) for g in got[:2]] == [("WM_KEYDOWN", 0x20), ("WM_KEYUP", 0x20)],
              "key 0 reaches it as Space (got %s)" % "; ".join(map(fmt, got)))
        before = len(read_log(w, LAUNCHED_LOG))
        s.key(1)
        wait_for("the posted command", lambda: any(
            e["event"] == "WM_COMMAND" and e.get("wParam") == "5"
            for e in read_log(w, LAUNCHED_LOG)[before:]), EVENT_TIMEOUT)
        before = len(read_log(w, LAUNCHED_LOG))
        s.key(12)
        wait_for("the user application to close", lambda: s.alive() or any(
            e["event"] == "EXIT" for e in read_log(w, LAUNCHED_LOG)[before:]), 20)
    finally:
        s.end()
        os.remove(ini)


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    os.environ["RC_STANDIN_LOG"] = LAUNCHED_LOG
    return case_main(CASES, TOOLS + ("standin",))


if __name__ == "__main__":
    sys.exit(main())
