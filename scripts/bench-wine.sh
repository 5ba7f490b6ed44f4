#!/usr/bin/env bash
# Times the real SolvaneClips.exe under Wine on the benchmark history (about
# 20,000 clips, 16,000,000 characters, written fresh by the native benchmark
# program), each measurement against a baseline from the same run, then
# prints a table of medians, ratios and targets:
#
#   start-up    until the tray icon exists; until the start is over (the
#               files loaded, the window placed, the message loop answering,
#               so the hotkey works) with the newest clip on line 0; and
#               until every title is in the list; each against the same
#               start with empty clip files
#   memory      the peak working set over a whole run, start to end (the
#               whole list and the save on close included), less the empty
#               program's, against the history's size in bytes (Lb1.qlx +
#               Cb1.qlx)
#   paste       a key label pressed in the clip window until the program's
#               first synthesised key, less the paste delay it waits first;
#               beside it the hotkey until the window is visible
#   copy storm  200 distinct texts copied by an X11 program 10 ms apart, with
#               the history loaded: how many the list records, in copy
#               order, none twice
#   capture     an X11 copy until its clip is on top of the list, seen by a
#               waiter that polls the list every millisecond (30 copies,
#               300 ms apart): median and maximum
#   search      50 keystrokes in the search line (letters that narrow, and
#               backspaces that search the whole history again), each from
#               the key press until the matches are drawn: median and
#               maximum; the working set the open search adds, against the
#               history's size; on this history and on one as large as the
#               store can hold (16,777,215 characters)
#   sharing     a second program folder shares the history through a
#               folder where the first one's file arrives as a sync program
#               puts it (written beside it, renamed over it): from its
#               arrival until its newest clip is on top of the list, each
#               file one copy longer; and the start that merges the first
#               one's whole file (a capture event for every clip of the
#               benchmark history) until the list holds every clip, against
#               the start that loads the same clips from Lb1.qlx and Cb1.qlx
#
#   scripts/bench-wine.sh           9 starts each, 15 pastes, the storm, 30 copies timed,
#                                   50 search keystrokes on each history, 15 arrivals;
#                                   exits 1 on a missed target
#   scripts/bench-wine.sh --smoke   one start each, one paste, a storm of 20, 3 copies,
#                                   10 keystrokes and 3 arrivals timed, targets not
#                                   judged (CI)
#
# Builds into build/bench (native) and build/win-timing (MinGW, Release), or
# uses prebuilt programs named in SOLVANE_BENCH_EXE, SOLVANE_EXE and
# SOLVANE_DRIVER_EXE (all three); the X11 copier is SOLVANE_X11_COPY_EXE, or
# built into build/bench. Runs on a private Wine prefix and virtual
# display (scripts/wine-env.sh), or on the enclosing run's: the pastes go
# through the clipboard, so never on the user's own display unless
# SOLVANE_HEADLESS=0. Installs what is missing first (scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

smoke=0
case "${1:-}" in
  --smoke) smoke=1 ;;
  "") ;;
  *)
    echo "usage: $0 [--smoke]" >&2
    exit 2
    ;;
esac
starts=9
pastes=15
storm=200
timed_copies=30
keystrokes=50
arrivals=15
if [ "$smoke" = 1 ]; then
  starts=1
  pastes=1
  storm=20
  timed_copies=3
  keystrokes=10
  arrivals=3
fi
start_timeout_ms=60000 # a loaded machine once took 11 s to load the history
paste_timeout_ms=20000

# ---- programs ----

if [ -n "${SOLVANE_BENCH_EXE:-}${SOLVANE_EXE:-}${SOLVANE_DRIVER_EXE:-}" ]; then
  bench_exe=${SOLVANE_BENCH_EXE:?SOLVANE_BENCH_EXE, SOLVANE_EXE and SOLVANE_DRIVER_EXE go together}
  exe=${SOLVANE_EXE:?SOLVANE_BENCH_EXE, SOLVANE_EXE and SOLVANE_DRIVER_EXE go together}
  driver=${SOLVANE_DRIVER_EXE:?SOLVANE_BENCH_EXE, SOLVANE_EXE and SOLVANE_DRIVER_EXE go together}
else
  bash scripts/deps.sh
  # shellcheck source=common.sh
  . scripts/common.sh
  log=$(mktemp /tmp/solvane-bench-wine-build.XXXXXX)
  build() {
    if ! "$@" >>"$log" 2>&1; then
      tail -n 40 "$log" >&2
      echo "failed: $*" >&2
      exit 1
    fi
  }
  build solvane_configure bench
  build solvane_build bench solvane_bench
  # The driver lives with the end-to-end tests, so the tests stay on; only
  # the two programs are built.
  build solvane_configure win-timing
  build solvane_build win-timing SolvaneClips solvane_driver
  bench_exe=build/bench/bench/solvane_bench
  exe=build/win-timing/SolvaneClips.exe
  driver=build/win-timing/tests/e2e/solvane_driver.exe
fi
if [ -n "${SOLVANE_X11_COPY_EXE:-}" ]; then
  x11_copy=$SOLVANE_X11_COPY_EXE
else
  # shellcheck source=common.sh
  . scripts/common.sh
  log=${log:-$(mktemp /tmp/solvane-bench-wine-build.XXXXXX)}
  if ! { solvane_configure bench && solvane_build bench solvane_x11_copy; } >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "failed to build solvane_x11_copy (needs libx11-dev)" >&2
    exit 1
  fi
  x11_copy=build/bench/bench/solvane_x11_copy
fi
rm -f "${log:-}"
x11_copy=$(realpath "$x11_copy")
bench_exe=$(realpath "$bench_exe")
exe=$(realpath "$exe")
driver=$(realpath "$driver")
SOLVANE_DRIVER=$driver

# ---- Wine ----

# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
export SOLVANE_HEADLESS=${SOLVANE_HEADLESS:-1}
owns_wine=0
[ -n "${SOLVANE_WINE_READY:-}" ] || owns_wine=1
work=$(mktemp -d /tmp/solvane-bench-wine.XXXXXX)
keeper_pid=""
program_pid=""
target_pid=""
watcher_pid=""

cleanup() {
  local rc=$?
  set +e # a stopped helper's status must not replace the run's
  if [ -n "$program_pid" ]; then
    solvane_drv close 10000 >/dev/null 2>&1 || kill -9 "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [ -n "$watcher_pid" ]; then
    kill "$watcher_pid" 2>/dev/null
    wait "$watcher_pid" 2>/dev/null
  fi
  if [ -n "$target_pid" ]; then
    solvane_drv target-close >/dev/null 2>&1 || kill "$target_pid" 2>/dev/null
    wait "$target_pid" 2>/dev/null
  fi
  if [ -n "$keeper_pid" ]; then
    kill "$keeper_pid" 2>/dev/null
    wait "$keeper_pid" 2>/dev/null
  fi
  if [ "$owns_wine" = 1 ]; then solvane_wine_down; fi
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

solvane_wine_up || {
  echo "could not set up Wine" >&2
  exit 1
}

# drv_ok ARGS...: the driver's output (drv, scripts/wine-env.sh: its
# remarks and errors to stderr, once more when Wine ended it with nothing
# said), or the end of the run when it fails.
SOLVANE_DRV_TMP=$work
drv_ok() { drv "$@" || { echo "driver $* failed (exit $?)" >&2; exit 1; }; }

# Held open for the whole run, so no start pays for a new desktop.
solvane_keep_desktop 3600000 "$work/keep.out" || {
  keeper_pid=$SOLVANE_KEEPER_PID
  echo "the desktop keeper did not start: $(cat "$work/keep.out")" >&2
  exit 1
}
keeper_pid=$SOLVANE_KEEPER_PID

# Windows path of a folder: Wine's drive Z: is the Linux root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# ---- the history ----

big="$work/big"
empty="$work/empty"
largest="$work/largest"
mkdir -p "$big" "$empty" "$largest"
titles=$("$bench_exe" --write-workload "$big")
largest_titles=$("$bench_exe" --write-workload "$largest" --largest)
: >"$empty/Lb1.qlx"
: >"$empty/Cb1.qlx"
store_bytes=$(($(stat -c %s "$big/Lb1.qlx") + $(stat -c %s "$big/Cb1.qlx")))

# A program folder as a first start leaves it, with the clip files of KIND
# (big or empty); the program rewrites its files when it closes, so every
# run gets its own copy.
fresh_folder() {
  local dir
  dir=$(mktemp -d "$work/run.XXXXXX")
  cp "$exe" "$dir/SolvaneClips.exe"
  cp "$work/$1/Lb1.qlx" "$work/$1/Cb1.qlx" "$dir/"
  printf '0000000000\r\n' >"$dir/prefs.qlx"
  printf '%s' "$dir"
}

# The paste delay in ms: [Form2] ComboBox2.Text in the settings file beside
# the program, or the settings dialog's default (src/settings/settings_dialog.h).
paste_delay() {
  local ini="$1/Solvaneclips.ini" value=""
  if [ -f "$ini" ]; then
    value=$(tr -d '\r' <"$ini" | awk -F= '
      /^\[/ { section = tolower($0) }
      section == "[form2]" && tolower($1) == "combobox2.text" { print $2; exit }')
  fi
  value=${value:-100}
  if ! [[ "$value" =~ ^[0-9]+$ ]]; then
    echo "paste delay in $ini is not a whole number: $value" >&2
    exit 1
  fi
  printf '%s' "$value"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

model=$(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | sed 's/.*: //' || true)
echo "machine: $(nproc) cores, ${model:-unknown CPU}, $(uname -sr), $(wine --version 2>/dev/null)"
echo "history: $titles clips, $store_bytes bytes in Lb1.qlx and Cb1.qlx"

# ---- start-up and memory ----

# Empty and big in turn, so both see the same moments of a busy machine.
drv_ok clear-clip >/dev/null # a clip on the clipboard would be recorded at start
for kind in empty big; do : >"$work/starts.$kind"; done
for ((i = 1; i <= starts; i++)); do
  for kind in empty big; do
    dir=$(fresh_folder "$kind")
    line=$(drv_ok time-start "$(winpath "$dir")" SolvaneClips.exe "$start_timeout_ms")
    echo "start $i, $kind clip files: tray icon, ready, close (ms); peak when ready, peak (bytes); all titles (ms): $line"
    echo "$line" >>"$work/starts.$kind"
    rm -rf "$dir"
  done
done
column_median() { awk -v c="$2" '{ print $c }' "$work/starts.$1" | median; }
icon_empty=$(column_median empty 1)
icon_big=$(column_median big 1)
ready_empty=$(column_median empty 2)
ready_big=$(column_median big 2)
close_empty=$(column_median empty 3)
close_big=$(column_median big 3)
peak_empty=$(column_median empty 5)
peak_big=$(column_median big 5)
all_empty=$(column_median empty 6)
all_big=$(column_median big 6)

# launch DIR: the program started in DIR, not waited for.
launch() {
  (cd "$1" && exec wine SolvaneClips.exe </dev/null >"$work/program.log" 2>&1) &
  program_pid=$!
}
# run_with_target DIR: the program started in DIR and the paste target in
# front of it; stop_target and stop_run end each again.
run_with_target() {
  launch "$1"
  drv_ok wait-started "$start_timeout_ms" >/dev/null
  solvane_drv target </dev/null >"$work/target.out" 2>&1 &
  target_pid=$!
  drv_ok wait-target 10000 >/dev/null
}
stop_target() {
  drv_ok target-close >/dev/null
  wait "$target_pid" 2>/dev/null || true
  target_pid=""
}
stop_run() {
  drv_ok close "$start_timeout_ms" >/dev/null
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}

# ---- paste ----

dir=$(fresh_folder big)
delay=$(paste_delay "$dir")
run_with_target "$dir"
drv_ok time-paste "$pastes" "$paste_timeout_ms" >"$work/paste.out"
awk '$1 ~ /^[0-9]+$/ { print "paste " $1 ": hotkey to shown, key to first synthesised key, key to landed (ms): " $2, $3, $4 }' \
  "$work/paste.out"
read -r _ shown key_to_key landed < <(grep '^median ' "$work/paste.out")
read -r _ lost < <(grep '^lost ' "$work/paste.out")

# ---- search ----

# search_run KIND: keystrokes in the search line of the running program.
search_run() {
  drv_ok time-search "$keystrokes" "$paste_timeout_ms" >"$work/search.$1"
  awk -v kind="$1" '$1 ~ /^[0-9]+$/ { print "search " kind " " $1 ": key press to matches drawn (ms): " $2 }' \
    "$work/search.$1"
  grep -E '^(open|median|max|memory) ' "$work/search.$1" | sed "s/^/search $1: /"
}
search_run big
stop_target

# ---- copies from an X11 program ----

# Each run's texts are its own, so a clip of an earlier run cannot count.
tag="bench$$"

# The storm: copies 10 ms apart, then a second for the last to arrive.
"$x11_copy" "storm-$tag" "$storm" 10 >"$work/storm.copies"
sleep 1
drv_ok titles >"$work/titles.after-storm"
# The storm's clips as the list holds them, newest first, as numbers.
grep -E "^storm-$tag [0-9]{4}\$" "$work/titles.after-storm" | awk '{ print $2 + 0 }' >"$work/storm.seen" || true
storm_recorded=$(sort -u "$work/storm.seen" | wc -l)
storm_twice=$(($(wc -l <"$work/storm.seen") - storm_recorded))
# In copy order: read oldest first, each number above the one before.
storm_ordered=$(tac "$work/storm.seen" | awk 'NR > 1 && $1 <= last { bad = 1 } { last = $1 } END { print bad ? 0 : 1 }')
echo "copy storm: $storm_recorded of $storm recorded, $storm_twice twice, in copy order: $storm_ordered"

# One copy at a time, the waiter already running.
: >"$work/watch.out"
solvane_drv watch-top "$timed_copies" $((timed_copies * 300 + 10000)) >"$work/watch.out" 2>"$work/watch.err" </dev/null &
watcher_pid=$!
for ((i = 0; i < 100; i++)); do
  grep -q '^watching' "$work/watch.out" && break
  sleep 0.1
done
grep -q '^watching' "$work/watch.out" || {
  echo "the waiter did not start: $(cat "$work/watch.err")" >&2
  exit 1
}
"$x11_copy" "copy-$tag" "$timed_copies" 300 >"$work/timed.copies"
wait "$watcher_pid" 2>/dev/null || true
watcher_pid=""
# Copy number, its time and the time it was seen on top (us since 1970).
awk -v tag="copy-$tag" '
  FNR == NR { copied[$2 + 0] = $1; next }
  $2 == tag && ($3 + 0) in copied { n = $3 + 0; if (!(n in seen)) seen[n] = $1 }
  END { for (n in copied) printf "%d %.1f\n", n, (n in seen) ? (seen[n] - copied[n]) / 1000 : -1 }' \
  "$work/timed.copies" "$work/watch.out" | sort -n >"$work/timed.ms"
awk '{ print "copy " $1 + 1 ": X11 copy to clip on top (ms): " ($2 < 0 ? "never seen" : $2) }' "$work/timed.ms"
timed_missed=$(awk '$2 < 0' "$work/timed.ms" | wc -l)
timed_seen=$(awk '$2 >= 0 { print $2 }' "$work/timed.ms")
capture_median=$(printf '%s\n' "$timed_seen" | grep . | median || true)
capture_max=$(printf '%s\n' "$timed_seen" | grep . | sort -g | tail -n 1)
capture_median=${capture_median:-0}
capture_max=${capture_max:-0}

stop_run

# The history as large as the store can hold, in a run of its own.
dir=$(fresh_folder largest)
largest_bytes=$(($(stat -c %s "$dir/Lb1.qlx") + $(stat -c %s "$dir/Cb1.qlx")))
run_with_target "$dir"
echo "largest history: $largest_titles clips, $largest_bytes bytes in Lb1.qlx and Cb1.qlx"
search_run largest
stop_target
stop_run

# ---- the shared history ----

# The publisher P shares the benchmark history through a folder of its own:
# its first start with a passphrase writes a capture event for every clip.
# The merger M shares through another folder, into which the sync program's
# part is played by putting P's file there.
share_pass='one history for the bench'
share_p="$work/share-p"
share_m="$work/share-m"
mkdir -p "$share_p" "$share_m"
settings_ok=206         # the settings dialog's controls, as tests/e2e/lib.sh names them
settings_passphrase=209

# share_folder KIND SHARE: a program folder as fresh_folder makes it, whose
# settings share the history through SHARE.
share_folder() {
  local dir
  dir=$(fresh_folder "$1")
  printf '[Form2]\r\nEdit1.Text=%s\r\n' "$(winpath "$2")" >"$dir/Solvaneclips.ini"
  printf '%s' "$dir"
}
# wait_for WHAT COMMAND...: polls COMMAND until it succeeds, for a minute.
wait_for() {
  local what=$1 deadline=$((SECONDS + 60))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || {
      echo "$what did not happen; boxes: $(drv boxes 2>&1)" >&2
      exit 1
    }
    sleep 0.2
  done
}
asks_passphrase() { drv boxes | grep -q "passphrase in Settings"; }
settings_closed() { ! drv wait-class TForm2 0; }
# start_sharing DIR: the first start in DIR says that no passphrase is typed
# yet; it is typed in Settings, and OK derives the key and reads the folder.
start_sharing() {
  local l t r b
  drv_ok clear-clip >/dev/null
  launch "$1"
  wait_for "the box that asks for the passphrase" asks_passphrase
  drv_ok keys enter >/dev/null
  drv_ok wait-started "$start_timeout_ms" >/dev/null
  drv_ok command settings >/dev/null
  wait_for "the settings dialog" drv control-rect TForm2 "$settings_passphrase"
  drv_ok type-text TForm2 "$settings_passphrase" "$share_pass" >/dev/null
  read -r l t r b < <(drv_ok control-rect TForm2 "$settings_ok")
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2))
  drv_ok mouse $(((l + r) / 2)) $(((t + b) / 2)) left >/dev/null
  wait_for "OK closing the settings dialog" settings_closed
}
start_run() {
  drv_ok clear-clip >/dev/null
  launch "$1"
  drv_ok wait-started "$start_timeout_ms" >/dev/null
}

dir_p=$(share_folder big "$share_p")
start_sharing "$dir_p"
stop_run
log_name=$(head -n 1 "$dir_p/Machine.qlx" | tr -d '\r').log
frames=$(drv_ok share-frames "$(winpath "$share_p/$log_name")" | wc -l)
events=$((frames - 1)) # the first frame names the machine
echo "shared file: $events events, $(stat -c %s "$share_p/$log_name") bytes"
# P copies again, one clip at a time: its file after each copy is what
# arrives at M, one by one.
start_run "$dir_p"
cp "$share_p/$log_name" "$work/arrival.0"
for ((k = 1; k <= arrivals; k++)); do
  drv_ok set-clip "arrival-$tag $k" >/dev/null
  drv_ok wait-title 0 "arrival-$tag $k" 10000 >/dev/null
  cp "$share_p/$log_name" "$work/arrival.$k"
done
stop_run

# M as its passphrase leaves it, before anything arrived: each timed start
# begins from it, in the same folder (so with the same machine id).
dir_m=$(share_folder empty "$share_m")
cp "$share_p/Shared.salt" "$share_m/"
start_sharing "$dir_m"
stop_run
cp -rp "$dir_m" "$work/m-before"
restore_m() {
  rm -rf "$dir_m"
  cp -rp "$work/m-before" "$dir_m"
  rm -f "$share_m"/*.log
  cp "$work/arrival.0" "$share_m/$log_name"
}
# A first merge, not timed, tells how many clips the events make (a text
# the history holds twice is one clip), and leaves the same clips in
# Lb1.qlx and Cb1.qlx for the start that loads them with no sharing.
restore_m
drv_ok time-start "$(winpath "$dir_m")" SolvaneClips.exe "$start_timeout_ms" 1 >/dev/null
merged=$(wc -l <"$dir_m/Lb1.qlx")
echo "merged: $merged clips"
dir_local=$(fresh_folder empty)
cp "$dir_m"/Lb1.qlx "$dir_m"/Cb1.qlx "$dir_local/"
[ ! -f "$dir_m/Cb1.utf8.qlx" ] || cp "$dir_m/Cb1.utf8.qlx" "$dir_local/"
cp -rp "$dir_local" "$work/local-before"
: >"$work/starts.merge"
: >"$work/starts.local"
for ((i = 1; i <= starts; i++)); do
  restore_m
  line=$(drv_ok time-start "$(winpath "$dir_m")" SolvaneClips.exe "$start_timeout_ms" "$merged")
  echo "start $i merging the shared file: tray icon, ready, close (ms); peak when ready, peak (bytes); all titles (ms): $line"
  echo "$line" >>"$work/starts.merge"
  rm -rf "$dir_local"
  cp -rp "$work/local-before" "$dir_local"
  line=$(drv_ok time-start "$(winpath "$dir_local")" SolvaneClips.exe "$start_timeout_ms")
  echo "start $i loading the same clips from its files: tray icon, ready, close (ms); peak when ready, peak (bytes); all titles (ms): $line"
  echo "$line" >>"$work/starts.local"
done
merge_all=$(column_median merge 6)
local_all=$(column_median local 6)

# Arrivals at M, with the merged history in its list.
start_run "$dir_m"
: >"$work/arrival.ms"
for ((k = 1; k <= arrivals; k++)); do
  ms=$(drv_ok time-arrival "$(winpath "$work/arrival.$k")" "$(winpath "$share_m/$log_name")" "arrival-$tag $k" 10000)
  echo "arrival $k: the file in place until its clip is on top (ms): $ms"
  echo "$ms" >>"$work/arrival.ms"
  sleep 1 # each arrival on its own, the save it leaves behind done
done
stop_run
arrival_median=$(median <"$work/arrival.ms")

# ---- the table ----

echo
echo "start-up medians: empty files ${ready_empty} ms, the history ${ready_big} ms (tray icon ${icon_empty} / ${icon_big} ms; every title ${all_empty} / ${all_big} ms)"
echo "close (the save on the way out) medians: empty files ${close_empty} ms, the history ${close_big} ms"
echo "paste delay: $delay ms; median key to landed in the target: $landed ms"

failed=0
rows=()
# row WHAT MEASURED BASELINE RATIO TARGET PASSED
row() {
  local result
  if [ "$smoke" = 1 ]; then
    result="not judged (smoke)"
  elif [ "$6" = 1 ]; then
    result=PASS
  else
    result=FAIL
    failed=1
  fi
  rows+=("| $1 | $2 | $3 | $4 | $5 | $result |")
}
calc() { awk "BEGIN { $1 }"; }

r=$(calc "printf \"%.2f\", $icon_big / $icon_empty")
row "start-up until the tray icon exists" "$icon_big ms" "$icon_empty ms (empty files)" "$r" "<= 1.5" \
  "$(calc "print ($r <= 1.5)")"
r=$(calc "printf \"%.2f\", $ready_big / $ready_empty")
row "start-up until the hotkey works and the newest titles are in the list" "$ready_big ms" \
  "$ready_empty ms (empty files)" "$r" "<= 1.1" "$(calc "print ($r <= 1.1)")"
r=$(calc "printf \"%.2f\", $all_big / $all_empty")
row "start-up until every title is in the list" "$all_big ms" "$all_empty ms (empty files)" "$r" "<= 1.3" \
  "$(calc "print ($r <= 1.3)")"
mb() { calc "printf \"%.1f MB\", $1 / 1048576"; }
r=$(calc "printf \"%.2f\", ($peak_big - $peak_empty) / $store_bytes")
row "peak memory, less the empty program's, per byte of history" "$(mb "$peak_big")" \
  "$(mb "$peak_empty") (empty files); history $(mb "$store_bytes")" "$r" "<= 1.3" "$(calc "print ($r <= 1.3)")"
paste_ms=$(calc "printf \"%.1f\", $key_to_key - $delay")
r=$(calc "printf \"%.2f\", $paste_ms / $shown")
row "paste: key label to first synthesised key, less the paste delay" "$paste_ms ms" \
  "$shown ms (hotkey to window shown)" "$r" "<= 30 ms" "$(calc "print ($paste_ms <= 30)")"
row "pastes that reached the application in front" "$((pastes - lost)) of $pastes" "-" "-" "all" \
  "$([ "$lost" = 0 ] && echo 1 || echo 0)"
storm_want=$((storm - storm / 40)) # 195 of 200
row "copy storm: $storm distinct X11 copies 10 ms apart, recorded in copy order, none twice" \
  "$storm_recorded of $storm; $storm_twice twice; in order: $([ "$storm_ordered" = 1 ] && echo yes || echo no)" "-" "-" \
  ">= $storm_want, in order, none twice" \
  "$([ "$storm_recorded" -ge "$storm_want" ] && [ "$storm_twice" = 0 ] && [ "$storm_ordered" = 1 ] && echo 1 || echo 0)"
row "X11 copy to clip in the list (waiter already running), median" "$capture_median ms" "-" "-" "<= 15 ms" \
  "$([ "$timed_missed" = 0 ] && calc "print ($capture_median <= 15)" || echo 0)"
row "X11 copy to clip in the list, maximum of $timed_copies" \
  "$capture_max ms$([ "$timed_missed" = 0 ] || echo "; $timed_missed never seen")" "-" "-" "<= 50 ms" \
  "$([ "$timed_missed" = 0 ] && calc "print ($capture_max <= 50)" || echo 0)"

# search_rows KIND CLIPS HISTORY_BYTES
search_rows() {
  local median max before most added r
  median=$(awk '$1 == "median" { print $2 }' "$work/search.$1")
  max=$(awk '$1 == "max" { print $2 }' "$work/search.$1")
  read -r _ before most < <(grep '^memory ' "$work/search.$1")
  added=$((most - before))
  row "search ($2 clips): key press to matches drawn, median of $keystrokes keystrokes" "$median ms" "-" "-" \
    "<= 16 ms" "$(calc "print ($median <= 16)")"
  row "search ($2 clips): key press to matches drawn, maximum" "$max ms" "-" "-" "<= 50 ms" \
    "$(calc "print ($max <= 50)")"
  r=$(calc "printf \"%.3f\", $added / $3")
  row "search ($2 clips): memory added at its peak, per byte of history" "$(mb "$added")" \
    "history $(mb "$3")" "$r" "<= 0.1" "$(calc "print ($r <= 0.1)")"
}
search_rows big "$titles" "$store_bytes"
search_rows largest "$largest_titles" "$largest_bytes"
row "shared file arrived by sync until its clip is on top of the list, median of $arrivals" "$arrival_median ms" \
  "-" "-" "<= 250 ms" "$(calc "print ($arrival_median <= 250)")"
r=$(calc "printf \"%.2f\", $merge_all / $local_all")
row "start merging a shared file of $events events ($merged clips) until every clip is in the list" "$merge_all ms" \
  "$local_all ms (the same clips in Lb1.qlx and Cb1.qlx)" "$r" "<= 1.2" "$(calc "print ($r <= 1.2)")"

echo
echo "| what | median | baseline median | ratio | target | result |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
exit "$failed"
