#!/usr/bin/env bash
# Text copied by an X11 program reaches the program through Wine's clipboard
# bridge. Wine may report it twice; the repeat rule keeps it one clip.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_copy 'from windows'
e2e_wait_title 0 'from windows'

e2e_x11_copy 'x11 text'
e2e_wait_title 0 'x11 text'
# A second report of the same selection comes shortly after the first.
sleep "$E2E_SETTLE_S"
assert_titles "the X11 text is one clip on top" 'x11 text' 'from windows'
assert_eq "the clipboard holds the X11 text" 'x11 text' "$(drv_ok get-clip)"
assert_items_well_formed
e2e_close
e2e_done
