#!/usr/bin/env bash
# The main job: builds RemoteControl.exe, the virtual tuner and the stand-in
# TV application, then runs a short remote session under Wine and tells it,
# one line per remote press.
#   scripts/demo.sh [--app NAME] [--layout 1|2|3|4]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The shipped 32-bit build; where the kernel runs no 32-bit programs, the
# same sources built for 64-bit Windows, under wine64.
preset=win32
if ! wine --version >/dev/null 2>&1 && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  preset=win64
  echo "== this machine runs no 32-bit programs: the demo runs the 64-bit build under wine64"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset

echo
echo "== RemoteControl.exe: $(stat -c %s build/$preset/RemoteControl.exe) bytes ($preset)"
python3 tools/demo/demo.py --build build/$preset "$@"
