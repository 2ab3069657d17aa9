#!/usr/bin/env bash
# The main job: builds RemoteControl.exe, the virtual tuner and the stand-in
# TV application, then runs a short remote session under Wine and tells it,
# one line per remote press.
#   scripts/demo.sh [--app NAME] [--layout 1|2|3|4]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32

echo
echo "== RemoteControl.exe: $(stat -c %s build/win32/RemoteControl.exe) bytes"
python3 tools/demo/demo.py --build build/win32 "$@"
