#!/usr/bin/env bash
# Another program holding the clipboard open for a moment (200 ms, as busy
# clipboard tools and remote-desktop clients do) costs nothing: a text it
# copied just before is still recorded, and a paste made meanwhile still
# delivers its text. A clipboard that stays locked pastes nothing: no Ctrl+V
# reaches the application and no error box comes up.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_copy 'alpha'
e2e_wait_title 0 'alpha'

# A copy whose program opens the clipboard again at once and keeps it.
drv_ok hold-clip 200 copy 'held copy' >/dev/null
e2e_wait_title 0 'held copy'
assert_titles "a copy followed by a held clipboard is recorded" 'held copy' 'alpha'

show_window() {
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

# Label 2 pressed while the clipboard is held for 200 ms.
show_window "the hotkey shows the window"
drv_ok hold-clip 200 keys 2 >/dev/null
assert_ok "a paste during a 200 ms hold delivers its clip" drv wait-target-text 'alpha' "$E2E_WAIT_MS"
assert_eq "one Ctrl+V reached the application" 1 "$(drv_ok target-ctrl-v)"
assert_eq "the pasted clip is on the clipboard" 'alpha' "$(drv_ok get-clip)"
assert_titles "the paste moved its title up and recorded nothing" 'alpha' 'held copy'

# Label 2 pressed while the clipboard is held for 3 s: the program gives up.
drv_ok target-clear
show_window "the hotkey shows the window again"
drv_ok hold-clip 3000 keys 2 >/dev/null
sleep "$E2E_SETTLE_S"
assert_eq "a locked clipboard sends no Ctrl+V" 1 "$(drv_ok target-ctrl-v)"
assert_eq "a locked clipboard pastes nothing" '' "$(drv_ok target-text)"
assert_eq "a locked clipboard shows no error" '' "$(drv_ok boxes)"
assert_titles "a failed paste moves no title" 'alpha' 'held copy'
assert_eq "the window stays up for another try" 1 "$(drv_ok visible)"

# Once the clipboard is free, the same key pastes.
drv_ok keys 2
assert_ok "the next try pastes" drv wait-target-text 'held copy' "$E2E_WAIT_MS"
assert_eq "with its Ctrl+V" 2 "$(drv_ok target-ctrl-v)"
e2e_close
e2e_done
