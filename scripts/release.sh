#!/usr/bin/env bash
# Builds what we ship and puts it in dist/: the setup program, a portable
# zip (the exe, the README and the key-map docs) and SHA256SUMS. The exe and
# the setup are checked first (size, imports, versions).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target RemoteControl installer
ctest --preset win32 -L "release|installer|imports|resources" --output-on-failure >build/release-checks.log \
  || { cat build/release-checks.log; echo "release: checks failed" >&2; exit 1; }

version=$(sed -n 's/^#define RC_VERSION_TEXT "\(.*\)"$/\1/p' build/win32/generated/version.h)
[[ -n $version ]] || { echo "release: no version in build/win32/generated/version.h" >&2; exit 1; }
exe=build/win32/RemoteControl.exe
setup=build/win32/RemoteControl-$version-setup.exe

rm -rf dist
mkdir -p dist
cp "$setup" dist/
zip=RemoteControl-$version.zip
python3 - "$exe" "dist/$zip" <<'EOF'
import os, sys, zipfile
exe, out = sys.argv[1], sys.argv[2]
files = [(exe, "RemoteControl.exe"), ("README.md", "README.md")]
if os.path.isfile("docs/keymaps.md"):
    files.append(("docs/keymaps.md", "docs/keymaps.md"))
for root, _, names in sorted(os.walk("docs/keymaps")):
    files += [(os.path.join(root, n), os.path.join(root, n)) for n in sorted(names)]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for path, name in files:
        z.write(path, "RemoteControl/" + name)
print("%s: %d files" % (out, len(files)))
EOF
(cd dist && sha256sum "$(basename "$setup")" "$zip" >SHA256SUMS)

echo "RemoteControl.exe $version: $(stat -c %s "$exe") bytes"
ls -l dist
