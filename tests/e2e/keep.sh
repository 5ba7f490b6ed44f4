#!/usr/bin/env bash
# Kept clips: Insert and a key label (or Insert with the pointer on its
# line) keeps a clip for good, or lets it go, and a kept clip bears a
# pin at its line's right end; the 72-line trim passes kept clips by (and
# leaves more than 72 lines when only kept ones lie there); Clear Clips
# leaves them, and says so; they and their pins are back after a restart,
# from Kept.qlx; deleting a kept clip asks first.
. "$(dirname "$0")/lib.sh" "$@"

pin='rgb(192,0,0)'
show_window() {
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}
# pins_on FILE ROW...: the pin pixels on each visible row of the title list.
pins_on() {
  local shot=$1 row out=()
  shift
  read -r ll lt lr _ <<<"$(drv_ok control-rect TForm1 $e2e_title_list)"
  for row in "$@"; do
    out+=("$(e2e_colour_count "$shot" "$pin" "$((ll + 2))" "$((lt + 2 + 13 * row))" "$((lr - ll - 4))" 13)")
  done
  echo "${out[*]}"
}
shoot() { sleep 0.5; import -window root "$1"; }

e2e_fresh_folder
e2e_history 75 # "clip 75" on line 0 ... "clip 1" on line 74
e2e_settings prompt_clear=on
e2e_start
e2e_open_target

show_window "the hotkey shows the window"
drv_ok scroll 40 # the list scrolls to 39 at most
drv_ok keys ins >/dev/null
assert_ok "Insert asks which clip" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' control $e2e_notice)\" = '1 0 Keep which clip?' ]"
drv_ok keys 1 ins 3 >/dev/null # label 1 stands beside line 72, label 3 beside line 74
assert_ok "Kept.qlx holds the two keys at once" e2e_wait_until sh -c \
  "[ \"\$(tr -d '\r' <'$E2E_DIR/Kept.qlx' | paste -sd' ')\" = '0000000000001 0000000000003' ]"
shoot "$e2e_tmp/kept.png"
read -r top _ <<<"$(drv_ok list-state $e2e_title_list)" # as far as 75 lines scroll
read -r p72 p73 p74 <<<"$(pins_on "$e2e_tmp/kept.png" $((72 - top)) $((73 - top)) $((74 - top)))"
assert_ok "lines 72 and 74 bear a pin ($p72, $p74 pixels), line 73 none ($p73)" \
  test "$p72" -ge 10 -a "$p74" -ge 10 -a "$p73" -eq 0

drv_ok scroll 0
for i in 1 2 3 4 5; do
  [ "$(drv_ok visible)" = 1 ] || show_window "the hotkey shows the window for paste $i"
  drv_ok keys z >/dev/null # line 35
  drv_ok wait-visible 0 "$E2E_WAIT_MS"
done
assert_eq "five pastes trim one line, not the kept ones: 74 lines" 74 "$(drv_ok count)"
assert_eq "the kept clips are on lines 72 and 73" "clip 3 clip 1" "$(e2e_titles | sed -n '73,74p' | paste -sd' ')"

drv_ok command clear
e2e_wait_box 'Confirm: Clear all current clips? The 2 kept clips stay.'
e2e_answer y
assert_ok "Clear Clips leaves the kept clips" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' count)\" = 2 ]"
assert_eq "in their order" "clip 3 clip 1" "$(e2e_titles | paste -sd' ')"
assert_ok "and the other texts are gone from Cb1.qlx" sh -c "! grep -aq '^clip 75' '$E2E_DIR/Cb1.qlx'"

e2e_close
drv_ok clear-clip # nothing on the clipboard for the start to record
e2e_start
assert_eq "after a restart the kept clips are there" "clip 3 clip 1" "$(e2e_titles | paste -sd' ')"
show_window "the hotkey shows them"
shoot "$e2e_tmp/restarted.png"
read -r p0 p1 p2 <<<"$(pins_on "$e2e_tmp/restarted.png" 0 1 2)"
assert_ok "with their pins ($p0, $p1 pixels; below them $p2)" test "$p0" -ge 10 -a "$p1" -ge 10 -a "$p2" -eq 0

drv_ok keys del 1 >/dev/null
e2e_wait_box 'Confirm: Delete the kept clip "clip 3"?'
e2e_answer n
assert_eq "No keeps it" "clip 3 clip 1" "$(e2e_titles | paste -sd' ')"
read -r ll lt _ _ <<<"$(drv_ok control-rect TForm1 $e2e_title_list)"
xdotool mousemove $((ll + 60)) $((lt + 2 + 6)) # on line 0
drv_ok wait-cursor $((ll + 60)) $((lt + 2 + 6)) "$E2E_WAIT_MS"
drv_ok keys ins >/dev/null
assert_ok "Insert with the pointer on a kept clip lets it go" e2e_wait_until sh -c \
  "[ \"\$(tr -d '\r' <'$E2E_DIR/Kept.qlx' | paste -sd' ')\" = '0000000000001' ]"
drv_ok keys del >/dev/null
assert_ok "then Delete on it asks nothing" e2e_wait_until sh -c "[ \"\$(wine '$E2E_DRIVER' count)\" = 1 ]"
assert_eq "and the kept one is left" "clip 1" "$(e2e_titles)"
e2e_close
e2e_done
