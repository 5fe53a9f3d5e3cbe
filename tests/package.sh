#!/usr/bin/env bash
# The release zip: two runs a second apart give the same bytes, and it holds exactly the three files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd) work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
DIST_DIR="$work/a" "$root/scripts/package" >/dev/null && sleep 1.1 && DIST_DIR="$work/b" "$root/scripts/package" >/dev/null
cmp "$work/a/tesselmark-2.1-win64.zip" "$work/b/tesselmark-2.1-win64.zip"
[ "$(unzip -Z1 "$work/a/tesselmark-2.1-win64.zip" | tr '\n' ' ')" = "tesselmark-2.1/ tesselmark-2.1/LICENSE.txt tesselmark-2.1/README.md tesselmark-2.1/tesselmark.exe " ]
unzip -p "$work/a/tesselmark-2.1-win64.zip" tesselmark-2.1/tesselmark.exe | cmp - "$root/build/mingw/tesselmark.exe"
