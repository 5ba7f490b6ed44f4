#!/usr/bin/env bash
# A save cut short by the program's end (a crash, a power cut: the process
# is terminated at a random moment after Save Clips, or after WM_CLOSE,
# which also writes prefs.qlx and the settings file) leaves each file
# exactly as it was or exactly as the save meant it, never a mix or a
# truncated file; the next start loads it without complaint, and no
# unfinished copy outlives the next whole save.
. "$(dirname "$0")/lib.sh" "$@"

e2e_fresh_folder
# A history of 3,000 clips (3 MB), so that a save takes a while.
awk 'BEGIN {
  pad = sprintf("%70s", "")
  text = ""
  for (j = 0; j < 10; j++) text = text sprintf("%-98s\r\n", "line " j " of a clip that was copied some time ago")
  for (i = 0; i < 3000; i++) {
    key = sprintf("%013d", 1000000000000 + 7 * i)
    printf "clip %d%s/:hdr:\\%s\r\n", i, pad, key > "Lb1.qlx"
    printf "/:hdr:\\%s\r\n%s/:tlr:\\%s\r\n", key, text, key > "Cb1.qlx"
  }
}' </dev/null
mv Lb1.qlx Cb1.qlx "$E2E_DIR/"

# same_file A B: whether the two files hold the same bytes.
same_file() { cmp -s "$1" "$2"; }

news=0
# classify ROUND WHAT NAME: logs and checks that the folder's NAME is the
# copy NAME.old or NAME.new in the test's folder, whole.
classify() {
  local outcome
  if same_file "$E2E_DIR/$3" "$e2e_tmp/$3.old"; then
    outcome=old
  elif same_file "$E2E_DIR/$3" "$e2e_tmp/$3.new"; then
    outcome=new
  else
    outcome="neither ($(stat -c %s "$E2E_DIR/$3" 2>/dev/null) bytes)"
  fi
  e2e_log "round $1, $2: $3 $outcome"
  assert_ok "round $1: $3 is the old or the new file, whole" test "${outcome%% *}" != neither
}

# kill_round ROUND ACTION DELAY: starts the program, copies a text, asks for
# ACTION (save or close) and ends the program DELAY ms later.
kill_round() {
  cp "$E2E_DIR/Lb1.qlx" "$e2e_tmp/Lb1.qlx.old"
  cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.qlx.old"
  # The start records the clipboard's text; an empty one adds nothing.
  drv_ok clear-clip
  e2e_start
  assert_eq "round $1: the start shows no error" '' "$(drv_ok boxes)"
  e2e_copy "killed during round $1"
  e2e_wait_title 0 "killed during round $1"
  local first
  first=$(drv_ok items | head -n 1)
  { e2e_title_file "$first"; cat "$e2e_tmp/Lb1.qlx.old"; } >"$e2e_tmp/Lb1.qlx.new"
  { e2e_store_file "$first" "killed during round $1"; cat "$e2e_tmp/Cb1.qlx.old"; } >"$e2e_tmp/Cb1.qlx.new"
  drv_ok "$2-and-kill" "$3"
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=""
  classify "$1" "killed $3 ms after $2" Lb1.qlx
  classify "$1" "killed $3 ms after $2" Cb1.qlx
  same_file "$E2E_DIR/Lb1.qlx" "$e2e_tmp/Lb1.qlx.new" && news=$((news + 1))
  return 0
}

# One round per 10 ms band of the first 100 ms after Save Clips (a save of
# this history takes some tens of ms here), a random moment within each:
# before, during and after the writes and the swaps.
for round in 1 2 3 4 5 6 7 8 9 10; do
  kill_round "$round" save $(((round - 1) * 10 + RANDOM % 10))
done

# The close writes the clip files, then prefs.qlx, then the settings file.
# Old ones that a whole close changes, and the new ones learnt from a close
# that is let finish.
printf '0000000000\r\nleft by hand\r\n' >"$e2e_tmp/prefs.qlx.old"
e2e_settings_text prompt_quit=off >"$e2e_tmp/Solvaneclips.ini.old"
cp "$e2e_tmp/prefs.qlx.old" "$E2E_DIR/prefs.qlx"
cp "$e2e_tmp/Solvaneclips.ini.old" "$E2E_DIR/Solvaneclips.ini"
drv_ok clear-clip
e2e_start
e2e_close
cp "$E2E_DIR/prefs.qlx" "$e2e_tmp/prefs.qlx.new"
cp "$E2E_DIR/Solvaneclips.ini" "$e2e_tmp/Solvaneclips.ini.new"
assert_ok "a whole close rewrites prefs.qlx" test "$(cat "$e2e_tmp/prefs.qlx.new")" != "$(cat "$e2e_tmp/prefs.qlx.old")"
assert_ok "a whole close rewrites the settings file" \
  test "$(cat "$e2e_tmp/Solvaneclips.ini.new")" != "$(cat "$e2e_tmp/Solvaneclips.ini.old")"
# One round per 15 ms band of the first 180 ms after WM_CLOSE.
for round in 11 12 13 14 15 16 17 18 19 20 21 22; do
  cp "$e2e_tmp/prefs.qlx.old" "$E2E_DIR/prefs.qlx"
  cp "$e2e_tmp/Solvaneclips.ini.old" "$E2E_DIR/Solvaneclips.ini"
  delay=$(((round - 11) * 15 + RANDOM % 15))
  kill_round "$round" close "$delay"
  classify "$round" "killed $delay ms after close" prefs.qlx
  classify "$round" "killed $delay ms after close" Solvaneclips.ini
done

# The history as the saves left it loads in full.
drv_ok clear-clip
e2e_start
assert_eq "the last start shows no error" '' "$(drv_ok boxes)"
assert_eq "every title that reached the disk is listed" $((3000 + news)) "$(drv_ok count)"
e2e_close
assert_eq "no unfinished copy is left once a save has gone through" '' "$(cd "$E2E_DIR" && ls ./*.saving 2>/dev/null)"
e2e_done
