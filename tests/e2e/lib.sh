# shellcheck shell=bash
# Common ground for the end-to-end tests. A test script starts with
#   . "$(dirname "$0")/lib.sh" "$@"
# and is run as: script.sh SOLVANE_EXE DRIVER_EXE FIRST_START_DIR
#
# It runs on the display and Wine prefix of the enclosing run (scripts/test.sh
# or ctest started from it), or makes its own when started alone. Every test
# gets a fresh program folder, so no history leaks from one test to the next.

set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 SOLVANE_EXE DRIVER_EXE FIRST_START_DIR" >&2
  exit 2
fi
E2E_EXE=$(realpath "$1")
E2E_DRIVER=$(realpath "$2")
E2E_FIRST_START=$(realpath "$3")
E2E_NAME=$(basename "$0" .sh)
for f in "$E2E_EXE" "$E2E_DRIVER"; do
  [ -f "$f" ] || { echo "$E2E_NAME: no such file: $f" >&2; exit 2; }
done
[ -d "$E2E_FIRST_START" ] || { echo "$E2E_NAME: no such folder: $E2E_FIRST_START" >&2; exit 2; }

# How long the program and the desktop may take to react, in ms. Generous:
# a loaded CI machine starts Wine processes slowly.
E2E_WAIT_MS=${E2E_WAIT_MS:-10000}
# How long to watch for something that must not happen, in seconds.
E2E_SETTLE_S=${E2E_SETTLE_S:-1.5}

e2e_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$e2e_repo/scripts/wine-env.sh"

E2E_FAILS=0
E2E_CHECKS=0
E2E_PID=""        # the program under test, while it runs
E2E_KEEP_PID=""   # the desktop keeper
E2E_TARGET_PID="" # the paste target, while it is open
E2E_XCLIP_PIDS=()
E2E_MOUNTS=()     # file systems a test mounted, undone at its end
E2E_DPI_SET=0     # the prefix's DPI was changed: 96 again at the end
E2E_DIR=""
e2e_owns_wine=0
e2e_tmp=$(mktemp -d "/tmp/solvane-e2e.$E2E_NAME.XXXXXX")

e2e_cleanup() {
  local rc=$?
  if [ -n "$E2E_PID" ]; then
    if [ -e "$e2e_tmp/failed" ]; then e2e_show_program_log; fi
    e2e_stop
  fi
  if [ -n "$E2E_TARGET_PID" ]; then
    drv target-close >/dev/null 2>&1 || kill "$E2E_TARGET_PID" 2>/dev/null
    wait "$E2E_TARGET_PID" 2>/dev/null
  fi
  for pid in "${E2E_XCLIP_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for dir in "${E2E_MOUNTS[@]}"; do umount -l "$dir" 2>/dev/null; done
  if [ "$E2E_DPI_SET" = 1 ]; then e2e_reg_dpi 96; fi
  if [ -n "$E2E_KEEP_PID" ]; then
    kill "$E2E_KEEP_PID" 2>/dev/null
    wait "$E2E_KEEP_PID" 2>/dev/null
  fi
  if [ "$e2e_owns_wine" = 1 ]; then solvane_wine_down; fi
  rm -rf "$e2e_tmp"
  exit "$rc"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM
# e2e_fatal inside $(...) signals the test's own shell with this.
trap 'exit 1' USR1

if [ -z "${SOLVANE_WINE_READY:-}" ]; then
  e2e_owns_wine=1
  solvane_wine_up || { echo "$E2E_NAME: could not set up Wine" >&2; exit 1; }
fi

# ---- reporting ----

e2e_log() { printf '%s: %s\n' "$E2E_NAME" "$*"; }

# Failures go to stderr, so they show even from inside $(...); the marker
# file counts them there too.
e2e_fail() {
  E2E_FAILS=$((E2E_FAILS + 1))
  : >"$e2e_tmp/failed"
  printf '%s: FAIL: %s\n' "$E2E_NAME" "$*" >&2
}

# Stops the test at once: later steps make no sense after this one.
e2e_abort() {
  if [ "$BASHPID" != "$$" ]; then kill -USR1 "$$"; fi
  exit 1
}

e2e_fatal() {
  e2e_fail "$*"
  e2e_abort
}

# assert_eq WHAT EXPECTED ACTUAL
assert_eq() {
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if [ "$2" == "$3" ]; then
    e2e_log "ok: $1"
  else
    e2e_fail "$1"
    {
      printf '  expected: %s\n' "$2" | sed '2,$s/^/            /'
      printf '  actual:   %s\n' "$3" | sed '2,$s/^/            /'
    } >&2
  fi
}

# assert_ok WHAT COMMAND...: the command succeeds.
assert_ok() {
  local what=$1 out
  shift
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if out=$("$@" 2>&1); then
    e2e_log "ok: $what"
  else
    e2e_fail "$what"
    printf '  command: %s\n  output:  %s\n' "$*" "$out" >&2
  fi
}

# Ends the test; its exit code tells ctest the verdict.
e2e_done() {
  if [ "$E2E_CHECKS" -eq 0 ]; then e2e_fatal "the test checked nothing"; fi
  if [ -e "$e2e_tmp/failed" ] && [ "$E2E_FAILS" -eq 0 ]; then E2E_FAILS=1; fi
  if [ "$E2E_FAILS" -gt 0 ]; then
    e2e_log "$E2E_FAILS of $E2E_CHECKS checks failed"
    exit 1
  fi
  e2e_log "all $E2E_CHECKS checks passed"
  exit 0
}

# ---- the driver ----

# drv ARGS... (scripts/wine-env.sh) runs the driver, its stdout the result;
# once more when Wine ended it with nothing said. Its files go with the
# test's own.
SOLVANE_DRIVER=$E2E_DRIVER
SOLVANE_DRV_TMP=$e2e_tmp

# drv_ok ARGS...: runs the driver, stops the test when it fails.
drv_ok() {
  local out rc=0
  out=$(drv "$@" 2>"$e2e_tmp/driver.err") || rc=$?
  [ "$rc" -eq 0 ] || e2e_fatal "driver $* (exit $rc): $(cat "$e2e_tmp/driver.err")"
  [ -z "$out" ] || printf '%s\n' "$out"
}

# Copies text as a Windows program does (escapes as in the driver).
e2e_copy() { drv_ok set-clip "$1" >/dev/null; }

# e2e_numbered_lines N: "line 1\r\nline 2\r\n..." up to N, escaped for e2e_copy.
e2e_numbered_lines() {
  local i text=''
  for i in $(seq 1 "$1"); do text+="line $i\\r\\n"; done
  printf '%s' "$text"
}

# Copies text as an X11 program does. xclip stays in the foreground with
# -quiet, so the test can end it; it also ends when Wine takes the selection.
e2e_x11_copy() {
  printf '%s' "$1" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
  E2E_XCLIP_PIDS+=($!)
}

# e2e_click X Y left|right|double: a click where a hand would make it.
# NOTE: X's pointer is moved there first (xdotool). The driver's own move
# reaches X late, and a window that shows or hides meanwhile makes X report
# the pointer at its old place, which Wine takes for a real move: the click
# then lands there.
e2e_click() {
  xdotool mousemove "$1" "$2"
  drv_ok mouse "$1" "$2" "$3"
}

# e2e_drag X1 Y1 X2 Y2: presses the left button at X1 Y1, moves to X2 Y2 in
# 4-pixel steps, as a hand does, rests, and lets go.
# NOTE: the steps go through X (xdotool), as e2e_click's move does: with the
# driver's moves, the dragged window crossing the pointer made X report it
# at old places, and the window ended a step or two off.
e2e_drag() {
  local x1=$1 y1=$2 dx=$(($3 - $1)) dy=$(($4 - $2)) steps i
  steps=$(((${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}) / 4))
  [ "$steps" -ge 1 ] || steps=1
  xdotool mousemove "$x1" "$y1"
  drv_ok wait-cursor "$x1" "$y1" "$E2E_WAIT_MS"
  xdotool mousedown 1
  sleep 0.05
  for i in $(seq 1 "$steps"); do
    xdotool mousemove $((x1 + dx * i / steps)) $((y1 + dy * i / steps))
    sleep 0.02
  done
  drv_ok wait-cursor "$3" "$4" "$E2E_WAIT_MS"
  sleep 0.3
  xdotool mouseup 1
}

# Holds Wine's named desktop (and the clipboard with it) open for the test;
# see solvane_keep_desktop.
e2e_keep_desktop() {
  [ -z "$E2E_KEEP_PID" ] || return 0
  local ok=0
  solvane_keep_desktop 600000 "$e2e_tmp/keep.out" && ok=1
  E2E_KEEP_PID=$SOLVANE_KEEPER_PID
  [ "$ok" = 1 ] || e2e_fatal "the desktop keeper did not start: $(cat "$e2e_tmp/keep.out")"
}

# Opens the driver's paste target: a visible window of another program in
# front, as the user's application is when the hotkey is pressed. It stays
# open until the test ends.
e2e_open_target() {
  [ -z "$E2E_TARGET_PID" ] || return 0
  solvane_drv target </dev/null >"$e2e_tmp/target.out" 2>&1 &
  E2E_TARGET_PID=$!
  local out
  if ! out=$(drv wait-target "$E2E_WAIT_MS" 2>&1); then
    e2e_fatal "the paste target did not open: $out $(cat "$e2e_tmp/target.out")"
  fi
}

# Checks that Wine draws the program's fonts in the face the tests were
# measured with (see solvane_check_fonts in scripts/wine-env.sh), once per
# prefix: a font problem must show as what it is, not as a dozen failing
# checks of the program's looks.
e2e_check_fonts() {
  local marker="$WINEPREFIX/solvane-fonts-checked" font line face file
  [ ! -e "$marker" ] || return 0
  solvane_check_fonts || e2e_fatal "font check failed: see above. This is the machine, not the program."
  # The program's two faces, and Tahoma for Wine's menus and boxes.
  for font in "MS Sans Serif" Arial Tahoma; do
    line=$(drv font-face "$font" 11 2>&1) || e2e_fatal "the driver could not ask Wine for a font: $line"
    face=${line%%$'\t'*}
    file=${line#*$'\t'}
    [ "$face" = "$SOLVANE_WINE_FACE" ] ||
      e2e_fatal "font check: Wine draws \"$font\" in \"$face\" ($file), not in" \
        "\"$SOLVANE_WINE_FACE\" ($SOLVANE_WINE_FACE_PACKAGE), the face the tests of the program's looks" \
        "are measured with: a font installed here that Wine prefers changes every size they check." \
        "This is the machine, not the program."
  done
  : >"$marker"
}

# NOTE: a Wine process that starts while the named desktop is closing (a
# second after the last process ended, say the program killed by a test)
# can fail to attach to it and exit 1 without a word. The desktop is held
# open for the whole test instead.
e2e_keep_desktop
e2e_check_fonts

# The clipboard outlives a test (the prefix and its wineserver are shared):
# every test starts from an empty one.
drv_ok clear-clip

# ---- the program's controls and settings ----

# Control ids, our own copies of the program's (src/platform/win32/), so
# that a changed id fails a test instead of agreeing with itself.
# The clip window: its two lists and the buttons of its top strip.
e2e_title_list=1001
e2e_label_list=1007
e2e_button_run_to_top=1011
e2e_button_crlf=1012   # "+cR": a paste ends in CR LF
e2e_button_crlflf=1013 # "+CR": a paste ends in CR LF LF
e2e_button_hide=1018
# The search: its matches over the title list, its line and the count beside it.
e2e_match_list=1002
e2e_search_line=1003
e2e_search_status=1004
# The notice over the title area ("Delete which clip?").
e2e_notice=1005
# The settings dialog (class TForm2).
e2e_settings_autosave=201
e2e_settings_prompt_clear=202
e2e_settings_prompt_quit=203
e2e_settings_hotkey=204
e2e_settings_delay=205
e2e_settings_ok=206
# Below OK: the shared history's folder, its browse button, the passphrase.
e2e_settings_share_folder=207
e2e_settings_browse=208
e2e_settings_passphrase=209

# Clicks the middle of the open settings dialog's OK button.
e2e_click_settings_ok() {
  local l t r b
  read -r l t r b <<<"$(drv_ok control-rect TForm2 $e2e_settings_ok)"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2)) left
}

# e2e_settings_text SETTING=VALUE...: the bytes of a settings file that
# holds those settings, in that order, as the settings dialog's section
# ([Form2]) with CR LF line ends:
#   hotkey=TEXT        ComboBox1.Text, the hotkey ("F9", "Ctrl+Alt+Down")
#   delay=TEXT         ComboBox2.Text, the paste delay in ms
#   autosave=on|off    CheckBox1.Checked, TRUE or FALSE
#   prompt_clear=on|off  CheckBox3.Checked
#   prompt_quit=on|off   CheckBox4.Checked
#   share_folder=TEXT  Edit1.Text, the shared history's folder (escaped as kept)
# A file that is malformed on purpose is written by hand instead.
e2e_settings_text() {
  local setting name value key
  printf '[Form2]\r\n'
  for setting in "$@"; do
    [[ "$setting" == *=* ]] || e2e_fatal "e2e_settings: not SETTING=VALUE: $setting"
    name=${setting%%=*}
    value=${setting#*=}
    [[ "$value" != *[$'\r\n']* ]] || e2e_fatal "e2e_settings: a line break in $name"
    case $name in
      hotkey) key=ComboBox1.Text ;;
      delay) key=ComboBox2.Text ;;
      autosave) key=CheckBox1.Checked ;;
      prompt_clear) key=CheckBox3.Checked ;;
      prompt_quit) key=CheckBox4.Checked ;;
      share_folder) key=Edit1.Text ;;
      *) e2e_fatal "e2e_settings: no setting $name (hotkey, delay, autosave, prompt_clear, prompt_quit, share_folder)" ;;
    esac
    if [[ "$key" == *.Checked ]]; then
      case $value in
        on) value=TRUE ;;
        off) value=FALSE ;;
        *) e2e_fatal "e2e_settings: $name is on or off, not $value" ;;
      esac
    fi
    printf '%s=%s\r\n' "$key" "$value"
  done
}

# e2e_settings SETTING=VALUE...: writes that settings file into the program
# folder (a new one when there is none yet), for the program's next start.
e2e_settings() {
  [ -n "$E2E_DIR" ] || e2e_fresh_folder
  e2e_settings_text "$@" >"$E2E_DIR/Solvaneclips.ini"
}

# ---- the screen ----

e2e_reg_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

# e2e_set_dpi DPI: the screen's scaling (96 is 100 %, 144 is 150 %) for the
# Wine processes started from now on, which read it at their start; the
# prefix is back at 96 when the test ends, whatever happened.
e2e_set_dpi() {
  E2E_DPI_SET=1
  e2e_reg_dpi "$1" || e2e_fatal "could not set the prefix's DPI to $1"
}

# ---- the program ----

# A new program folder: the exe and the files of a first start.
e2e_fresh_folder() {
  E2E_DIR=$(mktemp -d "$e2e_tmp/prog.XXXXXX")
  cp "$E2E_EXE" "$E2E_DIR/SolvaneClips.exe"
  local f
  for f in Lb1.qlx Cb1.qlx prefs.qlx; do
    [ -f "$E2E_FIRST_START/$f" ] || e2e_fatal "first-start file missing: $E2E_FIRST_START/$f"
    cp "$E2E_FIRST_START/$f" "$E2E_DIR/"
  done
}

# Starts the program in E2E_DIR without waiting for anything.
e2e_launch() {
  [ -n "$E2E_DIR" ] || e2e_fresh_folder
  [ -z "$E2E_PID" ] || e2e_fatal "the program is already running"
  (cd "$E2E_DIR" && exec wine SolvaneClips.exe </dev/null >>"$e2e_tmp/program.log" 2>&1) &
  E2E_PID=$!
}

# Starts the program in E2E_DIR and waits for its title list.
e2e_start() {
  e2e_launch
  e2e_wait_started
}

# Waits until the program has put its window away after its start.
e2e_wait_started() {
  local out
  if ! out=$(drv wait-window "$E2E_WAIT_MS" 2>&1); then
    e2e_fatal "the program did not show its window: $out"
  fi
  # The window exists, hidden, while the start loads the files; it is
  # centred and shown once they are in, and the start ends when the first
  # activation has put it away (until then a click or a window opened by the
  # test could land in its way). Hidden alone is also the state before the
  # showing, which a slow start made the tests take for the end.
  if ! out=$(drv wait-started "$E2E_WAIT_MS" 2>&1); then
    e2e_fatal "the program did not finish loading its start: $out"
  fi
  if ! out=$(drv wait-visible 0 "$E2E_WAIT_MS" 2>&1); then
    e2e_fatal "the program did not finish its start: $out"
  fi
}

# e2e_wait_until COMMAND...: runs COMMAND until it succeeds; false when it
# has not within E2E_WAIT_MS.
e2e_wait_until() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# e2e_wait_box PATTERN: waits until the message boxes on screen, as `drv
# boxes` prints them ("Caption: text"), match PATTERN (a bash glob).
e2e_wait_box() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000)) boxes
  while :; do
    boxes=$(drv_ok boxes)
    # shellcheck disable=SC2053  # PATTERN is a glob on purpose
    [[ "$boxes" == $1 ]] && break
    [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.2
  done
  E2E_CHECKS=$((E2E_CHECKS + 1))
  # shellcheck disable=SC2053
  [[ "$boxes" == $1 ]] || e2e_fatal "no box \"$1\" came; on screen: ${boxes:-none}"
  e2e_log "ok: a box shows $boxes"
}

# e2e_answer KEY: presses KEY in the box in front and waits until no box is up.
e2e_answer() {
  drv_ok keys "$1" >/dev/null
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
  until [ -z "$(drv_ok boxes)" ]; do
    [ "$SECONDS" -lt "$deadline" ] || e2e_fatal "the box did not go on $1: $(drv_ok boxes)"
    sleep 0.2
  done
}

# What the program left behind when it failed: message boxes and output.
e2e_show_program_log() {
  local boxes
  boxes=$(drv boxes 2>&1)
  if [ -n "$boxes" ]; then
    echo "--- message boxes ---"
    printf '%s\n' "$boxes"
  fi >&2
  if [ -s "$e2e_tmp/program.log" ]; then
    echo "--- program output ---"
    tail -n 40 "$e2e_tmp/program.log"
  fi >&2
}

# Closes the program as Windows does (WM_CLOSE) and checks that it ended.
e2e_close() {
  local out
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if out=$(drv close "$E2E_WAIT_MS" 2>&1); then
    wait "$E2E_PID" 2>/dev/null
    E2E_PID=""
    e2e_log "ok: the program ended on WM_CLOSE"
  else
    e2e_fail "the program did not end on WM_CLOSE: $out"
    e2e_kill_program
  fi
}

# Waits for the program to end by itself (after " Quit", say).
e2e_wait_exit() {
  local out
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if out=$(drv wait-exit "$E2E_WAIT_MS" 2>&1); then
    wait "$E2E_PID" 2>/dev/null
    E2E_PID=""
    e2e_log "ok: $1"
  else
    e2e_fail "$1: $out"
    e2e_kill_program
  fi
}

# Stops the program whatever state it is in: politely, then by force.
e2e_stop() {
  [ -n "$E2E_PID" ] || return 0
  if drv close 5000 >/dev/null 2>&1; then
    wait "$E2E_PID" 2>/dev/null
    E2E_PID=""
  else
    e2e_kill_program
  fi
}

# Ends the program without asking it; works even when wineserver is stuck.
e2e_kill_program() {
  kill -9 "$E2E_PID" 2>/dev/null
  wait "$E2E_PID" 2>/dev/null
  E2E_PID=""
}

# ---- the clip list ----

# Titles, one a line, escaped as by the driver.
e2e_titles() { drv_ok titles; }

# Waits until clip I carries TITLE; a late or missing capture stops the test.
e2e_wait_title() {
  local out
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if out=$(drv wait-title "$1" "$2" "$E2E_WAIT_MS" 2>&1); then
    e2e_log "ok: clip $1 is titled \"$2\""
  else
    e2e_fail "waiting for clip $1 titled \"$2\": $out"
    {
      echo "  titles now:"
      drv titles 2>&1 | sed 's/^/    /'
    } >&2
    e2e_abort
  fi
}

# assert_titles WHAT TITLE...: the whole list, newest first.
assert_titles() {
  local what=$1
  shift
  local want=""
  [ $# -eq 0 ] || want=$(printf '%s\n' "$@")
  assert_eq "$what" "$want" "$(e2e_titles)"
}

# Every item is title + 70 spaces + "/:hdr:\" + a 13-character key. The
# driver's titles command checks this strictly; this check reads the raw
# items independently, so a fault in one reading does not hide in the other.
assert_items_well_formed() {
  local items line n=0 bad=""
  items=$(drv_ok items)
  # The driver prints the mark's backslash as \\; each of the key's 13 bytes
  # shows as itself or as one escape (\xHH, \r, \n, \t, \\).
  local re='^.* {70}/:hdr:\\\\(\\x[0-9A-F]{2}|\\[rnt\\]|[^\\]){13}$'
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    n=$((n + 1))
    [[ "$line" =~ $re ]] || bad+="    $line"$'\n'
  done <<<"$items"
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if [ -z "$bad" ]; then
    e2e_log "ok: all $n items end with 70 spaces, /:hdr:\\ and a 13-character key"
  else
    e2e_fail "items not of the form title + 70 spaces + /:hdr:\\ + 13-character key:"
    printf '%s' "$bad" >&2
  fi
}

# ---- the clip files ----

# The bytes of the title file for ITEMS as `drv items` prints them: each
# item, then CR LF.
e2e_title_file() {
  local item
  [ -n "$1" ] || return 0
  while IFS= read -r item; do printf '%b\r\n' "$item"; done <<<"$1"
}

# e2e_store_file ITEMS TEXT...: the bytes of the clip file for ITEMS as `drv
# items` prints them, whose clips' texts (escaped) follow in the same order.
# Each record is the header line, the text's lines, the trailer line, each
# ending in CR LF; the key is what follows the item's last "/:hdr:\".
e2e_store_file() {
  # shellcheck disable=SC1003  # the mark ends in a backslash, as escaped by the driver
  local items=$1 item key mark='/:hdr:\\'
  shift
  [ -n "$items" ] || return 0
  while IFS= read -r item; do
    [ $# -gt 0 ] || e2e_fatal "e2e_store_file: more items than texts"
    key=${item##*"$mark"}
    printf '%b\r\n' "/:hdr:\\\\$key" "$1" "/:tlr:\\\\$key"
    shift
  done <<<"$items"
  [ $# -eq 0 ] || e2e_fatal "e2e_store_file: more texts than items"
}

# e2e_history N: a history of N one-line clips in E2E_DIR, as the program
# writes it: "clip N" on line 0 down to "clip 1" on the last line, keys
# 0000000000001 and up.
e2e_history() {
  [ -n "$E2E_DIR" ] || e2e_fresh_folder
  local i key pad
  printf -v pad '%70s' ''
  for ((i = $1; i >= 1; i--)); do
    printf -v key '%013d' "$i"
    printf 'clip %d%s/:hdr:\\%s\r\n' "$i" "$pad" "$key" >&3
    printf '/:hdr:\\%s\r\nclip %d\r\n/:tlr:\\%s\r\n' "$key" "$i" "$key" >&4
  done 3>"$E2E_DIR/Lb1.qlx" 4>"$E2E_DIR/Cb1.qlx"
}

# e2e_wait_file WANTED ACTUAL: waits until the file ACTUAL has the bytes of
# WANTED; false on timeout.
e2e_wait_file() {
  local deadline=$((SECONDS + (E2E_WAIT_MS + 999) / 1000))
  until cmp -s "$1" "$2"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# assert_file_bytes WHAT WANTED ACTUAL: the two files are byte for byte the
# same; on failure both are shown with od -c.
assert_file_bytes() {
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if cmp -s "$2" "$3"; then
    e2e_log "ok: $1"
    return 0
  fi
  e2e_fail "$1"
  {
    echo "  expected ($(wc -c <"$2") bytes):"
    od -c "$2" | head -n 16 | sed 's/^/    /'
    if [ -e "$3" ]; then
      echo "  actual ($(wc -c <"$3") bytes):"
      od -c "$3" | head -n 16 | sed 's/^/    /'
    else
      echo "  actual: no such file: $3"
    fi
  } >&2
}

# ---- pixels ----

# Pixels of exactly COLOUR ("rgb(r,g,b)") in a screenshot's rectangle:
# e2e_colour_count FILE COLOUR LEFT TOP WIDTH HEIGHT (screen coordinates).
e2e_colour_count() {
  convert "$1" -crop "$5x$6+$3+$4" -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:mean*w*h]' info: | cut -d. -f1
}
