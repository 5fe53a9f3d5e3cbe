#!/usr/bin/env bash
# The release zip: two runs give the same bytes, and it holds exactly the three files.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DIST_DIR="$work/a" "$root/scripts/package" >"$work/a.log"
sleep 1.1  # a second later, so that a time of the moment would show
DIST_DIR="$work/b" "$root/scripts/package" >"$work/b.log"
cmp "$work/a/tesselmark-2.1-win64.zip" "$work/b/tesselmark-2.1-win64.zip"
listing=$(unzip -Z1 "$work/a/tesselmark-2.1-win64.zip" | tr '\n' ' ')
[ "$listing" = "tesselmark-2.1/ tesselmark-2.1/LICENSE.txt tesselmark-2.1/README.md tesselmark-2.1/tesselmark.exe " ] ||
  { echo "unexpected contents: $listing" >&2; exit 1; }
unzip -p "$work/a/tesselmark-2.1-win64.zip" tesselmark-2.1/tesselmark.exe | cmp - "$root/build/mingw/tesselmark.exe"
tail -1 "$work/a.log" | grep -E -q '^[0-9a-f]{64}$'
echo "reproducible: $(tail -1 "$work/a.log")"
