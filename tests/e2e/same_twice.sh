#!/usr/bin/env bash
# The same text copied twice in a row is one clip.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_copy 'twice'
e2e_wait_title 0 'twice'
e2e_copy 'twice'
# A different text after the repeat: once it shows, the repeat has been
# handled too, so the whole list can be compared.
e2e_copy 'then other'
e2e_wait_title 0 'then other'
assert_titles "the repeat added no clip" 'then other' 'twice'
assert_items_well_formed
e2e_close
e2e_done
