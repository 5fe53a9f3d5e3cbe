# Helpers for the end-to-end cases: a private Xvfb, the real exe under Wine, xdotool.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

E2E_ROOT=$(tesselmark_root)
E2E_OUT=${E2E_OUT:-$E2E_ROOT/build/mingw/e2e}
mkdir -p "$E2E_OUT"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a command until it succeeds, up to $1 tenths of a second.
wait_for() {
  local tenths=$1; shift
  local i
  for ((i = 0; i < tenths; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  wait_for 100 test -S "/tmp/.X11-unix/X$n" || fail "Xvfb did not start on :$n"
  wait_for 50 xdpyinfo || fail "Xvfb on :$n does not answer"
}

stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "${XVFB_PID:-}" 2>/dev/null || true; }

# The game's own prefix for end-to-end runs, drawing through X.
use_e2e_prefix() {
  prepare_prefix "$E2E_ROOT/build/mingw/wineprefix-e2e"
}

clear_store() { wine reg delete 'HKCU\Software\kelvorin' /f >/dev/null 2>&1 || true; }

# start_game EXE: runs the game in the background; GAME_PID, GAME_WINDOW set.
start_game() {
  wine "$1" >/dev/null 2>&1 &
  GAME_PID=$!
  GAME_WINDOW=""
  local i
  for ((i = 0; i < 200; i++)); do
    GAME_WINDOW=$(xdotool search --onlyvisible --classname 'tesselmark.exe' 2>/dev/null | head -n 1 || true)
    [ -n "$GAME_WINDOW" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before showing its window"
    sleep 0.1
  done
  [ -n "$GAME_WINDOW" ] || fail "no window of class tesselmark.exe appeared"
}

# wait_game_exit: waits for the game to end, returns its exit code in GAME_EXIT.
wait_game_exit() {
  local i
  for ((i = 0; i < 100; i++)); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end"
  set +e
  wait "$GAME_PID"
  GAME_EXIT=$?
  set -e
}

# Reads a REG_DWORD of the game's key as a decimal number.
reg_dword() {
  local hex
  hex=$(wine reg query 'HKCU\Software\kelvorin' /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}')
  [ -n "$hex" ] && printf '%d\n' "$hex"
}

window_geometry() { xdotool getwindowgeometry --shell "$GAME_WINDOW"; }

# click X Y [BUTTON]: a real press and release at a position relative to the game window
# (outer frame), with the pauses a hand makes so that Wine sees the pointer arrive first.
click() {
  xdotool mousemove --window "$GAME_WINDOW" "$1" "$2"
  sleep 0.15
  xdotool mousedown "${3:-1}"
  sleep 0.05
  xdotool mouseup "${3:-1}"
}
