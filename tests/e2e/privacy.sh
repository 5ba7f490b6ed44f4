#!/usr/bin/env bash
# A copy marked for clipboard monitors to skip (a password manager's) is not
# recorded, whichever of the three markers it carries: no title, and nothing
# of it in the files after Save Clips. A second start from the same folder
# ends by itself and leaves the running program and its files alone.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_copy 'before'
e2e_wait_title 0 'before'
for format in ignore exclude history0; do
  drv_ok set-secret "hunter2-$format" "$format" >/dev/null
  assert_eq "the $format copy reached the clipboard" "hunter2-$format" "$(drv_ok get-clip)"
done
e2e_copy 'after'
# The copies before it were seen first: once this one is in, they had their
# chance to be recorded.
e2e_wait_title 0 'after'
assert_titles "only the plain copies are clips" 'after' 'before'

drv_ok command save >/dev/null
items=$(drv_ok items)
e2e_store_file "$items" 'after' 'before' >"$e2e_tmp/Cb1.want"
e2e_wait_file "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx" || e2e_fatal "Save Clips did not write the clips"
assert_eq "no marked copy is in the clip or title file" '' \
  "$(grep -l hunter2 "$E2E_DIR/Cb1.qlx" "$E2E_DIR/Lb1.qlx")"

cp "$E2E_DIR/Cb1.qlx" "$E2E_DIR/Lb1.qlx" "$e2e_tmp/"
(cd "$E2E_DIR" && exec wine SolvaneClips.exe </dev/null >>"$e2e_tmp/second.log" 2>&1) &
second=$!
for _ in $(seq 1 $((E2E_WAIT_MS / 100))); do
  kill -0 "$second" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$second" 2>/dev/null; then
  e2e_fail "a second start from the same folder still runs after $E2E_WAIT_MS ms"
  kill -9 "$second" 2>/dev/null
else
  E2E_CHECKS=$((E2E_CHECKS + 1))
  e2e_log "ok: a second start from the same folder ends by itself"
fi
wait "$second" 2>/dev/null
assert_ok "the first program still runs" kill -0 "$E2E_PID"
assert_file_bytes "the second start leaves Cb1.qlx alone" "$e2e_tmp/Cb1.qlx" "$E2E_DIR/Cb1.qlx"
assert_file_bytes "the second start leaves Lb1.qlx alone" "$e2e_tmp/Lb1.qlx" "$E2E_DIR/Lb1.qlx"
e2e_copy 'still watching'
e2e_wait_title 0 'still watching'
assert_titles "the first program keeps recording" 'still watching' 'after' 'before'
e2e_close
e2e_done
