#!/usr/bin/env bash
# A long session at the desk: rounds of copies of varied texts (one
# character to 100 KB, one line or many with CR LF, blanks before the first
# visible character, repeats of earlier texts, now and then the text just
# captured again) and pastes between them, the clip window shown by the
# hotkey and gone after each paste. The program must stay up with no error
# box; its GDI and USER objects must stay flat; its private memory must grow
# with the history and not beyond it; after WM_CLOSE a new start must load
# the whole history back, every text pasting as it was copied.
#
# Short form by default: 8 rounds of 50 copies and 6 pastes. With
#   SOLVANE_LONG_RUN=1
# the long form: 50 rounds of 100 copies and 10 pastes (5,000 and 500).
. "$(dirname "$0")/lib.sh" "$@"

if [ "${SOLVANE_LONG_RUN:-0}" = 1 ]; then
  rounds=50 copies=100 pastes=10
else
  rounds=8 copies=50 pastes=6
fi

# Every clip the program recorded: its key and its text. The driver reads it
# to tell what a paste must bring, and adds to it as it copies.
journal="Z:$e2e_tmp/journal"
clips=0 bytes=0

# A 100 KB paste keeps the target's EDIT busy for seconds when the machine
# is loaded; this long is a paste allowed before it counts as lost.
paste_wait_ms=$((3 * E2E_WAIT_MS))

# round N: a series of copies, then of pastes, each from seed N.
round() {
  local recorded captured
  read -r recorded captured <<<"$(drv_ok copy-series "$journal" "$1" "$copies" "$E2E_WAIT_MS")"
  clips=$((clips + recorded)) bytes=$((bytes + captured))
  drv_ok paste-series "$journal" "$1" "$pastes" "$paste_wait_ms"
}

# The program runs, its window answers, and no box is up.
assert_running() {
  assert_ok "the program still runs $1" kill -0 "$E2E_PID"
  assert_ok "its window answers $1" drv wait-window "$E2E_WAIT_MS"
  assert_eq "no message box is up $1" "" "$(drv_ok boxes)"
}

started=$SECONDS
e2e_start
e2e_open_target
read -r gdi_start user_start <<<"$(drv_ok gui-resources)"
private_start=$(drv_ok private-bytes)

# The first round warms up what a program allocates once: fonts, the clip
# window's first showing, the heap's first blocks.
round 1
read -r gdi_warm user_warm <<<"$(drv_ok gui-resources)"
private_warm=$(drv_ok private-bytes)
clips_warm=$clips bytes_warm=$bytes

for n in $(seq 2 "$rounds"); do round "$n"; done

assert_running "after $((rounds * copies)) copies and $((rounds * pastes)) pastes"
read -r gdi_end user_end <<<"$(drv_ok gui-resources)"
private_end=$(drv_ok private-bytes)
count=$(drv_ok count)
e2e_log "$clips clips of $bytes bytes in $((SECONDS - started)) s, $count in the list;" \
  "start, after warm-up, end: GDI $gdi_start $gdi_warm $gdi_end, USER $user_start $user_warm $user_end," \
  "private bytes $private_start $private_warm $private_end"

# Drawing the window, its labels and the hint makes and frees objects; a
# handful may be alive at any moment, a leak grows with every paste.
gdi_change=$((gdi_end - gdi_warm)) user_change=$((user_end - user_warm))
assert_ok "GDI objects stay flat: $gdi_warm after warm-up, $gdi_end at the end" test "${gdi_change#-}" -le 10
assert_ok "USER objects stay flat: $user_warm after warm-up, $user_end at the end" test "${user_change#-}" -le 10

# Each clip adds its text and about 200 bytes of record markers and title
# to the history; in memory the list keeps each title in UTF-16 (Wine), the
# store a 16-byte view of each line, and the heap the freed buffers of the
# captures between the blocks it keeps: twice the history, plus 4 MiB for
# the steps in which the heap and the list grow. Measured on the long form:
# 13.7 MB for 6.7 MB of texts in 4,800 clips, where the bound is 19.6 MB and
# one more copy of every text kept would be 20.4 MB. The short form's
# allowance outweighs its history: there it catches only gross leaks.
history=$((bytes - bytes_warm + 200 * (clips - clips_warm)))
growth=$((private_end - private_warm)) allowed=$((2 * history + 4 * 1024 * 1024))
assert_ok "private memory grows with the history: $growth bytes for $history of history (at most $allowed)" \
  test "$growth" -le "$allowed"

# The files must bring back exactly this list.
drv_ok titles >"$e2e_tmp/titles.before"
drv_ok clear-clip  # else the new start would record the clipboard's text
e2e_close
e2e_log "history files: Lb1.qlx $(stat -c %s "$E2E_DIR/Lb1.qlx") bytes, Cb1.qlx $(stat -c %s "$E2E_DIR/Cb1.qlx") bytes"
e2e_start
assert_eq "the new start loads as many clips as there were" "$count" "$(drv_ok count)"
drv_ok titles >"$e2e_tmp/titles.after"
assert_file_bytes "the titles come back in the same order" "$e2e_tmp/titles.before" "$e2e_tmp/titles.after"
assert_eq "no message box is up after the new start" "" "$(drv_ok boxes)"
# The texts came back too: pasted, each must be as it was copied. A click
# into the paste target (at 100 100, 480 by 320) puts it in front again.
e2e_click 200 300 left
assert_ok "the loaded clips paste as they were copied" \
  drv paste-series "$journal" $((rounds + 1)) "$pastes" "$paste_wait_ms"
e2e_close
e2e_log "done in $((SECONDS - started)) s"
e2e_done
