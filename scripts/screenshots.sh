#!/usr/bin/env bash
# The pictures of the documents, taken of the real purgent.exe (win64 build)
# under Wine on a virtual screen, each cropped to the program's window: the
# Interactive window (docs/images/window.png), and the "/sp" progress window
# at two moments of a run on the demo workstation, with different progress
# (docs/images/progress-early.png, progress-later.png). Every shot and the
# logs go to build/screenshots/. Needs root for the set-up, like the demo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
OUT=$PWD/build/screenshots
IMAGES=$PWD/docs/images
WIN64=$PWD/build/win64
TITLE="Purgent 3.5"

say() { printf '%s\n' "$*"; }
die() { printf 'FAILED: %s (logs in %s)\n' "$*" "$OUT" >&2; exit 2; }

rm -rf "$OUT"
mkdir -p "$OUT" "$IMAGES"
say "- setting up and building the win64 program (logs in $OUT)"
bash scripts/setup.sh win64 >"$OUT/setup.log" 2>&1 || die "setup of the win64 part"
{ cmake --preset win64 && cmake --build --preset win64; } >"$OUT/build.log" 2>&1 || die "build win64"

source scripts/wine-screen.sh
start_wine_screen
# Xvfb has no window manager: Wine draws the captions, as Windows would.
run_wine 60 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f || die "reg add failed"
say "- seeding the demo workstation (seed.exe)"
run_wine 300 "$WIN64/seed.exe" "$(winpath "$PWD/demo/workstation")" || die "seed.exe failed"

# shot <file>: the program's window as it is now; false while it has none.
shot() {
  local id
  id=$(window_titled "$TITLE")
  [[ -n $id ]] && import -window "$id" "$1" 2>>"$OUT/import.log"
}

say "- the Interactive window"
timeout --kill-after=5 120 "$WINE64" "$WIN64/purgent.exe" >>"$OUT/wine.log" 2>&1 &
purgent=$!
for _ in $(seq 300); do [[ -n $(window_titled "$TITLE") ]] && break; sleep 0.1; done
sleep 2  # painted
shot "$OUT/window.png" || die "no window titled $TITLE"
kill "$purgent"
wait "$purgent" 2>/dev/null || true
wineserver -w

say "- the /sp progress window, a shot every 0.2 s"
timeout --kill-after=5 300 "$WINE64" "$WIN64/purgent.exe" /sp >>"$OUT/wine.log" 2>&1 &
purgent=$!
n=0
while kill -0 "$purgent" 2>/dev/null; do
  file=$(printf '%s/progress-%03d.png' "$OUT" "$n")
  if shot "$file"; then n=$((n + 1)); fi
  sleep 0.2
done
wait "$purgent" || die "purgent.exe /sp failed"

# The distinct pictures in the order taken; two a third and two thirds in.
mapfile -t distinct < <(cd "$OUT" && md5sum progress-*.png | awk '!seen[$1]++ { print $2 }')
((${#distinct[@]} >= 3)) || die "only ${#distinct[@]} distinct progress pictures"
count=${#distinct[@]}
cp "$OUT/window.png" "$IMAGES/window.png"
cp "$OUT/${distinct[count / 3]}" "$IMAGES/progress-early.png"
cp "$OUT/${distinct[count * 2 / 3]}" "$IMAGES/progress-later.png"
say "- saved: docs/images/window.png, progress-early.png, progress-later.png (of $count distinct progress shots)"
