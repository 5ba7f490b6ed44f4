#!/usr/bin/env bash
# Text the ANSI code page cannot hold (Polish letters, CJK, an emoji, a
# right-to-left word), copied from an X11 program and from a Windows
# program, survives capture, a restart and a paste into a Unicode edit
# control byte for byte, and the list shows its real characters, deep in a
# long history too (where lines reach the list box after the start). A text
# the code page holds leaves the clip files as they always were and writes
# no third file.
. "$(dirname "$0")/lib.sh" "$@"

e2e_keep_desktop

# esc TEXT: TEXT escaped as the driver prints it.
esc() {
  printf '%s' "$1" |
    perl -0777 -pe 's/\\/\\\\/g; s/\r/\\r/g; s/\n/\\n/g; s/\t/\\t/g; s/([^\x20-\x7e\\])/sprintf("\\x%02X", ord($1))/ge'
}

# An X11 program offers the text as UTF-8.
x11_copy_utf8() {
  printf '%s' "$1" | xclip -quiet -selection clipboard -t UTF8_STRING >/dev/null 2>&1 &
  E2E_XCLIP_PIDS+=($!)
}

# wait_utf8 WHAT EXPECTED COMMAND...: until the driver command prints
# EXPECTED (escaped).
wait_utf8() {
  local what=$1 want=$2 got=""
  shift 2
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
  while [ "$SECONDS" -le "$deadline" ]; do
    got=$(drv "$@" 2>/dev/null) && [ "$got" = "$want" ] && break
    sleep 0.1
  done
  assert_eq "$what" "$want" "$got"
}

from_x11='Łódź 東京 😀 שלום'
from_wine=$'żółw ∑ ≤ ∞\r\nsecond line'

e2e_fresh_folder
e2e_start
x11_copy_utf8 "$from_x11"
wait_utf8 "the list shows the X11 copy's real characters" "$(esc "$from_x11")" title-utf8 0
drv_ok set-clip-utf8 "$(esc "$from_wine")"
wait_utf8 "the list shows the Windows copy's first line" "$(esc 'żółw ∑ ≤ ∞...')" title-utf8 0
assert_eq "two clips" 2 "$(drv_ok count)"
drv_ok clear-clip
e2e_close

exact=$E2E_DIR/Cb1.utf8.qlx
assert_ok "the exact texts have a file of their own" test -s "$exact"
assert_ok "it holds the X11 copy in UTF-8" grep -qF "$from_x11" "$exact"
assert_ok "and the Windows copy" grep -qF "żółw ∑ ≤ ∞" "$exact"
assert_ok "the clip file holds no UTF-8" sh -c "! grep -qF 'ł' '$E2E_DIR/Cb1.qlx' && ! grep -qF 'ł' '$E2E_DIR/Lb1.qlx'"

e2e_start
assert_eq "both clips are back" 2 "$(drv_ok count)"
assert_eq "with their real characters" "$(esc "$from_x11")" "$(drv_ok title-utf8 1)"
e2e_open_target
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
drv_ok keys 2
wait_utf8 "the paste delivers the X11 copy byte for byte" "$(esc "$from_x11")" target-text-utf8
assert_eq "the clipboard holds it exactly" "$(esc "$from_x11")" "$(drv_ok get-clip-utf8)"
assert_eq "its exact title moved to the top with it" "$(esc "$from_x11")" "$(drv_ok title-utf8 0)"
e2e_close

# An exact text deep in a long history: its line waits for the list box
# with the rest, and goes in with its real characters.
drv_ok clear-clip
e2e_fresh_folder
padding=$(printf '%70s' '')
: >"$E2E_DIR/Lb1.qlx"
: >"$E2E_DIR/Cb1.qlx"
for ((i = 0; i < 400; i++)); do
  key=$(printf '%013d' $((1000000000000 + i)))
  printf 'clip %d%s/:hdr:\\%s\r\n' "$i" "$padding" "$key" >>"$E2E_DIR/Lb1.qlx"
  printf '/:hdr:\\%s\r\nclip %d\r\n/:tlr:\\%s\r\n' "$key" "$i" "$key" >>"$E2E_DIR/Cb1.qlx"
done
printf '/:hdr:\\%s\r\n%s\r\n/:tlr:\\%s\r\n' 1000000000300 'Łódź 300' 1000000000300 >"$E2E_DIR/Cb1.utf8.qlx"
e2e_start
assert_eq "line 300 shows its exact title" "$(esc 'Łódź 300')" "$(drv_ok title-utf8 300)"
assert_eq "the lines around it are as they were" "clip 299 clip 301" "$(drv_ok title-utf8 299) $(drv_ok title-utf8 301)"
e2e_close
assert_ok "the title file keeps the line's ANSI title" grep -qa "^clip 300 " "$E2E_DIR/Lb1.qlx"

# A text the code page holds: the files of old, and no third one.
drv_ok clear-clip
e2e_fresh_folder
e2e_start
drv_ok set-clip-utf8 "$(esc 'café au lait')"
e2e_wait_title 0 'caf\xE9 au lait'
items=$(drv_ok items)
e2e_close
e2e_title_file "$items" >"$e2e_tmp/Lb1.want"
e2e_store_file "$items" 'caf\xE9 au lait' >"$e2e_tmp/Cb1.want"
assert_file_bytes "Lb1.qlx as before" "$e2e_tmp/Lb1.want" "$E2E_DIR/Lb1.qlx"
assert_file_bytes "Cb1.qlx as before" "$e2e_tmp/Cb1.want" "$E2E_DIR/Cb1.qlx"
assert_ok "no file of exact texts" test ! -e "$E2E_DIR/Cb1.utf8.qlx"
e2e_done
