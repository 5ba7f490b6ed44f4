#!/usr/bin/env bash
# The road of one clip, as a user walks it: a text copied in an X11
# application becomes the newest clip; later, in another application, the
# hotkey and the key "3" paste it there; " Quit" from the tray menu saves the
# history, and after a restart the same clip is still there to paste.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_x11_copy $'the road\nof one clip'  # an LF break, as X11 programs write it
e2e_wait_title 0 'the road...'
e2e_copy 'second'
e2e_wait_title 0 'second'
e2e_copy 'third'
e2e_wait_title 0 'third'

# paste_by_key KEY TEXT WHAT: the application in front, the hotkey, KEY.
paste_by_key() {
  drv_ok target-clear
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "the hotkey shows the clip window ($3)" drv wait-visible 1 "$E2E_WAIT_MS"
  drv_ok keys "$1"
  assert_ok "key $1 pastes the clip into the application ($3)" drv wait-target-text "$2" "$E2E_WAIT_MS"
  assert_ok "the window goes once it has pasted ($3)" drv wait-visible 0 "$E2E_WAIT_MS"
}

paste_by_key 3 'the road\r\nof one clip' "before the restart"
assert_titles "the pasted clip's title moves to the top" 'the road...' 'third' 'second'

read -r icon_x icon_y <<<"$(drv_ok tray-icon)"
e2e_click "$icon_x" "$icon_y" right
assert_ok "a right click on the tray icon opens the menu" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys up enter  # " Quit", the last item
e2e_wait_exit "Quit ends the program"
assert_ok "the clip file holds the clip's text" grep -q 'of one clip' "$E2E_DIR/Cb1.qlx"

# The start records what the clipboard holds; emptied, the list is exactly
# the saved history.
drv_ok clear-clip
e2e_start
assert_titles "the history comes back in order" 'the road...' 'third' 'second'
paste_by_key 1 'the road\r\nof one clip' "after the restart"
e2e_close
e2e_done
