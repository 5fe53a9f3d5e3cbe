#!/usr/bin/env bash
# Runs every end-to-end case against the built exe on a private Xvfb display.
set -euo pipefail
EXE=$(realpath "$1")
DEAL=$(realpath "$2")
export DEAL
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
use_e2e_prefix
start_xvfb
trap 'stop_wine; stop_xvfb' EXIT
start_wine
passed=0 failed=0
for case in "$(dirname "${BASH_SOURCE[0]}")"/case_${E2E_ONLY:-*}.sh; do
  name=$(basename "$case" .sh)
  set +e
  (set -euo pipefail; CASE_NAME=$name; . "$case"; run_case "$EXE") >"$E2E_OUT/$name.log" 2>&1
  rc=$?
  set -e
  if [ "$rc" = 0 ]; then
    echo "e2e $name: passed"; passed=$((passed + 1))
  else
    echo "e2e $name: FAILED"; sed 's/^/    /' "$E2E_OUT/$name.log"; failed=$((failed + 1))
    wineserver -k 2>/dev/null || true
    start_wine
  fi
done
echo "e2e: $passed passed, $failed failed"
[ "$failed" = 0 ]
