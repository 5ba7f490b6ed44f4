#!/usr/bin/env bash
# Runs a command with one Wine prefix and one virtual display of its own,
# shared by every Windows program and end-to-end script it starts, and
# removes both at its end:
#
#   scripts/with-wine.sh ctest --preset win
#   scripts/with-wine.sh ctest --preset win -R e2e_paste
#
# Without it each test program and script under Wine makes a prefix of its
# own, about 20 s each. The display is a new Xvfb unless SOLVANE_HEADLESS=0
# and DISPLAY is set: the tests copy and paste, so never on the user's own
# display by default.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi
export SOLVANE_HEADLESS=${SOLVANE_HEADLESS:-1}
unset CTEST_PARALLEL_LEVEL # the tests share one clipboard
trap solvane_wine_down EXIT
solvane_wine_up || exit 1
"$@"
