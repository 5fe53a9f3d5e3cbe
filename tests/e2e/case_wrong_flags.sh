# A loss with flags set: the mine stepped on shows exploded, a flag on a mine stays a flag,
# a flag on a safe cell shows crossed out, the other mines show plain; the counter counts flags.
run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  local attempt c r wc=-1 wr fc fr mc mr
  for ((attempt = 0; attempt < 3 && wc < 0; attempt++)); do
    new_board 9 9 10
    expect_counter 10
    pick_safe_on_both || fail "no cell safe on both boards"
    first_open $SAFE_C $SAFE_R
    OPENED=()
    open_model $SAFE_C $SAFE_R
    fc=-1
    # A closed safe cell for the wrong flag, the first mine for a right flag, the last to step on.
    for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
      if is_mine $c $r; then
        if [ $fc -lt 0 ]; then fc=$c; fr=$r; else mc=$c; mr=$r; fi
      elif [ $wc -lt 0 ] && [ -z "${OPENED[$c,$r]:-}" ]; then
        wc=$c; wr=$r
      fi
    done; done
  done
  [ $wc -ge 0 ] || fail "three boards opened whole at the first click"

  cell_click $wc $wr 3
  expect_cell $wc $wr 1
  cell_click $fc $fr 3
  expect_cell $fc $fr 1
  expect_counter 8
  cell_click $mc $mr
  expect_face 2
  expect_cell $mc $mr 3
  expect_cell $wc $wr 4
  expect_cell $fc $fr 1
  for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
    is_mine $c $r || continue
    [ $c,$r = $mc,$mr ] || [ $c,$r = $fc,$fr ] || expect_cell $c $r 5
  done; done
  expect_counter 8
  shot wrong-flags
  eval "$(window_geometry)"
  click $((WIDTH - 12)) 12
  wait_game_exit
}
