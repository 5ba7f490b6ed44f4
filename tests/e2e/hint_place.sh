#!/usr/bin/env bash
# The label column's hint never runs off the screen: opened from a label near
# the bottom it goes above the pointer, with no room above or below it moves
# up into the work area, and a clip's very long line is cut to the screen's
# width. The Wine desktop is 1280x800 with a taskbar.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
wide=''
for i in $(seq 1 400); do wide+="word$i "; done
e2e_copy "short line\\r\\n$wide\\r\\nend"
e2e_wait_title 0 'short line...'
e2e_copy "$(e2e_numbered_lines 100)"
e2e_wait_title 0 'line 1...'

read -r wl wt wr wb bl bt br bb <<<"$(drv_ok work-area)"
assert_ok "the work area $wl $wt $wr $wb lies in the 1280x800 desktop" \
  test "$wl" -ge 0 -a "$wt" -ge 0 -a "$wr" -le 1280 -a "$wb" -le 800
assert_ok "the work area ends above the taskbar at $bt" test "$wb" -le "$bt" -a "$bt" -lt 800

# hint_at WHAT X Y: clicks the label at X Y, reads the hint's rectangle into
# hl ht hr hb and checks that it lies inside the work area.
hint_at() {
  local hint
  e2e_click "$2" "$3" left
  hint=$(drv wait-hint 1 "$E2E_WAIT_MS") || e2e_fatal "$1: no hint"
  read -r hl ht hr hb <<<"$hint"
  assert_ok "$1: the hint $hint lies inside the work area" \
    test "$hl" -ge "$wl" -a "$ht" -ge "$wt" -a "$hr" -le "$wr" -a "$hb" -le "$wb"
}

# hint_gone: the pointer leaves the label column and the hint goes.
hint_gone() {
  xdotool mousemove 640 5
  drv_ok wait-hint 0 "$E2E_WAIT_MS"
}

drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"

# The first label near the bottom of the screen: 45 lines fit above it only.
left=300 top=$((wb - 160))
drv_ok move-window "$left" "$top"
hint_at "from a label near the bottom" $((left + 17)) $((top + 26))
assert_ok "it opens above the pointer: $ht-$hb over $((top + 26))" test "$hb" -le $((top + 26))
assert_ok "it still shows 45 lines: $((hb - ht)) pixels high" test $((hb - ht)) -ge 500
import -window root "$e2e_tmp/above.png"
hint_gone

# Halfway down: no room above or below, so it moves up, still 45 lines.
top=$(((wb - wt) / 2 - 26))
drv_ok move-window "$left" "$top"
hint_at "from a label halfway down" $((left + 17)) $((top + 26))
assert_ok "it still shows 45 lines: $((hb - ht)) pixels high" test $((hb - ht)) -ge 500
hint_gone

# The long line's clip, second label, near the right edge and the bottom.
left=$((wr - 200)) top=$((wb - 160))
drv_ok move-window "$left" "$top"
hint_at "a long line's hint" $((left + 17)) $((top + 26 + 13))
assert_ok "it is cut to the work area's width yet wide: $((hr - hl))" \
  test $((hr - hl)) -le $((wr - wl)) -a $((hr - hl)) -ge $(((wr - wl) * 3 / 4))
assert_ok "it shows its three lines: $((hb - ht)) pixels high" test $((hb - ht)) -ge 30 -a $((hb - ht)) -le 60
shot="$e2e_tmp/wide.png"
import -window root "$shot"
if [ -n "${HINT_SHOTS:-}" ]; then cp "$e2e_tmp/above.png" "$shot" "$HINT_SHOTS/"; fi
yellow=$(e2e_colour_count "$shot" 'rgb(255,255,0)' "$hl" "$ht" $((hr - hl)) $((hb - ht)))
assert_ok "the cut hint is still yellow: $yellow" test "$yellow" -gt $(((hr - hl) * (hb - ht) / 2))
hint_gone
e2e_close
e2e_done
