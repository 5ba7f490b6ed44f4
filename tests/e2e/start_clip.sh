#!/usr/bin/env bash
# The text on the clipboard when the program starts becomes clip line 0.
. "$(dirname "$0")/lib.sh" "$@"

e2e_keep_desktop
e2e_copy 'there before the start'
assert_eq "the clipboard holds the text before the start" \
  'there before the start' "$(drv_ok get-clip)"

e2e_start
e2e_wait_title 0 'there before the start'
assert_titles "the start text is the only clip" 'there before the start'
assert_items_well_formed
e2e_close
e2e_done
