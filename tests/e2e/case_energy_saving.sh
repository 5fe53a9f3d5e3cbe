# Energy-saving mode chosen from the menu with the keyboard: a cell opens on the press,
# a left drag opens every cell it passes, a right drag flags every cell it enters.
run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  FIELD_COLS=9
  # Game menu, down to the click-mode submenu, its second item.
  click 20 $((CLIENT_Y - 10))
  sleep 0.3
  xdotool key Down Down Down Down Down Down Right Down Return
  local i
  for ((i = 0; i < 30; i++)); do
    [ "$(reg_dword ClickMode)" = 40030 ] && break
    sleep 0.1
  done
  [ "$(reg_dword ClickMode)" = 40030 ] || fail "energy-saving mode not stored"

  # A row with three safe cells side by side.
  new_board 9 9 10
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  local c r row=-1 col=-1
  for ((r = 0; r < 9 && row < 0; r++)); do for ((c = 0; c < 7; c++)); do
    if ! is_mine $c $r && ! is_mine $((c + 1)) $r && ! is_mine $((c + 2)) $r; then row=$r; col=$c; break; fi
  done; done
  [ $row -ge 0 ] || fail "no three safe cells in a row"
  cell_move $col $row
  xdotool mousedown 1
  expect_cell $col $row $((15 - $(neighbours $col $row)))
  cell_move $((col + 1)) $row
  cell_move $((col + 2)) $row
  expect_cell $((col + 1)) $row $((15 - $(neighbours $((col + 1)) $row)))
  expect_cell $((col + 2)) $row $((15 - $(neighbours $((col + 2)) $row)))
  xdotool mouseup 1

  # Right drag over three closed cells of a fresh board flags each once.
  new_board 9 9 10
  cell_move 0 8
  xdotool mousedown 3
  cell_move 1 8
  cell_move 2 8
  xdotool mouseup 3
  expect_cell 0 8 1
  expect_cell 1 8 1
  expect_cell 2 8 1
  expect_cell 3 8 0
  eval "$(window_geometry)"
  click $((WIDTH - 12)) 12
  wait_game_exit
}
