#!/usr/bin/env bash
# Runs one Windows binary under Wine: CMake's cross-compiling emulator.
# Reuses the display and prefix of an enclosing run, else makes its own.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
if [ -z "${SOLVANE_WINE_READY:-}" ]; then
  solvane_wine_up || exit 1
  trap solvane_wine_down EXIT
fi
wine "$@"
rc=$?
exit $rc
