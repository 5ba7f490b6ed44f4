#!/usr/bin/env bash
# Every failure is shown once, and none leaves the user stuck. A stored paste
# delay that is no number, or a "prefs.qlx" that cannot be read, is said in
# one box; the start then goes on to the tray with the default for it, the
# hotkey works and brings no second box. A delay that OK refused is never
# saved. A Quit that asks "Quit anyway?" ends the program on Yes. "Settings..."
# with the dialog open brings that one dialog to the front.
. "$(dirname "$0")/lib.sh" "$@"

ini() { tr -d '\r' <"$E2E_DIR/Solvaneclips.ini"; }

# one_box_then_tray WHAT PATTERN: the start shows one box matching PATTERN;
# after Enter no other comes, the window goes to the tray, and the hotkey
# shows it with no box.
one_box_then_tray() {
  e2e_launch
  e2e_wait_box "$2"
  e2e_answer enter
  e2e_wait_started
  sleep "$E2E_SETTLE_S"
  assert_eq "$1: after Enter no box comes back" '' "$(drv_ok boxes)"
  e2e_open_target
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1: the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
  sleep "$E2E_SETTLE_S"
  assert_eq "$1: and brings no second box" '' "$(drv_ok boxes)"
}

# -- A stored paste delay that is no number.
e2e_fresh_folder
e2e_settings delay=abc
one_box_then_tray "delay abc" "*: 'abc' is not a valid integer value"
e2e_copy 'pasted after the delay box'
e2e_wait_title 0 'pasted after the delay box'
drv_ok target-clear
drv_ok keys 1 >/dev/null
assert_ok "a label pastes with the default delay" drv wait-target-text 'pasted after the delay box' "$E2E_WAIT_MS"
e2e_close
assert_eq "the close keeps the delay in force" 'ComboBox2.Text=100' "$(ini | grep ComboBox2)"

# -- No "prefs.qlx": the default flags, written at the close.
e2e_fresh_folder
rm "$E2E_DIR/prefs.qlx"
one_box_then_tray "no prefs.qlx" '*: Cannot open file *\\prefs.qlx'
e2e_close
assert_eq "the close writes the default flags" '0000000000' "$(tr -d '\r\n' <"$E2E_DIR/prefs.qlx")"

# -- A delay typed into the dialog and refused by OK, then Quit.
e2e_fresh_folder
e2e_start
drv_ok command settings
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open: $rect"
drv_ok set-text TForm2 $e2e_settings_delay abc
e2e_click_settings_ok
e2e_wait_box "*: 'abc' is not a valid integer value"
e2e_answer enter
assert_ok "OK refused it: the dialog stays open" drv wait-class TForm2 0
# "Settings..." again: the one dialog comes to the front, not a second run of it.
e2e_click 200 300 left
drv_ok command settings
assert_ok "Settings... brings the open dialog to the front" \
  e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' foreground)\" = 'TForm2 visible' ]"
drv_ok set-text TForm2 $e2e_settings_delay 250
e2e_click_settings_ok
assert_ok "one OK closes it" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class TForm2 0 >/dev/null 2>&1"
drv_ok command settings
drv wait-class TForm2 "$E2E_WAIT_MS" >/dev/null || e2e_fatal "the settings dialog did not open again"
drv_ok set-text TForm2 $e2e_settings_delay abc
e2e_click_settings_ok
e2e_wait_box "*: 'abc' is not a valid integer value"
e2e_answer enter
drv_ok command quit
e2e_wait_exit "Quit with the dialog open ends the program"
assert_eq "the refused delay is not saved: the accepted one is" 'ComboBox2.Text=250' "$(ini | grep ComboBox2)"
e2e_launch
e2e_wait_started
assert_eq "so the next start shows no box" '' "$(drv_ok boxes)"
e2e_close

# -- A "prefs.qlx" that is a folder: read at start, written at the close.
e2e_fresh_folder
rm "$E2E_DIR/prefs.qlx"
mkdir "$E2E_DIR/prefs.qlx"
one_box_then_tray "prefs.qlx a folder" '*: Cannot open file *\\prefs.qlx'
drv_ok command quit
e2e_wait_box 'Confirm: Solvane Clips could not save everything:*prefs.qlx*Quit anyway?*'
drv_ok keys y >/dev/null
e2e_wait_exit "Yes to \"Quit anyway?\" ends the program"
e2e_done
