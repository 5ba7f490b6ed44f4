#!/usr/bin/env bash
# What the user sees of the clip window: the owner-drawn list in its pale
# yellow with navy text, the label column and the panel in their colours,
# the maroon option buttons; read from a screenshot of the real window.
. "$(dirname "$0")/lib.sh" "$@"

e2e_start
e2e_open_target
for text in 'alpha' 'bravo with a longer title' 'charlie\r\nsecond line'; do
  e2e_copy "$text"
done
e2e_wait_title 0 'charlie...'
drv_ok keys ctrl+alt+down >/dev/null
assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
read -r left top right bottom <<<"$(drv_ok window-rect)"
assert_eq "the window is 250 pixels wide" 250 "$((right - left))"
shot="$e2e_tmp/window.png"
import -window root "$shot"

# count COLOUR X Y W H: pixels of exactly that colour in the rectangle
# (window coordinates).
count() { e2e_colour_count "$shot" "$1" $((left + $2)) $((top + $3)) "$4" "$5"; }
list=$(count 'rgb(255,255,204)' 27 20 200 460)
assert_ok "the list's text area is pale yellow: $list" test "$list" -gt 80000
text=$(count 'rgb(0,0,128)' 28 20 200 40)
assert_ok "the first three lines carry navy text: $text" test "$text" -gt 60
labels=$(count 'rgb(0,0,128)' 10 20 15 470)
assert_ok "the label column shows its navy labels: $labels" test "$labels" -gt 300
column=$(count 'rgb(231,223,173)' 10 20 15 470)
assert_ok "the label column lies over the check column in the panel colour: $column" test "$column" -gt 3000
buttons=$(count 'rgb(128,0,0)' 131 2 116 16)
assert_ok "the option buttons are maroon: $buttons" test "$buttons" -gt 40
title=$(count 'rgb(0,0,255)' 4 1 101 16)
assert_ok "the title picture has its blue caption: $title" test "$title" -gt 40
e2e_close
e2e_done
