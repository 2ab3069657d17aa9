#!/usr/bin/env python3
"""Fails when a dialog control in the built exe is not where the .rc puts it.

Reads every DIALOG of the .rc script and the same dialog template from the
exe's resource section, and compares each control's id, position and size
in order: windres, for one, builds an `ICON` statement at 0 x 0 whatever
size the script gives it.
"""
import argparse
import re
import struct
import sys

RT_DIALOG = 5
DS_SETFONT = 0x40
SYMBOLS = {"IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5,
           "IDYES": 6, "IDNO": 7, "IDCLOSE": 8, "IDHELP": 9}
NO_TEXT = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR"}
WITH_TEXT = {"LTEXT", "RTEXT", "CTEXT", "PUSHBUTTON", "DEFPUSHBUTTON", "ICON", "GROUPBOX",
             "CHECKBOX", "AUTOCHECKBOX", "RADIOBUTTON", "AUTORADIOBUTTON", "STATE3",
             "AUTO3STATE", "PUSHBOX"}
DIALOG_RE = re.compile(r"^\s*(\d+)\s+DIALOG(EX)?\b")


class Bad(Exception):
    pass


# ---- the .rc script

def split_args(text):
    args, word, quoted = [], "", False
    for c in text:
        if c == '"':
            quoted = not quoted
        if c == "," and not quoted:
            args.append(word.strip())
            word = ""
        else:
            word += c
    args.append(word.strip())
    return args


def number(word):
    word = word.strip()
    if word in SYMBOLS:
        return SYMBOLS[word]
    try:
        return int(word, 0) & 0xFFFF
    except ValueError:
        raise Bad("cannot read the number '%s'" % word)


def control_from(keyword, args):
    """(keyword, id, x, y, cx, cy) of one control statement."""
    if keyword == "CONTROL":
        first, fields = 1, args[4:8]
    elif keyword in NO_TEXT:
        first, fields = 0, args[1:5]
    else:
        first, fields = 1, args[2:6]
    if len(fields) < 4:
        raise Bad("%s has too few fields: %s" % (keyword, ", ".join(args)))
    return (keyword, number(args[first])) + tuple(number(f) for f in fields)


def rc_dialogs(text):
    """{dialog id: [(keyword, id, x, y, cx, cy), ...]} in statement order."""
    dialogs, current, body, statement = {}, None, False, None
    for raw in text.splitlines():
        line = raw.split("//", 1)[0].rstrip()
        if current is None:
            m = DIALOG_RE.match(line)
            if m and m.group(2):
                raise Bad("dialog %s: DIALOGEX is not read here" % m.group(1))
            if m:
                current, body = int(m.group(1)), False
                dialogs[current] = []
            continue
        first = line.split(None, 1)[0] if line.strip() else ""
        if not body:
            body = first in ("BEGIN", "{")
            continue
        if first in ("END", "}") or first in NO_TEXT | WITH_TEXT | {"CONTROL"}:
            if statement:
                dialogs[current].append(control_from(statement[0], split_args(statement[1])))
            statement = None
            if first in ("END", "}"):
                current = None
            else:
                statement = [first, line.strip()[len(first):]]
        elif statement and line.strip():
            statement[1] += " " + line.strip()
        elif line.strip():
            raise Bad("dialog %d: cannot read '%s'" % (current, line.strip()))
    if current is not None:
        raise Bad("dialog %d has no END" % current)
    return dialogs


# ---- the exe

def u16(data, at):
    if at + 2 > len(data):
        raise Bad("template ends early")
    return struct.unpack_from("<H", data, at)[0]


def skip_sz_or_ord(data, at):
    first = u16(data, at)
    if first == 0xFFFF:
        return at + 4
    while u16(data, at) != 0:
        at += 2
    return at + 2


def template_controls(data):
    """[(id, x, y, cx, cy), ...] of a DLGTEMPLATE."""
    if len(data) < 18:
        raise Bad("template ends early")
    if struct.unpack_from("<HH", data, 0) == (1, 0xFFFF):
        raise Bad("DLGTEMPLATEEX is not read here")
    style, count = struct.unpack_from("<I", data, 0)[0], u16(data, 8)
    at = 18
    for _ in range(3):  # menu, class, title
        at = skip_sz_or_ord(data, at)
    if style & DS_SETFONT:
        at = skip_sz_or_ord(data, at + 2)
    controls = []
    for _ in range(count):
        at = (at + 3) & ~3
        if at + 18 > len(data):
            raise Bad("template ends early")
        x, y, cx, cy, cid = struct.unpack_from("<hhhhH", data, at + 8)
        controls.append((cid, x, y, cx, cy))
        at = skip_sz_or_ord(data, skip_sz_or_ord(data, at + 18))
        at += 2 + u16(data, at)
    return controls


def exe_resources(image, wanted_type):
    """{resource id: bytes} of one resource type from the exe's resource
    section; named resources and all languages but the first are passed over."""
    try:
        pe = struct.unpack_from("<I", image, 0x3C)[0]
        if image[pe:pe + 4] != b"PE\0\0":
            raise Bad("not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", image, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        rsrc_rva = struct.unpack_from("<I", image, directories + 2 * 8)[0]
        table = [struct.unpack_from("<8xIIII", image, optional + optional_size + 40 * i)
                 for i in range(sections)]
    except struct.error:
        raise Bad("PE headers end early")

    def offset(rva):
        for vsize, va, rawsize, raw in table:
            if va <= rva < va + max(vsize, rawsize):
                return raw + rva - va
        raise Bad("address 0x%x is in no section" % rva)

    base = offset(rsrc_rva) if rsrc_rva else None
    if base is None:
        raise Bad("the exe has no resources")

    def entries(at):
        named, ids = struct.unpack_from("<12xHH", image, base + at)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", image, base + at + 16 + 8 * i)
            yield name, target

    found = {}
    for type_id, types in entries(0):
        if type_id != wanted_type or not types & 0x80000000:
            continue
        for name, langs in entries(types & 0x7FFFFFFF):
            if name & 0x80000000 or not langs & 0x80000000:
                continue
            for _, leaf in entries(langs & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", image, base + (leaf & 0x7FFFFFFF))
                found[name] = image[offset(rva):offset(rva) + size]
                break
    return found


def exe_dialogs(image):
    """{dialog id: template bytes} from the exe's resource section."""
    return exe_resources(image, RT_DIALOG)


def compare(rc, built):
    faults = []
    for dialog, wanted in sorted(rc.items()):
        if dialog not in built:
            faults.append("dialog %d: not in the exe" % dialog)
            continue
        got = template_controls(built[dialog])
        if len(got) != len(wanted):
            faults.append("dialog %d: %d controls built, %d in the script"
                          % (dialog, len(got), len(wanted)))
        for n, (want, have) in enumerate(zip(wanted, got)):
            if want[1:] != have:
                faults.append("dialog %d control %d (%s): script id=%d at %d,%d size %dx%d, "
                              "built id=%d at %d,%d size %dx%d"
                              % ((dialog, n, want[0]) + want[1:] + have))
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--rc", required=True)
    args = parser.parse_args()
    try:
        with open(args.rc, encoding="latin-1") as f:
            rc = rc_dialogs(f.read())
        with open(args.exe, "rb") as f:
            built = exe_dialogs(f.read())
        if not rc:
            raise Bad("no DIALOG in %s" % args.rc)
        faults = compare(rc, built)
    except (Bad, OSError, struct.error) as e:
        print("check_dialogs: %s" % e)
        return 2
    for fault in faults:
        print(fault)
    controls = sum(len(c) for c in rc.values())
    print("%d dialogs, %d controls: %s" % (len(rc), controls, "FAIL" if faults else "ok"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
