#!/usr/bin/env bash
# A clip of several lines is titled by its first line and "...".
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_copy 'line one\r\nline two'
assert_ok "the two-line text is captured" drv wait-count 1 "$E2E_WAIT_MS"
assert_titles "the title is the first line and ..." 'line one...'
assert_eq "the clipboard keeps both lines" 'line one\r\nline two' "$(drv_ok get-clip)"
assert_items_well_formed
e2e_close
e2e_done
