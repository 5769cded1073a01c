#!/usr/bin/env bash
# purgent-fleet's page in a real browser: a folder of run logs written by
# purgent-sim (a completed run with a failed note, a clean one, a rerun, a
# halt, an error, an invalid command line, an interrupted run) and a file
# that is not a log; headless Chromium renders the page, and the page with
# its script taken out, and the page it built must list the machines needing attention
# first, each with its outcome and the counts its log's lines give.
# usage: fleet_page_test.sh PURGENT-SIM PURGENT-FLEET DEMO-IMAGE TEST-DATA OUT-DIR
set -euo pipefail
SIM=$1 FLEET=$2 DEMO=$3 DATA=$4 OUT=$5
fail() { printf 'FAIL: %s (files in %s)\n' "$*" "$OUT" >&2; exit 1; }

rm -rf "$OUT"
mkdir -p "$OUT/logs/site a" "$OUT/logs/site b"
# log NAME COMPUTER [purgent-sim options...]: a run's log, as that computer wrote it.
log() {
  local name=$1 computer=$2; shift 2
  "$SIM" "$@" --save "$OUT/run" -- /sn '/log=C:\purgent.log' >/dev/null || [[ $? -lt 64 ]] ||
    fail "purgent-sim $* failed"
  sed "s/^# computer: .*/# computer: $computer/" "$OUT/run/drive/C/purgent.log" >"$OUT/logs/$name"
  rm -rf "$OUT/run"
}
cp -r "$DEMO" "$OUT/halting"
printf '\n[window]\ntitle=Novell GroupWise - Mailbox\ncloses=no\n[window]\ntitle=Novell GroupWise - Calendar\ncloses=no\n' \
  >>"$OUT/halting/machine.ini"
log "site a/demo.log" PC-DEMO --machine "$DEMO"
log "site a/clean.log" PC-CLEAN
log "site a/halt.log" PC-HALT --machine "$OUT/halting"
log "site b/error.log" PC-ERROR --machine "$DATA/bad-hive-value"
log "site b/cut.log" PC-CUT --machine "$DEMO"
sed -i '/^exit\t/d' "$OUT/logs/site b/cut.log"  # killed before its end
log rerun.log PC-RERUN
cat "$OUT/logs/site a/demo.log" "$OUT/logs/rerun.log" >"$OUT/rerun.log" && mv "$OUT/rerun.log" "$OUT/logs/rerun.log"
{ sed -n '/^# /p' "$OUT/logs/site a/clean.log" | sed 's/PC-CLEAN/PC-INVALID/'
  printf 'message\tInvalid Purgent Commandline\nexit\t3\n'; } >"$OUT/logs/site b/invalid.log"
printf 'setup started\r\n' >"$OUT/logs/setup.log"
rm -rf "$OUT/halting"

status=0
"$FLEET" --html "$OUT/fleet.html" --csv "$OUT/fleet.csv" "$OUT/logs" >"$OUT/summary.txt" || status=$?
((status == 1)) || fail "purgent-fleet exited with $status, not 1"

PROFILES=$(mktemp -d) CHROMIUM_LOG=$OUT/chromium.log
trap 'rm -rf "$PROFILES"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/headless_chromium.sh"
headless_chromium dom --dump-dom "file://$OUT/fleet.html" >"$OUT/dom.html" || fail "chromium --dump-dom failed"
# Nothing of what the page tells needs its script (which only sorts).
sed 's#<script>.*</script>##' "$OUT/fleet.html" >"$OUT/noscript.html"
grep -q '<script' "$OUT/noscript.html" && fail "the script was not taken out"
headless_chromium noscript --dump-dom "file://$OUT/noscript.html" >"$OUT/dom-noscript.html" ||
  fail "chromium --dump-dom of the page without its script failed"
headless_chromium shot --screenshot="$OUT/fleet.png" --window-size=1400,1000 "file://$OUT/fleet.html" ||
  fail "chromium --screenshot failed"

# The counts of a log's last run, from its lines: keys, values, files,
# folders, DLL registrations, hive loads.
counts_of() {
  awk -F'\t' '/^# Purgent .* run log$/ { k = v = f = d = r = h = 0 }
    $1 == "reg-delete-key" { k++ } $1 == "reg-delete-value" || $1 == "reg-set-value" { v++ }
    $1 == "file-delete" { f++ } $1 == "dir-remove" { d++ } $1 == "hive-load" { h++ }
    $1 == "launch" && tolower($2) ~ /(^|\\)regsvr32\.exe$/ { r++ }
    END { print k, v, f, d, r, h }' "$1"
}
# The machine rows of a page as the browser built it: computer, outcome,
# then the six counts.
rows_of() {
  tr -d '\n' <"$1" | sed 's#<tbody#\n<tbody#g' | grep '^<tbody class="machine' |
    sed -E 's#</tr>.*##; s#<td class="n (failed|kept)">[0-9]+</td>##g; s#<td[^>]*>([^<]*)</td>#\1|#g; s#<[^>]*>##g' |
    awk -F'|' '{ print $1 "|" $2 "|" $4 " " $5 " " $6 " " $7 " " $8 " " $9 }'
}
expected=""
for machine in "PC-CUT|interrupted|site b/cut.log" "PC-ERROR|error|site b/error.log" \
    "PC-HALT|halted|site a/halt.log" "PC-INVALID|invalid command line|site b/invalid.log" \
    "PC-DEMO|completed|site a/demo.log" "PC-CLEAN|completed|site a/clean.log" "PC-RERUN|completed|rerun.log"; do
  IFS='|' read -r computer outcome file <<<"$machine"
  expected+="$computer|$outcome|$(counts_of "$OUT/logs/$file")"$'\n'
done
for dom in dom.html dom-noscript.html; do
  rows=$(rows_of "$OUT/$dom")
  [[ $rows$'\n' == "$expected" ]] || fail "$dom: the machines are not listed as expected:
$rows
expected:
$expected"
done
[[ $(grep -c '<details>' "$OUT/dom-noscript.html") == 7 ]] || fail "not one drill-down per machine"
text=$(sed 's/<[^>]*>/ /g' "$OUT/dom-noscript.html" | tr '\n\t' '  ' | tr -s ' ')
for line in "7 run logs (8 runs), 1 other file; 5 of 7 machines need attention." \
    " interrupted 1 error 1 halted 1 invalid command line 1 completed 3 with failed notes 2 restart pending 0 " \
    "setup.log: not a run log" "C:\\Novell\\Messenger\\readme.txt 5"; do
  [[ $text == *"$line"* ]] || fail "the page lacks: $line"
done

read -r width colours < <(identify -format '%w %k\n' "$OUT/fleet.png") || fail "no PNG"
((width == 1400 && colours > 16)) || fail "the screenshot looks blank ($width px wide, $colours colours)"
printf 'fleet page: 7 machines in order with their counts, with its script and without; screenshot %s\n' "$OUT/fleet.png"
