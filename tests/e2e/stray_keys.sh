#!/usr/bin/env bash
# Keys reach the clip window only while the hotkey has it up, and then in
# every message loop the program runs. A box that closes while the window is
# hidden hands the activation back to the application, so a label key
# pastes nothing (with 40 clips the paste's own V, label 31, used to paste
# again and again). With the settings dialog open, or a box waiting, the
# window that the hotkey shows still pastes by its labels. Past line 72
# every visible line bears its own label, 13 pixels high, and its key
# pastes that line.
. "$(dirname "$0")/lib.sh" "$@"

# wanted_titles N: "clip N" down to "clip 1", one a line.
wanted_titles() { seq "$1" -1 1 | sed 's/^/clip /'; }

# show_window WHAT: the application in front, then the hotkey.
show_window() {
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

# -- The start's box closes while the window is hidden.
e2e_fresh_folder
e2e_history 40
printf '\xff\xfe not UTF-8\r\n' >"$E2E_DIR/Cb1.utf8.qlx"
e2e_open_target
e2e_launch
e2e_wait_box '*: The file *Cb1.utf8.qlx is damaged*'
e2e_answer enter
e2e_wait_started
assert_ok "the box's closing leaves the hidden window inactive ($(drv_ok foreground))" \
  test "$(drv_ok foreground)" != 'TForm1 hidden'
drv_ok keys 2 >/dev/null
sleep "$E2E_SETTLE_S"
assert_eq "a label key then pastes nothing: the list is as loaded" "$(wanted_titles 40)" "$(e2e_titles)"
assert_ok "and the clipboard stays empty" sh -c "! wine '$E2E_DRIVER' get-clip >/dev/null 2>&1"
assert_eq "no box came meanwhile" '' "$(drv_ok boxes)"

# -- The settings dialog open: its own loop takes the keys.
drv_ok target-clear
drv_ok command settings
drv wait-class TForm2 "$E2E_WAIT_MS" >/dev/null || e2e_fatal "the settings dialog did not open"
show_window "with the settings dialog open, the hotkey shows the window"
drv_ok keys 2 >/dev/null
assert_ok "and a label key pastes its clip" drv wait-target-text 'clip 39' "$E2E_WAIT_MS"
assert_eq "the pasted clip goes to the top" 'clip 39' "$(e2e_titles | head -n 1)"
assert_ok "the dialog is still open" drv wait-class TForm2 0
rm "$E2E_DIR/Cb1.utf8.qlx"  # else the close keeps it aside, and says so in a box
e2e_close

# -- A question waiting: the message box's loop takes the keys.
e2e_fresh_folder
e2e_history 40
e2e_settings prompt_clear=on
drv_ok clear-clip  # else the start records the last paste as a new clip
e2e_start
drv_ok target-clear
drv_ok command clear
e2e_wait_box 'Confirm: Clear all current clips?'
show_window "with a question waiting, the hotkey shows the window"
drv_ok keys 3 >/dev/null
assert_ok "and a label key pastes its clip" drv wait-target-text 'clip 38' "$E2E_WAIT_MS"
e2e_close
assert_ok "the close saved the list in its new order" grep -aq '^clip 38 ' "$E2E_DIR/Lb1.qlx"

# -- Scrolled past line 72, each label still stands beside the line its key
# pastes. Line n holds "clip 100-n" and bears label n mod 36.
e2e_fresh_folder
e2e_history 100
e2e_start
e2e_open_target
for round in '64 1 72' '50 Z 71' '30 5 40'; do
  read -r top key line <<<"$round"
  show_window "the hotkey shows the window (scroll to $top)"
  drv_ok scroll "$top"
  assert_ok "the labels follow the list to $top (rows from $((top % 36)))" e2e_wait_until sh -c \
    "[ \"\$(wine '$E2E_DRIVER' list-state $e2e_label_list | cut -d' ' -f1)\" = $((top % 36)) ]"
  read -r list_top list_height _ <<<"$(drv_ok list-state $e2e_title_list)"
  read -r _ label_height label_count <<<"$(drv_ok list-state $e2e_label_list)"
  assert_eq "the list is scrolled to $top" "$top" "$list_top"
  assert_eq "labels and lines are 13 pixels high" "13 13" "$label_height $list_height"
  assert_eq "the label column holds 72 rows" 72 "$label_count"
  expected=$(e2e_titles | sed -n "$((line + 1))p")
  drv_ok target-clear
  drv_ok keys "$key" >/dev/null
  assert_ok "scrolled to $top, \"$key\" pastes line $line ($expected)" \
    drv wait-target-text "$expected" "$E2E_WAIT_MS"
done
e2e_close
e2e_done
