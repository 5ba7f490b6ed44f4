#!/usr/bin/env bash
# Times the real SolvaneClips.exe under Wine on the benchmark history (about
# 20,000 clips, 16,000,000 characters, written fresh by the native benchmark
# program), each measurement against a baseline from the same run, then
# prints a table of medians, ratios and targets:
#
#   start-up    until the tray icon exists, and until the start is over (the
#               files loaded, the window placed, the message loop answering),
#               against the same start with empty clip files
#   memory      the peak working set over a whole run, start to end (the save
#               on close included), against the empty program's and the
#               history's size in bytes (Lb1.qlx + Cb1.qlx)
#   paste       a key label pressed in the clip window until the program's
#               first synthesised key, less the paste delay it waits first;
#               beside it the hotkey until the window is visible
#
#   scripts/bench-wine.sh           9 starts each, 15 pastes; exits 1 on a missed target
#   scripts/bench-wine.sh --smoke   one of each, targets not judged (CI)
#
# Builds into build/bench (native) and build/win-timing (MinGW, Release), or
# uses prebuilt programs named in SOLVANE_BENCH_EXE, SOLVANE_EXE and
# SOLVANE_DRIVER_EXE (all three). Runs on a private Wine prefix and virtual
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
if [ "$smoke" = 1 ]; then
  starts=1
  pastes=1
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
  rm -f "$log"
  bench_exe=build/bench/bench/solvane_bench
  exe=build/win-timing/SolvaneClips.exe
  driver=build/win-timing/tests/e2e/solvane_driver.exe
fi
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

cleanup() {
  local rc=$?
  set +e # a stopped helper's status must not replace the run's
  if [ -n "$program_pid" ]; then
    solvane_drv close 10000 >/dev/null 2>&1 || kill -9 "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
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

# drv ARGS...: the driver's output (its remarks to stderr), or its error and
# the end of the run.
# NOTE: its output goes to a file, not a pipe: a Wine process may hand its
# standard handles on to processes that outlive it.
drv() {
  if ! solvane_drv "$@" >"$work/drv.out" 2>"$work/drv.err" </dev/null; then
    echo "driver $*: $(cat "$work/drv.err")" >&2
    exit 1
  fi
  cat "$work/drv.err" >&2
  cat "$work/drv.out"
}

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
mkdir -p "$big" "$empty"
titles=$("$bench_exe" --write-workload "$big")
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
drv clear-clip >/dev/null # a clip on the clipboard would be recorded at start
for kind in empty big; do : >"$work/starts.$kind"; done
for ((i = 1; i <= starts; i++)); do
  for kind in empty big; do
    dir=$(fresh_folder "$kind")
    line=$(drv time-start "$(winpath "$dir")" SolvaneClips.exe "$start_timeout_ms")
    echo "start $i, $kind clip files: tray icon, ready, close (ms); peak when ready, peak (bytes): $line"
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

# ---- paste ----

dir=$(fresh_folder big)
delay=$(paste_delay "$dir")
(cd "$dir" && exec wine SolvaneClips.exe </dev/null >"$work/program.log" 2>&1) &
program_pid=$!
drv wait-started "$start_timeout_ms" >/dev/null
solvane_drv target </dev/null >"$work/target.out" 2>&1 &
target_pid=$!
drv wait-target 10000 >/dev/null
drv time-paste "$pastes" "$paste_timeout_ms" >"$work/paste.out"
awk '$1 ~ /^[0-9]+$/ { print "paste " $1 ": hotkey to shown, key to first synthesised key, key to landed (ms): " $2, $3, $4 }' \
  "$work/paste.out"
read -r _ shown key_to_key landed < <(grep '^median ' "$work/paste.out")
read -r _ lost < <(grep '^lost ' "$work/paste.out")
drv target-close >/dev/null
wait "$target_pid" 2>/dev/null || true
target_pid=""
drv close "$start_timeout_ms" >/dev/null
wait "$program_pid" 2>/dev/null || true
program_pid=""

# ---- the table ----

echo
echo "start-up medians: empty files ${ready_empty} ms, the history ${ready_big} ms (tray icon ${icon_empty} / ${icon_big} ms)"
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
row "start-up until loaded and answering" "$ready_big ms" "$ready_empty ms (empty files)" "$r" "<= 1.5" \
  "$(calc "print ($r <= 1.5)")"
mb() { calc "printf \"%.1f MB\", $1 / 1048576"; }
r=$(calc "printf \"%.2f\", ($peak_big - $peak_empty) / $store_bytes")
row "peak memory, less the empty program's, per byte of history" "$(mb "$peak_big")" \
  "$(mb "$peak_empty") (empty files); history $(mb "$store_bytes")" "$r" "<= 3" "$(calc "print ($r <= 3)")"
paste_ms=$(calc "printf \"%.1f\", $key_to_key - $delay")
r=$(calc "printf \"%.2f\", $paste_ms / $shown")
row "paste: key label to first synthesised key, less the paste delay" "$paste_ms ms" \
  "$shown ms (hotkey to window shown)" "$r" "<= 30 ms" "$(calc "print ($paste_ms <= 30)")"
row "pastes that reached the application in front" "$((pastes - lost)) of $pastes" "-" "-" "all" \
  "$([ "$lost" = 0 ] && echo 1 || echo 0)"

echo
echo "| what | median | baseline median | ratio | target | result |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
exit "$failed"
