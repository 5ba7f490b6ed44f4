#!/usr/bin/env bash
# The tray icon, played with the mouse as a user does: a double click turns
# capture off and on again and swaps the icon's picture, leaving the window
# alone; a right click opens the menu, whose "Clipboard" submenu converts the
# clipboard's case or empties it and whose " Quit" ends the program, saving
# the history. A
# right click on the title list opens the same menu beside the window.
#
# NOTE: Wine keeps a menu inside its own process, so the menu is driven by
# keys and judged by what its items do; only its window's place is visible.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_copy 'first'
e2e_wait_title 0 'first'

read -r icon_x icon_y <<<"$(drv_ok tray-icon)"
# The icon's picture: the 16 x 16 square in the middle of its cell.
icon_picture() { drv_ok fingerprint $((icon_x - 8)) $((icon_y - 8)) 16 16; }

# wait_picture WHAT same|changed PICTURE: waits until the icon's picture is
# PICTURE again or differs from it; the desktop repaints the icon a moment
# after the program changes it.
wait_picture() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000)) now
  while :; do
    now=$(icon_picture)
    if [ "$2" = same ]; then [ "$now" = "$3" ] && break; else [ "$now" != "$3" ] && break; fi
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.2
  done
  if [ "$2" = same ]; then
    assert_eq "$1" "$3" "$now"
  else
    assert_ok "$1" test "$now" != "$3"
  fi
}

capturing=$(icon_picture)
e2e_click "$icon_x" "$icon_y" double
wait_picture "a double click on the tray icon swaps its picture" changed "$capturing"
e2e_copy 'while off'
assert_eq "the copy reached the clipboard" 'while off' "$(drv_ok get-clip)"
sleep "$E2E_SETTLE_S"
assert_titles "with capture off the copy is not recorded" 'first'
assert_eq "the double click leaves the window hidden" 0 "$(drv_ok visible)"

e2e_click "$icon_x" "$icon_y" double
wait_picture "a second double click brings the picture back" same "$capturing"
e2e_copy 'mixed Case'
e2e_wait_title 0 'mixed Case'

# The menu, top down: Settings..., Clipboard >, Save Clips, Clear Clips,
# Caching, Quit. The keys pick an item by its place.
e2e_click "$icon_x" "$icon_y" right
assert_ok "a right click on the tray icon opens the menu" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys down down right down enter
e2e_wait_title 0 'MIXED CASE'
assert_eq "Upper case converts the clipboard" 'MIXED CASE' "$(drv_ok get-clip)"

# The same menu from the title list, beside the window. The user's
# application is clicked first, so it is in front for the hotkey.
e2e_click 200 300 left
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
read -r left top _ _ <<<"$(drv_ok window-rect)"
# The program puts the pointer on the window; that move must have landed
# before the test's own, or it could undo it.
assert_ok "the hotkey puts the pointer on the window" drv wait-cursor $((left + 247)) $((top + 118)) "$E2E_WAIT_MS"
# Low on the list, away from where the menu opens: a menu that opens under
# the pointer selects the item there at the first mouse move, and the keys
# below would then start from that item.
e2e_click $((left + 150)) $((top + 400)) right
menu=$(drv_ok wait-menu "$E2E_WAIT_MS")
assert_eq "a right click on the title list opens the menu at the window's corner" \
  "$((left + 60)) $((top + 50))" "$(cut -d' ' -f1,2 <<<"$menu")"
drv_ok keys down down right down down enter
e2e_wait_title 0 'mixed case'
assert_eq "Lower case converts the clipboard" 'mixed case' "$(drv_ok get-clip)"
assert_eq "the right click leaves the title list disabled" 0 "$(drv_ok enabled $e2e_title_list)"
assert_eq "the right click leaves the label column disabled" 0 "$(drv_ok enabled $e2e_label_list)"
e2e_click 200 300 left
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the window after the menu" drv wait-visible 1 "$E2E_WAIT_MS"
assert_eq "the hotkey enables the title list again" 1 "$(drv_ok enabled $e2e_title_list)"
assert_eq "the hotkey enables the label column again" 1 "$(drv_ok enabled $e2e_label_list)"
e2e_click 200 300 left
assert_ok "a click on the application hides the window" drv wait-visible 0 "$E2E_WAIT_MS"

# Clipboard > Clear clipboard, the submenu's first item.
e2e_click "$icon_x" "$icon_y" right
assert_ok "the tray menu opens for Clear clipboard" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys down down right enter
# get-clip fails with its own message when the clipboard holds no text.
deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
while :; do
  clip=$(drv get-clip 2>&1) && rc=0 || rc=$?
  clip=${clip//$'\r'/}
  [ "$rc" = 1 ] || [ "$SECONDS" -ge "$deadline" ] || { sleep 0.2; continue; }
  break
done
assert_eq "Clear clipboard leaves no text on the clipboard" \
  "1:solvane_driver get-clip: the clipboard holds no text" "$rc:$clip"
sleep "$E2E_SETTLE_S"
assert_titles "an emptied clipboard records nothing" 'mixed case' 'MIXED CASE' 'mixed Case' 'first'

items=$(drv_ok items)
e2e_click "$icon_x" "$icon_y" right
assert_ok "the tray menu opens again" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys down down down down down down enter
e2e_wait_exit "Quit ends the program"
e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
assert_file_bytes "Quit saves the list" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
e2e_store_file "$items" 'mixed case' 'MIXED CASE' 'mixed Case' 'first' >"$e2e_tmp/Cb1.want"
assert_file_bytes "Quit saves the clips" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
e2e_done
