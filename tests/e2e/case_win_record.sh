# A beginner game won with real clicks on the board the game dealt, the record holder's
# name typed on the real keyboard, both record dialogs, and the records read back.

run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  new_board 9 9 10
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  open_model $SAFE_C $SAFE_R
  local c r safe=0
  for ((r = 0; r < 9; r++)); do for ((c = 0; c < 9; c++)); do
    is_mine $c $r && continue
    safe=$((safe + 1))
    [ -n "${OPENED[$c,$r]:-}" ] && continue
    cell_click $c $r
    open_model $c $r
  done; done
  [ "${#OPENED[@]}" = "$safe" ] || fail "model opened ${#OPENED[@]} of $safe cells"

  local dialog
  dialog=$(wait_dialog) || fail "no new-record dialog after the win"
  import -window "$dialog" "$E2E_OUT/new-record.png"
  xdotool type --delay 30 "Tester"
  xdotool key Return
  local scores=""
  for ((c = 0; c < 50; c++)); do
    scores=$(other_window || true)
    [ -n "$scores" ] && [ "$scores" != "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$scores" ] && [ "$scores" != "$dialog" ] || fail "no high-score dialog after the name"
  import -window "$scores" "$E2E_OUT/high-scores.png"
  xdotool key Return
  wait_no_dialog || fail "the high-score dialog did not close"

  local time1 name1
  time1=$(reg_dword Time1)
  name1=$(reg_text Name1)
  echo "record: $time1 s by $name1"
  [ "$name1" = Tester ] || fail "Name1 is '$name1'"
  [ -n "$time1" ] && [ "$time1" -ge 1 ] && [ "$time1" -lt 999 ] || fail "Time1 is '$time1'"
  [ "$(reg_dword Time2)" = 999 ] || fail "Time2 changed"
  expect_face 1
  shot won
  click $((WIDTH - 12)) 12
  wait_game_exit
}
