#!/usr/bin/env bash
# On a screen at 150 % scaling (144 DPI) the program lays itself out at
# that size instead of being stretched: the clip window is 375 pixels wide,
# its lines 20 apart with each key label beside its own line, a click on a
# line and a label key paste the right clip, the settings dialog's
# controls do not overlap, and the text is drawn in a font of the larger
# size, not a stretched bitmap. The exe declares per-monitor awareness.
# With E2E_PICTURES set to a folder, the window's picture is kept there.
. "$(dirname "$0")/lib.sh" "$@"

for entry in '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>'; do
  assert_ok "the exe's manifest declares $entry" grep -aqF "$entry" "$E2E_EXE"
done

assert_eq "the exe's icon has images for 100 % to 150 % and larger views" "16 20 24 32 48" \
  "$(drv_ok icon-sizes "$(winepath -w "$E2E_EXE" 2>/dev/null)")"

# caption_height SHOT LEFT TOP WIDTH HEIGHT: the rows, top to bottom, that
# the blue caption's letters span in that rectangle of the screenshot.
caption_height() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -alpha off -depth 8 txt:- |
    awk -F'[(),]' '/^#/ { next } { y = $2 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0 }
      b - r >= 16 && b - g >= 16 && b > 176 { if (first == "") first = y; last = y }
      END { print first == "" ? 0 : last - first + 1 }'
}

# show_window: the hotkey, from the application in front; the window's
# rectangle.
show_window() {
  drv_ok keys ctrl+alt+down
  drv wait-visible 1 "$E2E_WAIT_MS" >/dev/null || e2e_fatal "the hotkey did not show the window"
  drv_ok window-rect
}

# At 100 % first, for the caption's height there.
e2e_history 40
e2e_start
e2e_open_target
read -r left top _ _ <<<"$(show_window)"
import -window root "$e2e_tmp/96.png"
caption96=$(caption_height "$e2e_tmp/96.png" $((left + 23)) $((top + 1)) 82 16)
drv_ok keys esc
e2e_close

e2e_set_dpi 144
e2e_history 40
e2e_start
drv_ok move-window 10 10
read -r left top right bottom <<<"$(show_window)"
assert_eq "the window is 375 x 744 pixels" "375 744" "$((right - left)) $((bottom - top))"
assert_ok "the pointer goes where the scaled window has it" drv wait-cursor $((left + 371)) $((top + 177)) "$E2E_WAIT_MS"
read -r _ pitch count <<<"$(drv_ok list-state $e2e_title_list)"
assert_eq "the title list's lines are 20 pixels apart, all 40 there" "20 40" "$pitch $count"
read -r _ label_pitch _ <<<"$(drv_ok list-state $e2e_label_list)"
assert_eq "the labels are as far apart as the lines" 20 "$label_pitch"
read -r ll lt lr _ <<<"$(drv_ok control-rect TForm1 $e2e_title_list)"
read -r bl bt br _ <<<"$(drv_ok control-rect TForm1 $e2e_label_list)"
assert_eq "the list stands where the layout puts it" "12 27 362" "$((ll - left)) $((lt - top)) $((lr - left))"
# Inside the list's border, so the first label is on the first line.
assert_ok "the labels start on the first line, inside the list's border ($bl $bt)" \
  test $((bl - ll)) -ge 1 -a $((bl - ll)) -le 4 -a $((bt - lt)) -ge 1 -a $((bt - lt)) -le 4 -a "$br" -lt $((ll + 27))

shot="$e2e_tmp/144.png"
xdotool mousemove $((right + 40)) $((top + 40))
sleep 0.5
import -window root "$shot"
if [ -n "${E2E_PICTURES:-}" ]; then
  convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$E2E_PICTURES/clip-window-144dpi.png"
fi
caption144=$(caption_height "$shot" $((left + 35)) $((top + 2)) 123 24)
# The caption's letters are half as tall again (1.3 to 1.7 times), as a
# font asked for at 17 pixels rather than 11 draws them.
assert_ok "the caption is drawn in a larger font ($caption96 rows at 96 DPI, $caption144 at 144)" \
  test "$caption96" -ge 6 -a $((caption144 * 10)) -ge $((caption96 * 13)) -a $((caption144 * 10)) -le $((caption96 * 17))

# The middle of line 5 pastes that line's clip; label 3 then line 2's.
e2e_click $((ll + 120)) $((bt + 5 * 20 + 10)) left
assert_ok "a click on the middle of line 5 pastes clip 35" drv wait-target-text 'clip 35' "$E2E_WAIT_MS"
drv_ok target-clear
show_window >/dev/null
drv_ok keys 3
assert_ok "label 3 pastes line 2's clip" drv wait-target-text 'clip 39' "$E2E_WAIT_MS"

# The settings dialog: its controls apart from one another, all inside it.
drv_ok command settings
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open"
read -r sl st sr sb <<<"$rect"
assert_eq "the dialog is 354 x 453 pixels" "354 453" "$((sr - sl)) $((sb - st))"
rects=()
for id in $e2e_settings_autosave $e2e_settings_prompt_clear $e2e_settings_prompt_quit $e2e_settings_hotkey \
  $e2e_settings_delay $e2e_settings_ok $e2e_settings_share_folder $e2e_settings_browse $e2e_settings_passphrase; do
  rects+=("$(drv_ok control-rect TForm2 "$id")")
done
overlaps=$(printf '%s\n' "${rects[@]}" | awk -v L="$sl" -v T="$st" -v R="$sr" -v B="$sb" '
  { l[NR] = $1; t[NR] = $2; r[NR] = $3; b[NR] = $4 }
  END {
    for (i = 1; i <= NR; i++) {
      if (l[i] < L || t[i] < T || r[i] > R || b[i] > B) print "control " i " outside the dialog"
      for (j = i + 1; j <= NR; j++)
        if (l[i] < r[j] && l[j] < r[i] && t[i] < b[j] && t[j] < b[i]) print "controls " i " and " j " overlap"
    }
  }')
assert_eq "no control overlaps another or leaves the dialog" "" "$overlaps"
read -r ol ot or ob <<<"${rects[5]}"
assert_eq "the OK button is 129 x 33 pixels" "129 33" "$((or - ol)) $((ob - ot))"
e2e_click $(((ol + or) / 2)) $(((ot + ob) / 2)) left
assert_ok "OK closes it" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class TForm2 0 >/dev/null 2>&1"
e2e_close
e2e_done
