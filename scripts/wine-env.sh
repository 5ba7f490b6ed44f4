# shellcheck shell=bash
# Shared set-up for running Windows binaries under Wine on a virtual display.
# Source it, then call solvane_wine_up; solvane_wine_down undoes what it started.
# drv runs the test driver, for the end-to-end tests, the Wine benchmarks and
# scripts/run.sh's tour alike.
# Each run gets its own Wine prefix and its own X display, so runs never share
# a clipboard or a wineserver.

# NOTE: Wine takes its text smoothing from fontconfig, and the system's
# choice (antialiased on stock Debian) would change how every screenshot
# draws the program's text. The pinned configuration (the system's with
# smoothing off) is set on sourcing, before any Xvfb or Wine process starts.
export FONTCONFIG_FILE
FONTCONFIG_FILE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/fonts.conf"

# Xvfb picks the display number itself (-displayfd), so two runs started at
# the same moment cannot both take the same free-looking number.
solvane_start_xvfb() {
  local numfile n
  numfile=$(mktemp /tmp/solvane-display.XXXXXX)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  SOLVANE_XVFB_PID=$!
  for _ in $(seq 1 100); do
    n=$(tr -dc 0-9 <"$numfile")
    if [ -n "$n" ]; then
      rm -f "$numfile"
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$SOLVANE_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  echo "Xvfb did not start" >&2
  return 1
}

# solvane_wine_env: what every Wine run of ours has: no Mono or Gecko
# install dialogs, and Wine's debug output off unless WINEDEBUG asks for it.
solvane_wine_env() {
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=${WINEDEBUG:--all}
}

# solvane_boot_prefix: makes the prefix $WINEPREFIX (a folder not there yet,
# or empty) with wineboot --init; a try that fails leaves no folder behind.
# NOTE: on a loaded machine the first boot of a prefix can time out; a
# fresh try in a clean prefix has always gone through.
solvane_boot_prefix() {
  local try
  for try in 1 2 3; do
    mkdir -p "$WINEPREFIX"
    if wineboot --init >/dev/null 2>&1; then return 0; fi
    echo "wineboot --init failed in $WINEPREFIX (try $try)" >&2
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  done
  return 1
}

# A private prefix for a test run, in a new folder under /tmp.
solvane_make_prefix() {
  SOLVANE_PREFIX_DIR=$(mktemp -d /tmp/solvane-wine.XXXXXX)
  export WINEPREFIX="$SOLVANE_PREFIX_DIR"
  solvane_wine_env
  # The tests read the driver's stderr: nothing of Wine's may be on it.
  export WINEDEBUG=-all
  solvane_boot_prefix || return 1
  # Without a window manager, hiding the active window leaves it in the
  # foreground; inside a Wine desktop activation moves on as on Windows.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x800 /f >/dev/null 2>&1
  # A crash dialog would hang a headless run.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  # One server for the whole run: without it each Wine process that finds
  # none starts a new server and the prefix's services again.
  wineserver -p </dev/null >/dev/null 2>&1
  # NOTE: the prefix's services (services.exe, plugplay.exe, ...) start with
  # the first Wine process and keep its stderr. Started from a test, they
  # would hold ctest's output pipe, and ctest waits for it to close.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

# The face Wine draws the program's text in. Debian 12's Wine 8 finds none
# of its own fonts (fonts-wine), so it has no "MS Sans Serif", "Arial" or
# "Tahoma" (its menus' and boxes' face) and draws them all in the first of
# its fallback faces that is installed: Liberation Sans, from
# fonts-liberation, which Wine only recommends. Without it the text comes
# out in another face with other sizes, and every test that measures text,
# lines or windows sized to them fails.
SOLVANE_WINE_FACE="Liberation Sans"
SOLVANE_WINE_FACE_PACKAGE=fonts-liberation

# solvane_check_fonts: fails, naming the package to install, when
# fontconfig (which Wine takes its fonts from) has no Liberation Sans.
# tests/e2e/lib.sh checks the face Wine itself picks as well.
solvane_check_fonts() {
  if ! command -v fc-list >/dev/null; then
    echo "fc-list not found: install fontconfig (scripts/deps.sh does)" >&2
    return 1
  fi
  if [ -z "$(fc-list "$SOLVANE_WINE_FACE" file)" ]; then
    echo "font check: no \"$SOLVANE_WINE_FACE\" font on this machine. Wine draws the program's text in it;" \
      "without it the tests that measure text fail. Install $SOLVANE_WINE_FACE_PACKAGE" \
      "(apt-get install $SOLVANE_WINE_FACE_PACKAGE; scripts/deps.sh does)." >&2
    return 1
  fi
}

# Starts a display when there is none (or when SOLVANE_HEADLESS=1) and a
# private prefix; exports SOLVANE_WINE_READY so nested scripts reuse both.
solvane_wine_up() {
  if [ -n "${SOLVANE_WINE_READY:-}" ]; then return 0; fi
  solvane_check_fonts || return 1
  if [ -z "${DISPLAY:-}" ] || [ "${SOLVANE_HEADLESS:-0}" = 1 ]; then
    solvane_start_xvfb || return 1
  fi
  solvane_make_prefix || return 1
  export SOLVANE_WINE_READY=1
}

solvane_wine_down() {
  if [ -n "${SOLVANE_PREFIX_DIR:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$SOLVANE_PREFIX_DIR"
    unset SOLVANE_PREFIX_DIR SOLVANE_WINE_READY
  fi
  if [ -n "${SOLVANE_XVFB_PID:-}" ]; then
    kill "$SOLVANE_XVFB_PID" >/dev/null 2>&1 || true
    wait "$SOLVANE_XVFB_PID" 2>/dev/null || true
    unset SOLVANE_XVFB_PID
  fi
}

# solvane_drv ARGS...: runs the test driver ($SOLVANE_DRIVER) under Wine,
# once, its output and errors where the caller sends them: for a driver
# that runs on in the background (the paste target, the desktop keeper).
solvane_drv() { wine "$SOLVANE_DRIVER" "$@"; }

# drv ARGS...: runs the driver and waits for it; its stdout is the result,
# its remarks and errors go to stderr, its exit code is returned. The
# output goes through files in $SOLVANE_DRV_TMP (default: $TMPDIR or /tmp).
# NOTE: to files, not to a pipe: a Wine process may hand its standard
# handles on to processes that outlive it, and a reader of the pipe would
# wait for those.
# NOTE: the driver always says why it fails, on stderr. Now and then Wine
# itself ends a driver with exit 1 and nothing said, before the command has
# done anything (seen in about one full test run in five, in kill_save,
# tray and copy_order, right after the test had ended a Wine process; the
# same command run again went through every time). Such an exit is not the
# driver's verdict: the command runs once more, with Wine's errors shown
# ("-all," first keeps Debian's wine wrapper from adding its note about
# wine32), and that run's result stands. A command that had acted before
# such an exit would fail its second run loudly, so nothing is hidden.
drv() {
  local base=${SOLVANE_DRV_TMP:-${TMPDIR:-/tmp}}/solvane-drv.$$.$BASHPID rc=0
  solvane_drv "$@" >"$base.out" 2>"$base.err" </dev/null || rc=$?
  if [ "$rc" -ne 0 ] && [ ! -s "$base.err" ]; then
    printf '%s: NOTE: driver %s exited %s with nothing said; once more\n' "$(basename "$0" .sh)" "$*" "$rc" >&2
    rc=0
    WINEDEBUG=-all,err+all solvane_drv "$@" >"$base.out" 2>"$base.err" </dev/null || rc=$?
  fi
  cat "$base.out"
  cat "$base.err" >&2
  rm -f "$base.out" "$base.err"
  return "$rc"
}

# solvane_keep_desktop MS OUTFILE: starts the driver's desktop keeper for MS
# ms (its pid in SOLVANE_KEEPER_PID, its output in OUTFILE) and waits until
# it is ready; fails when it is not within 10 s.
# NOTE: Wine closes a named desktop, and its taskbar and clipboard with it,
# about a second after its last process ends; the next Wine process would
# then pay for a new desktop, find no taskbar, or fail to attach to it.
solvane_keep_desktop() {
  wine "$SOLVANE_DRIVER" keep "$1" </dev/null >"$2" 2>&1 &
  SOLVANE_KEEPER_PID=$!
  for _ in $(seq 1 100); do
    grep -q ready "$2" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
