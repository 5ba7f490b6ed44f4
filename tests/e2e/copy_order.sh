#!/usr/bin/env bash
# Copying A, B, A gives three clips, newest first: only a repeat of the
# newest clip is dropped, not an older one.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
assert_eq "an empty clipboard at the start gives no clip" 0 "$(drv_ok count)"

e2e_copy 'alpha'
e2e_wait_title 0 'alpha'
e2e_copy 'bravo'
e2e_wait_title 0 'bravo'
e2e_copy 'alpha'
assert_ok "the third copy makes three clips" drv wait-count 3 "$E2E_WAIT_MS"
assert_titles "clips newest first" 'alpha' 'bravo' 'alpha'
assert_items_well_formed
e2e_close
e2e_done
