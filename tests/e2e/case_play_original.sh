# Original mode played with real pointer events: open, flag, chord with both buttons and
# with the middle button, and change the level from the menu. Every check reads the screen.

# A safe numbered cell with at least one safe neighbour: NUM_C NUM_R NUM_K.
pick_numbered() {
  local c r
  for ((r = 1; r < 8; r++)); do for ((c = 1; c < 8; c++)); do
    is_mine $c $r && continue
    NUM_K=$(neighbours $c $r)
    [ "$NUM_K" -gt 0 ] && [ "$NUM_K" -lt 8 ] && { NUM_C=$c; NUM_R=$r; return 0; }
  done; done
  return 1
}

# Flags every mine around the numbered cell, then checks the chord opened the rest.
flag_around() {
  local dc dr
  for dc in -1 0 1; do for dr in -1 0 1; do
    is_mine $((NUM_C + dc)) $((NUM_R + dr)) || continue
    cell_click $((NUM_C + dc)) $((NUM_R + dr)) 3
    expect_cell $((NUM_C + dc)) $((NUM_R + dr)) 1
  done; done
}
expect_chorded() {
  local dc dr c r
  for dc in -1 0 1; do for dr in -1 0 1; do
    c=$((NUM_C + dc)); r=$((NUM_R + dr))
    is_mine $c $r && continue
    expect_cell $c $r $((15 - $(neighbours $c $r)))
  done; done
}

run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  FIELD_COLS=9
  expect_face 4

  # Open, flag, chord with both buttons (the left release makes the chord).
  new_board 9 9 10
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  pick_numbered || fail "no numbered cell on this board"
  cell_click $NUM_C $NUM_R
  expect_cell $NUM_C $NUM_R $((15 - NUM_K))
  flag_around
  cell_move $NUM_C $NUM_R
  xdotool mousedown 1; sleep 0.05; xdotool mousedown 3; sleep 0.05
  xdotool mouseup 1; sleep 0.05; xdotool mouseup 3
  expect_chorded
  shot beginner

  # The same with the middle button on a fresh board.
  new_board 9 9 10
  expect_cell 0 0 0
  pick_numbered || fail "no numbered cell on this board"
  cell_click $NUM_C $NUM_R
  expect_cell $NUM_C $NUM_R $((15 - NUM_K))
  flag_around
  cell_click $NUM_C $NUM_R 2
  expect_chorded

  # Expert from the menu: the window grows to the expert field around its corner.
  eval "$(window_geometry)"
  local x0=$X y0=$Y w0=$WIDTH
  click 20 $((CLIENT_Y - 10))
  sleep 0.3
  xdotool key e
  local i
  for ((i = 0; i < 30; i++)); do
    eval "$(window_geometry)"
    [ "$WIDTH" != "$w0" ] && break
    sleep 0.1
  done
  [ "$WIDTH" = $((16 * 30 + 20 + 2 * FRAME)) ] || fail "expert window is $WIDTH wide"
  [ "$X" = "$x0" ] && [ "$Y" = "$y0" ] || fail "window moved from $x0,$y0 to $X,$Y"
  [ "$(reg_dword Difficulty)" = 40016 ] || fail "expert not stored"
  sleep 0.3
  shot expert
  click $((WIDTH - 12)) 12
  wait_game_exit
}
