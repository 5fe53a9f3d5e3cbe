# A loss with real clicks: the exploded mine and the dead face; a new game from the face;
# after a second loss a right click alone does not restart, a left then a right click does.

# Opens a safe cell of the board just dealt, then steps on its last mine: MINE_C MINE_R.
lose_once() {
  local c r
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
    is_mine $c $r && { MINE_C=$c; MINE_R=$r; }
  done; done
  cell_click $MINE_C $MINE_R
  expect_cell $MINE_C $MINE_R 3
}

run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  new_board 9 9 10
  lose_once
  expect_face 2
  shot lost

  # The face starts a new game (on a board of its own second).
  new_board 9 9 10
  expect_face 4
  expect_cell $MINE_C $MINE_R 0

  # Lose again; a right click alone does not restart, left then right does.
  lose_once
  cell_click 0 0 3
  expect_cell $MINE_C $MINE_R 3
  cell_click 0 0 1
  cell_click 0 0 3
  expect_cell $MINE_C $MINE_R 0
  expect_face 4

  eval "$(window_geometry)"
  click $((WIDTH - 12)) 12
  wait_game_exit
}
