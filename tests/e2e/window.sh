#!/usr/bin/env bash
# The clip window under the mouse: a click on a label shows the clip's text in a
# yellow hint, cut to 45 lines, gone once the pointer leaves the label
# column; a click on another window hides the clip window, and the next
# hotkey shows it again; a drag by the panel or the title picture moves it.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
e2e_copy "$(e2e_numbered_lines 100)"
e2e_wait_title 0 'line 1...'

# show_window WHAT: the user's application in front, then the hotkey.
show_window() {
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

e2e_click 150 300 left
show_window "the hotkey shows the window"
read -r left top _ _ <<<"$(drv_ok window-rect)"

# The first label, then the hint under the pointer.
e2e_click $((left + 17)) $((top + 26)) left
hint=$(drv wait-hint 1 "$E2E_WAIT_MS") || e2e_fatal "no hint after a click on the first label"
read -r hl ht hr hb <<<"$hint"
assert_eq "the hint opens under the pointer" "$((left + 17)) $((top + 46))" "$hl $ht"
# 45 lines of text at 12 px each and its margins, not 100 lines; the
# desktop is 800 pixels high.
assert_ok "the hint is as high as 45 lines, not 100: $((hb - ht))" test $((hb - ht)) -ge 500 -a $((hb - ht)) -le 600
shot="$e2e_tmp/hint.png"
import -window root "$shot"
yellow=$(e2e_colour_count "$shot" 'rgb(255,255,0)' "$hl" "$ht" $((hr - hl)) $((hb - ht)))
assert_ok "the hint is yellow: $yellow" test "$yellow" -gt $(((hr - hl) * (hb - ht) / 2))
xdotool mousemove $((left + 150)) $((top + 300))
assert_ok "the hint goes once the pointer leaves the label column" drv wait-hint 0 "$E2E_WAIT_MS"

# Another window clicked: the clip window hides; the hotkey brings it back.
e2e_click 150 300 left
assert_ok "a click on another window hides the clip window" drv wait-visible 0 "$E2E_WAIT_MS"
show_window "the next hotkey shows the window again"

# wait_place WHAT LEFT TOP: waits until the window stands at LEFT TOP.
wait_place() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000)) now
  while :; do
    now=$(drv_ok window-rect | cut -d' ' -f1,2)
    [ "$now" = "$2 $3" ] && break
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.2
  done
  assert_eq "$1" "$2 $3" "$now"
}

# Dragged by the panel between the picture and the buttons, then back by
# the title picture: the window follows the pointer's way exactly.
read -r left top _ _ <<<"$(drv_ok window-rect)"
e2e_drag $((left + 118)) $((top + 9)) $((left + 118 - 70)) $((top + 9 + 45))
wait_place "a drag on the panel moves the window by the pointer's way" $((left - 70)) $((top + 45))
e2e_drag $((left - 70 + 50)) $((top + 45 + 9)) $((left + 50)) $((top + 9))
wait_place "a drag on the title picture moves it back" "$left" "$top"
e2e_close
e2e_done
