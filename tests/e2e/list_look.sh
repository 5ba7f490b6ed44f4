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

# rows navy|blue X Y W H: for each pixel row of the rectangle (window
# coordinates), top down, how many of its pixels are of that kind. Text is
# judged by its hue, not its exact colour, so that a font drawn a little
# differently still counts: a pixel is "navy" when its blue is at least 16
# above its red and its green and at most 176 (navy text over at least two
# fifths of the pixel, on the pale yellow or the panel colour), "blue" the same
# but brighter. Black, grey, bright blue (for navy), navy (for blue) and both
# backgrounds count as neither.
rows() {
  convert "$shot" -crop "$4x$5+$((left + $2))+$((top + $3))" +repage -alpha off -depth 8 txt:- |
    awk -F'[(),]' -v kind="$1" -v height="$5" '
      /^#/ { next }
      {
        y = $2 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0
        if (b - r >= 16 && b - g >= 16 && ((kind == "navy") == (b <= 176))) n[y]++
      }
      END { for (y = 0; y < height; y++) print n[y] + 0 }'
}
# Sums rows' counts.
total() { awk '{ s += $1 } END { print s + 0 }'; }
# labelled_lines HEIGHT: reads rows' counts for a column of one character a
# line, HEIGHT rows tall; true when its text stands on evenly spaced lines
# from the top to the bottom, none left out. The line height is the font's
# (13 pixels on Windows, 12 under Wine here), so it is measured: the runs of
# rows with text (one empty row, as smoothing can leave inside a character,
# does not end a run) start every 11 to 16 rows, each within a row of the
# average, the first within the first line and the last with no whole line
# below it. Prints what it found.
labelled_lines() {
  awk -v height="$1" 'BEGIN { empty = 2 }
    $1 > 0 && empty >= 2 { start[++n] = NR - 1 }
    { empty = $1 > 0 ? 0 : empty + 1 }
    END {
      if (n < 2) { printf "%d lines of text\n", n; exit 1 }
      pitch = (start[n] - start[1]) / (n - 1)
      printf "%d lines of text, one every %.2f rows, starting at rows", n, pitch
      for (i = 1; i <= n; i++) printf " %d", start[i]
      print ""
      if (pitch < 11 || pitch > 16 || start[1] >= pitch || start[n] + 2 * pitch <= height) exit 1
      for (i = 2; i <= n; i++) {
        d = start[i] - start[i - 1] - pitch
        if (d > 1 || d < -1) exit 1
      }
    }'
}
# slots HEIGHT: the sums over each HEIGHT rows, space-separated.
slots() { awk -v h="$1" '{ s[int((NR - 1) / h)] += $1 } END { for (i = 0; i < NR / h; i++) printf "%s%d", (i ? " " : ""), s[i]; print "" }'; }

list=$(count 'rgb(255,255,204)' 27 20 200 460)
assert_ok "the list's text area is pale yellow: $list" test "$list" -gt 80000
# The title list's lines are 13 pixels high (the program measures them so);
# each of the first three carries its title.
text=$(rows navy 28 20 200 39)
read -r line1 line2 line3 <<<"$(slots 13 <<<"$text")"
assert_ok "the first three lines carry navy text: $line1 $line2 $line3" \
  test "$line1" -gt 20 -a "$line2" -gt 20 -a "$line3" -gt 20 -a "$(total <<<"$text")" -gt 60
# The column lists 1-9, 0, A-Z and again, a label on every line.
labels=$(rows navy 10 20 15 470)
assert_ok "the label column shows its navy labels: $(total <<<"$labels")" test "$(total <<<"$labels")" -gt 300
assert_ok "the label column shows a navy label on each of its lines" labelled_lines 470 <<<"$labels"
column=$(count 'rgb(231,223,173)' 10 20 15 470)
assert_ok "the label column lies over the check column in the panel colour: $column" test "$column" -gt 3000
buttons=$(count 'rgb(128,0,0)' 131 2 116 16)
assert_ok "the option buttons are maroon: $buttons" test "$buttons" -gt 40
title=$(rows blue 4 1 101 16 | total)
assert_ok "the title picture has its blue caption: $title" test "$title" -gt 40
e2e_close
e2e_done
