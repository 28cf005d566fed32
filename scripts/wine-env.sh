# Sourced by the scripts that run Windows programs: a Wine prefix of the
# project's own under build/, created on demand, never the user's ~/.wine.
TRAVUNE_ROOT="${TRAVUNE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${TRAVUNE_WINEPREFIX:-$TRAVUNE_ROOT/build/wine-prefix}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
if [ -x /usr/lib/wine/wine64 ]; then TRAVUNE_WINE=/usr/lib/wine/wine64; else TRAVUNE_WINE=wine64; fi

travune_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating the Wine prefix $WINEPREFIX ..." >&2
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
}
