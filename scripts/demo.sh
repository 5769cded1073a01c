#!/usr/bin/env bash
# The main job: the real purgent.exe (win64 build, under Wine with a virtual
# screen) cleans the built-in demo workstation, showing only its progress
# window ("/sp"). Prints, in one screen, what went and what stayed (and why),
# checks every other program's item listed in demo/workstation/bystanders.txt,
# and ends with a verdict; exit status 1 when a bystander went.
# The full lists, screenshots, logs, purgent-sim's trace and its preview as
# a page for a browser (report.html) go to build/demo/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
IMAGE=$ROOT/demo/workstation
WIN64=$ROOT/build/win64
OUT=$ROOT/build/demo

say() { printf '%s\n' "$*"; }
die() { printf 'FAILED: %s (logs in %s)\n' "$*" "$OUT" >&2; exit 2; }

rm -rf "$OUT"
mkdir -p "$OUT"
say "Purgent demo: outputs in $OUT"
say "- setting up and building (logs: setup.log, build.log)"
bash scripts/setup.sh win64 >"$OUT/setup.log" 2>&1 || die "setup of the win64 part (scripts/setup.sh win64; see setup.log)"
for preset in win64 native; do
  { cmake --preset "$preset" && cmake --build --preset "$preset"; } >>"$OUT/build.log" 2>&1 ||
    die "build $preset"
done

source scripts/wine-screen.sh
start_wine_screen

say "- seeding the demo workstation into a fresh Wine machine (seed.exe)"
run_wine 300 "$WIN64/seed.exe" "$(winpath "$IMAGE")" || die "seed.exe failed"

say "- running purgent.exe /sp (screenshots of its window: progress-*.png)"
timeout --kill-after=5 300 "$WINE64" "$WIN64/purgent.exe" /sp >>"$OUT/wine.log" 2>&1 &
PURGENT_PID=$!
for shot in 1 2 3; do
  sleep 1
  import -window root "$OUT/progress-$shot.png" 2>/dev/null || true
done
status=0
wait "$PURGENT_PID" || status=$?
((status == 0)) || die "purgent.exe ended with status $status"

run_wine 300 "$WIN64/snapshot.exe" "$(winpath "$IMAGE")" "$(winpath "$OUT/after")" ||
  die "snapshot.exe failed"
build/native/purgent-sim --machine "$IMAGE" --save "$OUT/sim" --trace "$OUT/sim-trace.txt" \
  --report "$OUT/report.html" -- /sp \
  >/dev/null 2>>"$OUT/sim.log" || die "purgent-sim failed"

verdict=0
build/native/purgent-demo-report "$IMAGE" "$OUT/after" "$OUT/lists" >"$OUT/report.txt" || verdict=$?
# The simulator's preview of the same run must tell the same story.
build/native/purgent-demo-report "$IMAGE" "$OUT/sim" "$OUT/sim-lists" >"$OUT/sim-report.txt" || true
say "- the full lists: lists/went.txt, lists/lost-bystanders.txt; purgent-sim's trace: sim-trace.txt"
say "- purgent-sim's preview as a page for a browser: report.html"
say ""
if ! diff -q "$OUT/lists/went.txt" "$OUT/sim-lists/went.txt" >/dev/null; then
  cat "$OUT/report.txt"
  say "Verdict: FAIL - purgent-sim's preview differs from the real run (lists/ and sim-lists/)."
  exit 1
fi
say "purgent-sim's preview of the same workstation removes exactly the same items."
cat "$OUT/report.txt"
exit "$verdict"
