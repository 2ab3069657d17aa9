#!/usr/bin/env bash
# Runs every test: unit tests on the host build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets, then the
# Windows build and its tests (import checks and the Wine runs; where this
# machine cannot run 32-bit programs, the Wine runs use the 64-bit build).
# Exits non-zero when any step fails.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh || exit 1

logs=build/test-logs
mkdir -p "$logs"
failed=()
summary=()

# step NAME COMMAND... : runs one step, keeps its output in a log.
step() {
  local name=$1; shift
  echo "== $name: $*"
  if "$@" 2>&1 | tee "$logs/$name.log"; then
    return 0
  fi
  failed+=("$name")
  return 1
}

# tests NAME PRESET [ctest args]: runs ctest and keeps its closing lines.
tests() {
  local name=$1 preset=$2; shift 2
  step "$name" ctest --preset "$preset" "$@"
  local rc=$?
  summary+=("-- $name")
  while IFS= read -r line; do summary+=("$line"); done < <(
    grep -E '^(100% tests passed|[0-9]+% tests passed|Total Test time|No tests were found|The following tests FAILED|The following tests did not run|[[:space:]]+[0-9]+ - )' \
      "$logs/$name.log")
  return $rc
}

if step host-configure cmake --preset host && step host-build cmake --build --preset host; then
  tests host-ctest host
fi

if step asan-configure cmake --preset host-asan && step asan-build cmake --build --preset host-asan; then
  tests asan-ctest host-asan -LE e2e
fi

# The fuzz targets for a short, fixed time (scripts/fuzz.sh runs them longer).
if step fuzz-configure cmake --preset fuzz -DRC_FUZZ_SECONDS=20 && step fuzz-build cmake --build --preset fuzz; then
  tests fuzz-ctest fuzz
fi

if step win32-configure cmake --preset win32 && step win32-build cmake --build --preset win32; then
  tests win32-ctest win32
fi

# Where the kernel runs no 32-bit programs (the win32 runs above skip), the
# same sources built for 64-bit Windows run the Wine cases instead.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if step win64-configure cmake --preset win64 && step win64-build cmake --build --preset win64; then
    tests win64-ctest win64
  fi
fi

echo
echo "==== summary"
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -ne 0 ]]; then
  for name in "${failed[@]}"; do
    first=$(grep -m1 -iE 'error|fail' "$logs/$name.log" || true)
    echo "-- $name failed (log: $logs/$name.log)${first:+: $first}"
  done
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all steps passed"
