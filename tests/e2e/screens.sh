#!/usr/bin/env bash
# The clip window and the settings dialog stay where the user puts them, and
# never where no screen is: the window is centred once, at the start, and
# the hotkey does not move it; a display change moves a window that lies on
# no screen back onto the nearest one, and so does the hotkey; a dialog
# place stored off every screen is not taken.
. "$(dirname "$0")/lib.sh" "$@"

ini() { tr -d '\r' <"$E2E_DIR/Solvaneclips.ini"; }

# show_window WHAT: the application in front (where the clip window is not),
# then the hotkey.
show_window() {
  e2e_click 500 150 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

e2e_start
e2e_open_target
read -r wl wt wr wb _ <<<"$(drv_ok work-area)"
read -r left top right bottom <<<"$(drv_ok window-rect)"
assert_eq "the start centres the window" "$(((1280 - 250) / 2)) $(((800 - 496) / 2))" "$left $top"

drv_ok move-window 100 120
show_window "the hotkey shows the window"
assert_eq "where it was put before the first hotkey, not centred again" "100 120 350 616" "$(drv_ok window-rect)"

# A screen goes while the window is away: it comes back onto the one left.
e2e_click 500 150 left
drv_ok wait-visible 0 "$E2E_WAIT_MS" >/dev/null
drv_ok move-window -3000 -3000
drv_ok display-change
assert_eq "a display change brings the window onto the work area" \
  "$wl $wt $((wl + 250)) $((wt + 496))" "$(drv_ok window-rect)"
drv_ok move-window 3000 3000
show_window "the hotkey shows a window left where no screen is"
assert_eq "on the nearest screen's work area" "$((wr - 250)) $((wb - 496)) $wr $wb" "$(drv_ok window-rect)"
# Partly off the screen, as a drag may leave it: where the user put it.
e2e_click 500 150 left
drv_ok move-window -100 50
show_window "the hotkey shows a window partly off the screen"
assert_eq "where the user put it" "-100 50 150 546" "$(drv_ok window-rect)"

# The settings dialog, moved off every screen, comes back at the change.
drv_ok command settings
drv wait-class TForm2 "$E2E_WAIT_MS" >/dev/null || e2e_fatal "the settings dialog did not open"
drv_ok move-window -2000 300 TForm2
drv_ok display-change
read -r sl st sr sb <<<"$(drv_ok window-rect TForm2)"
assert_eq "a display change brings the dialog onto the work area" "$wl 300 $((wl + 236)) 602" "$sl $st $sr $sb"
e2e_click_settings_ok
assert_ok "its OK still closes it" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class TForm2 0 >/dev/null 2>&1"
e2e_close
assert_eq "and its place is kept" "Top=300 Left=$wl" "$(ini | grep -E '^(Top|Left)=' | paste -sd' ')"

# A stored place on no screen is not taken; one on the screen is.
for stored in '-5000 -5000 254 433' '120 60 120 60'; do
  read -r stop sleft wtop wleft <<<"$stored"
  printf '[Form2]\r\nTop=%s\r\nLeft=%s\r\n' "$stop" "$sleft" >"$E2E_DIR/Solvaneclips.ini"
  e2e_start
  e2e_close
  assert_eq "a stored place of $sleft, $stop: the dialog stands at $wleft, $wtop" \
    "Top=$wtop Left=$wleft" "$(ini | grep -E '^(Top|Left)=' | paste -sd' ')"
done
e2e_done
