#!/usr/bin/env bash
# Removing one clip: Delete and then a key label removes the clip at that
# label, Delete with the pointer on a line removes that line, and in a
# search Delete removes the highlighted match. The clip's title, its text in
# Cb1.qlx and its exact text in Cb1.utf8.qlx are gone at once, every other
# line stays in its order; F4, or a click on the "Deleted." notice, puts it
# back, until the window hides. Esc after Delete only cancels.
. "$(dirname "$0")/lib.sh" "$@"

# show_window WHAT: the application in front, then the hotkey.
show_window() {
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}
notice_is() { assert_ok "$1" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' control $e2e_notice)\" = '$2' ]"; }
files_hold() { grep -qF -- "$1" "$E2E_DIR/Cb1.qlx" || grep -qF -- "$1" "$E2E_DIR/Cb1.utf8.qlx" 2>/dev/null; }
files_lack() { ! files_hold "$1"; }

e2e_start
e2e_open_target
for text in 'first clip' 'password hunter2' 'third clip' 'fourth clip'; do
  e2e_copy "$text"
done
drv_ok set-clip-utf8 '\xc5\x81\xc3\xb3d\xc5\xba station'  # Łódź: kept as an exact text
e2e_wait_title 0 'L\xF3dz station'
drv_ok command save
assert_ok "the files hold the password before" files_hold 'password hunter2'
history=$(e2e_titles)

show_window "the hotkey shows the window"
drv_ok keys del >/dev/null
notice_is "Delete asks which clip" '1 0 Delete which clip?'
drv_ok keys esc >/dev/null
notice_is "Esc cancels" '0 0 Delete which clip?'
assert_eq "and leaves the window up with every clip" "1 $history" "$(drv_ok visible) $(e2e_titles)"

drv_ok keys del 4 >/dev/null  # label 4: line 3, the password
notice_is "a removal says how to undo it" '1 0 Deleted. F4 restores it.'
assert_eq "the clip at label 4 is gone, the rest in order" "$(grep -v '^password hunter2$' <<<"$history")" "$(e2e_titles)"
assert_ok "its text is gone from Cb1.qlx at once" files_lack 'password hunter2'
assert_ok "and Lb1.qlx was saved without it" sh -c "! grep -q 'password hunter2' '$E2E_DIR/Lb1.qlx'"
drv_ok keys f4 >/dev/null
notice_is "F4 puts it back" '0 0 Deleted. F4 restores it.'
assert_eq "on its own line" "$history" "$(e2e_titles)"
assert_ok "and into the file" files_hold 'password hunter2'

# With the pointer on a line, Delete takes that line; a click on the
# notice puts it back.
read -r ll lt _ _ <<<"$(drv_ok control-rect TForm1 $e2e_title_list)"
xdotool mousemove $((ll + 60)) $((lt + 2 + 13 * 1 + 6))  # line 1
drv_ok wait-cursor $((ll + 60)) $((lt + 2 + 13 * 1 + 6)) "$E2E_WAIT_MS"
drv_ok keys del >/dev/null
assert_eq "Delete with the pointer on line 1 removes it" "$(sed 2d <<<"$history")" "$(e2e_titles)"
read -r nl nt _ _ <<<"$(drv_ok control-rect TForm1 $e2e_notice)"
e2e_click $((nl + 20)) $((nt + 8)) left
notice_is "a click on the notice puts it back" '0 0 Deleted. F4 restores it.'
assert_eq "where it was" "$history" "$(e2e_titles)"

# The exact text, deleted from a search: gone from Cb1.utf8.qlx too.
drv_ok keys f3 >/dev/null
drv_ok type-chars $e2e_search_line '\xc5\x82\xc3\xb3d\xc5\xba' # łódź
assert_ok "the search finds the exact clip" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' control $e2e_search_status)\" = '1 0 1' ]"
drv_ok keys del >/dev/null
assert_ok "Delete removes the highlighted match" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' control $e2e_search_status)\" = '1 0 No clip matches' ]"
assert_ok "and its exact text is gone from the files" files_lack "$(printf '\xc5\x81\xc3\xb3d\xc5\xba station')"
drv_ok keys esc esc >/dev/null
assert_ok "Esc, Esc hides the window" drv wait-visible 0 "$E2E_WAIT_MS"
show_window "the hotkey shows it again"
drv_ok keys f4 >/dev/null
sleep 0.5
assert_eq "once the window has hidden, F4 puts nothing back" "$(sed 1d <<<"$history")" "$(e2e_titles)"
e2e_close
assert_ok "after the close the files still lack it" files_lack "$(printf '\xc5\x81\xc3\xb3d\xc5\xba station')"
e2e_done
