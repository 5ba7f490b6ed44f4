#!/usr/bin/env bash
# Things a user does at the wrong moment: a second right click on the tray
# icon while its menu is open, the hotkey while the settings dialog is open,
# Quit again while its prompt is up, a drag that throws the window far off
# the desktop. Nothing crashes, no clip is lost, and the program answers as
# before afterwards.
. "$(dirname "$0")/lib.sh" "$@"

e2e_fresh_folder
e2e_settings prompt_quit=on
e2e_start
e2e_open_target
e2e_copy 'one'
e2e_wait_title 0 'one'
e2e_copy 'two'
e2e_wait_title 0 'two'

# still_fine WHAT: the program runs, shows no box and keeps its clips.
still_fine() {
  assert_ok "$1: the program still runs" kill -0 "$E2E_PID"
  assert_eq "$1: no box is up" '' "$(drv_ok boxes)"
  assert_titles "$1: the clips are all there" 'two' 'one'
}

read -r icon_x icon_y <<<"$(drv_ok tray-icon)"
e2e_click "$icon_x" "$icon_y" right
assert_ok "a right click on the tray icon opens the menu" drv wait-menu "$E2E_WAIT_MS"
e2e_click "$icon_x" "$icon_y" right
sleep "$E2E_SETTLE_S"
drv_ok keys esc esc
sleep "$E2E_SETTLE_S"
still_fine "a second right click while the menu is open"

# The settings dialog, then the hotkey over it.
e2e_click "$icon_x" "$icon_y" right
assert_ok "the tray menu opens again" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys down enter
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open: $rect"
drv_ok keys ctrl+alt+down
sleep "$E2E_SETTLE_S"
assert_ok "the hotkey leaves the settings dialog open" drv wait-class TForm2 0
# The clip window may now lie over the dialog: a click on the application
# puts it away, as a user would, before OK is clicked.
e2e_click 200 300 left
assert_ok "a click on the application hides the clip window" drv wait-visible 0 "$E2E_WAIT_MS"
e2e_click_settings_ok
sleep "$E2E_SETTLE_S"
dialog_gone() { ! drv wait-class TForm2 0 >/dev/null 2>&1; }
assert_ok "OK closes the dialog" dialog_gone
still_fine "the hotkey while the settings dialog was open"

# Quit twice: the second comes while the first prompt is up, and is declined.
drv_ok command quit
deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
until [ -n "$(drv_ok boxes)" ] || [ "$SECONDS" -ge "$deadline" ]; do sleep 0.2; done
drv_ok command quit
sleep "$E2E_SETTLE_S"
assert_eq "a second Quit while the prompt is up asks nothing more" 'Confirm: Quit Solvane Clips?' "$(drv_ok boxes)"
drv_ok keys n
deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
until [ -z "$(drv_ok boxes)" ] || [ "$SECONDS" -ge "$deadline" ]; do sleep 0.2; done
still_fine "Quit while its prompt was up, answered No"

# A drag that carries the window far past the desktop's left and top.
e2e_click 200 300 left
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
read -r left top _ _ <<<"$(drv_ok window-rect)"
e2e_drag $((left + 118)) $((top + 9)) 10 3
sleep "$E2E_SETTLE_S"
read -r moved_left moved_top _ _ <<<"$(drv_ok window-rect)"
assert_eq "the window follows the pointer partly off the desktop" "$((10 - 118)) $((3 - 9))" \
  "$moved_left $moved_top"
e2e_click 200 300 left
assert_ok "a click elsewhere hides it" drv wait-visible 0 "$E2E_WAIT_MS"
drv_ok keys ctrl+alt+down
assert_ok "the next hotkey shows it again" drv wait-visible 1 "$E2E_WAIT_MS"
assert_eq "where it was left" "$moved_left $moved_top" "$(drv_ok window-rect | cut -d' ' -f1,2)"
still_fine "a drag off the desktop"

drv_ok keys 2
assert_ok "a key label still pastes" drv wait-target-text 'one' "$E2E_WAIT_MS"
e2e_close
e2e_done
