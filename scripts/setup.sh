#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12. Safe to run again:
# when every package is already there it returns without touching apt.
# Extra packages a script needs besides these come as arguments
# (scripts/bench.sh asks for valgrind).
set -euo pipefail

packages=(cmake g++ libgtest-dev clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32
          wine wine32:i386 wine64 xvfb xdotool x11-apps python3 nsis "$@")

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null || true)
  [[ $status == ii* ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "setup: run as root to install ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -q </dev/null
"${sudo[@]}" apt-get install -y -q "${missing[@]}" </dev/null
