#!/usr/bin/env bash
# A save cut short by the program's end (a crash, a power cut: the process
# is terminated at a random moment after Save Clips) leaves each clip file
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
# One round per 10 ms band of the first 100 ms after Save Clips (a save of
# this history takes some tens of ms here), a random moment within each:
# before, during and after the writes and the swaps.
for round in 1 2 3 4 5 6 7 8 9 10; do
  cp "$E2E_DIR/Lb1.qlx" "$e2e_tmp/Lb1.old"
  cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.old"
  # The start records the clipboard's text; an empty one adds nothing.
  drv_ok clear-clip
  e2e_start
  assert_eq "round $round: the start shows no error" '' "$(drv_ok boxes)"
  e2e_copy "killed during round $round"
  e2e_wait_title 0 "killed during round $round"
  first=$(drv_ok items | head -n 1)
  { e2e_title_file "$first"; cat "$e2e_tmp/Lb1.old"; } >"$e2e_tmp/Lb1.new"
  { e2e_store_file "$first" "killed during round $round"; cat "$e2e_tmp/Cb1.old"; } >"$e2e_tmp/Cb1.new"

  delay=$(((round - 1) * 10 + RANDOM % 10))
  drv_ok save-and-kill "$delay"
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=""
  for name in Lb1 Cb1; do
    if same_file "$E2E_DIR/$name.qlx" "$e2e_tmp/$name.old"; then
      outcome=old
    elif same_file "$E2E_DIR/$name.qlx" "$e2e_tmp/$name.new"; then
      outcome=new
    else
      outcome="neither ($(stat -c %s "$E2E_DIR/$name.qlx") bytes)"
    fi
    e2e_log "round $round, killed ${delay} ms after Save Clips: $name.qlx $outcome"
    assert_ok "round $round: $name.qlx is the old or the new file, whole" test "${outcome%% *}" != neither
  done
  same_file "$E2E_DIR/Lb1.qlx" "$e2e_tmp/Lb1.new" && news=$((news + 1))
done

# The history as the saves left it loads in full.
drv_ok clear-clip
e2e_start
assert_eq "the last start shows no error" '' "$(drv_ok boxes)"
assert_eq "every title that reached the disk is listed" $((3000 + news)) "$(drv_ok count)"
e2e_close
assert_eq "no unfinished copy is left once a save has gone through" '' "$(cd "$E2E_DIR" && ls ./*.saving 2>/dev/null)"
e2e_done
