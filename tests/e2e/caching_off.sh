#!/usr/bin/env bash
# With caching switched off (menu command 0x0101), a copy is not recorded;
# switched on again, copies are recorded again.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_copy 'while caching'
e2e_wait_title 0 'while caching'

# The command is posted, as the tray menu does; the copy below comes a whole
# Wine process start later, long after the program has taken the command.
drv_ok command 0x0101
e2e_copy 'not recorded'
assert_eq "the copy reached the clipboard" 'not recorded' "$(drv_ok get-clip)"
# Nothing to wait for when nothing should happen: give it time to go wrong.
sleep "$E2E_SETTLE_S"
assert_titles "the copy made with caching off is not in the list" 'while caching'

drv_ok command 0x0101
e2e_copy 'recorded again'
e2e_wait_title 0 'recorded again'
assert_items_well_formed
e2e_close
e2e_done
