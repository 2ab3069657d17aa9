#!/usr/bin/env bash
# Runs backend_check.exe under Wine in a prefix of its own, on an Xvfb
# display of its own, and stops only what it started.
# usage: run_under_wine.sh backend_check.exe standin.exe workdir
set -u
check_exe=$1 standin_exe=$2 work=$3
arch=win32 wine=wine
# A 64-bit build runs under wine64 in a 64-bit prefix (Debian's `wine`
# prefers wine32 whenever it is installed).
if [ "$(od -An -tx1 -j"$(od -An -tu4 -j60 -N4 "$check_exe" | tr -d ' ')" -N6 "$check_exe" | tr -d ' ')" = 504500006486 ]; then
    arch=win64 wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
fi
# Some kernels refuse 32-bit programs outright; ctest counts 77 as skipped.
if ! said=$($wine --version 2>&1); then
    echo "SKIP: this machine cannot run this build under Wine: ${said##*$'\n'}"
    exit 77
fi
mkdir -p "$work/standins"
for name in Brisel Nolvo TotalMedia ehshell; do cp -f "$standin_exe" "$work/standins/$name.exe"; done

export WINEPREFIX="$work/prefix" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
    $wine wineboot -i >/dev/null 2>&1
    # Without a window manager a managed window's hide waits 2 s for one.
    $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A fresh server: with the first one RpcSs can fail to start, and every
    # first window then waits about 10 s.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
fi
dir=$($wine winepath -w "$work/standins" 2>/dev/null | tr -d '\r')
timeout 180 $wine "$check_exe" "$dir"
