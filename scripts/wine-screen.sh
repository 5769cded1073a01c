# Sourced by the scripts that show the real win64 purgent.exe (demo.sh,
# screenshots.sh): a throwaway Wine machine, copied from the set-up's
# template prefix, on a virtual screen, both removed on exit. The caller
# sets OUT (wine.log goes there) and defines die.

# The 64-bit loader itself: the `wine` script would start every program
# through the emulated 32-bit loader once wine32 is installed.
WINE64=/usr/lib/wine/wine64

start_wine_screen() {
  WORK=$(mktemp -d /tmp/purgent-wine-XXXXXX)
  # An English Windows whatever the host's locale, which Wine would take.
  export WINEPREFIX=$WORK/prefix WINEDEBUG=-all LC_ALL=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  XVFB_PID=
  trap stop_wine_screen EXIT
  cp -a "${PURGENT_CACHE:-/var/cache/purgent}/wineprefix" "$WINEPREFIX"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [[ -s $WORK/display ]] && break; sleep 0.1; done
  [[ -s $WORK/display ]] || die "Xvfb did not start"
  export DISPLAY=:$(<"$WORK/display")
}

stop_wine_screen() {
  wineserver -k 2>/dev/null || true
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# run_wine <seconds> <exe> <args...>: never lets a hung program stall the caller.
run_wine() {
  local seconds=$1; shift
  local status=0
  timeout --kill-after=5 "$seconds" "$WINE64" "$@" >>"$OUT/wine.log" 2>&1 || status=$?
  if ((status == 124 || status == 137)); then
    wineserver -k || true
    die "$(basename "$1") did not finish within $seconds s"
  fi
  return "$status"
}

# The X window of the first top-level window whose title holds <text>, or nothing.
window_titled() {
  xwininfo -root -tree | awk -v text="$1" 'index($0, "\"" text) { print $1; exit }'
}
