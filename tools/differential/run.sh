#!/usr/bin/env bash
# tools/differential/run.sh --seeds FIRST-LAST [--options LIST]
#
# The differential check: for each seed, a random workstation
# (purgent-generate-image --random SEED) is seeded into a fresh Wine machine;
# for each option set the real purgent.exe runs "/sn" plus the option on a
# copy of that machine, which is then read back, and purgent-sim runs on the
# same image. One line per difference between the two final machines and
# between the two run logs, then "status bar compared: N of M runs" (the runs
# whose phase, item and progress events were compared), last
# "differences: K"; exit 0 only when K is 0.
#
# --whatif first previews each option set on its machine (purgent.exe
# /whatif with a capture): the machine read back before and after the
# preview must be the same, the preview's log must hold the real run's
# events, and purgent-sim on the capture must write the preview's events
# again; each difference is a line.
#
# --again runs the simulator again on the images kept in the work folder and
# compares it with the Wine runs kept there, without Wine: after a change of
# the simulator, of the comparison or of its rules (with --whatif, the kept
# previews' comparisons too).
#
# LIST: comma-separated, out of default,/kc,/km,/kwt,/rws,/nw,/kf,/kr (all eight
# by default). WORK/summary lists per run and in total the status-bar events
# compared and the lines each rule set apart; WORK/coverage what each seed
# exercises. Seeds run on two workers (PURGENT_DIFF_WORKERS); the machines,
# traces and lines of each seed stay in build/differential/seed-N, with the
# lines a rule sets apart as a property of Wine in seed-N/excluded.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ALL_OPTIONS=default,/kc,/km,/kwt,/rws,/nw,/kf,/kr

usage() {
  echo "usage: tools/differential/run.sh --seeds FIRST-LAST [--options LIST] [--again] [--whatif]" >&2
  echo "       LIST: comma-separated, out of $ALL_OPTIONS" >&2
  exit 64
}

SEEDS="" OPTIONS=$ALL_OPTIONS AGAIN="" WHATIF=""
while (($#)); do
  case $1 in
    --seeds) (($# >= 2)) || usage; SEEDS=$2; shift 2 ;;
    --options) (($# >= 2)) || usage; OPTIONS=$2; shift 2 ;;
    --again) AGAIN=1; shift ;;
    --whatif) WHATIF=1; shift ;;
    *) usage ;;
  esac
done
[[ $SEEDS =~ ^([0-9]+)-([0-9]+)$ ]] || usage
FIRST=$((10#${BASH_REMATCH[1]})) LAST=$((10#${BASH_REMATCH[2]}))
((FIRST <= LAST)) || usage
IFS=, read -ra OPTION_SETS <<<"$OPTIONS"
((${#OPTION_SETS[@]})) || usage
for set in "${OPTION_SETS[@]}"; do
  [[ ,$ALL_OPTIONS, == *,"$set",* ]] || usage
done

NATIVE=$ROOT/build/native
WIN64=$ROOT/build/win64
WORK=${PURGENT_DIFF_WORK:-$ROOT/build/differential}
TEMPLATE=${PURGENT_CACHE:-/var/cache/purgent}/wineprefix
WORKERS=${PURGENT_DIFF_WORKERS:-2}
RUN_TIMEOUT=300
# Wine takes the Windows locale from the host's: an English Windows (ANSI code
# page 1252, as the simulator's) whatever the shell this runs from.
export LC_ALL=C.UTF-8
# The 64-bit loader itself: with wine32 installed too, "wine" starts the
# 32-bit one, which cannot run in the 64-bit template prefix.
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x $WINE ]] || WINE=wine

build() {
  (cd "$ROOT" &&
    cmake --preset native >/dev/null &&
    cmake --build --preset native --target purgent-sim purgent-generate-image purgent-machine-diff \
      purgent-diff-coverage >/dev/null &&
    cmake --preset win64 >/dev/null &&
    cmake --build --preset win64 --target purgent seed snapshot holdopen uihelper comserver hiveload >/dev/null) ||
    { echo "run.sh: the build failed" >&2; exit 70; }
  [[ -f $TEMPLATE/system.reg ]] || { echo "run.sh: no Wine template at $TEMPLATE; run scripts/setup.sh" >&2; exit 70; }
}

# The Wine path (drive Z:) of a host path.
winpath() { local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"; }

# wine_in PREFIX PROGRAM ARGS...: runs a Windows program of the win64 build in
# the prefix, its output appended to the prefix's log.
wine_in() {
  local prefix=$1; shift
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINELOADER=$WINE \
    "$WINE" "$@" >>"$prefix.log" 2>&1
}

# Ends every Windows process of the prefix and waits until its registry is written.
stop_prefix() { WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true; WINEPREFIX=$1 wineserver -w >/dev/null 2>&1 || true; }

# The files a run may change in place: what the seeding wrote (listed once,
# before any copy links to them) and the registry files.
changed_by_seeding() {
  find "$1" -cnewer "$1.stamp" -type f -printf '%P\n'
}

# copy_prefix BASE COPY: hard links for Wine's own files, real copies of the
# files the seeding wrote, so that a run never changes the base.
copy_prefix() {
  local base=$1 copy=$2
  cp -al "$base" "$copy"
  # tar replaces each link by a file of its own, attributes (xattrs) kept.
  tar -C "$base" --xattrs --warning=no-file-changed -cf - -T "$base.changed" | tar -C "$copy" --xattrs -xf -
}

# ini_section IMAGE NAME: the entries of the image's machine.ini section
# [NAME], one a line.
ini_section() {
  sed -n "/^\\[$2\\]/,/^\\[/{/^\\[/d;p}" "$1/machine.ini" | tr -d '\r' | sed '/^$/d'
}

# unix_path PREFIX PATH: the host path of a Windows path on a drive the
# prefix maps, each existing part matched in any case, as Windows matches it.
unix_path() {
  local drive=${2:0:1} path part found
  local -a parts
  path=$(realpath "$1/dosdevices/${drive,,}:")
  IFS='\' read -ra parts <<<"${2:3}"
  for part in "${parts[@]}"; do
    [[ -n $part ]] || continue
    found=""
    [[ -e $path/$part || -L $path/$part ]] ||
      found=$(find -H "$path" -mindepth 1 -maxdepth 1 -iname "$part" -printf '%f' -quit 2>/dev/null)
    path=$path/${found:-$part}
  done
  echo "$path"
}

# make_links PREFIX IMAGE SECTION: each line of the image's [junction] or
# [reparse] section as a relative symbolic link in the prefix, to a folder or
# a file on any drive the prefix maps, outer links first. Wine has no
# reparse points; it follows a symbolic link as Windows follows a junction
# or a link.
make_links() {
  local prefix=$1 image=$2 link target at
  while IFS='=' read -r link target; do
    at=$(unix_path "$prefix" "$link")
    mkdir -p "$(dirname "$at")"
    ln -s "$(realpath -m --relative-to="$(dirname "$at")" "$(unix_path "$prefix" "$target")")" "$at"
  done < <(ini_section "$image" "$3" | awk -F'\\' '{ print NF "\t" $0 }' | sort -s -n -k1,1 | cut -f2-)
}

# Wine links a user's Desktop, Documents, Music... to the host's folders of
# those names in $HOME: each becomes an empty folder of the prefix, so that no
# run writes into the host's home and the program sees a profile as Windows
# makes it.
unlink_home_folders() {
  local link
  find "$1/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0 |
    while IFS= read -r -d '' link; do rm "$link" && mkdir "$link"; done
}

# Holds the image's [locked] files open in the prefix, as a running program
# would, until HOLDER is killed.
hold_locked_files() {
  local prefix=$1 image=$2 ready
  local -a locked=()
  mapfile -t locked < <(ini_section "$image" locked)
  ((${#locked[@]})) || return 0
  ready=$prefix/drive_c/holdopen.ready
  WINEPREFIX=$prefix WINEDEBUG=-all WINELOADER=$WINE "$WINE" "$WIN64/holdopen.exe" 'C:\holdopen.ready' \
    "${locked[@]}" >>"$prefix.log" 2>&1 &
  HOLDER=$!
  for _ in $(seq 600); do [[ -f $ready ]] && return 0; sleep 0.1; done
  echo "run.sh: holdopen did not start in $prefix" >&2
}

# simulate DIR IMAGE NAME ARGS...: purgent-sim on IMAGE, its machine saved as
# DIR/NAME, its trace and exit status beside it.
simulate() {
  local dir=$1 image=$2 name=$3 status=0
  shift 3
  "$NATIVE/purgent-sim" --machine "$image" --save "$dir/$name" --trace "$dir/$name.trace" -- "$@" \
    >/dev/null 2>"$dir/$name.err" || status=$?
  echo "$status" >"$dir/$name.status"
}

# compare DIR IMAGE SET NAME SIM EXCLUDED: the differences between the Wine
# machine of option set NAME and the simulator's machine SIM, both run from
# IMAGE; the lines a rule sets apart are appended to EXCLUDED.
compare() {
  local dir=$1 image=$2 set=$3 name=$4 sim=$5 excluded=$6 wine_status sim_status status=0
  wine_status=$(cat "$dir/wine-$name.status") sim_status=$(cat "$dir/$sim.status")
  [[ $wine_status == "$sim_status" ]] || echo "exit status differs: Wine $wine_status, simulator $sim_status"
  "$NATIVE/purgent-machine-diff" "$image" "$dir/before" "$dir/wine-$name" "$dir/$sim" \
    "$dir/wine-$name.log" "$dir/$sim/drive/C/purgent-run.log" \
    2> >(sed "s|^|$set: |" >>"$excluded") || status=$?
  ((status < 64)) || echo "the two machines could not be compared (purgent-machine-diff exit status $status)"
}

# loaded_hives IMAGE OUT: an image of the logged-on users' hives alone (the
# keys under HKEY_USERS\<SID>, and the link keys among them), when IMAGE has
# any. Wine writes only its own user's keys to disk, so these are seeded
# again into each run's machine, whose server then stays up until the
# machine has been read back.
loaded_hives() {
  local image=$1 out=$2
  grep -qi '^\[HKEY_USERS\\S-1-5-21' "$image/registry.reg" 2>/dev/null || return 0
  mkdir -p "$out"
  awk 'NR == 1 { print; next } /^\[/ { keep = toupper($0) ~ /^\[HKEY_USERS\\S-1-5-21/ } keep' \
    "$image/registry.reg" >"$out/registry.reg"
  { echo '[registry-link]'; ini_section "$image" registry-link | grep -i '^HKEY_USERS\\S-1-5-21'; } \
    >"$out/machine.ini" || rm "$out/machine.ini"
}

# leftover_mount IMAGE OUT: when IMAGE has a mount of the program's own name
# (keys under HKEY_USERS\Purgent.UserHive), an image of a hive file holding
# them, which each run's machine loads under that name and leaves loaded, as
# a killed run leaves it.
leftover_mount() {
  local image=$1 out=$2
  grep -qi '^\[HKEY_USERS\\Purgent\.UserHive' "$image/registry.reg" 2>/dev/null || return 0
  mkdir -p "$out/drive/C/purgent-leftover"
  awk 'NR == 1 { print; next } /^\[/ { keep = toupper($0) ~ /^\[HKEY_USERS\\PURGENT\.USERHIVE/ }
       keep { sub(/^\[HKEY_USERS\\[Pp][Uu][Rr][Gg][Ee][Nn][Tt]\.[Uu][Ss][Ee][Rr][Hh][Ii][Vv][Ee]/, "[HKEY_CURRENT_USER"); print }' \
    "$image/registry.reg" >"$out/drive/C/purgent-leftover/ntuser.dat"
}

# run_set DIR IMAGE SET: the real program and the simulator on one option set;
# prints the differences.
run_set() {
  local dir=$1 image=$2 set=$3 name prefix status
  local -a args
  mapfile -t args < <(purgent_args "$set")
  name=${set//\//}
  prefix=$dir/prefix-$name
  copy_prefix "$dir/base" "$prefix"
  # The server stays up until the machine has been read back: a new one
  # would start the machine again, which first deletes the files the run
  # left for its next start.
  WINEPREFIX=$prefix wineserver -p
  if [[ -d $dir/loaded ]]; then
    wine_in "$prefix" "$WIN64/seed.exe" "$(winpath "$dir/loaded")" || echo "seeding the logged-on users' hives failed"
  fi
  if [[ -d $dir/leftover ]]; then
    { wine_in "$prefix" "$WIN64/seed.exe" "$(winpath "$dir/leftover")" &&
      wine_in "$prefix" "$WIN64/hiveload.exe" 'C:\purgent-leftover\ntuser.dat' Purgent.UserHive leave; } ||
      echo "leaving a mount of the program's own name failed"
  fi
  [[ -z $WHATIF ]] || preview_set "$dir" "$prefix" "$image" "$name" "${args[@]}"
  HOLDER=""
  hold_locked_files "$prefix" "$image"
  # An error box waits for OK even in /sn: answer it, as an operator would.
  wine_in "$prefix" "$WIN64/uihelper.exe" answer-any "$RUN_TIMEOUT" &
  local watcher=$!
  status=0
  timeout "$RUN_TIMEOUT" env WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$WINE" \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$WINE" "$WIN64/purgent.exe" "${args[@]}" \
    >>"$prefix.log" 2>&1 || status=$?
  kill "$watcher" 2>/dev/null || true
  # Released, as at a logoff, so that the snapshot can read every hive.
  [[ -z $HOLDER ]] || kill "$HOLDER" 2>/dev/null || true
  echo "$status" >"$dir/wine-$name.status"
  wine_in "$prefix" "$WIN64/snapshot.exe" "$(winpath "$image")" "$(winpath "$dir/wine-$name")" ||
    echo "snapshot of the Wine machine failed (see $prefix.log)"
  cp "$prefix/drive_c/purgent-run.log" "$dir/wine-$name.log" 2>/dev/null || echo "the real program wrote no run log"
  stop_prefix "$prefix"
  wait "$watcher" 2>/dev/null || true
  rm -rf "$prefix"
  check_set "$dir" "$image" "$set"
  [[ -z $WHATIF ]] || compare_preview "$dir" "$image" "$set" "$name"
}

# preview_set DIR PREFIX IMAGE NAME ARGS...: purgent.exe /whatif with a
# capture on the run's machine (its [locked] files held meanwhile), read back
# before and after; prints a line for each part of the machine the preview
# changed.
preview_set() {
  local dir=$1 prefix=$2 image=$3 name=$4 part status=0
  shift 4
  local -a args=()
  for part in "$@"; do [[ $part == /log=* ]] || args+=("$part"); done
  wine_in "$prefix" "$WIN64/snapshot.exe" "$(winpath "$image")" "$(winpath "$dir/preview-before-$name")" ||
    echo "snapshot before the preview failed"
  HOLDER=""
  hold_locked_files "$prefix" "$image"
  timeout "$RUN_TIMEOUT" env WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$WINE" \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$WINE" "$WIN64/purgent.exe" "${args[@]}" /whatif \
    '/capture=C:\purgent-capture' '/log=C:\purgent-whatif.log' >>"$prefix.log" 2>&1 || status=$?
  echo "$status" >"$dir/whatif-$name.status"
  if [[ -n $HOLDER ]]; then kill "$HOLDER" 2>/dev/null || true; wait "$HOLDER" 2>/dev/null || true; fi
  wine_in "$prefix" "$WIN64/snapshot.exe" "$(winpath "$image")" "$(winpath "$dir/preview-after-$name")" ||
    echo "snapshot after the preview failed"
  diff -rq "$dir/preview-before-$name" "$dir/preview-after-$name" | sed 's/^/the preview changed the machine: /' || true
  cp "$prefix/drive_c/purgent-whatif.log" "$dir/whatif-$name.log" 2>/dev/null || echo "the preview wrote no run log"
  rm -rf "$dir/capture-$name"
  cp -r "$prefix/drive_c/purgent-capture" "$dir/capture-$name" 2>/dev/null || echo "the preview wrote no capture"
  rm -rf "$prefix/drive_c/purgent-capture" "$prefix/drive_c/purgent-whatif.log"
}

# log_events FILE: a run log's events in any case.
log_events() { grep -v '^#' "$1" | tr -d '\r' | tr '[:upper:]' '[:lower:]'; }

# compare_preview DIR IMAGE SET NAME: the preview's log against the real
# run's, and purgent-sim's run on the capture against the preview's log.
compare_preview() {
  local dir=$1 image=$2 set=$3 name=$4 key
  local -a args unregisters=()
  [[ -f $dir/whatif-$name.log && -d $dir/capture-$name ]] || return 0
  [[ $(cat "$dir/whatif-$name.status" 2>/dev/null) == "$(cat "$dir/wine-$name.status")" ]] ||
    echo "exit status differs: preview $(cat "$dir/whatif-$name.status" 2>/dev/null), real run $(cat "$dir/wine-$name.status")"
  # The keys a DLL's own unregistration removes: the real run finds them gone.
  while IFS= read -r key; do unregisters+=("$(tr '[:upper:]' '[:lower:]' <<<"$key")"); done \
    < <(sed -n 's/^unregisters=//p' "$image/machine.ini" | tr -d '\r')
  diff <(log_events "$dir/whatif-$name.log") <(log_events "$dir/wine-$name.log") | grep '^[<>]' |
    while IFS= read -r line; do
      for key in "${unregisters[@]}"; do
        if [[ $line == "< reg-delete-key"$'\t'"$key" || $line == "< reg-delete-key"$'\t'"$key\\"* ]]; then
          echo "$set: excluded: preview log only: ${line:2} (a DLL's own unregistration removes it)" >>"$dir/excluded"
          continue 2
        fi
      done
      [[ $line == '<'* ]] && echo "preview log only: ${line:2}" || echo "real log only: ${line:2}"
    done
  mapfile -t args < <(purgent_args "$set" | grep -v '^/log=')
  # Windows names the current user's hive below HKEY_USERS\<SID> as
  # HKEY_CURRENT_USER; an image holds the two apart.
  "$NATIVE/purgent-sim" --machine "$dir/capture-$name" -- "${args[@]}" 2>"$dir/replay-$name.err" |
    sed 's/HKEY_USERS\\S-1-5-21-0-0-0-1000/HKEY_CURRENT_USER/' >"$dir/replay-$name.trace" || true
  # The replay against the preview's log, by the rules of the comparison
  # with Wine drawn from the capture (both ran on what Wine showed: a key
  # Windows protects opened); the machines are not compared.
  local capture=$dir/capture-$name
  "$NATIVE/purgent-machine-diff" "$capture" "$capture" "$capture" "$capture" "$dir/whatif-$name.log" \
    "$dir/replay-$name.trace" 2> >(grep -v 'status-bar events compared\|^status bar:' | sed "s|^|$set: replay: |" >>"$dir/excluded") |
    sed 's/^log event only on Wine: /preview log only, not in the replay of its capture: /;
         s/^log event only in the simulator: /replay of the capture only: /' || true
}

# purgent_args SET: the real program's and the simulator's arguments for an
# option set, one a line. Both write a run log, compared event by event.
purgent_args() {
  echo /sn
  [[ $1 == default ]] || echo "$1"
  echo '/log=C:\purgent-run.log'
}

# run_set_again_on_a_miss DIR IMAGE SET: run_set, made once more when
# regsvr32 did not start under Wine: CreateProcessA of it fails there now
# and then (the log names a launch only when the program started), never
# twice in a row so far. The first attempt's lines set apart are dropped
# and the miss is set apart under a rule of its own, so the summary counts
# each second attempt; a miss the second time is a difference.
run_set_again_on_a_miss() {
  local dir=$1 image=$2 set=$3 kept out miss
  kept=$(cat "$dir/excluded" 2>/dev/null | wc -l)
  out=$(run_set "$dir" "$image" "$set")
  miss=$(grep -m1 -iP '^log event only in the simulator: launch\t[^\t]*\\regsvr32\.exe\t' <<<"$out" || true)
  if [[ -n $miss ]]; then
    head -n "$kept" "$dir/excluded" >"$dir/excluded.before" && mv "$dir/excluded.before" "$dir/excluded"
    echo "$set: excluded: $miss (regsvr32 did not start under Wine: the run was made again)" >>"$dir/excluded"
    out=$(run_set "$dir" "$image" "$set")
  fi
  [[ -z $out ]] || printf '%s\n' "$out"
}

# check_set DIR IMAGE SET: purgent-sim on the image, compared with the
# real run; the lines set apart go to DIR/excluded.
check_set() {
  local dir=$1 image=$2 set=$3 name=${3//\//}
  local -a args
  mapfile -t args < <(purgent_args "$set")
  simulate "$dir" "$image" "sim-$name" "${args[@]}"
  compare "$dir" "$image" "$set" "$name" "sim-$name" "$dir/excluded"
}

# run_seed SEED: seeds one Wine machine from the seed's image, then every
# option set on a copy of it; the differences go to seed-N/differences.
run_seed() {
  local seed=$1 dir=$WORK/seed-$1 set
  if [[ -n $AGAIN ]]; then
    [[ -d $dir/image ]] || return 0
    rm -f "$dir/excluded"
    for set in "${OPTION_SETS[@]}"; do
      { check_set "$dir" "$dir/image" "$set"
        [[ -z $WHATIF ]] || compare_preview "$dir" "$dir/image" "$set" "${set//\//}"; } | sed "s|^|seed $seed $set: |"
    done >"$dir/differences" 2>"$dir/errors"
    return
  fi
  # A run stopped midway (by a test's time limit) leaves its machines' Wine
  # servers running: end them before their prefixes go.
  local prefix
  for prefix in "$dir"/base "$dir"/prefix-*; do [[ ! -d $prefix ]] || stop_prefix "$prefix"; done
  rm -rf "$dir"
  mkdir -p "$dir"
  {
    "$NATIVE/purgent-generate-image" --random "$seed" "$dir/image" >&2
    loaded_hives "$dir/image" "$dir/loaded"
    leftover_mount "$dir/image" "$dir/leftover"
    cp -a "$TEMPLATE" "$dir/base"
    unlink_home_folders "$dir/base"
    # Drive D:, for profiles, data and links kept there.
    mkdir "$dir/base/drive_d"
    ln -s ../drive_d "$dir/base/dosdevices/d:"
    make_links "$dir/base" "$dir/image" junction
    touch "$dir/base.stamp"
    sleep 1
    if ! wine_in "$dir/base" "$WIN64/seed.exe" "$(winpath "$dir/image")"; then
      echo "seeding the Wine machine failed (see $dir/base.log)"
    fi
    make_links "$dir/base" "$dir/image" reparse
    wine_in "$dir/base" "$WIN64/snapshot.exe" "$(winpath "$dir/image")" "$(winpath "$dir/before")"
    stop_prefix "$dir/base"
    changed_by_seeding "$dir/base" >"$dir/base.changed"
    for set in "${OPTION_SETS[@]}"; do
      run_set_again_on_a_miss "$dir" "$dir/image" "$set" | sed "s|^|seed $seed $set: |"
    done
    rm -rf "$dir/base"
  } >"$dir/differences" 2>"$dir/errors"
}

# summarize: per run and in total, the status-bar events compared and the
# lines set apart by each rule (each line itself is in seed-N/excluded).
summarize() {
  local seed
  for seed in $(seq "$FIRST" "$LAST"); do
    [[ -f $WORK/seed-$seed/excluded ]] && sed "s/^/seed $seed /" "$WORK/seed-$seed/excluded"
  done | awk '
    function seen(run) { if (!(run in known)) { known[run] = 1; order[runs++] = run } }
    / status-bar events compared: / { run = $1 " " $2 " " $3; sub(":$", "", run); seen(run)
                                      status[run] = $NF; total += $NF; next }
    / excluded: / { run = $1 " " $2 " " $3; sub(":$", "", run); seen(run)
                    rule = $0; sub(/.*\(/, "", rule); sub(/\)$/, "", rule)
                    apart[run]++; if (!((run, rule) in runRule)) rules[run] = rules[run] SUBSEP rule
                    runRule[run, rule]++; if (!(rule in byRule)) ruleOrder[nrules++] = rule; byRule[rule]++ }
    END {
      for (i = 0; i < runs; i++) {
        run = order[i]
        printf "%s: status-bar events compared %d, lines set apart %d\n", run, status[run], apart[run]
        n = split(substr(rules[run], 2), list, SUBSEP)
        for (j = 1; j <= n; j++) printf "  %d: %s\n", runRule[run, list[j]], list[j]
      }
      printf "in total: status-bar events compared %d\n", total
      for (i = 0; i < nrules; i++) printf "  set apart %d: %s\n", byRule[ruleOrder[i]], ruleOrder[i]
    }'
}

build
mkdir -p "$WORK"
XVFB_DISPLAY_FILE=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$XVFB_DISPLAY_FILE" >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null; rm -f "$XVFB_DISPLAY_FILE"' EXIT
for _ in $(seq 100); do [[ -s $XVFB_DISPLAY_FILE ]] && break; sleep 0.1; done
[[ -s $XVFB_DISPLAY_FILE ]] || { echo "run.sh: Xvfb did not start" >&2; exit 70; }
export DISPLAY=:$(head -n1 "$XVFB_DISPLAY_FILE")

export -f run_seed run_set run_set_again_on_a_miss purgent_args check_set preview_set log_events compare_preview simulate compare loaded_hives leftover_mount ini_section unix_path make_links unlink_home_folders copy_prefix changed_by_seeding hold_locked_files stop_prefix wine_in winpath
export NATIVE WIN64 WORK TEMPLATE RUN_TIMEOUT OPTIONS WINE AGAIN WHATIF
export OPTION_SETS_TEXT=${OPTION_SETS[*]}
seq "$FIRST" "$LAST" | xargs -P "$WORKERS" -I{} bash -c 'read -ra OPTION_SETS <<<"$OPTION_SETS_TEXT"; run_seed {}'

count=0 runs=0 status_compared=0
for seed in $(seq "$FIRST" "$LAST"); do
  file=$WORK/seed-$seed/differences
  runs=$((runs + ${#OPTION_SETS[@]}))
  [[ -f $file ]] || { echo "seed $seed: did not run"; count=$((count + 1)); continue; }
  cat "$file"
  count=$((count + $(wc -l <"$file")))
  status_compared=$((status_compared + $(grep -c ': status bar: compared$' "$WORK/seed-$seed/excluded" || true)))
done
summarize >"$WORK/summary"
"$NATIVE/purgent-diff-coverage" $(seq -f "$WORK/seed-%g" "$FIRST" "$LAST") >"$WORK/coverage" 2>&1 || true
echo "run.sh: what each run compared and set apart, by rule: $WORK/summary; what each seed exercises: $WORK/coverage" >&2
echo "status bar compared: $status_compared of $runs runs"
echo "differences: $count"
((count == 0))
