#!/usr/bin/env bash
# The settings file and the settings dialog: a first run writes the dialog's
# section with its nine keys; a stored "true" in small letters is no TRUE;
# the dialog opened from the menu shows its banner, background and OK button
# with the pointer put on OK, and below them the shared history's folder
# (kept after the nine keys, any character of it) and passphrase (kept in no
# file).
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
# The dialog is centred: 236 x 302 in the middle of the 1280 x 800 desktop.
left=$(((1280 - 236) / 2))
top=$(((800 - 302) / 2))
assert_eq "the pointer jumps onto OK (outer left + 71 + 64, outer top + 154 + 40)" \
  "$((left + 135)) $((top + 194))" "$px $py"
# Counts of exact colours inside the dialog's rectangle.
colour_count() { e2e_colour_count "$shot" "$1" "$left" "$top" 236 302; }
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
# The controls made after the drop-downs (ID CLASS STYLE TEXT, a label's id
# -1), the password style (ES_PASSWORD, 0x20) marked.
sharing=$(drv_ok children TForm2 | awk 'made { $2 = tolower($2); $3 = $3 ~ /[2367abef].$/ ? "password" : "-"; print }
  $1 == '$e2e_settings_delay' { made = 1 }')
assert_eq "below OK: the folder's label, field and browse button, the passphrase's label and field" \
  "-1 static - Share the history through this folder
207 edit -
208 button - ...
-1 static - Passphrase (typed once on each machine)
209 edit password
206 tencartabutton - OK" "$sharing"
read -r _ ok_top _ ok_bottom <<<"$(drv_ok control-rect TForm2 $e2e_settings_ok)"
read -r _ folder_top _ _ <<<"$(drv_ok control-rect TForm2 $e2e_settings_share_folder)"
read -r _ _ _ pass_bottom <<<"$(drv_ok control-rect TForm2 $e2e_settings_passphrase)"
assert_ok "the folder's field lies below OK ($folder_top > $ok_bottom, OK at $ok_top)" test "$folder_top" -gt "$ok_bottom"
assert_ok "the passphrase's field ends inside the dialog ($pass_bottom < $((top + 302)))" \
  test "$pass_bottom" -lt $((top + 302))
# The folder dialog opens over this one, and Esc leaves the field as it was.
read -r bl bt br bb <<<"$(drv_ok control-rect TForm2 $e2e_settings_browse)"
e2e_click $(((bl + br) / 2)) $(((bt + bb) / 2)) left
assert_ok "the browse button opens the folder dialog" drv wait-class '#32770' "$E2E_WAIT_MS"
assert_eq "the folder dialog belongs to the settings dialog" TForm2 "$(drv_ok owner '#32770')"
drv_ok keys esc >/dev/null
assert_ok "Esc closes the folder dialog" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class '#32770' 0 >/dev/null 2>&1"
assert_eq "the folder's field stays empty" "" "$(drv_ok children TForm2 | awk '$1 == 207 { print $4 }')"
drv_ok keys tab >/dev/null
e2e_close
expected='[Form2]
Top=249
Left=522
Width=236
Height=302
ComboBox1.Text=Ctrl+Alt+Down
ComboBox2.Text=100
CheckBox1.Checked=FALSE
CheckBox3.Checked=FALSE
CheckBox4.Checked=FALSE'
assert_eq "a first run writes the section with its nine keys" "$expected" "$(ini)"

# A folder typed into its field is kept after the nine keys, every character
# of it escaped into ASCII; the passphrase typed is in no file of the
# program's folder, and gone from its field once OK has applied it.
# As the driver takes it: a Windows path, its backslashes escaped.
windows_folder() {
  mkdir -p "$e2e_tmp/$(printf '%b' "$1")"  # there, so that the sharing can start
  printf 'Z:%s\\\\%s\\\\' "$(printf '%s' "$e2e_tmp" | sed 's|/|\\\\|g')" "$1"
}
share_typed=$(windows_folder 'share Gr\xC3\xBC\xC3\x9Fe')
passphrase='Tulip-Quartz-7731'
settings_open() {
  drv_ok command settings >/dev/null
  drv wait-class TForm2 "$E2E_WAIT_MS" >/dev/null || e2e_fatal "the settings dialog did not open"
}
field() { drv_ok children TForm2 | awk -v id="$1" '$1 == id { sub(/^[^ ]+ [^ ]+ [^ ]+ ?/, ""); print }'; }
e2e_start
settings_open
drv_ok type-text TForm2 $e2e_settings_share_folder "$share_typed"
drv_ok type-text TForm2 $e2e_settings_passphrase "$passphrase"
folder_shows() { [ "$(field $e2e_settings_share_folder)" = "$share_typed" ]; }
assert_ok "the folder typed shows in its field" e2e_wait_until folder_shows
assert_eq "and the passphrase in its own" "$passphrase" "$(field $e2e_settings_passphrase)"
e2e_click_settings_ok
assert_ok "OK closes the dialog" e2e_wait_until sh -c "! wine '$E2E_DRIVER' wait-class TForm2 0 >/dev/null 2>&1"
kept="Edit1.Text=Z:$(printf '%s' "$e2e_tmp" | sed 's|/|\\|g')\\share Gr%u00FC%u00DFe\\"
assert_eq "OK keeps the folder after the nine keys" "$expected
$kept" "$(ini)"
# In UTF-8 or UTF-16, anywhere.
holders() {
  grep -rlaF "$passphrase" "$E2E_DIR"
  grep -rlaP "$(printf '%s' "$passphrase" | sed 's/./&\\x00/g')" "$E2E_DIR"
}
assert_eq "the passphrase is in no file of the program's folder" "" "$(holders)"
settings_open
assert_eq "the passphrase's field is empty when the dialog opens again" "" "$(field $e2e_settings_passphrase)"
e2e_click_settings_ok
e2e_close
assert_eq "nor after the close, which writes every file" "" "$(holders)"
e2e_start
settings_open
assert_eq "the next start shows the folder as typed" "$share_typed" "$(field $e2e_settings_share_folder)"
e2e_click_settings_ok
e2e_close

# A folder named with characters the ANSI code page lacks cannot be a path
# for the program's files: OK says so by name and leaves the dialog open.
e2e_fresh_folder
e2e_start
settings_open
drv_ok type-text TForm2 $e2e_settings_share_folder "$(windows_folder 'share \xE6\x97\xA5\xE6\x9C\xAC')"
drv_ok type-text TForm2 $e2e_settings_passphrase "$passphrase"
e2e_click_settings_ok
e2e_wait_box '*: The name of the shared folder "Z:\\*\\share \?\?\\\\" has characters (shown here as \?) that Solvane Clips cannot use in a path*'
e2e_answer enter
assert_ok "the dialog stays open" drv wait-class TForm2 0
assert_eq "and keeps the passphrase" "$passphrase" "$(field $e2e_settings_passphrase)"
e2e_close

# "true" in small letters is not TRUE: Quit asks nothing and ends the program.
printf '[Form2]\r\nCheckBox4.Checked=true\r\n' >"$E2E_DIR/Solvaneclips.ini"
e2e_start
drv_ok command quit >/dev/null
assert_ok "Quit with the box left unchecked ends the program without asking" drv wait-exit "$E2E_WAIT_MS"
wait "$E2E_PID" 2>/dev/null
E2E_PID=""
assert_eq "the box stays unchecked in the file" 'CheckBox4.Checked=FALSE' "$(ini | grep CheckBox4)"
e2e_done
