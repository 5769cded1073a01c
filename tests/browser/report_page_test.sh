#!/usr/bin/env bash
# The demo's preview page in a real browser: headless Chromium renders
# purgent-sim's report of the demo workstation's /sp run to a PNG and dumps
# the page it built; the page's text must hold the verdict and every count
# line of the demo's screen, as purgent-demo-report prints it for the same
# run.
# usage: report_page_test.sh PURGENT-SIM PURGENT-DEMO-REPORT DEMO-IMAGE OUT-DIR
set -euo pipefail
SIM=$1 DEMO_REPORT=$2 IMAGE=$3 OUT=$4
fail() { printf 'FAIL: %s (files in %s)\n' "$*" "$OUT" >&2; exit 1; }

rm -rf "$OUT"
mkdir -p "$OUT"
"$SIM" --machine "$IMAGE" --save "$OUT/sim" --report "$OUT/report.html" -- /sp >/dev/null ||
  fail "purgent-sim failed"
"$DEMO_REPORT" "$IMAGE" "$OUT/sim" "$OUT/lists" >"$OUT/screen.txt" || fail "purgent-demo-report failed"

PROFILES=$(mktemp -d) CHROMIUM_LOG=$OUT/chromium.log
trap 'rm -rf "$PROFILES"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/headless_chromium.sh"
headless_chromium dom --dump-dom "file://$OUT/report.html" >"$OUT/dom.html" || fail "chromium --dump-dom failed"
headless_chromium shot --screenshot="$OUT/report.png" --window-size=1024,1400 "file://$OUT/report.html" ||
  fail "chromium --screenshot failed"

# What a reader sees: the text between the tags, runs of blanks as one.
text=$(sed 's/<[^>]*>/ /g' "$OUT/dom.html" | tr '\n\t' '  ' | tr -s ' ')
[[ $text == *" Verdict: completed, exit status 0 "* ]] || fail "no verdict line"
counts=0
while read -r line; do
  [[ $text == *" $line "* ]] || fail "the page lacks the demo screen's line: $line"
  counts=$((counts + 1))
done < <(grep -E '^[A-Za-z ]+ +[0-9]+ +[0-9]+ +[0-9]+ of [0-9]+$' "$OUT/screen.txt" | tr -s ' ')
((counts == 6)) || fail "expected the demo screen's 6 count lines, found $counts"

# A rendered page: its width, and more than a blank screen's colours.
read -r width colours < <(identify -format '%w %k\n' "$OUT/report.png") || fail "no PNG"
((width == 1024 && colours > 16)) || fail "the screenshot looks blank ($width px wide, $colours colours)"
printf 'report page: verdict and %d count lines present; screenshot %s\n' "$counts" "$OUT/report.png"
