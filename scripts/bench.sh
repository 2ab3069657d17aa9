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
# The shipped 32-bit build where this machine runs it, else the 64-bit build
# of the same sources (kernels without 32-bit support); empty wine_build and
# the reason in wine_why when neither runs.
wine_build= wine_why=
if out=$(wine --version 2>&1); then
  wine_build=win32
elif /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  wine_build=win64
else
  wine_why="\`wine --version\` fails: ${out##*: }, and there is no wine64"
fi
if [[ $wine_build == win64 ]]; then
  { cmake --preset win64 && cmake --build --preset win64; } >"$logs/win64-build.log" 2>&1 ||
    { tail -20 "$logs/win64-build.log" >&2; exit 1; }
fi

# One run gives the three Wine figures: the exe next to pollfloor.exe (the
# same 65 ms timer and one driver request, nothing else) for idle CPU, next
# to trayfloor.exe (one window, one icon) for start-up, and 200 presses from
# the virtual tuner's feed to the stand-in's log for latency.
wine_json=$logs/wine.json
wine_cmd="python3 tools/winebench/wine_bench.py --build build/$wine_build --src . --world build/$wine_build/bench-world"
if [[ -n $wine_build ]]; then
  echo "bench: under Wine ($wine_build build), about 4 minutes" >&2
  eval "$wine_cmd" >"$wine_json" 2>"$logs/wine-bench.log" ||
    { tail -20 "$logs/wine-bench.log" >&2; exit 1; }
fi
# wine_field PYTHON-EXPRESSION over the result `r`
wine_field() { python3 -c "import json; r = json.load(open('$wine_json')); print($1)"; }

measure_idle_cpu() {
  local what="idle CPU over 60 s: the exe / the floor (its process; the wineserver's apart)"
  if [[ -z $wine_build ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "$(wine_field '"**%.2f %%** (wineserver %.2f %%) / %.2f %% (wineserver %.2f %%); %.2f / %.2f driver requests per second" % (r["idle_exe"]["cpu_percent"], r["idle_exe"]["wineserver_percent"], r["idle_floor"]["cpu_percent"], r["idle_floor"]["wineserver_percent"], r["idle_exe"]["requests_per_s"], r["idle_floor"]["requests_per_s"])')" "\`$wine_cmd\`"
}
measure_latency() {
  local what="press-to-receipt latency (floor of the 65 ms poll: mean 32.5 ms)"
  if [[ -z $wine_build ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "$(wine_field '"%d presses: mean **%.1f ms**, p50 %.1f ms, p99 %.1f ms, max %.1f ms" % (r["latency"]["presses"], r["latency"]["mean_ms"], r["latency"]["p50_ms"], r["latency"]["p99_ms"], r["latency"]["max_ms"])')" "same run"
}
measure_startup() {
  local what="start-up to the tray icon: the exe / the floor"
  if [[ -z $wine_build ]]; then row "$what" "not measured on this machine: $wine_why" "-"; return; fi
  row "$what" "$(wine_field '"median of %d: **%.0f ms** (%.0f to %.0f) / %.0f ms (%.0f to %.0f)" % (r["startup_exe"]["runs"], r["startup_exe"]["median_ms"], r["startup_exe"]["min_ms"], r["startup_exe"]["max_ms"], r["startup_floor"]["median_ms"], r["startup_floor"]["min_ms"], r["startup_floor"]["max_ms"])')" "same run"
}
measure_idle_cpu
measure_latency
measure_startup
if [[ -n $wine_build ]]; then row "Wine build measured" "$wine_build ($(wine_field 'r["arch"]') prefix)" "-"; fi

# ---- the release exe -------------------------------------------------------
size=$(stat -c %s build/win32/RemoteControl.exe)
row "size of the release exe" "**$size** bytes" "\`stat -c %s build/win32/RemoteControl.exe\`"

echo "| figure | measured | command |"
echo "|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "$ticks ticks per callgrind run; $(git log -1 --format='%h %s' 2>/dev/null || echo 'no commit')."
