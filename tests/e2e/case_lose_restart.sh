# A loss with real clicks: the exploded mine and the dead face; a new game from the face;
# after a second loss a right click alone does not restart, a left then a right click does.
run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  FIELD_COLS=9
  # Lose on an unflagged mine: the exploded mine and the dead face.
  local c r mc=-1 mr=-1
  new_board 9 9 10
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
    is_mine $c $r && { mc=$c; mr=$r; }
  done; done
  cell_click $mc $mr
  expect_cell $mc $mr 3
  expect_face 2
  shot lost

  # The face starts a new game (on a board of its own second).
  new_board 9 9 10
  expect_face 4
  expect_cell $mc $mr 0

  # Lose again; a right click alone does not restart, left then right does.
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
    is_mine $c $r && { mc=$c; mr=$r; }
  done; done
  cell_click $mc $mr
  expect_cell $mc $mr 3
  cell_click 0 0 3
  expect_cell $mc $mr 3
  cell_click 0 0 1
  cell_click 0 0 3
  expect_cell $mc $mr 0
  expect_face 4

  eval "$(window_geometry)"
  click $((WIDTH - 12)) 12
  wait_game_exit
}
