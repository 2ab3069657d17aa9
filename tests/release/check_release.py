#!/usr/bin/env python3
"""Checks on what we ship.

size     RemoteControl.exe fits the size ceiling, carries no symbols or debug
         sections, and keeps its relocations (Vista and 7 move it).
versions the About text, the exe's version record and the installer's
         version record all give the project's version.
"""
import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))
from check_dialogs import Bad, DS_SETFONT, exe_dialogs, exe_resources, u16  # noqa: E402

RT_VERSION = 16
ABOUT_DIALOG = 21
ABOUT_PREFIX = "Remote Control Utility V"
IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE = 0x40


# ---- PE headers

def pe_facts(image):
    """Symbol table, section names, DllCharacteristics and the relocation
    directory's size of a 32-bit PE image."""
    try:
        pe = struct.unpack_from("<I", image, 0x3C)[0]
        if image[pe:pe + 4] != b"PE\0\0":
            raise Bad("not a PE image")
        sections, symbols_at, symbols, optional_size = struct.unpack_from("<2xH4xIIH", image, pe + 4)
        optional = pe + 24
        if struct.unpack_from("<H", image, optional)[0] != 0x10B:
            raise Bad("not a 32-bit PE image")
        characteristics = struct.unpack_from("<H", image, optional + 70)[0]
        relocs_size = struct.unpack_from("<I", image, optional + 96 + 5 * 8 + 4)[0]
        table = optional + optional_size
        names = [image[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("latin-1")
                 for i in range(sections)]
    except struct.error:
        raise Bad("PE headers end early")
    return {"symbols": (symbols_at, symbols), "sections": names,
            "characteristics": characteristics, "relocs": relocs_size}


def size_faults(image, ceiling):
    faults = []
    if len(image) > ceiling:
        faults.append("%d bytes, over the ceiling of %d" % (len(image), ceiling))
    facts = pe_facts(image)
    if facts["symbols"] != (0, 0):
        faults.append("a symbol table is left (%d symbols)" % facts["symbols"][1])
    # Long section names (/4, /19, ...) live in the symbols' string table:
    # only debug sections use them in a MinGW image.
    debug = [n for n in facts["sections"] if n.startswith(".debug") or n.startswith("/")]
    if debug:
        faults.append("debug sections are left: %s" % ", ".join(debug))
    if not facts["characteristics"] & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE or not facts["relocs"]:
        faults.append("no relocations or no DYNAMIC_BASE: the image cannot be moved")
    return faults


# ---- resources

def sz(data, at):
    """A UTF-16 string ending in 0: (text, offset after it)."""
    end = at
    while u16(data, end) != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def dialog_texts(template):
    """The texts of a DLGTEMPLATE's controls, in order; ordinals are left out."""
    style, count = struct.unpack_from("<I", template, 0)[0], u16(template, 8)
    at = 18
    for _ in range(3):  # menu, class, title
        at = at + 4 if u16(template, at) == 0xFFFF else sz(template, at)[1]
    if style & DS_SETFONT:
        at = sz(template, at + 2)[1]
    texts = []
    for _ in range(count):
        at = (at + 3) & ~3
        at += 18
        at = at + 4 if u16(template, at) == 0xFFFF else sz(template, at)[1]  # class
        if u16(template, at) == 0xFFFF:
            at += 4
        else:
            text, at = sz(template, at)
            texts.append(text)
        at += 2 + u16(template, at)
    return texts


def version_record(data):
    """(file version, product version, {string name: value}) of a
    VS_VERSIONINFO block, versions as dotted text."""
    def node(at):
        length, value_length, kind = struct.unpack_from("<HHH", data, at)
        if length < 6 or at + length > len(data):
            raise Bad("version record: a block runs past its end")
        key, value_at = sz(data, at + 6)
        value_at = (value_at + 3) & ~3
        size = value_length * 2 if kind == 1 else value_length
        return at + length, key, data[value_at:value_at + size], (value_at + size + 3) & ~3

    end, key, value, child = node(0)
    if key != "VS_VERSION_INFO" or len(value) < 52 or struct.unpack_from("<I", value)[0] != 0xFEEF04BD:
        raise Bad("no VS_FIXEDFILEINFO in the version record")
    fms, fls, pms, pls = struct.unpack_from("<4I", value, 8)
    dotted = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)  # noqa: E731
    strings = {}
    while child < end:
        block_end, key, _, table = node(child)
        if key == "StringFileInfo":
            while table < block_end:
                table_end, _, _, entry = node(table)
                while entry < table_end:
                    entry_end, name, text, _ = node(entry)
                    strings[name] = text.decode("utf-16-le").rstrip("\0")
                    entry = (entry_end + 3) & ~3
                table = (table_end + 3) & ~3
        child = (block_end + 3) & ~3
    return dotted(fms, fls), dotted(pms, pls), strings


def exe_version(image, what):
    records = exe_resources(image, RT_VERSION)
    if not records:
        raise Bad("%s has no version record" % what)
    return version_record(records[min(records)])


def version_faults(exe, installer, version):
    faults = []

    def expect(what, got, want):
        print("%-40s %s" % (what, got))
        if got != want:
            faults.append("%s is %r, not %r" % (what, got, want))

    about = [t for t in dialog_texts(exe_dialogs(exe).get(ABOUT_DIALOG, b"")) if t.startswith(ABOUT_PREFIX)]
    expect("About text", about[0] if about else None, ABOUT_PREFIX + version)
    file_ver, product_ver, strings = exe_version(exe, "RemoteControl.exe")
    expect("exe FILEVERSION", file_ver, version)
    expect("exe PRODUCTVERSION", product_ver, version)
    for name in ("FileVersion", "ProductVersion"):
        expect("exe " + name, strings.get(name), version)
    expect("exe FileDescription", strings.get("FileDescription"), ABOUT_PREFIX + version)
    expect("exe ProductName", strings.get("ProductName"), "Remote Control")
    expect("exe OriginalFilename", strings.get("OriginalFilename"), "RemoteControl.exe")
    file_ver, product_ver, strings = exe_version(installer, "the installer")
    expect("installer PRODUCTVERSION", product_ver, version)
    expect("installer ProductVersion", strings.get("ProductVersion"), version)
    expect("installer ProductName", strings.get("ProductName"), "Remote Control")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("check", choices=("size", "versions"))
    parser.add_argument("--exe", required=True)
    parser.add_argument("--max-bytes", type=int, help="size: the ceiling")
    parser.add_argument("--installer", help="versions: the installer exe")
    parser.add_argument("--version", help="versions: the project's version, a.b.c.d")
    args = parser.parse_args()
    try:
        with open(args.exe, "rb") as f:
            exe = f.read()
        if args.check == "size":
            if args.max_bytes is None:
                parser.error("size needs --max-bytes")
            print("RemoteControl.exe: %d bytes (%.1f KB), ceiling %d" % (len(exe), len(exe) / 1024,
                                                                        args.max_bytes))
            faults = size_faults(exe, args.max_bytes)
        else:
            if not args.installer or not args.version:
                parser.error("versions needs --installer and --version")
            with open(args.installer, "rb") as f:
                faults = version_faults(exe, f.read(), args.version)
    except (Bad, OSError, struct.error, UnicodeDecodeError) as e:
        print("check_release: %s" % e)
        return 2
    for fault in faults:
        print("FAIL", fault)
    print("ok" if not faults else "%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
