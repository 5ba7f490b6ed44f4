#!/usr/bin/env bash
# The zip a Windows user downloads, tried as such a user would: unpacked into
# a new folder in a Wine prefix of its own, the program there starts without
# a box, records a copy, pastes it into another program's window, quits from
# the tray menu and leaves its history in that folder. Before that, the zip
# holds what a first start needs, and the exe carries its icon, manifest
# and version.
#
# The zip is $SOLVANE_PACKAGE, or the newest SolvaneClips-*-win*.zip in
# FIRST_START_DIR (the build folder; `cmake --build DIR --target package`).

# A prefix and display of its own: the package must not lean on anything
# another test set up in the shared one.
unset SOLVANE_WINE_READY
. "$(dirname "$0")/lib.sh" "$@"

zip=${SOLVANE_PACKAGE:-$(ls -t "$E2E_FIRST_START"/SolvaneClips-*-win*.zip 2>/dev/null | head -n 1)}
[ -n "$zip" ] && [ -f "$zip" ] ||
  e2e_fatal "no package in $E2E_FIRST_START: build the package target first"
[ ! "$zip" -ot "$E2E_EXE" ] ||
  e2e_fatal "$zip is older than $E2E_EXE: build the package target again"
version=$(basename "$zip" | sed -E 's/^SolvaneClips-(.*)-win(32|64)\.zip$/\1/')
e2e_log "package $(basename "$zip"), version $version"

# -- What is in it.
assert_eq "the zip holds the program, its first-start files, a read-me and the licence" \
  "$(printf '%s\n' Cb1.qlx LICENSE.txt Lb1.qlx README.txt SolvaneClips.exe prefs.qlx)" \
  "$(cmake -E tar tf "$zip" | LC_ALL=C sort)"
E2E_DIR=$(mktemp -d "$e2e_tmp/unpacked.XXXXXX")
(cd "$E2E_DIR" && cmake -E tar xf "$zip") || e2e_fatal "could not unpack $zip"
assert_eq "the clip files are empty" "0 0" "$(stat -c %s "$E2E_DIR/Lb1.qlx" "$E2E_DIR/Cb1.qlx" | tr '\n' ' ' | sed 's/ $//')"
assert_file_bytes "prefs.qlx is the default one" "$E2E_FIRST_START/prefs.qlx" "$E2E_DIR/prefs.qlx"
for f in README.txt LICENSE.txt; do
  assert_eq "$f has CR LF line ends, for Notepad" "" "$(grep -nv $'\r$' "$E2E_DIR/$f")"
done
assert_ok "the read-me names the hotkey" grep -q 'Ctrl+Alt+Down' "$E2E_DIR/README.txt"
assert_ok "the read-me says how to start with Windows" grep -q 'shell:startup' "$E2E_DIR/README.txt"

# -- The exe's resources: icons (3) and their group (14), the version (16)
# and the manifest (24), each found in the resource directory.
exe=$E2E_DIR/SolvaneClips.exe
types=$(x86_64-w64-mingw32-objdump -p "$exe" |
  sed -n '/Resource Directory section/,$p' | grep -E '^[0-9a-f]{3}   Entry: ID: 0x[0-9a-f]+' |
  sed -E 's/.*ID: 0x0*([0-9a-f]+),.*/\1/' | tr '\n' ' ' | sed 's/ $//')
assert_eq "the exe holds icons, an icon group, a version and a manifest" "3 e 10 18" "$types"
version_strings=$(strings -e l "$exe")
for pair in "ProductName Solvane Clips" "CompanyName Vardell Solvane Software" \
            "FileVersion $version" "ProductVersion $version"; do
  assert_eq "the version resource's ${pair%% *} is ${pair#* }" "${pair#* }" "$(grep -x -A1 "${pair%% *}" <<<"$version_strings" | sed -n 2p)"
done
manifest=$(strings "$exe" | sed -n '/<assembly /,/<\/assembly>/p')
assert_eq "the manifest names Windows 7, 8, 8.1 and 10/11" 4 "$(grep -c '<supportedOS Id=' <<<"$manifest")"
assert_eq "the manifest declares per-monitor DPI awareness, with the older systems' kinds" \
  "true/pm|PerMonitorV2, PerMonitor" \
  "$(sed -n 's|.*<dpiAware[^>]*>\(.*\)</dpiAware>.*|\1|p; s|.*<dpiAwareness[^>]*>\(.*\)</dpiAwareness>.*|\1|p' <<<"$manifest" |
    paste -sd'|')"

# -- The program, run from the unpacked folder.
e2e_start
assert_eq "a first start shows no box" "" "$(drv_ok boxes)"
e2e_open_target
e2e_copy 'copied with the packaged program'
e2e_wait_title 0 'copied with the packaged program'
drv_ok keys ctrl+alt+down
assert_ok "the hotkey shows the clip window" drv wait-visible 1 "$E2E_WAIT_MS"
drv_ok keys 1
assert_ok "key 1 pastes the clip into the window in front" \
  drv wait-target-text 'copied with the packaged program' "$E2E_WAIT_MS"
drv_ok command quit
e2e_wait_exit "Quit in the tray menu ends the program"
assert_ok "the history is saved in the unpacked folder" \
  grep -q 'copied with the packaged program' "$E2E_DIR/Cb1.qlx"
assert_ok "the settings are saved there too" test -s "$E2E_DIR/Solvaneclips.ini"
e2e_done
