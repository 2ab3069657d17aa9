#!/usr/bin/env python3
"""Proves the import check: the real exe's listing passes, and the same
listing with one fault added fails for that fault's reason.

usage: test_check_imports.py FAULT --exe EXE --objdump OBJDUMP --allow A --deny D
"""
import argparse
import contextlib
import io
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_imports  # noqa: E402


def add_members(text, dll, names):
    """Adds import lines to an existing DLL's block."""
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if line.strip().lower() == f"dll name: {dll}":
            # skip the "vma:  Hint/Ord Member-Name" header
            rows = [f"\t{0x7f000 + n:x}\t  {100 + n:>3}  {name}" for n, name in enumerate(names)]
            return "\n".join(lines[:i + 2] + rows + lines[i + 2:]) + "\n"
    raise SystemExit(f"listing has no {dll} block")


def add_dll(text, dll, name):
    """Adds a DLL of its own after the first DLL's block."""
    anchor = text.find("\tDLL Name: ")
    second = text.find("\n 0", anchor)
    if anchor < 0 or second < 0:
        raise SystemExit("listing has no import descriptors to extend")
    block = (f"\n 0007f000\t0007f100 00000000 00000000 0007f200 0007f300\n\n"
             f"\tDLL Name: {dll}\n\tvma:  Hint/Ord Member-Name Bound-To\n"
             f"\t7f400\t    1  {name}\n")
    return text[:second] + block + text[second:]


def set_field(text, field, value):
    new, count = re.subn(rf"^{field}\s+\S+$", f"{field}\t\t{value}", text, flags=re.M)
    if count != 1:
        raise SystemExit(f"listing has no single {field} line")
    return new


def drop_imports(text):
    start = text.find("The Import Tables")
    if start < 0:
        raise SystemExit("listing has no import table")
    end = re.compile(r"^\S", re.M).search(text, start + 1)
    return text[:start] + (text[end.start():] if end else "")


# fault -> (change to the listing, change to the allow-list, expected problems)
FAULTS = {
    "extra-function": (
        lambda t: add_members(t, "kernel32.dll", ["GetNamedPipeClientProcessId"]), None,
        ["import not in the XP SP3 allow-list: kernel32.dll!GetNamedPipeClientProcessId"]),
    "denied-functions": (
        lambda t: add_members(t, "kernel32.dll", [
            "GetTickCount64", "AcquireSRWLockExclusive", "SleepConditionVariableCS",
            "InitOnceExecuteOnce", "FlsAlloc"]), None,
        ["denied import: kernel32.dll!GetTickCount64",
         "denied import: kernel32.dll!AcquireSRWLockExclusive",
         "denied import: kernel32.dll!SleepConditionVariableCS",
         "denied import: kernel32.dll!InitOnceExecuteOnce",
         "denied import: kernel32.dll!FlsAlloc"]),
    "denied-in-allow-list": (
        None, lambda a: a + "kernel32.dll!GetTickCount64\n",
        ["allow-list names a denied function: kernel32.dll!GetTickCount64"]),
    "foreign-dll": (
        lambda t: add_dll(t, "dwmapi.dll", "DwmIsCompositionEnabled"), None,
        ["DLL not allowed: dwmapi.dll (imports DwmIsCompositionEnabled)"]),
    "ordinal-import": (
        lambda t: add_members(t, "user32.dll", ["<none>"]), None,
        ["import not in the XP SP3 allow-list: user32.dll!#100"]),
    "os-version-5.2": (
        lambda t: set_field(t, "MinorOSystemVersion", "2"), None,
        ["OSystem version 5.2 is newer than 5.1"]),
    "subsystem-version-6.0": (
        lambda t: set_field(set_field(t, "MajorSubsystemVersion", "6"),
                            "MinorSubsystemVersion", "0"), None,
        ["Subsystem version 6.0 is newer than 5.1"]),
    "64-bit-image": (
        lambda t: t.replace("file format pei-i386", "file format pei-x86-64"), None,
        ["not a 32-bit Windows image (format pei-x86-64)"]),
    "no-import-table": (
        drop_imports, None, ["no import table found"]),
}


def run_check(listing_text, allow_text, deny_path):
    with tempfile.TemporaryDirectory() as tmp:
        listing = os.path.join(tmp, "listing.txt")
        allow = os.path.join(tmp, "allow.txt")
        with open(listing, "w", encoding="utf-8") as f:
            f.write(listing_text)
        with open(allow, "w", encoding="utf-8") as f:
            f.write(allow_text)
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            rc = check_imports.main(["--listing", listing, "--allow", allow, "--deny", deny_path])
    return rc, out.getvalue()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fault", choices=sorted(FAULTS))
    parser.add_argument("--exe", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--allow", required=True)
    parser.add_argument("--deny", required=True)
    args = parser.parse_args()

    listing = check_imports.objdump_listing(args.objdump, args.exe)
    with open(args.allow, encoding="utf-8") as f:
        allow = f.read()
    if not allow.endswith("\n"):
        allow += "\n"

    rc, out = run_check(listing, allow, args.deny)
    if rc != 0:
        print(out)
        sys.exit("the unchanged listing must pass before a fault can be proved")

    change_listing, change_allow, expected = FAULTS[args.fault]
    rc, out = run_check(change_listing(listing) if change_listing else listing,
                        change_allow(allow) if change_allow else allow, args.deny)
    print(out, end="")
    reported = {line[len("FAIL: "):] for line in out.splitlines() if line.startswith("FAIL: ")}
    missing = [e for e in expected if e not in reported]
    extra = sorted(reported - set(expected))
    if rc != 1 or missing or extra:
        sys.exit(f"fault {args.fault}: exit {rc}, missing {missing}, unexpected {extra}")
    print(f"fault {args.fault} caught")


if __name__ == "__main__":
    main()
