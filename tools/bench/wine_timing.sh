#!/usr/bin/env bash
# Times a default "/sn" run of the real purgent.exe under Wine on the demo
# workstation and on a generated image (20 profiles, 20,000 installer
# components), each seeded into a fresh copy of the template Wine prefix.
# Prints a table row per image: the run's wall time, Wine's own start-up
# (an empty cmd.exe run) and what is left after the required 2 s wait.
# Not a test. Needs the win64 and native builds:
#   WIN64=build/win64 NATIVE=build/native bash tools/bench/wine_timing.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
WIN64=$(realpath "${WIN64:-build/win64}")
NATIVE=$(realpath "${NATIVE:-build/native}")
WORK=$(mktemp -d /tmp/purgent-wine-timing-XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The 64-bit loader itself (the `wine` script prefers the emulated 32-bit one).
WINE64=/usr/lib/wine/wine64
XVFB_PID=
cleanup() {
  [[ -n ${WINEPREFIX:-} ]] && wineserver -k 2>/dev/null || true
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [[ -s $WORK/display ]] && break; sleep 0.1; done
export DISPLAY=:$(<"$WORK/display")

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
seconds() { local start=$EPOCHREALTIME; "$@" >>"$WORK/wine.log" 2>&1; echo "$EPOCHREALTIME - $start" | bc; }

"$NATIVE/purgent-generate-image" "$WORK/generated" --profiles 20 --keys-per-hive 200 \
  --bystander-keys 5000 --components 20000

echo "| image | purgent.exe /sn | Wine start-up | required wait | the run's own time |"
echo "|---|---|---|---|---|"
for image in demo/workstation "$WORK/generated"; do
  export WINEPREFIX=$WORK/prefix
  rm -rf "$WINEPREFIX"
  cp -a "${PURGENT_CACHE:-/var/cache/purgent}/wineprefix" "$WINEPREFIX"
  timeout 900 "$WINE64" "$WIN64/seed.exe" "$(winpath "$(realpath "$image")")" >>"$WORK/wine.log" 2>&1
  startup=$(seconds "$WINE64" cmd /c exit 0)
  run=$(seconds timeout 900 "$WINE64" "$WIN64/purgent.exe" /sn)
  own=$(echo "$run - $startup - 2" | bc)
  printf '| %s | %.2f s | %.2f s | 2 s | %.2f s |\n' "$(basename "$image")" "$run" "$startup" "$own"
  wineserver -k 2>/dev/null || true
done
