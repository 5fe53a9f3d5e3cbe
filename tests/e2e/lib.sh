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

# The game's key, as reg names it.
GAME_KEY='HKCU\Software\kelvorin'

# Deletes the game's key and makes sure it is gone, so that a Wine process that failed to
# start cannot leave the last case's values behind.
clear_store() {
  local i
  for ((i = 0; i < 5; i++)); do
    wine reg delete "$GAME_KEY" /f >/dev/null 2>&1 || true
    case "$(wine reg query "$GAME_KEY" 2>&1)" in *'Unable to find'*) return 0 ;; esac
    sleep 0.2
  done
  fail "the game's key could not be deleted"
}

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
  hex=$(reg_text "$1")
  [ -n "$hex" ] && printf '%d\n' "$hex"
}
# The data of a value of the game's key as `wine reg query` prints it. Every value the cases
# read exists, so a failed query is retried: now and then a Wine process fails to start on a
# loaded machine, and that must not read as a value the game did not store. Each retry is
# logged with what reg printed.
reg_text() {
  local out rc i
  for ((i = 0; i < 5; i++)); do
    rc=0
    out=$(wine reg query "$GAME_KEY" /v "$1" 2>&1) || rc=$?
    if [ "$rc" = 0 ]; then
      printf '%s\n' "$out" | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'
      return 0
    fi
    echo "reg query $1 failed with $rc: $(printf '%s' "$out" | tr -d '\r' | tr '\n' ' ')" >&2
    sleep 0.2
  done
  return 1
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

# Client-area origin inside the outer window, from the window's size and the client size
# the field needs (Wine's menu bar makes the client one pixel taller than the layout).
client_origin() {
  local cols=$1 rows=$2
  eval "$(window_geometry)"
  FRAME=$(( (WIDTH - (16 * cols + 20)) / 2 ))
  CLIENT_Y=$(( HEIGHT - FRAME - (16 * rows + 64) ))
  CLIENT_X=$FRAME
}

# Clicks at a client position; cell_click COL ROW [BUTTON] at the centre of a cell.
client_click() { click $((CLIENT_X + $1)) $((CLIENT_Y + $2)) "${3:-1}"; }
cell_click() { client_click $((12 + 16 * $1 + 8)) $((55 + 16 * $2 + 8)) "${3:-1}"; }
cell_move() { xdotool mousemove --window "$GAME_WINDOW" $((CLIENT_X + 20 + 16 * $1)) $((CLIENT_Y + 63 + 16 * $2)); sleep 0.1; }

# Screenshot of the game window into $E2E_OUT/NAME.png.
shot() { import -window "$GAME_WINDOW" "$E2E_OUT/$1.png"; }

# sprite SHEET INDEX W H: a PNG of one sprite cut from the committed sprite sheet.
sprite() {
  local out="$E2E_OUT/sprite-$1-$2.png"
  [ -f "$out" ] || convert "$E2E_ROOT/res/$1.bmp" -crop "$3x$4+0+$(($2 * $4))" +repage "$out"
  echo "$out"
}

# Number of pixels where a region of a screenshot differs from a picture.
differs() {
  local picture=$1 shotname=$2 x=$3 y=$4 w h
  w=$(identify -format %w "$picture"); h=$(identify -format %h "$picture")
  convert "$E2E_OUT/$shotname.png" -crop "${w}x$h+$((CLIENT_X + x))+$((CLIENT_Y + y))" +repage "$E2E_OUT/region.png"
  compare -metric AE "$E2E_OUT/region.png" "$picture" null: 2>&1 || true
}

# on_screen TENTHS COMMAND...: retakes the screenshot while Wine repaints until COMMAND
# (one of the *_diff below) counts no differing pixel; the last count stays in SHOWN_DIFF.
on_screen() {
  local tenths=$1 i; shift
  for ((i = 0; i < tenths; i++)); do
    shot now
    SHOWN_DIFF=$("$@")
    [ "$SHOWN_DIFF" = 0 ] && return 0
    sleep 0.1
  done
  return 1
}

# Keeps the last screenshot beside the logs and fails.
fail_on_screen() {
  cp "$E2E_OUT/now.png" "$E2E_OUT/fail-$CASE_NAME.png" 2>/dev/null || true
  fail "$* ($SHOWN_DIFF pixels differ)"
}

cell_diff() { differs "$(sprite cells "$3" 16 16)" now $((12 + 16 * $1)) $((55 + 16 * $2)); }
face_diff() { differs "$(sprite faces "$1" 24 24)" now $((8 * FIELD_COLS)) 16; }
# The mine counter's three digits against a number from 0 to 999.
counter_diff() {
  local k n=0 digits
  digits=$(printf '%03d' "$1")
  for k in 0 1 2; do
    n=$((n + $(differs "$(sprite digits $((11 - ${digits:$k:1})) 13 23)" now $((17 + 13 * k)) 16)))
  done
  echo $n
}

# The cell, the face or the counter on screen becomes what is expected within two seconds;
# expect_cell_quick only tells, within a second.
expect_cell() { on_screen 20 cell_diff "$@" || fail_on_screen "cell ($1,$2) is not sprite $3"; }
expect_cell_quick() { on_screen 8 cell_diff "$@"; }
expect_face() { on_screen 20 face_diff "$1" || fail_on_screen "face is not sprite $1"; }
expect_counter() { on_screen 20 counter_diff "$1" || fail_on_screen "mine counter does not show $1"; }

# new_board COLS ROWS MINES: starts a new game with the face early in a second and reads
# the board dealt in that second into BOARD, and the next second's into BOARD_NEXT: Wine
# sometimes hands the click over late, and the first opening (first_open) tells which.
new_board() {
  FIELD_COLS=$1
  local t0 ms
  for ((ms = 1000; ms > 150; )); do
    ms=$(( 10#$(date +%N) / 1000000 ))
    [ $ms -gt 150 ] && sleep 0.02
  done
  t0=$(date +%s)
  client_click $((8 * $1 + 12)) 28
  mapfile -t BOARD < <(wine "$DEAL" "$t0" "$1" "$2" "$3" | tr -d '\r')
  mapfile -t BOARD_NEXT < <(wine "$DEAL" "$((t0 + 1))" "$1" "$2" "$3" | tr -d '\r')
  [ "${#BOARD[@]}" = "$2" ] && [ "${#BOARD_NEXT[@]}" = "$2" ] || fail "dealer gave ${#BOARD[@]} rows"
}

# first_open COL ROW: opens a cell that is safe on both candidate boards and keeps the
# board whose number the screen shows there.
first_open() {
  local candidate shown
  cell_click "$1" "$2"
  for candidate in 1 2; do
    if [ $candidate = 2 ]; then BOARD=("${BOARD_NEXT[@]}"); fi
    shown=$((15 - $(neighbours "$1" "$2")))
    if expect_cell_quick "$1" "$2" $shown; then return 0; fi
  done
  fail "the opened cell ($1,$2) fits neither candidate board"
}

# A cell safe on both candidate boards, with a different number on each where one
# exists, so that opening it tells the boards apart: SAFE_C SAFE_R.
pick_safe_on_both() {
  local c r a b found=1 saved=("${BOARD[@]}")
  for ((r = 0; r < ${#BOARD[@]}; r++)); do for ((c = 0; c < FIELD_COLS; c++)); do
    [ "${saved[$r]:$c:1}" = . ] && [ "${BOARD_NEXT[$r]:$c:1}" = . ] || continue
    BOARD=("${saved[@]}"); a=$(neighbours $c $r)
    BOARD=("${BOARD_NEXT[@]}"); b=$(neighbours $c $r)
    if [ $found = 1 ] || [ "$a" != "$b" ]; then SAFE_C=$c; SAFE_R=$r; found=0; fi
    [ "$a" != "$b" ] && break 2
  done; done
  BOARD=("${saved[@]}")
  return $found
}

is_mine() { [ "${BOARD[$2]:$1:1}" = '*' ]; }
# Mines around a cell, counted from the dealt board.
neighbours() {
  local c=$1 r=$2 n=0 dc dr
  for dc in -1 0 1; do for dr in -1 0 1; do
    [ $dc = 0 ] && [ $dr = 0 ] && continue
    local cc=$((c + dc)) rr=$((r + dr))
    [ $cc -ge 0 ] && [ $rr -ge 0 ] && [ $cc -lt $FIELD_COLS ] && [ $rr -lt ${#BOARD[@]} ] || continue
    is_mine $cc $rr && n=$((n + 1))
  done; done
  echo $n
}

declare -A OPENED
# Opens a cell as the game would, flooding blanks, so that the cases know which cells the
# screen shows open without clicking on them again.
open_model() {
  local c=$1 r=$2 dc dr
  [ $c -ge 0 ] && [ $r -ge 0 ] && [ $c -lt $FIELD_COLS ] && [ $r -lt ${#BOARD[@]} ] || return 0
  [ -n "${OPENED[$c,$r]:-}" ] && return 0
  OPENED[$c,$r]=1
  [ "$(neighbours $c $r)" = 0 ] || return 0
  for dc in -1 0 1; do for dr in -1 0 1; do open_model $((c + dc)) $((r + dr)); done; done
}

# Another visible window of the game (a dialog), or nothing.
other_window() {
  xdotool search --onlyvisible --classname 'tesselmark.exe' 2>/dev/null | grep -v -x "$GAME_WINDOW" | head -n 1
}

# Waits for a dialog of the game to appear and prints its window.
wait_dialog() {
  local i w=""
  for ((i = 0; i < 50; i++)); do
    w=$(other_window || true)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until no dialog of the game is left on screen.
no_dialog() { [ -z "$(other_window || true)" ]; }
wait_no_dialog() { wait_for 50 no_dialog; }

# open_menu KEYS...: opens the game menu with a click on its title and presses the keys.
open_menu() {
  click 20 $((CLIENT_Y - 10))
  sleep 0.3
  xdotool key "$@"
}
