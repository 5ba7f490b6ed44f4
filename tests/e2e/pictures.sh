#!/usr/bin/env bash
# The three things a user looks at, taken from screenshots of the real
# program: the clip window with a few clips, the tray menu, and the settings
# dialog, each checked for its colours. With E2E_PICTURES set to a folder,
# the pictures are kept there (scripts/pictures.sh makes the README's).
. "$(dirname "$0")/lib.sh" "$@"

pictures=${E2E_PICTURES:-$e2e_tmp}
mkdir -p "$pictures"

# picture NAME LEFT TOP RIGHT BOTTOM: the screen's rectangle as NAME.png.
picture() {
  import -window root "$e2e_tmp/screen.png"
  convert "$e2e_tmp/screen.png" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$pictures/$1.png"
}
# colour NAME COLOUR: pixels of that colour in picture NAME.
colour() {
  convert "$pictures/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:mean*w*h]' info: | cut -d. -f1
}

e2e_start
e2e_open_target
for text in 'Meeting moved to Thursday, 10:30' 'https://example.org/solvane/clips' \
  'SELECT name, total\r\nFROM orders\r\nWHERE total > 100;' 'Dear Ms Novak,' 'ok, thanks!'; do
  e2e_copy "$text"
done
e2e_wait_title 0 'ok, thanks!'

e2e_click 200 300 left
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the clip window" drv wait-visible 1 "$E2E_WAIT_MS"
read -r left top right bottom <<<"$(drv_ok window-rect)"
# The pointer rests on the window; moved off it, the picture shows no arrow.
xdotool mousemove $((right + 40)) $((top + 40))
sleep 0.5
picture clip-window "$left" "$top" "$right" "$bottom"
assert_ok "the clip window's list is pale yellow" test "$(colour clip-window 'rgb(255,255,204)')" -gt 80000
assert_ok "the clip window's panel has its colour" test "$(colour clip-window 'rgb(231,223,173)')" -gt 3000

# The settings dialog, from the tray menu's first item.
read -r icon_x icon_y <<<"$(drv_ok tray-icon)"
e2e_click "$icon_x" "$icon_y" right
assert_ok "a right click on the tray icon opens the menu" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys down enter
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open: $rect"
read -r sl st sr sb <<<"$rect"
sleep 0.5
picture settings "$sl" "$st" "$sr" "$sb"
assert_ok "the settings dialog has the program's background" test "$(colour settings 'rgb(231,223,173)')" -gt 10000
e2e_click_settings_ok
sleep "$E2E_SETTLE_S"
dialog_gone() { ! drv wait-class TForm2 0 >/dev/null 2>&1; }
assert_ok "OK closes the settings dialog" dialog_gone

# The tray menu.
e2e_click "$icon_x" "$icon_y" right
menu=$(drv wait-menu "$E2E_WAIT_MS") || e2e_fatal "the tray menu did not open: $menu"
read -r ml mt mr mb <<<"$menu"
xdotool mousemove $((ml - 40)) $((mt + 10))
sleep 0.5
picture tray-menu "$ml" "$mt" "$mr" "$mb"
assert_ok "the tray menu is drawn (six items high)" test $((mb - mt)) -gt 90
assert_ok "the tray menu has its text" test "$(colour tray-menu 'rgb(0,0,0)')" -gt 200
drv_ok keys esc
e2e_close
e2e_done
