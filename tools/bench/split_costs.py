#!/usr/bin/env python3
"""Splits a callgrind profile of the key timer's ticks into the program's
instructions and the simulated desktop's.

    split_costs.py CALLGRIND_OUT TICKS [NAME=REGEX ...]

The profile must be written with --compress-strings=no --compress-pos=no.
Only the calls of the key timer's procedure (KeyTimerProc) are counted,
whatever else the collected region ran.
A function belongs to the simulation when its source file is under
src/os/sim/, to the program when it is elsewhere under src/; library code
(libc, libstdc++) counts for whichever side called it. The simulation's
share is what the program's calls into it cost, less what it spent calling
back into the program (window and timer procedures), so nesting is counted
once. Each NAME=REGEX adds the program-side cost of the functions whose name
matches, less their calls into the simulation.

Prints one line: ticks, then total, program, simulation and each NAME per
tick, rounded to whole instructions."""
import re
import sys

SIM = re.compile(r"/src/os/sim/")
SRC = re.compile(r"/src/")


def side(path):
    if path is None:
        return "lib"
    if SIM.search(path):
        return "sim"
    return "prog" if SRC.search(path) else "lib"


def parse(path):
    """(caller file, caller name, callee file, callee name, inclusive cost)
    of every call arc."""
    fl = fi = cfl = cfn = None
    fn = None
    pending_call = False
    arcs = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            key, eq, value = line.partition("=")
            if eq and key in ("fl", "fi", "fe", "fn", "cfl", "cfi", "cfn", "calls", "ob", "cob"):
                if key == "fl":
                    fl, fi = value, None
                elif key in ("fi", "fe"):
                    fi = value
                elif key == "fn":
                    fn, cfl, cfn = value, None, None
                elif key in ("cfl", "cfi"):
                    cfl = value
                elif key == "cfn":
                    cfn = value
                elif key == "calls":
                    pending_call = True
                continue
            if pending_call:
                fields = line.split()
                cost = int(fields[1]) if len(fields) > 1 else 0
                callee_file = cfl if cfl is not None else (fi if fi is not None else fl)
                arcs.append((fl, fn, callee_file, cfn, cost))
                pending_call = False
                cfl = None
    return arcs


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    arcs = parse(sys.argv[1])
    ticks = int(sys.argv[2])
    parts = []
    for arg in sys.argv[3:]:
        name, _, pattern = arg.partition("=")
        parts.append((name, re.compile(pattern)))

    entry = re.compile(r"KeyTimerProc\(")
    total = sum(c for _, cn, _, en, c in arcs
                if en is not None and entry.search(en) and not (cn and entry.search(cn)))
    if total == 0:
        sys.exit("split_costs: no call of the key timer's procedure in %s" % sys.argv[1])
    into_sim = sum(c for cf, _, ef, _, c in arcs if side(cf) == "prog" and side(ef) == "sim")
    back_out = sum(c for cf, _, ef, _, c in arcs if side(cf) == "sim" and side(ef) == "prog")
    sim = into_sim - back_out
    fields = [("ticks", ticks), ("total", total / ticks), ("program", (total - sim) / ticks),
              ("simulation", sim / ticks)]
    for name, pattern in parts:
        def inside(n):
            return n is not None and pattern.search(n) is not None
        entered = sum(c for cf, cn, ef, en, c in arcs if inside(en) and not inside(cn))
        left = sum(c for cf, cn, ef, en, c in arcs
                   if inside(cn) and side(cf) == "prog" and side(ef) == "sim")
        fields.append((name, (entered - left) / ticks))
    print(" ".join("%s=%d" % (k, round(v)) for k, v in fields))


if __name__ == "__main__":
    main()
