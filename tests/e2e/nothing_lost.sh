#!/usr/bin/env bash
# Nothing is lost at the edges of real use: a clip file that another program
# holds at start is kept aside, not overwritten, and the user is told where;
# a close while the start's box is up saves what was copied meanwhile; a
# close that cannot save asks before it quits; the settings reach their file
# at OK and at the end of the session; a capture in the same second as the
# start is saved by the next autosave tick; Clear Clips leaves no copy of a
# save cut short.
. "$(dirname "$0")/lib.sh" "$@"

# file_has WHAT FILE TEXT: the file holds the text (or comes to, soon).
file_has() { assert_ok "$1" e2e_wait_until grep -qF -- "$3" "$2"; }

# hold_file NAME: the program folder's file NAME is held open with no
# sharing by another program, as a backup or sync tool may, until release.
hold_file() {
  rm -f "$e2e_tmp/lock.out"
  wine "$E2E_DRIVER" lock-file "$(winepath -w "$E2E_DIR/$1" 2>/dev/null)" 600000 \
    </dev/null >"$e2e_tmp/lock.out" 2>&1 &
  hold_pid=$!
  e2e_wait_until grep -q locked "$e2e_tmp/lock.out" 2>/dev/null ||
    e2e_fatal "could not hold $1: $(cat "$e2e_tmp/lock.out")"
}
release_file() {
  kill "$hold_pid"
  wait "$hold_pid" 2>/dev/null
}

# -- Cb1.qlx held by another program while the program starts.
e2e_fresh_folder
printf 'kept clip%70s/:hdr:\\1111111111111\r\n' '' >"$E2E_DIR/Lb1.qlx"
printf '/:hdr:\\1111111111111\r\nkept clip\r\n/:tlr:\\1111111111111\r\n' >"$E2E_DIR/Cb1.qlx"
cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.old"
hold_file Cb1.qlx
e2e_launch
e2e_wait_box '*: Cannot open file *\\Cb1.qlx'
e2e_answer enter
e2e_wait_started
assert_titles "the title file loaded all the same" 'kept clip'
release_file
e2e_copy 'new clip'
e2e_wait_title 0 'new clip'
drv_ok command save
e2e_wait_box '*: The clips in *\\Cb1.qlx could not all be loaded when Solvane Clips started.*kept as *\\Cb1 (not loaded).qlx.'
e2e_answer enter
assert_file_bytes "the file that did not load is kept whole" "$e2e_tmp/Cb1.old" "$E2E_DIR/Cb1 (not loaded).qlx"
file_has "the new clip is saved in its place" "$E2E_DIR/Cb1.qlx" 'new clip'
drv_ok command save
sleep "$E2E_SETTLE_S"
assert_eq "the user is told once" '' "$(drv_ok boxes)"
e2e_close

# -- A first start in an empty folder: closed while its box is up.
e2e_fresh_folder
rm "$E2E_DIR/Lb1.qlx" "$E2E_DIR/Cb1.qlx"
e2e_launch
e2e_wait_box '*: Cannot open file *\\Lb1.qlx'
e2e_copy 'copied while the box waits'
e2e_wait_title 0 'copied while the box waits'
e2e_close
file_has "the close saves the titles" "$E2E_DIR/Lb1.qlx" 'copied while the box waits'
file_has "the close saves the clips" "$E2E_DIR/Cb1.qlx" 'copied while the box waits'

# -- A "prefs.qlx" that cannot be written: Quit asks, No stays, Yes goes.
e2e_fresh_folder
e2e_start
e2e_copy 'saved though prefs are not'
e2e_wait_title 0 'saved though prefs are not'
hold_file prefs.qlx
for answer in n y; do
  drv_ok command quit
  e2e_wait_box 'Confirm: Solvane Clips could not save everything:*Cannot create file *\\prefs.qlx*Quit anyway?*'
  drv_ok keys "$answer" >/dev/null
  [ "$answer" = y ] || { sleep "$E2E_SETTLE_S"; assert_ok "No keeps the program running" kill -0 "$E2E_PID"; }
done
e2e_wait_exit "Yes ends the program"
release_file
file_has "the clips were saved all the same" "$E2E_DIR/Cb1.qlx" 'saved though prefs are not'
assert_eq "prefs.qlx is as it was" '0000000000' "$(tr -d '\r\n' <"$E2E_DIR/prefs.qlx")"

# -- A program folder that cannot be written at all: a read-only mount (as
# root, file modes alone do not stop Wine from writing).
e2e_fresh_folder
ro=$(mktemp -d "$e2e_tmp/ro.XXXXXX")
if mount -t tmpfs -o size=64m tmpfs "$ro" 2>/dev/null; then
  E2E_MOUNTS+=("$ro")
  cp -p "$E2E_DIR"/* "$ro"/
  printf 'stored%70s/:hdr:\\1111111111111\r\n' '' >"$ro/Lb1.qlx"
  printf '/:hdr:\\1111111111111\r\nstored\r\n/:tlr:\\1111111111111\r\n' >"$ro/Cb1.qlx"
  cp -rp "$ro" "$e2e_tmp/ro.before"
  mount -o remount,ro "$ro"
  E2E_DIR=$ro
  drv_ok clear-clip
  e2e_launch
  e2e_wait_box '*: Solvane Clips cannot write to its folder *, so the clips you copy cannot be saved there. Move Solvane Clips to a folder you can write to*'
  e2e_answer enter
  e2e_wait_started
  assert_titles "a read-only folder loads" 'stored'
  e2e_copy 'cannot be saved here'
  e2e_wait_title 0 'cannot be saved here'
  drv_ok command save
  e2e_wait_box '*: Cannot create file *\\Lb1.qlx'
  e2e_answer enter
  drv_ok command quit
  e2e_wait_box 'Confirm: Solvane Clips could not save everything:*Cannot create file *\\Lb1.qlx*\\prefs.qlx*Quit anyway?*'
  drv_ok keys y >/dev/null
  e2e_wait_exit "Yes ends the program in a read-only folder"
  assert_ok "nothing in the folder changed" diff -r "$e2e_tmp/ro.before" "$ro"
  umount -l "$ro"
else
  e2e_log "skipped: a read-only folder needs a tmpfs mount, which this machine refuses"
fi

# -- The settings reach their file at OK and at the end of the session.
e2e_fresh_folder
rm -f "$E2E_DIR/Solvaneclips.ini"
e2e_start
drv_ok command settings
rect=$(drv wait-class TForm2 "$E2E_WAIT_MS") || e2e_fatal "the settings dialog did not open: $rect"
e2e_click_settings_ok
assert_ok "OK writes the settings file" e2e_wait_until test -e "$E2E_DIR/Solvaneclips.ini"
rm -f "$E2E_DIR/Solvaneclips.ini"
e2e_copy 'at logoff'
e2e_wait_title 0 'at logoff'
assert_eq "the session may end" 1 "$(drv_ok end-session-and-kill)"
wait "$E2E_PID" 2>/dev/null
E2E_PID=""
file_has "the session's end writes the settings" "$E2E_DIR/Solvaneclips.ini" 'ComboBox1.Text=Ctrl+Alt+Down'
file_has "and the clips" "$E2E_DIR/Cb1.qlx" 'at logoff'

# -- A capture in the same second as the start, then an autosave tick.
e2e_fresh_folder
e2e_keep_desktop
e2e_copy 'on the clipboard at start'
e2e_start
e2e_wait_title 0 'on the clipboard at start'
drv_ok timer 2
file_has "the next autosave tick writes it" "$E2E_DIR/Cb1.qlx" 'on the clipboard at start'

# -- Clear Clips goes over a copy that a save cut short left behind.
printf 'half a secret\r\n' >"$E2E_DIR/Cb1.qlx.saving"
drv_ok command clear
assert_ok "Clear Clips removes the unfinished copy" e2e_wait_until test ! -e "$E2E_DIR/Cb1.qlx.saving"
assert_eq "and empties the clip file" 0 "$(stat -c %s "$E2E_DIR/Cb1.qlx")"
e2e_close
e2e_done
