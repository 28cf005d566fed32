# Sourced by scripts/e2e-test, scripts/e2e-bench and scripts/walkthrough:
# locating the binaries, a private Xvfb, board registration per scenario and
# screenshot conversion.
E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
E2E_BUILD="${E2E_BUILD:-$E2E_ROOT/build/windows}"
E2E_SHOTS="${E2E_SHOTS:-$E2E_ROOT/build/screenshots}"
E2E_XVFB_PID=""

# Windows path of an absolute Unix path, through Wine's Z: drive.
e2e_winpath() {
  local path
  path="$(realpath -m "$1")"
  printf 'Z:%s' "${path//\//\\}"
}

e2e_locate_binaries() {
  E2E_APP="$E2E_BUILD/app/Travune.exe"
  E2E_DLL="$E2E_BUILD/simboard/simboard.dll"
  E2E_DRIVER="$E2E_BUILD/tests/e2e/travune-e2e.exe"
  local missing=0 file
  for file in "$E2E_APP" "$E2E_DLL" "$E2E_DRIVER"; do
    if [ ! -f "$file" ]; then
      echo "e2e: $file is missing (cmake --build --preset windows --target Travune simboard travune_e2e)" >&2
      missing=1
    fi
  done
  return "$missing"
}

# Starts a private Xvfb on a free display and exports DISPLAY.
e2e_start_xvfb() {
  local fifo display
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  E2E_XVFB_PID=$!
  read -r -t 30 display <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$display" ]; then
    echo "e2e: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$display"
}

e2e_stop_xvfb() {
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
  fi
}

# Ends the Wine processes of our own prefix (WINEPREFIX is ours here).
e2e_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
  fi
}

# e2e_register <full|none> [VAR=value ...]: registers the simulated board
# with the given registration knobs, or removes it.
e2e_register() {
  local mode="$1"
  shift
  if [ "$mode" = none ]; then
    env "$@" "$E2E_ROOT/scripts/register-simboard" --unregister "$E2E_DLL"
  else
    env "$@" "$E2E_ROOT/scripts/register-simboard" "$E2E_DLL"
  fi
}

# Converts the driver's .bmp screenshots in E2E_SHOTS to .png.
e2e_convert_shots() {
  local bmp
  for bmp in "$E2E_SHOTS"/*.bmp; do
    [ -f "$bmp" ] || continue
    if convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null; then rm -f "$bmp"; fi
  done
}
