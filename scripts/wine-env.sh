# Shared set-up for running Windows binaries under Wine on a virtual display.
# Source it, then call solvane_wine_up; solvane_wine_down undoes what it started.
# Each run gets its own Wine prefix and its own X display, so runs never share
# a clipboard or a wineserver.

solvane_free_display() {
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  echo "$n"
}

solvane_start_xvfb() {
  local n
  n=$(solvane_free_display)
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  SOLVANE_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X${n}" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

solvane_make_prefix() {
  SOLVANE_PREFIX_DIR=$(mktemp -d /tmp/solvane-wine.XXXXXX)
  export WINEPREFIX="$SOLVANE_PREFIX_DIR"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot --init >/dev/null 2>&1
  # Without a window manager, hiding the active window leaves it in the
  # foreground; inside a Wine desktop activation moves on as on Windows.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x800 /f >/dev/null 2>&1
  # A crash dialog would hang a headless run.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
}

# Starts a display when there is none (or when SOLVANE_HEADLESS=1) and a
# private prefix; exports SOLVANE_WINE_READY so nested scripts reuse both.
solvane_wine_up() {
  if [ -n "${SOLVANE_WINE_READY:-}" ]; then return 0; fi
  if [ -z "${DISPLAY:-}" ] || [ "${SOLVANE_HEADLESS:-0}" = 1 ]; then
    solvane_start_xvfb || return 1
  fi
  solvane_make_prefix
  export SOLVANE_WINE_READY=1
}

solvane_wine_down() {
  if [ -n "${SOLVANE_PREFIX_DIR:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$SOLVANE_PREFIX_DIR"
    unset SOLVANE_PREFIX_DIR SOLVANE_WINE_READY
  fi
  if [ -n "${SOLVANE_XVFB_PID:-}" ]; then
    kill "$SOLVANE_XVFB_PID" >/dev/null 2>&1 || true
    unset SOLVANE_XVFB_PID
  fi
}
