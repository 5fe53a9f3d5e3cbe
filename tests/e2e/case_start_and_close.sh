# First start without stored values: the window appears, then the close box and the
# exit command both end the program with exit code 0.
run_case() {
  clear_store
  start_game "$1"
  eval "$(window_geometry)"
  echo "window $GAME_WINDOW at $X,$Y size ${WIDTH}x$HEIGHT"
  [ "$WIDTH" -gt 150 ] || fail "window too narrow: $WIDTH"
  [ "$(reg_dword Difficulty)" = 40014 ] || fail "Difficulty not stored as beginner"
  [ "$(reg_dword ClickMode)" = 40031 ] || fail "ClickMode not stored"
  [ "$(reg_dword Width)" = 9 ] || fail "Width not stored as 9"
  # Close box: the top-right caption button.
  click $((WIDTH - 12)) 12
  wait_game_exit
  [ "$GAME_EXIT" = 0 ] || fail "exit code $GAME_EXIT after the close box"
  # Exit from the menu: a click opens the game menu, its mnemonic X picks the exit item.
  start_game "$1"
  click 20 32
  sleep 0.3
  xdotool key x
  wait_game_exit
  [ "$GAME_EXIT" = 0 ] || fail "exit code $GAME_EXIT after the exit command"
}
