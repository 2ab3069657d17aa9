#!/usr/bin/env bash
# Soak under Wine, not a test of the CI run: the real exe for 1,000 presses
# across the TV applications, 20 suspend and resume cycles, stand-ins
# appearing and vanishing; fails when the program's resources grew or it
# stopped polling (tools/soak/soak_wine.py, docs/performance.md). About
# 15 minutes on a machine of 2 shared cores, most of it the presses.
# Builds the win32 preset, or win64 where this machine cannot run 32-bit
# programs. Arguments go to the soak: --presses N --cycles N --seed N.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh >&2

if /usr/lib/wine/wine --version >/dev/null 2>&1; then preset=win32; else preset=win64; fi
log=build/soak-$preset-build.log
mkdir -p build
echo "soak: building the $preset preset (log in $log)" >&2
{ cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1 ||
  { tail -20 "$log" >&2; exit 1; }
exec python3 tools/soak/soak_wine.py --build "build/$preset" "$@"
