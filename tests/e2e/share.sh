#!/usr/bin/env bash
# One history on two machines: two program folders, each with its own
# shared folder, kept in step by unison (a real two-way file sync, run in
# batch mode between the steps as a cloud drive runs between copies). Copies
# on both sides meet, a text copied on both is one clip, a removal on one
# and a Clear Clips on the other (made while the sync was paused) hold on
# both, a file the sync cut in the middle of an entry breaks nothing, a
# file that arrives while the program runs is merged within a second, and
# no copied text is in any byte of either shared folder.
. "$(dirname "$0")/lib.sh" "$@"

command -v unison >/dev/null || e2e_fatal "unison is not installed (scripts/deps.sh installs it)"
share_a=$e2e_tmp/share-a
share_b=$e2e_tmp/share-b
mkdir -p "$share_a" "$share_b" "$e2e_tmp/unison"
passphrase='two machines, one history'

# sync_folders WHY [UNISON OPTION...]
sync_folders() {
  local why=$1
  shift
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if UNISON=$e2e_tmp/unison unison "$share_a" "$share_b" -batch -auto -silent -confirmbigdel=false "$@" \
    >>"$e2e_tmp/unison.log" 2>&1; then
    e2e_log "ok: unison synced the two folders ($why)"
  else
    e2e_fail "unison failed ($why): $(tail -n 5 "$e2e_tmp/unison.log")"
  fi
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# machine NAME SHARE: a program folder of its own whose settings share the
# history through SHARE; its folder is left in dir_NAME.
machine() {
  e2e_fresh_folder
  e2e_settings_text >"$E2E_DIR/Solvaneclips.ini"
  printf 'Edit1.Text=%s\r\n' "$(winpath "$2")" >>"$E2E_DIR/Solvaneclips.ini"
  printf -v "dir_$1" '%s' "$E2E_DIR"
}
on() { local var="dir_$1"; E2E_DIR=${!var}; }

# The first start asks for the passphrase (once, in a box), which is typed
# in Settings; OK derives the key and merges what the folder holds.
start_and_type_passphrase() {
  drv_ok clear-clip # one clipboard serves both "machines": nothing for the start to record
  e2e_launch
  drv_ok wait-window "$E2E_WAIT_MS" >/dev/null
  e2e_wait_box '*type the shared folder'"'"'s passphrase in Settings*'
  e2e_answer enter
  drv_ok wait-visible 0 "$E2E_WAIT_MS" >/dev/null
  type_passphrase "$passphrase"
}

copy_and_wait() {
  e2e_copy "$1"
  assert_ok "\"$1\" is recorded" drv wait-title 0 "$1" "$E2E_WAIT_MS"
}
show_window() {
  drv_ok keys ctrl+alt+down >/dev/null
  assert_ok "the hotkey shows the window" drv wait-visible 1 "$E2E_WAIT_MS"
}
hide_window() {
  drv_ok keys esc >/dev/null
  assert_ok "Esc hides the window" drv wait-visible 0 "$E2E_WAIT_MS"
}
titles_of() { e2e_titles | paste -sd'|'; }

# Settings: the passphrase typed, then OK (which derives the key).
type_passphrase() {
  drv_ok command settings >/dev/null
  assert_ok "the settings dialog opens" e2e_wait_until drv control-rect TForm2 $e2e_settings_passphrase
  drv_ok type-text TForm2 $e2e_settings_passphrase "$1" >/dev/null
  e2e_click_settings_ok
}
start_clean() {
  drv_ok clear-clip
  e2e_start
}

machine a "$share_a"
machine b "$share_b"

# Machine A shares first: its passphrase makes the folder's salt.
on a
start_and_type_passphrase
assert_ok "A's passphrase made the salt in its shared folder" e2e_wait_until test -s "$share_a/Shared.salt"
copy_and_wait "alpha from A"
copy_and_wait "on both machines"
e2e_close
sync_folders "A's first copies"

# Machine B joins with the same passphrase: A's clips arrive at once, and
# a text copied on both machines is one clip.
on b
start_and_type_passphrase
assert_ok "B shows A's clips once its passphrase is typed" drv wait-title 0 "on both machines" "$E2E_WAIT_MS"
copy_and_wait "beta from B"
copy_and_wait "on both machines"
assert_eq "on B, the text copied on both machines is one clip" \
  "on both machines|beta from B|alpha from A" "$(titles_of)"
e2e_close
sync_folders "B's copies"

# A, started again, has B's clips; it removes one (final once the window
# hides) and copies another, with the sync paused.
on a
start_clean
assert_eq "A has B's clips, the shared text once" "on both machines|beta from B|alpha from A" "$(titles_of)"
show_window
drv_ok keys del 3 >/dev/null # line 2: "alpha from A"
assert_ok "Delete and label 3 remove a clip on A" drv wait-title 0 "on both machines" "$E2E_WAIT_MS"
hide_window
copy_and_wait "gamma from A"
e2e_close

# B runs while the sync brings A's file: merged within a second.
on b
start_clean
assert_eq "before the sync B still has the clip A removed" "on both machines|beta from B|alpha from A" "$(titles_of)"
sync_folders "A's removal and copy, B running"
assert_ok "A's new copy is on top of B's list within a second" drv wait-title 0 "gamma from A" 1000
assert_eq "and the clip A removed is gone from B" "gamma from A|on both machines|beta from B" "$(titles_of)"
# B clears its clips while the sync is paused, and copies one more.
drv_ok command clear >/dev/null
assert_ok "Clear Clips empties B's list" drv wait-count 0 "$E2E_WAIT_MS"
copy_and_wait "delta from B"
e2e_close

# A copies, sync still paused; then the sync program starts to bring A's
# file to B and is cut off in the middle of A's last entry.
on a
start_clean
copy_and_wait "epsilon from A"
e2e_close
log_a=$share_a/$(head -n 1 "$dir_a/Machine.qlx" | tr -d '\r').log
mapfile -t frames < <(drv_ok share-frames "$(winpath "$log_a")" | tr -d '\r')
last_two=("${frames[@]: -2}")
cut=$(((last_two[0] + last_two[1]) / 2))
head -c "$cut" "$log_a" >"$share_b/$(basename "$log_a")"
on b
start_clean
assert_eq "B reads A's file up to the cut: B's clear held, A's last copy not yet there" "delta from B" "$(titles_of)"
assert_eq "and says nothing about it" "" "$(drv_ok boxes)"
sync_folders "the rest of A's file" -prefer "$share_a"
assert_ok "the rest of A's file brings its last copy" drv wait-title 0 "epsilon from A" "$E2E_WAIT_MS"
titles_b=$(titles_of)
e2e_close
sync_folders "B's clear"

on a
start_clean
titles_a=$(titles_of)
assert_eq "both machines show the same history" "$titles_b" "$titles_a"
assert_eq "nothing removed or cleared came back" "epsilon from A|delta from B" "$titles_a"
e2e_close

for text in "alpha from A" "beta from B" "gamma from A" "delta from B" "epsilon from A" "on both machines" \
  "$passphrase"; do
  assert_ok "\"$text\" is in no byte of either shared folder" sh -c "! grep -aqF '$text' -r '$share_a' '$share_b'"
done
assert_ok "the passphrase is in no file of either program folder" \
  sh -c "! grep -aqF '$passphrase' -r '$dir_a' '$dir_b'"
assert_ok "each machine wrote a file of its own" test "$(find "$share_a" -name '*.log' | wc -l)" -eq 2

e2e_done
