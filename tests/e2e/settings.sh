#!/usr/bin/env bash
# The settings file and the settings dialog: a first run writes the dialog's
# section with its nine keys; a stored "true" in small letters is no TRUE;
# the dialog opened from the menu shows its banner, background and OK button
# with the pointer put on OK.
. "$(dirname "$0")/lib.sh" "$@"

ini() { tr -d '\r' <"$E2E_DIR/Solvaneclips.ini"; }

# First start: no settings file; the end of the run writes it.
e2e_fresh_folder
rm -f "$E2E_DIR/Solvaneclips.ini"
e2e_start
drv_ok command 0x100 >/dev/null  # "Settings..."
sleep 1.5
read -r px py <<<"$(drv_ok cursor)"
shot="$e2e_tmp/settings.png"
import -window root "$shot"
# The dialog is centred: 236 x 212 in the middle of the 1280 x 800 desktop.
left=$(((1280 - 236) / 2))
top=$(((800 - 212) / 2))
assert_eq "the pointer jumps onto OK (outer left + 71 + 64, outer top + 154 + 40)" \
  "$((left + 135)) $((top + 194))" "$px $py"
# Counts of exact colours inside the dialog's rectangle.
colour_count() { e2e_colour_count "$shot" "$1" "$left" "$top" 236 212; }
blue=$(colour_count 'rgb(0,0,255)')
assert_ok "the banner is blue (most of its 217 x 42 pixels): $blue" test "$blue" -gt 6000
background=$(colour_count 'rgb(231,223,173)')
assert_ok "the dialog's colour fills its client area: $background" test "$background" -gt 15000
hover=$(colour_count 'rgb(223,191,115)')
assert_ok "with the pointer on it, OK shows its hover colour: $hover" test "$hover" -gt 1000
# Raised edges cover the border while hovered; away from it the flat look
# is back: the dialog's own colour inside a one-pixel border.
assert_eq "the hover frame covers the border" 0 "$(colour_count 'rgb(153,143,130)')"
xdotool mousemove 20 20
sleep 1
import -window root "$shot"
border=$(colour_count 'rgb(153,143,130)')
assert_ok "the OK button has its one-pixel border: $border" test "$border" -ge $((2 * (86 + 22) - 4))
assert_eq "no hover colour once the pointer left" 0 "$(colour_count 'rgb(223,191,115)')"
drv_ok keys tab >/dev/null
e2e_close
expected='[Form2]
Top=294
Left=522
Width=236
Height=212
ComboBox1.Text=Ctrl+Alt+Down
ComboBox2.Text=100
CheckBox1.Checked=FALSE
CheckBox3.Checked=FALSE
CheckBox4.Checked=FALSE'
assert_eq "a first run writes the section with its nine keys" "$expected" "$(ini)"

# "true" in small letters is not TRUE: Quit asks nothing and ends the program.
printf '[Form2]\r\nCheckBox4.Checked=true\r\n' >"$E2E_DIR/Solvaneclips.ini"
e2e_start
drv_ok command quit >/dev/null
assert_ok "Quit with the box left unchecked ends the program without asking" drv wait-exit "$E2E_WAIT_MS"
wait "$E2E_PID" 2>/dev/null
E2E_PID=""
assert_eq "the box stays unchecked in the file" 'CheckBox4.Checked=FALSE' "$(ini | grep CheckBox4)"
e2e_done
