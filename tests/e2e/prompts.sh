#!/usr/bin/env bash
# With the prompts turned on in the settings file, Clear Clips and Quit ask
# first, with the pointer put on the box: No leaves the clips, the files and
# the hidden window as they were; Yes empties the list and both files, or
# ends the program with the history saved.
. "$(dirname "$0")/lib.sh" "$@"

# The desktop of the test prefix, set in scripts/wine-env.sh.
desktop_w=1280
desktop_h=800

e2e_fresh_folder
e2e_settings prompt_clear=on prompt_quit=on
e2e_start
e2e_open_target
e2e_copy 'one'
e2e_wait_title 0 'one'
e2e_copy 'two'
e2e_wait_title 0 'two'
drv_ok command save >/dev/null
items=$(drv_ok items)
e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
e2e_store_file "$items" 'two' 'one' >"$e2e_tmp/Cb1.want"
e2e_wait_file "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx" || e2e_fatal "Save Clips did not write the clips"

# Clear Clips, answered No.
drv_ok command clear >/dev/null
e2e_wait_box 'Confirm: Clear all current clips?'
assert_ok "the pointer is put on the clear prompt" \
  drv wait-cursor $((desktop_w / 2 - 20)) $((desktop_h / 2 + 33)) "$E2E_WAIT_MS"
e2e_answer n
sleep "$E2E_SETTLE_S"
assert_titles "No keeps the clips" 'two' 'one'
assert_eq "No leaves the window hidden" 0 "$(drv_ok visible)"
assert_file_bytes "No leaves Lb1.qlx as it was" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
assert_file_bytes "No leaves Cb1.qlx as it was" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"

# Clear Clips, answered Yes.
drv_ok command clear >/dev/null
e2e_wait_box 'Confirm: Clear all current clips?'
e2e_answer y
assert_ok "Yes empties the list" drv wait-count 0 "$E2E_WAIT_MS"
: >"$e2e_tmp/empty"
assert_ok "Yes empties Lb1.qlx" e2e_wait_file "$e2e_tmp/empty" "$E2E_DIR/Lb1.qlx"
assert_ok "Yes empties Cb1.qlx" e2e_wait_file "$e2e_tmp/empty" "$E2E_DIR/Cb1.qlx"

# Quit, answered No, then Yes.
e2e_copy 'three'
e2e_wait_title 0 'three'
drv_ok command quit >/dev/null
e2e_wait_box 'Confirm: Quit Solvane Clips?'
assert_ok "the pointer is put on the quit prompt" \
  drv wait-cursor $((desktop_w / 2 - 25)) $((desktop_h / 2 + 35)) "$E2E_WAIT_MS"
e2e_answer n
sleep "$E2E_SETTLE_S"
assert_ok "No keeps the program running" kill -0 "$E2E_PID"
assert_titles "No keeps the clips on Quit" 'three'
assert_eq "No leaves the window hidden on Quit" 0 "$(drv_ok visible)"

items=$(drv_ok items)
drv_ok command quit >/dev/null
e2e_wait_box 'Confirm: Quit Solvane Clips?'
e2e_answer y
e2e_wait_exit "Yes ends the program"
e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
assert_file_bytes "Quit saves the list" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
e2e_store_file "$items" 'three' >"$e2e_tmp/Cb1.want"
assert_file_bytes "Quit saves the clips" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
e2e_done
