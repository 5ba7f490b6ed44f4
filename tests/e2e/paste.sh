#!/usr/bin/env bash
# With an application in front, Ctrl+Alt+Down brings the clip window up with
# the pointer on it, and a label key pastes that line's clip into the
# application: one clip (its title moves to the top), the run from it up to
# the newest (run-to-top button), or with a line ending added (+cR, +CR). A
# key with no clip pastes nothing; the hotkey again hides the window. A paste
# never adds a clip.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_copy 'alpha'
e2e_wait_title 0 'alpha'
e2e_copy 'bravo'
e2e_wait_title 0 'bravo'
e2e_copy 'charlie'
e2e_wait_title 0 'charlie'

show_window() {
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

# assert_pasted KEY TEXT: after KEY was pressed in the clip window, the
# application in front (emptied before) comes to hold TEXT.
assert_pasted() {
  assert_ok "key $1 pastes \"$2\" into the application in front" drv wait-target-text "$2" "$E2E_WAIT_MS"
}

# Run to top: from line 2 of charlie, bravo, alpha up to line 0. The window
# was centred at the start; moved before the first hotkey, it stays there.
drv_ok move-window 10 10
drv_ok click $e2e_button_run_to_top
assert_eq "the run-to-top button is down after a click" 1 "$(drv_ok button-state $e2e_button_run_to_top)"
show_window "the hotkey shows the window"
read -r left top right bottom <<<"$(drv_ok window-rect)"
assert_eq "the first hotkey shows the window where it was put" "10 10" "$left $top"
assert_ok "the pointer is put on the window" drv wait-cursor $((left + 247)) $((top + 118)) "$E2E_WAIT_MS"
drv_ok keys 3
assert_pasted 3 'alpha\r\nbravo\r\ncharlie\r\n'
assert_eq "the clipboard holds the run, oldest first" 'alpha\r\nbravo\r\ncharlie\r\n' "$(drv_ok get-clip)"
assert_eq "the paste hides the window" 0 "$(drv_ok visible)"
assert_eq "the run-to-top button is up after the paste" 0 "$(drv_ok button-state $e2e_button_run_to_top)"
assert_titles "a run moves no title" 'charlie' 'bravo' 'alpha'

# One clip; the window shows where it was left, not centred again.
drv_ok target-clear
drv_ok move-window 100 50
show_window "the hotkey shows the window again"
assert_eq "the window stays where it was put" "100 50" "$(drv_ok window-rect | cut -d' ' -f1,2)"
assert_ok "the pointer follows the window" drv wait-cursor 347 168 "$E2E_WAIT_MS"
drv_ok keys 2
assert_pasted 2 'bravo'
assert_eq "the clipboard holds the clip" 'bravo' "$(drv_ok get-clip)"
assert_eq "the paste hides the window" 0 "$(drv_ok visible)"
assert_titles "the pasted title moves to the top" 'bravo' 'charlie' 'alpha'

# +cR adds CR LF.
drv_ok target-clear
drv_ok click $e2e_button_crlf
assert_eq "+cR is down after a click" 1 "$(drv_ok button-state $e2e_button_crlf)"
show_window "the hotkey shows the window for +cR"
drv_ok keys 3
assert_pasted 3 'alpha\r\n'
assert_eq "+cR: the clipboard holds the clip and CR LF" 'alpha\r\n' "$(drv_ok get-clip)"
assert_titles "the pasted title moves to the top" 'alpha' 'bravo' 'charlie'
# Unlike run-to-top, a line-end button stays down for the next paste.
assert_eq "+cR stays down after the paste" 1 "$(drv_ok button-state $e2e_button_crlf)"
drv_ok click $e2e_button_crlf
assert_eq "+cR is up after a second click" 0 "$(drv_ok button-state $e2e_button_crlf)"

# +CR adds CR LF LF.
drv_ok target-clear
drv_ok click $e2e_button_crlflf
assert_eq "+CR is down after a click" 1 "$(drv_ok button-state $e2e_button_crlflf)"
show_window "the hotkey shows the window for +CR"
drv_ok keys 3
assert_pasted 3 'charlie\r\n\n'
assert_eq "+CR: the clipboard holds the clip, CR LF and LF" 'charlie\r\n\n' "$(drv_ok get-clip)"
assert_titles "the pasted title moves to the top" 'charlie' 'alpha' 'bravo'
assert_eq "+CR stays down after the paste" 1 "$(drv_ok button-state $e2e_button_crlflf)"
drv_ok click $e2e_button_crlflf
assert_eq "+CR is up after a second click" 0 "$(drv_ok button-state $e2e_button_crlflf)"

# A label with no line behind it.
drv_ok target-clear
clip_before=$(drv_ok get-clip)
show_window "the hotkey shows the window for a key without a clip"
drv_ok keys z
# Nothing to wait for when nothing should happen: give it time to go wrong.
sleep "$E2E_SETTLE_S"
assert_eq "Z with three clips leaves the window up" 1 "$(drv_ok visible)"
assert_eq "Z with three clips leaves the clipboard alone" "$clip_before" "$(drv_ok get-clip)"
assert_eq "Z with three clips pastes nothing" '' "$(drv_ok target-text)"
drv_ok keys ctrl+alt+down
assert_ok "the hotkey again hides the window" drv wait-visible 0 "$E2E_WAIT_MS"

assert_titles "no paste added a clip" 'charlie' 'alpha' 'bravo'
assert_items_well_formed
e2e_close
e2e_done
