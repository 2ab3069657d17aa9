#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60) from its seed corpus,
# with clang's libFuzzer under ASan and UBSan. What a run learns stays in
# build/fuzz/corpus; a crash leaves its input in build/fuzz/.
# usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/setup.sh
cmake --preset fuzz -DRC_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz
cd build/fuzz && ctest --output-on-failure -L fuzz
