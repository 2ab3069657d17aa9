#!/usr/bin/env python3
"""Fails when a PE image needs anything Windows XP SP3 does not have.

Reads the output of `objdump -p` (run here on an exe, or given as a saved
listing) and checks every imported DLL and function against a reviewed
allow-list and a deny-list of names added in later Windows versions, and the
PE header's OS and subsystem versions against 5.1.
"""
import argparse
import fnmatch
import re
import subprocess
import sys

MAX_VERSION = (5, 1)

# "\t382b0\t  136  CloseHandle"; ordinals print "<none>" for the name.
MEMBER_RE = re.compile(r"^\t([0-9a-fA-F]+)\t\s*(\d+)\s+(\S+)")
DLL_RE = re.compile(r"^\tDLL Name: (\S+)\s*$")
FORMAT_RE = re.compile(r"file format (\S+)")
DELAY_RE = re.compile(r"^Entry d ([0-9a-fA-F]+) ([0-9a-fA-F]+) Delay Import Directory")


class Listing:
    def __init__(self):
        self.file_format = None
        self.versions = {}
        self.imports = []  # (dll lower-case, function or "#ordinal")
        self.delay_imports = False
        self.unreadable = []


def parse_listing(text):
    listing = Listing()
    in_imports = False
    dll = None
    for line in text.splitlines():
        m = FORMAT_RE.search(line)
        if m and listing.file_format is None:
            listing.file_format = m.group(1)
        fields = line.split()
        if len(fields) == 2 and fields[0].endswith("Version") and fields[1].isdigit():
            listing.versions[fields[0]] = int(fields[1])
        m = DELAY_RE.match(line)
        if m and int(m.group(2), 16) != 0:
            listing.delay_imports = True
        if line.startswith("The Import Tables"):
            in_imports = True
            continue
        if not in_imports:
            continue
        if line and not line[0].isspace():
            in_imports = False  # next section
            dll = None
            continue
        m = DLL_RE.match(line)
        if m:
            dll = m.group(1).lower()
            continue
        if line.startswith(" "):
            dll = None  # the next descriptor row ends this DLL's members
            continue
        if dll is None or not line.strip() or line.strip().startswith("vma:"):
            continue
        m = MEMBER_RE.match(line)
        if not m:
            listing.unreadable.append(line)
            continue
        name = m.group(3)
        if name == "<none>":
            name = "#" + m.group(2)
        listing.imports.append((dll, name))
    return listing


def read_names(path):
    """Lines of DLL!function; '#' at the start or after a space starts a comment
    (so an ordinal can be written DLL!#17)."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            if line.startswith("#"):
                continue
            line = re.split(r"\s#", line, maxsplit=1)[0].strip()
            if not line:
                continue
            if line.count("!") != 1:
                raise ValueError(f"{path}:{number}: expected DLL!function, got {line!r}")
            dll, func = line.split("!")
            rows.append((dll.strip().lower(), func.strip()))
    return rows


def denied(dll, func, deny):
    return any(fnmatch.fnmatchcase(dll, d) and fnmatch.fnmatchcase(func, f) for d, f in deny)


def check(listing, allowed, deny):
    """Returns a list of problems; empty means the image passes."""
    problems = []
    allowed_set = set(allowed)
    allowed_dlls = {d for d, _ in allowed}

    for dll, func in allowed:
        if denied(dll, func, deny):
            problems.append(f"allow-list names a denied function: {dll}!{func}")

    if listing.file_format != "pei-i386":
        problems.append(f"not a 32-bit Windows image (format {listing.file_format})")
    for kind in ("OSystem", "Subsystem"):
        major = listing.versions.get(f"Major{kind}Version")
        minor = listing.versions.get(f"Minor{kind}Version")
        if major is None or minor is None:
            problems.append(f"no {kind} version in the PE header")
        elif (major, minor) > MAX_VERSION:
            problems.append(f"{kind} version {major}.{minor} is newer than "
                            f"{MAX_VERSION[0]}.{MAX_VERSION[1]}")
    if listing.delay_imports:
        problems.append("delay imports are present and not checked")
    for line in listing.unreadable:
        problems.append(f"cannot read import line: {line.strip()!r}")
    if not listing.imports:
        problems.append("no import table found")

    for dll, func in listing.imports:
        if denied(dll, func, deny):
            problems.append(f"denied import: {dll}!{func}")
        elif dll not in allowed_dlls:
            problems.append(f"DLL not allowed: {dll} (imports {func})")
        elif (dll, func) not in allowed_set:
            problems.append(f"import not in the XP SP3 allow-list: {dll}!{func}")
    return problems


def objdump_listing(objdump, exe):
    result = subprocess.run([objdump, "-p", exe], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"check_imports: {objdump} -p {exe} failed: {result.stderr.strip()}")
    return result.stdout


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__)
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--exe", help="image to run objdump -p on")
    source.add_argument("--listing", help="saved objdump -p output")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--allow", required=True, help="DLL!function allow-list")
    parser.add_argument("--deny", required=True, help="DLL!pattern deny-list")
    parser.add_argument("--print-imports", action="store_true",
                        help="print the imports as DLL!function lines and stop")
    args = parser.parse_args(argv)

    if args.exe:
        text = objdump_listing(args.objdump, args.exe)
    else:
        with open(args.listing, encoding="utf-8") as f:
            text = f.read()
    listing = parse_listing(text)

    if args.print_imports:
        for dll, func in sorted(set(listing.imports)):
            print(f"{dll}!{func}")
        return 0

    problems = check(listing, read_names(args.allow), read_names(args.deny))
    for p in problems:
        print(f"FAIL: {p}")
    if problems:
        return 1
    dlls = sorted({d for d, _ in listing.imports})
    print(f"ok: {len(listing.imports)} imports from {len(dlls)} DLLs ({', '.join(dlls)}), "
          f"OS {listing.versions['MajorOSystemVersion']}.{listing.versions['MinorOSystemVersion']}, "
          f"subsystem {listing.versions['MajorSubsystemVersion']}."
          f"{listing.versions['MinorSubsystemVersion']}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
