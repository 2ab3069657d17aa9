#!/usr/bin/env python3
"""Checks that every #include under src/ points down the floors of
docs/architecture.md: app > engine > controllers > config, device > core > os.
Prints each include that points up or sideways between config and device,
and exits 1 when there is one."""
import pathlib
import re
import sys

RANK = {"os": 0, "core": 1, "config": 2, "device": 2, "controllers": 3, "engine": 4, "app": 5}
# The platform's entry point calls the program, as rcsim's main() does on the host.
ENTRY_POINTS = {"os/win32/winmain.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)


def violations(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(src).as_posix()
        floor = rel.split("/", 1)[0]
        if floor not in RANK or rel in ENTRY_POINTS:
            continue
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            if target not in RANK or target == floor:
                continue
            if RANK[target] >= RANK[floor]:
                yield f"{rel}: includes {target}/ from the {floor}/ floor"


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    found = list(violations(src))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
