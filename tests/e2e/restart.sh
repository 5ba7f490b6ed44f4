#!/usr/bin/env bash
# The history outlives the program. Ending the session and closing write the
# title file and the clip file in their exact layout (prefs.qlx only on
# close); a new start reads them back in order and puts the clipboard's text
# on top, even when it equals the newest stored clip. Save Clips writes the
# files; Clear Clips empties the list and leaves both files empty.
. "$(dirname "$0")/lib.sh" "$@"

# Texts copied between two runs must outlive the program.
e2e_keep_desktop

# expect_files TEXT...: what both files must hold for the list shown now,
# whose clips have the given texts, newest first.
expect_files() {
  local items
  items=$(drv_ok items)
  e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
  e2e_store_file "$items" "$@" >"$e2e_tmp/Cb1.want"
}

assert_files() {
  assert_file_bytes "$1: Lb1.qlx" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
  assert_file_bytes "$1: Cb1.qlx" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
}

# Modification time to the nanosecond: a rewrite with the same bytes shows.
mtime() { stat -c %.9Y "$1"; }

e2e_fresh_folder
prefs_time=$(mtime "$E2E_DIR/prefs.qlx")
e2e_start
e2e_copy 'first'
e2e_wait_title 0 'first'
e2e_copy 'second\r\nline two'
e2e_wait_title 0 'second...'
e2e_copy 'third \\ last'
e2e_wait_title 0 'third \\ last'
assert_items_well_formed

assert_eq "WM_QUERYENDSESSION is answered with 1" 1 "$(drv_ok end-session)"
# The answer comes after the handler ran: the files are written by now.
expect_files 'third \\ last' 'second\r\nline two' 'first'
assert_files "after WM_QUERYENDSESSION"
assert_file_bytes "WM_QUERYENDSESSION leaves prefs.qlx as it was" "$E2E_FIRST_START/prefs.qlx" "$E2E_DIR/prefs.qlx"
assert_eq "WM_QUERYENDSESSION does not write prefs.qlx" "$prefs_time" "$(mtime "$E2E_DIR/prefs.qlx")"

items_before=$(drv_ok items)
e2e_close
assert_files "after WM_CLOSE"
printf '0000000000\r\n' >"$e2e_tmp/prefs.want"
assert_file_bytes "WM_CLOSE writes prefs.qlx unchanged" "$e2e_tmp/prefs.want" "$E2E_DIR/prefs.qlx"

# Second run, another text on the clipboard.
e2e_copy 'copied before the restart'
e2e_start
e2e_wait_title 0 'copied before the restart'
assert_eq "the stored clips come back below it in order, keys and all" \
  "$items_before" "$(drv_ok items | tail -n +2)"
assert_titles "the titles after the restart" \
  'copied before the restart' 'third \\ last' 'second...' 'first'

e2e_copy 'fifth'
e2e_wait_title 0 'fifth'
# Emptied by hand, so only a save can bring the contents back.
: >"$E2E_DIR/Lb1.qlx"
: >"$E2E_DIR/Cb1.qlx"
expect_files 'fifth' 'copied before the restart' 'third \\ last' 'second\r\nline two' 'first'
drv_ok command save
# The clip file is written last.
e2e_wait_file "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
assert_files "after Save Clips"
e2e_close

# Third run: the clipboard still holds the newest stored clip.
assert_eq "the clipboard still holds the last copy" 'fifth' "$(drv_ok get-clip)"
e2e_start
assert_ok "the start adds the clipboard's text even though it equals the newest clip" \
  drv wait-count 6 "$E2E_WAIT_MS"
assert_titles "the titles after the second restart" \
  'fifth' 'fifth' 'copied before the restart' 'third \\ last' 'second...' 'first'

drv_ok command clear
assert_ok "Clear Clips empties the list" drv wait-count 0 "$E2E_WAIT_MS"
: >"$e2e_tmp/empty"
e2e_wait_file "$e2e_tmp/empty" "$E2E_DIR/Cb1.qlx"
assert_file_bytes "Clear Clips leaves Cb1.qlx empty" "$e2e_tmp/empty" "$E2E_DIR/Cb1.qlx"
assert_file_bytes "Clear Clips leaves Lb1.qlx empty" "$e2e_tmp/empty" "$E2E_DIR/Lb1.qlx"
e2e_close
assert_file_bytes "closing after Clear Clips keeps Lb1.qlx empty" "$e2e_tmp/empty" "$E2E_DIR/Lb1.qlx"
assert_file_bytes "closing after Clear Clips keeps Cb1.qlx empty" "$e2e_tmp/empty" "$E2E_DIR/Cb1.qlx"
e2e_done
