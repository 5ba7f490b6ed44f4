#!/usr/bin/env bash
# Builds SolvaneClips.exe and runs it under Wine.
#
# With a reachable X display: runs the program in the foreground from
# build/run-folder (or $SOLVANE_RUN_FOLDER), in a Wine prefix of its own that
# lasts between runs (~/.local/share/solvane-clips/wineprefix, or
# $SOLVANE_WINEPREFIX); the clip history stays in that folder.
#
# Without one: a short scripted tour on a virtual display in a throw-away
# prefix and folder. It copies three texts, shows the clip list after each,
# calls up the clip window with the hotkey over a window to paste into,
# takes a screenshot (build/tour.png), pastes the second clip with its key
# label, closes the program and shows the line counts of the files it saved.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/deps.sh
# shellcheck source=common.sh
. "$root/scripts/common.sh"
solvane_configure win >/dev/null
solvane_build win SolvaneClips solvane_driver

exe="$root/build/win/SolvaneClips.exe"
driver="$root/build/win/tests/e2e/solvane_driver.exe"
first_start_files=(Lb1.qlx Cb1.qlx prefs.qlx)

# A folder with the exe and the files a first start needs; files already
# there are the history of earlier runs and stay as they are.
prepare_folder() {
  local dir=$1 f
  mkdir -p "$dir"
  cp "$exe" "$dir/"
  for f in "${first_start_files[@]}"; do
    [ -e "$dir/$f" ] || cp "$root/build/win/$f" "$dir/"
  done
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # The user's desktop keeps the system's font smoothing: the pinned
  # configuration that scripts/wine-env.sh sets is for screenshots.
  user_fontconfig=${FONTCONFIG_FILE-}
  # shellcheck source=wine-env.sh
  . "$root/scripts/wine-env.sh"
  if [ -n "$user_fontconfig" ]; then FONTCONFIG_FILE=$user_fontconfig; else unset FONTCONFIG_FILE; fi
  export WINEPREFIX="${SOLVANE_WINEPREFIX:-$HOME/.local/share/solvane-clips/wineprefix}"
  solvane_wine_env
  if [ ! -d "$WINEPREFIX" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once, takes a while)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    solvane_boot_prefix || { echo "could not make the Wine prefix $WINEPREFIX" >&2; exit 1; }
  fi
  # Outside build/ the history outlives a clean build.
  run_folder=${SOLVANE_RUN_FOLDER:-build/run-folder}
  prepare_folder "$run_folder"
  cd "$run_folder"
  exec wine SolvaneClips.exe
fi

# ---- no display: the scripted tour ----
unset DISPLAY
[ -f "$driver" ] || { echo "no driver at $driver (built with SOLVANE_BUILD_TESTS=ON?)" >&2; exit 1; }
# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
folder=""
program_pid=""
cleanup() {
  if [ -n "$program_pid" ]; then kill -9 "$program_pid" 2>/dev/null || true; fi
  solvane_wine_down
  [ -z "$folder" ] || rm -rf "$folder"
}
trap cleanup EXIT
echo "No display: a scripted tour on a virtual one."
solvane_wine_up

# drv (scripts/wine-env.sh) runs the driver; a failed step ends the tour.
SOLVANE_DRIVER=$driver

folder=$(mktemp -d /tmp/solvane-tour.XXXXXX)
SOLVANE_DRV_TMP=$folder
prepare_folder "$folder"
(cd "$folder" && exec wine SolvaneClips.exe </dev/null >"$folder/program.log" 2>&1) &
program_pid=$!
drv wait-window 20000

n=0
for text in 'Hello from the tour' 'Second clip\r\nwith two lines' 'https://example.org/third'; do
  n=$((n + 1))
  title=${text%%\\r\\n*}
  [ "$title" = "$text" ] || title="$title..."
  drv set-clip "$text"
  drv wait-title 0 "$title" 10000
  echo
  echo "After copy $n ($text), the clips, newest first:"
  drv titles | nl -w3 -s'  '
done

# The clip window on the hotkey, over a window to paste into, as a user
# working in another program would call it up.
solvane_drv target </dev/null >/dev/null 2>&1 &
target_pid=$!
drv wait-target 10000 >/dev/null
drv keys ctrl+alt+down >/dev/null
drv wait-visible 1 10000 >/dev/null
echo
echo "Ctrl+Alt+Down shows the clip window; screenshot: build/tour.png"
import -window root "$root/build/tour.png"
drv keys 2 >/dev/null
drv wait-target-text 'Second clip\r\nwith two lines' 10000 >/dev/null || true
echo "Key 2 pasted into the window in front: \"$(drv target-text)\""
echo "The clips now, newest first:"
drv titles | nl -w3 -s'  '
drv target-close >/dev/null 2>&1 || true
wait "$target_pid" 2>/dev/null || true

drv close 10000
wait "$program_pid" 2>/dev/null || true
program_pid=""
echo
echo "Saved files (lines):"
for f in "${first_start_files[@]}"; do
  printf '  %-9s %s\n' "$f" "$(wc -l <"$folder/$f")"
done
