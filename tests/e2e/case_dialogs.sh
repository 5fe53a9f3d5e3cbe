# The high-score dialog shows the stored records and clears them in place and in the store;
# the version dialog opens from the help menu and closes; the game plays on after both.
run_case() {
  clear_store
  wine reg add "$GAME_KEY" /v Time1 /t REG_DWORD /d 7 /f >/dev/null
  wine reg add "$GAME_KEY" /v Name1 /t REG_SZ /d Alice /f >/dev/null
  wine reg add "$GAME_KEY" /v Time3 /t REG_DWORD /d 120 /f >/dev/null
  wine reg add "$GAME_KEY" /v Name3 /t REG_SZ /d Bob /f >/dev/null
  start_game "$1"
  client_origin 9 9
  FIELD_COLS=9

  open_menu h
  local dialog
  dialog=$(wait_dialog) || fail "no high-score dialog"
  import -window "$dialog" "$E2E_OUT/scores-before.png"
  xdotool key alt+r
  local i
  for ((i = 0; i < 30; i++)); do
    [ "$(reg_dword Time1),$(reg_dword Time3)" = 999,999 ] && break
    sleep 0.1
  done
  [ "$(reg_dword Time1),$(reg_dword Time3)" = 999,999 ] || fail "times not cleared in the store"
  [ "$(reg_text Name1)" != Alice ] && [ "$(reg_text Name3)" != Bob ] || fail "names not cleared in the store"
  # The dialog redraws the cleared rows while it stays open.
  local n=0
  for ((i = 0; i < 20; i++)); do
    import -window "$dialog" "$E2E_OUT/scores-after.png"
    n=$(compare -metric AE "$E2E_OUT/scores-before.png" "$E2E_OUT/scores-after.png" null: 2>&1 || true)
    [ "$n" != 0 ] && break
    sleep 0.1
  done
  [ "$n" != 0 ] || fail "the dialog still shows the old records"
  xdotool getwindowname "$dialog" | grep -q -x 'ハイスコア' || fail "dialog title is $(xdotool getwindowname "$dialog")"
  xdotool key Return
  wait_no_dialog || fail "the high-score dialog did not close"

  # Help menu: from the game menu one step right, then the version item.
  open_menu Right a
  dialog=$(wait_dialog) || fail "no version dialog"
  xdotool getwindowname "$dialog" | grep -q -x 'テセルマークのバージョン情報' || fail "version dialog title is $(xdotool getwindowname "$dialog")"
  import -window "$dialog" "$E2E_OUT/version.png"
  xdotool key space
  wait_no_dialog || fail "the version dialog did not close"

  # The game still answers the pointer.
  new_board 9 9 10
  expect_face 4
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  [ "$(reg_dword Time1)" = 999 ] || fail "records came back"
  eval "$(window_geometry)"
  click $((WIDTH - 12)) 12
  wait_game_exit
}
