#!/usr/bin/env bash
# The hotkey comes from the settings file: with F9 stored, F9 shows and hides
# the clip window and Ctrl+Alt+Down does nothing. At the end the settings
# file holds the dialog's section with every key.
. "$(dirname "$0")/lib.sh" "$@"

e2e_fresh_folder
e2e_settings hotkey=F9 delay=250
e2e_start
wine "$E2E_DRIVER" target </dev/null >/dev/null 2>&1 &
target_pid=$!
drv_ok wait-target "$E2E_WAIT_MS" >/dev/null

drv_ok keys f9 >/dev/null
sleep 1
assert_eq "F9 shows the clip window" 1 "$(drv_ok visible)"
drv_ok keys f9 >/dev/null
sleep 1
assert_eq "F9 again hides it" 0 "$(drv_ok visible)"
drv_ok keys ctrl+alt+down >/dev/null
sleep 1
assert_eq "Ctrl+Alt+Down is not the hotkey any more" 0 "$(drv_ok visible)"

drv target-close >/dev/null 2>&1
wait "$target_pid" 2>/dev/null
e2e_close
ini=$(tr -d '\r' <"$E2E_DIR/Solvaneclips.ini")
expected='[Form2]
ComboBox1.Text=F9
ComboBox2.Text=250
Top=254
Left=433
Width=236
Height=302
CheckBox1.Checked=FALSE
CheckBox3.Checked=FALSE
CheckBox4.Checked=FALSE'
assert_eq "the settings file after the run" "$expected" "$ini"
e2e_done
