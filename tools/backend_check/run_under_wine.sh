#!/usr/bin/env bash
# Runs backend_check.exe under Wine in a prefix of its own, on an Xvfb
# display of its own, and stops only what it started.
# usage: run_under_wine.sh backend_check.exe standin.exe workdir
set -u
check_exe=$1 standin_exe=$2 work=$3
# Some kernels refuse 32-bit programs outright; ctest counts 77 as skipped.
if ! said=$(wine --version 2>&1); then
    echo "SKIP: this machine cannot run 32-bit Windows programs under Wine: ${said##*$'\n'}"
    exit 77
fi
mkdir -p "$work/standins"
for name in Brisel Nolvo TotalMedia ehshell; do cp -f "$standin_exe" "$work/standins/$name.exe"; done

export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
cleanup() {
    wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(tr -d '\n' <"$work/display")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # Without a window manager a managed window's hide waits 2 s for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
dir=$(winepath -w "$work/standins" 2>/dev/null)
timeout 180 wine "$check_exe" "$dir"
