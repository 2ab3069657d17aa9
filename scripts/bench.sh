#!/usr/bin/env bash
# Measures the program, not a test: instructions per key-timer tick in the
# host build (callgrind, the program apart from the simulated desktop), the
# figures under Wine, and the release exe's size. Prints a markdown table,
# each figure with the command that gave it (docs/performance.md).
#   RC_BENCH_TICKS   ticks per callgrind run (default 1000)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh valgrind >&2
ticks=${RC_BENCH_TICKS:-1000}
logs=build/bench
mkdir -p "$logs"

echo "bench: building host and win32 (logs in $logs)" >&2
{ cmake --preset host && cmake --build --preset host --target rcbench; } >"$logs/host-build.log" 2>&1 ||
  { tail -20 "$logs/host-build.log" >&2; exit 1; }
{ cmake --preset win32 && cmake --build --preset win32; } >"$logs/win32-build.log" 2>&1 ||
  { tail -20 "$logs/win32-build.log" >&2; exit 1; }

rows=()
row() { rows+=("| $1 | $2 | $3 |"); }

# ---- host: instructions per tick ------------------------------------------
# callgrind counts only the bench's measured ticks (MeasuredTick calls the
# key timer's procedure); split_costs.py parts the program from the
# simulation and names what the debug lines cost the program.
# callgrind_tick LABEL WORLD [--key CODE]
callgrind_tick() {
  local label=$1 world=$2; shift 2
  local name
  name=$(basename "$world" .scn)${1:+-key$2}
  local out="$logs/callgrind.$name.out"
  local run="valgrind --tool=callgrind --callgrind-out-file=$out --collect-atstart=no --toggle-collect='*MeasuredTick*' --dump-instr=no --compress-strings=no --compress-pos=no build/host/tools/rcbench --ticks $ticks ${*:+$* }$world"
  local split="python3 tools/bench/split_costs.py $out $ticks 'debug=^Trace[TV][a-z]+\\('"
  echo "bench: $label" >&2
  eval "$run" >"$logs/rcbench.$name.log" 2>&1 || { cat "$logs/rcbench.$name.log" >&2; exit 1; }
  local result
  result=$(eval "$split")
  local total program sim debug share
  total=$(sed -n 's/.* total=\([0-9]*\).*/\1/p' <<<"$result")
  program=$(sed -n 's/.* program=\([0-9]*\).*/\1/p' <<<"$result")
  sim=$(sed -n 's/.* simulation=\([0-9]*\).*/\1/p' <<<"$result")
  debug=$(sed -n 's/.* debug=\([0-9]*\).*/\1/p' <<<"$result")
  share=0
  [[ $program -gt 0 ]] && share=$((100 * debug / program))
  row "$label" \
      "program **$program** instructions (debug lines $debug, $share %); simulation $sim; total $total" \
      "\`$run\` then \`$split\`"
}

world=tools/bench/worlds
callgrind_tick "idle tick, Savrin active" $world/savrin.scn
callgrind_tick "key 14 to Savrin (message 3000 posted)" $world/savrin.scn --key 14
callgrind_tick "key 3 to TotalMedia 3.5 (numpad digit keystrokes)" $world/totalmedia.scn --key 3
callgrind_tick "key 30 to TotalMedia 3.5 (Ctrl+Shift+S keystrokes)" $world/totalmedia.scn --key 30

# ---- under Wine ------------------------------------------------------------
# Why Wine cannot run here, or empty when it can.
wine_refusal() {
  local out
  if ! command -v wine >/dev/null; then
    echo "wine is not installed"
  elif ! out=$(wine --version 2>&1); then
    echo "\`wine --version\` fails: ${out##*: }"
  fi
}
wine_why=$(wine_refusal)

# The Wine figures: each of these three becomes a real measurement.
# Idle CPU of RemoteControl.exe over 60 s next to a trivial exe that runs
# the same 65 ms timer and makes the same one driver request (the floor).
measure_idle_cpu() {
  local what="idle CPU over 60 s, next to the 65 ms timer floor"
  if [[ -n $wine_why ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "not measured yet: the Wine measurement is not written" "-"
}
# Press-to-receipt latency over at least 200 presses (mean, p50, p99), next
# to the floor of the 65 ms poll (mean 32.5 ms).
measure_latency() {
  local what="press-to-receipt latency, 200 presses (floor: mean 32.5 ms)"
  if [[ -n $wine_why ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "not measured yet: the Wine measurement is not written" "-"
}
# Start-up to the tray icon, next to a trivial exe that adds one.
measure_startup() {
  local what="start-up to the tray icon, next to a trivial exe"
  if [[ -n $wine_why ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "not measured yet: the Wine measurement is not written" "-"
}
measure_idle_cpu
measure_latency
measure_startup

# ---- the release exe -------------------------------------------------------
size=$(stat -c %s build/win32/RemoteControl.exe)
row "size of the release exe" "**$size** bytes" "\`stat -c %s build/win32/RemoteControl.exe\`"

echo "| figure | measured | command |"
echo "|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "$ticks ticks per callgrind run; $(git log -1 --format='%h %s' 2>/dev/null || echo 'no commit')."
