#!/usr/bin/env bash
# Nothing fails without a word and nothing hides: a hotkey that cannot work
# is named in a box (held by another program, or no hotkey at all); a
# restarted notification area gets the icon back; the settings dialog owns
# its error boxes and has no task-bar button of its own, its drop-down texts
# are navy and its autosave check box shows its hint; a double click on an
# option button toggles it twice.
. "$(dirname "$0")/lib.sh" "$@"

# -- Ctrl+Alt+Down taken by another program before the start.
wine "$E2E_DRIVER" hold-hotkey ctrl+alt+down 600000 </dev/null >"$e2e_tmp/hold.out" 2>&1 &
hold_pid=$!
e2e_wait_until grep -q held "$e2e_tmp/hold.out" || e2e_fatal "could not hold the hotkey: $(cat "$e2e_tmp/hold.out")"
e2e_fresh_folder
e2e_launch
e2e_wait_box '*: The hotkey Ctrl+Alt+Down could not be registered: another program is using it.*chosen in Settings.'
e2e_answer enter
e2e_wait_started
kill "$hold_pid"
wait "$hold_pid" 2>/dev/null

# -- The settings dialog, and OK once the other program let go.
drv_ok command settings
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open: $rect"
assert_eq "the dialog belongs to the hidden application window: no task-bar button" TApplication "$(drv_ok owner TForm2)"
import -window root "$e2e_tmp/settings.png"
for box in $e2e_settings_hotkey $e2e_settings_delay; do
  read -r cl ct cr cb <<<"$(drv_ok control-rect TForm2 $box)"
  navy=$(e2e_colour_count "$e2e_tmp/settings.png" 'rgb(0,0,128)' "$cl" "$ct" $((cr - cl)) $((cb - ct)))
  assert_ok "drop-down $box shows its text in navy ($navy pixels)" test "$navy" -gt 30
done
read -r cl ct cr cb <<<"$(drv_ok control-rect TForm2 $e2e_settings_autosave)"
xdotool mousemove $(((cl + cr) / 2)) $(((ct + cb) / 2))
assert_ok "the autosave check box shows its hint" drv wait-hint 1 "$E2E_WAIT_MS"
read -r ol ot or ob <<<"$(drv_ok control-rect TForm2 $e2e_settings_ok)"
xdotool mousemove $(((ol + or) / 2)) $(((ot + ob) / 2))
assert_ok "the hint goes with the pointer" drv wait-hint 0 "$E2E_WAIT_MS"

drv_ok set-text TForm2 $e2e_settings_delay soon
e2e_click_settings_ok
e2e_wait_box "*: 'soon' is not a valid integer value"
assert_eq "the dialog owns its error box, which therefore lies above it" TForm2 "$(drv_ok owner '#32770')"
e2e_answer enter
drv_ok set-text TForm2 $e2e_settings_delay 100
e2e_click_settings_ok
assert_ok "OK closes the dialog" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class TForm2 0 >/dev/null 2>&1"
sleep "$E2E_SETTLE_S"
assert_eq "with the hotkey free again, OK says nothing" '' "$(drv_ok boxes)"
e2e_open_target
drv_ok keys ctrl+alt+down
assert_ok "and the hotkey works" drv wait-visible 1 "$E2E_WAIT_MS"

# -- A double click on an option button toggles it twice.
read -r left top _ _ <<<"$(drv_ok window-rect)"
plus_cr_x=$((left + 194 + 14))
plus_cr_y=$((top + 2 + 8))
e2e_click "$plus_cr_x" "$plus_cr_y" left
assert_eq "a click puts +cR down" 1 "$(drv_ok button-state $e2e_button_crlf)"
e2e_click "$plus_cr_x" "$plus_cr_y" double
assert_eq "a double click toggles it twice: down again" 1 "$(drv_ok button-state $e2e_button_crlf)"
e2e_click "$plus_cr_x" "$plus_cr_y" double
sleep 0.3
e2e_click "$plus_cr_x" "$plus_cr_y" left
assert_eq "after another double click and a click: up" 0 "$(drv_ok button-state $e2e_button_crlf)"

# -- The notification area restarts and has forgotten the icon.
e2e_click 200 300 left
drv_ok tray-forget
assert_eq "the icon is gone from the notification area" 0 "$(drv_ok tray-present)"
drv_ok taskbar-created
assert_ok "TaskbarCreated brings it back" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' tray-present)\" = 1 ]"
read -r icon_x icon_y <<<"$(drv_ok tray-icon)"
e2e_click "$icon_x" "$icon_y" right
assert_ok "and its menu opens again" drv wait-menu "$E2E_WAIT_MS"
drv_ok keys esc
e2e_close

# -- No hotkey at all in the settings file.
e2e_fresh_folder
e2e_settings hotkey=Ctrl+Banana
e2e_launch
e2e_wait_box '*: "Ctrl+Banana" is not a hotkey that Solvane Clips can use.*'
e2e_answer enter
e2e_wait_started
e2e_close
assert_ok "the text is kept as typed" grep -q 'ComboBox1.Text=Ctrl+Banana' "$E2E_DIR/Solvaneclips.ini"
e2e_done
