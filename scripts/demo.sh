#!/usr/bin/env bash
# The main job: builds the host core and RemoteControl.exe, then plays the
# sample scenario (a held remote key) on the simulated desktop and prints
# its effect log.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset host
cmake --build --preset host
cmake --preset win32
cmake --build --preset win32

scenario=docs/scenarios/held-key.scn
echo
echo "== RemoteControl.exe: $(ls -l build/win32/RemoteControl.exe | awk '{print $5}') bytes"
echo "== rcsim $scenario"
build/host/tools/rcsim "$scenario"
