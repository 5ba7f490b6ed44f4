#!/usr/bin/env bash
# Odd or damaged files in the program's folder: NUL bytes in the clip files,
# empty clip files, a prefs.qlx without a first line, a settings file of
# random bytes. Each start is quiet (no box), the program runs on and records
# a copied text, and a close keeps what was loaded: clip texts to the last
# byte, the records of titles that were not read, and (kept aside) a title
# file that a NUL cut short.
. "$(dirname "$0")/lib.sh" "$@"

pad=$(printf '%70s' '')
# item TITLE KEY, record KEY TEXT: a line of Lb1.qlx, a record of Cb1.qlx;
# TITLE and TEXT take printf %b escapes, so they can hold NULs.
item() { printf '%b%s/:hdr:\\%s\r\n' "$1" "$pad" "$2"; }
record() { printf '/:hdr:\\%s\r\n%b\r\n/:tlr:\\%s\r\n' "$1" "$2" "$1"; }

# start_quietly WHAT: a start with an empty clipboard (a start records the
# clipboard's text) that shows no box.
start_quietly() {
  drv_ok clear-clip
  e2e_start
  assert_eq "$1: the start shows no box" '' "$(drv_ok boxes)"
}

# still_records WHAT TEXT: the program runs and records a copied text.
still_records() {
  assert_ok "$1: the program still runs" kill -0 "$E2E_PID"
  e2e_copy "$2"
  e2e_wait_title 0 "$2"
}

# close_keeps WHAT TEXT...: closes; Lb1.qlx then holds the list as shown, and
# Cb1.qlx the clips recorded in this run (one-line texts, newest first) over
# the bytes it had at the start.
close_keeps() {
  local what=$1 items text recorded=""
  shift
  items=$(drv_ok items)
  e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
  # A paste moves titles, not records: find each clip's item by its title.
  for text in "$@"; do recorded+=$(grep -F -- "$text$pad/:hdr:" <<<"$items")$'\n'; done
  { e2e_store_file "${recorded%$'\n'}" "$@"; cat "$e2e_tmp/Cb1.start"; } >"$e2e_tmp/Cb1.want"
  e2e_close
  assert_file_bytes "$what: Lb1.qlx holds the list after the close" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
  assert_file_bytes "$what: Cb1.qlx holds the new clips over the loaded bytes" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
}

# show_window WHAT: the hotkey with the application in front shows the window.
show_window() {
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

# ---- NUL bytes: the title file is read up to its first NUL; a clip's text
# keeps its NULs.
e2e_fresh_folder
{
  item 'nul text' 0000000000001
  item 'alpha' 0000000000002
  item 'be\0ta' 0000000000003
  item 'gamma' 0000000000004
} >"$E2E_DIR/Lb1.qlx"
{
  record 0000000000001 'de\0lta\r\n\0end'
  record 0000000000002 'alpha'
  record 0000000000003 'beta'
  record 0000000000004 'gamma'
} >"$E2E_DIR/Cb1.qlx"
cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.start"
cp "$E2E_DIR/Lb1.qlx" "$e2e_tmp/Lb1.start"
start_quietly "NULs"
e2e_open_target
# As the driver prints them: the mark's backslash doubled.
assert_eq "the title file is read up to its first NUL" \
  "$(printf '%s%s/:hdr:\\\\%s\n' 'nul text' "$pad" 0000000000001 alpha "$pad" 0000000000002; echo be)" \
  "$(drv_ok items)"
still_records "NULs" 'copied after NULs'

show_window "NULs: the hotkey shows the window"
drv_ok keys 2
# A program that pastes reads the text up to its first NUL; the clipboard
# must still carry all of it.
assert_ok "the clip with NULs pastes up to its first NUL" drv wait-target-text 'de' "$E2E_WAIT_MS"
assert_eq "the clipboard carries the clip's whole text, NULs and all" \
  'de\x00lta\r\n\x00end' "$(drv_ok get-clip-block)"

# The title cut at the NUL has no key: its label pastes nothing, not even
# the clipboard's old text.
show_window "NULs: the hotkey shows the window again"
drv_ok keys 4
sleep "$E2E_SETTLE_S"
assert_eq "the title cut at the NUL pastes nothing" 'de' "$(drv_ok target-text)"
assert_eq "the clipboard keeps the last paste" 'de\x00lta\r\n\x00end' "$(drv_ok get-clip-block)"
e2e_click 200 300 left
still_records "NULs, after the pastes" 'copied after the pastes'
# The titles after the NUL were not read: the first save keeps the file
# aside rather than lose them, and says so.
drv_ok command save
e2e_wait_box '*: The clips in *\\Lb1.qlx could not all be loaded*kept as *\\Lb1 (not loaded).qlx.'
e2e_answer enter
assert_file_bytes "NULs: the title file is kept whole" "$e2e_tmp/Lb1.start" "$E2E_DIR/Lb1 (not loaded).qlx"
close_keeps "NULs" 'copied after the pastes' 'copied after NULs'

# ---- empty clip files: a first start.
e2e_fresh_folder
: >"$E2E_DIR/Lb1.qlx"
: >"$E2E_DIR/Cb1.qlx"
: >"$e2e_tmp/Cb1.start"
start_quietly "0-byte clip files"
assert_eq "0-byte clip files: the list is empty" 0 "$(drv_ok count)"
still_records "0-byte clip files" 'first of an empty history'
close_keeps "0-byte clip files" 'first of an empty history'
assert_file_bytes "0-byte clip files: prefs.qlx keeps its bytes" "$E2E_FIRST_START/prefs.qlx" "$E2E_DIR/prefs.qlx"

# ---- prefs.qlx with no first line: the default flags.
printf '0000000000\r\n' >"$e2e_tmp/prefs.want"
for prefs in '\r\n' ''; do
  what="prefs.qlx of \"$prefs\""
  e2e_fresh_folder
  printf '%b' "$prefs" >"$E2E_DIR/prefs.qlx"
  cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.start"
  start_quietly "$what"
  still_records "$what" 'recorded beside an empty prefs.qlx'
  close_keeps "$what" 'recorded beside an empty prefs.qlx'
  assert_file_bytes "$what: the close writes the default flags" "$e2e_tmp/prefs.want" "$E2E_DIR/prefs.qlx"
done

# ---- a settings file of random bytes: the default settings.
e2e_fresh_folder
# 4 KB from a Park-Miller generator: the same bytes on every machine.
LC_ALL=C awk 'BEGIN { x = 20240607; for (i = 0; i < 4096; i++) { x = (x * 16807) % 2147483647; printf "%c", x % 256 } }' \
  </dev/null >"$E2E_DIR/Solvaneclips.ini"
[ "$(stat -c %s "$E2E_DIR/Solvaneclips.ini")" = 4096 ] || e2e_fatal "awk wrote no 4096 random bytes"
cp "$E2E_DIR/Cb1.qlx" "$e2e_tmp/Cb1.start"
start_quietly "random settings file"
show_window "random settings file: the default hotkey shows the window"
e2e_click 200 300 left
assert_ok "a click on the application hides it" drv wait-visible 0 "$E2E_WAIT_MS"
still_records "random settings file" 'recorded with random settings'
close_keeps "random settings file" 'recorded with random settings'
assert_ok "the close writes the default hotkey to the settings file" \
  grep -aq $'^ComboBox1.Text=Ctrl+Alt+Down\r$' "$E2E_DIR/Solvaneclips.ini"
# What the close left must read back as well.
start_quietly "the settings file rewritten over random bytes"
show_window "rewritten settings file: the hotkey shows the window"
e2e_click 200 300 left
still_records "rewritten settings file" 'recorded after the rewrite'
e2e_close
e2e_done
