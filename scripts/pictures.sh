#!/usr/bin/env bash
# Makes the README's pictures (docs/pictures/*.png) from the real program:
# builds SolvaneClips.exe, then runs the end-to-end tests that show the clip
# window, the settings dialog and the tray menu on a virtual display under
# Wine, and the clip window at 150 % scaling, checks them and keeps the
# screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/deps.sh
# shellcheck source=common.sh
. "$root/scripts/common.sh"
solvane_configure win >/dev/null
solvane_build win SolvaneClips solvane_driver

# A display and prefix of their own, so the pictures show nothing else.
export SOLVANE_HEADLESS=1
for test in pictures dpi; do
  E2E_PICTURES="$root/docs/pictures" bash "tests/e2e/$test.sh" \
    build/win/SolvaneClips.exe build/win/tests/e2e/solvane_driver.exe build/win
done
ls -l docs/pictures
