# Sourced by the scripts that run Windows programs: a Wine prefix of the
# project's own under build/, created on demand, never the user's ~/.wine.
TRAVUNE_ROOT="${TRAVUNE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${TRAVUNE_WINEPREFIX:-$TRAVUNE_ROOT/build/wine-prefix}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# Every Wine program (wineboot, winepath, regsvr32, reg, ours) starts through
# the 64-bit loader, which starts a 32-bit exe with its own loader. Debian's
# wine, winepath, wineboot and regsvr32 commands pick the 32-bit loader
# whenever it is installed, and fail where the host runs no 32-bit programs:
# in a script that sources this file they refuse at once, on every host.
for command in wine winepath wineboot regsvr32 reg regedit; do
  eval "$command() { echo \"$command: start it through \\\"\\\$TRAVUNE_WINE\\\"\" >&2; return 127; }"
done
if [ -x /usr/lib/wine/wine64 ]; then TRAVUNE_WINE=/usr/lib/wine/wine64; else TRAVUNE_WINE=wine64; fi

# A prefix made before 32-bit Wine was installed cannot start any program once
# it is ("could not load kernel32.dll"), where the host runs 32-bit programs:
# such a prefix is made anew.
travune_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ -f "$WINEPREFIX/system.reg" ] && [ -x /usr/lib/wine/wine ] &&
      [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ] &&
      "$TRAVUNE_ROOT/scripts/host-runs-32bit" 2>/dev/null; then
      echo "Recreating $WINEPREFIX, made before 32-bit Wine was installed ..." >&2
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating the Wine prefix $WINEPREFIX ..." >&2
      "$TRAVUNE_WINE" wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      [ -f "$WINEPREFIX/system.reg" ] || { echo "wine: could not create $WINEPREFIX" >&2; exit 1; }
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Builds the 64-bit Travune.exe and simulated board (and the further targets
# named), and registers the board in the prefix, where no board driver can
# exist.
travune_prepare_simulated_board() {
  (cd "$TRAVUNE_ROOT" && cmake --preset windows >/dev/null &&
    cmake --build --preset windows -j "$(nproc)" --target Travune simboard "$@" >/dev/null)
  travune_wine_prefix
  echo "No Travune board driver in this prefix: using the simulated board (registered in $WINEPREFIX)." >&2
  "$TRAVUNE_ROOT/scripts/register-simboard" "$TRAVUNE_ROOT/build/windows/simboard/simboard.dll"
}

# Starts a private Xvfb on a free display and exports DISPLAY;
# travune_stop_xvfb ends it.
travune_start_xvfb() {
  local fifo display=""
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  TRAVUNE_XVFB_PID=$!
  read -r -t 30 display <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$display" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$display"
}

travune_stop_xvfb() {
  if [ -n "${TRAVUNE_XVFB_PID:-}" ]; then
    kill "$TRAVUNE_XVFB_PID" 2>/dev/null || true
    wait "$TRAVUNE_XVFB_PID" 2>/dev/null || true
    TRAVUNE_XVFB_PID=""
  fi
}
