# Every level from the menu: the window takes the field's size around its fixed corner and
# the level is stored at once. A custom field typed into the dialog with the keyboard alone;
# the position stored with the level is where the window stands, and the next start comes
# back with the custom field there.

# choose_level KEY COLS ROWS MINES COMMAND: picks a level from the game menu and checks it.
choose_level() {
  open_menu "$1"
  local i
  for ((i = 0; i < 30; i++)); do
    eval "$(window_geometry)"
    [ "$WIDTH" = $((W0 + 16 * ($2 - 9))) ] && [ "$HEIGHT" = $((H0 + 16 * ($3 - 9))) ] && break
    sleep 0.1
  done
  [ "$WIDTH" = $((W0 + 16 * ($2 - 9))) ] || fail "$2 columns give a window $WIDTH wide"
  [ "$HEIGHT" = $((H0 + 16 * ($3 - 9))) ] || fail "$3 rows give a window $HEIGHT high"
  [ "$X,$Y" = "$X0,$Y0" ] || fail "window moved from $X0,$Y0 to $X,$Y"
  [ "$(reg_dword Difficulty)" = "$5" ] || fail "level $5 not stored"
  local stored
  stored="$(reg_dword Width),$(reg_dword Height),$(reg_dword Mines)"
  [ "$stored" = "$2,$3,$4" ] || fail "field $2x$3/$4 stored as $stored"
  FIELD_COLS=$2
  expect_counter "$4"
  expect_face 4
}

run_case() {
  clear_store
  start_game "$1"
  client_origin 9 9
  eval "$(window_geometry)"
  local W0=$WIDTH H0=$HEIGHT X0=$X Y0=$Y
  choose_level i 16 16 40 40015
  choose_level e 30 16 99 40016
  shot expert-menu
  choose_level b 9 9 10 40014

  # The custom dialog opens with the current field; Tab goes from OK past Cancel to the
  # height, each edit is selected on entry, and Space on OK accepts.
  open_menu c
  local dialog
  dialog=$(wait_dialog) || fail "no custom-field dialog"
  xdotool key Tab Tab
  xdotool type --delay 30 12
  xdotool key Tab
  xdotool type --delay 30 20
  xdotool key Tab
  xdotool type --delay 30 30
  xdotool key Tab space
  wait_no_dialog || fail "the custom-field dialog did not close"
  local i
  for ((i = 0; i < 30; i++)); do
    [ "$(reg_dword Difficulty)" = 40017 ] && break
    sleep 0.1
  done
  X0=$X Y0=$Y
  eval "$(window_geometry)"
  [ "$WIDTH,$HEIGHT" = "$((W0 + 16 * 11)),$((H0 + 16 * 3))" ] || fail "custom window is ${WIDTH}x$HEIGHT"
  [ "$(reg_dword Difficulty)" = 40017 ] || fail "custom level not stored"
  local stored
  stored="$(reg_dword Width),$(reg_dword Height),$(reg_dword Mines)"
  [ "$stored" = 20,12,30 ] || fail "custom field 20x12/30 stored as $stored"
  FIELD_COLS=20
  expect_counter 30

  # Each level stored the position with it; exit from the menu ends with it in place.
  open_menu x
  wait_game_exit
  [ "$(reg_dword XPos),$(reg_dword Ypos)" = "$X,$Y" ] || fail "stored position $(reg_dword XPos),$(reg_dword Ypos), window was at $X,$Y"

  # The next start comes back with the custom field at the same place, and deals it.
  start_game "$1"
  client_origin 20 12
  eval "$(window_geometry)"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "$X0,$Y0,$((W0 + 16 * 11)),$((H0 + 16 * 3))" ] || fail "restarted as ${WIDTH}x$HEIGHT at $X,$Y"
  expect_counter 30
  new_board 20 12 30
  pick_safe_on_both || fail "no cell safe on both boards"
  first_open $SAFE_C $SAFE_R
  shot custom-restart
  click $((WIDTH - 12)) 12
  wait_game_exit
}
