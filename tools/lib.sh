# Shared by tools/test and tools/run: a virtual display and a ready Wine prefix.
# shellcheck shell=bash

orvane_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ORVANE_WINEPREFIX="${ORVANE_WINEPREFIX:-$orvane_root/build/wineprefix}"

# Starts Xvfb on a free display and exports DISPLAY; stop_display ends it.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_display() {
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}

# Makes the Wine prefix once: no window-manager waits, Wine-drawn title bars, the caption font.
prepare_wine() {
  local prefix="$ORVANE_WINEPREFIX"
  if [ ! -f "$prefix/.orvane-ready" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEDLLOVERRIDES="mscoree,mshtml=" "$orvane_root/tools/wine-exec" wineboot -i </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
    local key='HKCU\Software\Wine\X11 Driver'
    "$orvane_root/tools/wine-exec" reg add "$key" /v Decorated /d N /f </dev/null >/dev/null 2>&1
    "$orvane_root/tools/wine-exec" reg add "$key" /v Managed /d N /f </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$prefix/.orvane-ready"
  fi
  # Start the server and Wine's helper processes now, detached, so that no test's captured output
  # waits on them.
  WINEPREFIX="$prefix" wineserver -p
  "$orvane_root/tools/wine-exec" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# True where this machine runs 32-bit code (some sandboxes have no IA32 emulation).
can_run_32bit() { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }

stop_wine() { WINEPREFIX="$ORVANE_WINEPREFIX" wineserver -k 2>/dev/null || true; }
