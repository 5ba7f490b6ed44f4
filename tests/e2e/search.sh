#!/usr/bin/env bash
# Search: F3 opens a search line over the title picture; keys typed there
# show only the clips whose whole text holds every word, newest first, in a
# list over the title list that another program reads as it reads the title
# list, with the count beside the line; Down moves the highlight and Enter
# pastes the match into the application; a clip copied meanwhile joins the
# matches; Esc shows the whole list again as it was, a second Esc hides the
# window; exact texts are found by their own characters.
. "$(dirname "$0")/lib.sh" "$@"

matches=$e2e_match_list
search_line=$e2e_search_line
search_status=$e2e_search_status

# show_window WHAT: the application in front, then the hotkey.
show_window() {
  e2e_click 200 300 left
  drv_ok keys ctrl+alt+down
  assert_ok "$1" drv wait-visible 1 "$E2E_WAIT_MS"
}

# control_is WHAT ID PATTERN: waits until `drv control ID` (VISIBLE
# SELECTED TEXT) is PATTERN, or matches it as a bash glob.
control_is() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000)) now
  while :; do
    now=$(drv_ok control "$2")
    # shellcheck disable=SC2053  # PATTERN is a glob on purpose
    [[ "$now" == "$3" || "$now" == $3 ]] && break
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.1
  done
  # shellcheck disable=SC2053
  if [[ "$now" == "$3" || "$now" == $3 ]]; then assert_eq "$1" "$now" "$now"; else assert_eq "$1" "$3" "$now"; fi
}

# matches_are WHAT TITLE...: waits until the match list shows these titles.
matches_are() {
  local what=$1 want deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000)) now
  shift
  want=$(printf '%s\n' "$@")
  [ $# -gt 0 ] || want=''
  while :; do
    now=$(drv_ok titles $matches)
    [ "$now" = "$want" ] && break
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.1
  done
  assert_eq "$what" "$want" "$now"
}

e2e_start
e2e_open_target
for text in 'Invoice ACME 2024' 'milk, eggs\r\nand acme bread' 'nothing to see' 'ACME dinner on Friday'; do
  e2e_copy "$text"
done
drv_ok set-clip-utf8 '\xc5\x81\xc3\xb3d\xc5\xba station'  # Łódź: not in the ANSI code page
e2e_wait_title 0 'L\xF3dz station'
history=$(e2e_titles)

show_window "the hotkey shows the window"
drv_ok keys f3 >/dev/null
control_is "F3 opens the search line" $search_line '1 0 '
matches_are "with nothing typed every clip matches" "L\\xF3dz station" 'ACME dinner on Friday' 'nothing to see' \
  'milk, eggs...' 'Invoice ACME 2024'
drv_ok keys a c m e >/dev/null
control_is "the typed word is in the search line" $search_line '1 0 acme'
matches_are "\"acme\" finds the clips that hold it, in any case, on any line, newest first" \
  'ACME dinner on Friday' 'milk, eggs...' 'Invoice ACME 2024'
control_is "the count shows beside the line" $search_status '1 0 3'
control_is "the first match is highlighted" $matches '1 0 *'
drv_ok keys space 2 0 >/dev/null
matches_are "a second word narrows to the clips that hold both" 'Invoice ACME 2024'
drv_ok keys back back back >/dev/null
matches_are "taking it back widens again" 'ACME dinner on Friday' 'milk, eggs...' 'Invoice ACME 2024'
e2e_copy 'acme copied during the search'
matches_are "a clip copied meanwhile joins the matches" 'acme copied during the search' \
  'ACME dinner on Friday' 'milk, eggs...' 'Invoice ACME 2024'
assert_eq "and the title list has it too" 'acme copied during the search' "$(e2e_titles | head -n 1)"
history=$(e2e_titles)
control_is "the highlight stays on its clip" $matches '1 1 *'
drv_ok keys down >/dev/null
control_is "Down moves the highlight" $matches '1 2 *'
drv_ok target-clear
drv_ok keys enter >/dev/null
assert_ok "Enter pastes the highlighted match" drv wait-target-text 'milk, eggs\r\nand acme bread' "$E2E_WAIT_MS"
assert_ok "and puts the window away" drv wait-visible 0 "$E2E_WAIT_MS"
assert_eq "the pasted clip is on top of the whole list, every clip kept" \
  "$(printf 'milk, eggs...\n'; grep -vx 'milk, eggs...' <<<"$history")" "$(e2e_titles)"
history=$(e2e_titles)

show_window "the hotkey shows the window with the whole list"
control_is "the search line is closed" $search_line '0 0 '
drv_ok keys f3 z z z >/dev/null
matches_are "no clip holds zzz" 
control_is "so the line says no clip matches" $search_status '1 0 No clip matches'
drv_ok keys esc >/dev/null
control_is "Esc closes the search line" $search_line '0 0 '
control_is "and the matches" $matches '0 *'
assert_eq "the whole list is as it was" "$history" "$(e2e_titles)"
assert_eq "the window is still up" 1 "$(drv_ok visible)"
drv_ok keys esc >/dev/null
assert_ok "a second Esc hides the window" drv wait-visible 0 "$E2E_WAIT_MS"

# An exact text, found by its own letters in either case, typed as a
# keyboard layout types letters the ANSI code page lacks.
show_window "the hotkey shows the window again"
read -r left top _ _ <<<"$(drv_ok window-rect)"
e2e_click $((left + 50)) $((top + 8)) left
control_is "a click on the title picture opens the search line" $search_line '1 0 '
drv_ok type-chars $search_line '\xc5\x82\xc3\xb3d\xc5\xba'  # łódź
control_is "the search line holds the letters typed" $search_line '1 0 \xC5\x82\xC3\xB3d\xC5\xBA'
control_is "\"łódź\" finds the clip of \"Łódź\"" $search_status '1 0 1'
drv_ok target-clear
drv_ok keys enter >/dev/null
assert_ok "and pastes its exact text" e2e_wait_until sh -c \
  "[ \"\$(wine '$E2E_DRIVER' target-text-utf8)\" = '\\xC5\\x81\\xC3\\xB3d\\xC5\\xBA station' ]"
e2e_close
e2e_done
