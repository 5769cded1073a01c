#!/usr/bin/env bash
# The main job: the real purgent.exe (win64 build, under Wine with a virtual
# screen) cleans the built-in demo workstation, unattended ("/sn"). Prints
# what is gone and what is still there, then the simulator's step-by-step
# trace of the same workstation.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
IMAGE=$ROOT/demo/workstation
WIN64=$ROOT/build/win64

step() { printf '\n=== %s ===\n' "$*"; }
die() { printf '\n=== FAILED: %s ===\n' "$*" >&2; exit 1; }

[[ -d $IMAGE ]] || die "the demo workstation image $IMAGE is missing"

step "setup"
bash scripts/setup.sh || die "setup (scripts/setup.sh)"
for preset in win64 native; do
  step "build $preset"
  cmake --preset "$preset" >/dev/null || die "configure $preset"
  cmake --build --preset "$preset" || die "build $preset"
done
for exe in purgent.exe seed.exe snapshot.exe; do
  [[ -f $WIN64/$exe ]] || die "$WIN64/$exe was not built"
done

# A throwaway Wine machine and virtual screen, removed on exit.
WORK=$(mktemp -d /tmp/purgent-demo-XXXXXX)
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
XVFB_PID=
cleanup() {
  wineserver -k 2>/dev/null || true
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
cp -a "${PURGENT_CACHE:-/var/cache/purgent}/wineprefix" "$WINEPREFIX"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [[ -s $WORK/display ]] && break; sleep 0.1; done
[[ -s $WORK/display ]] || die "Xvfb did not start"
export DISPLAY=:$(<"$WORK/display")

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
# run_wine <seconds> <exe> <args...>: never lets a hung program stall the demo.
run_wine() {
  local seconds=$1; shift
  local status=0
  timeout --kill-after=5 "$seconds" wine "$@" >>"$WORK/wine.log" 2>&1 || status=$?
  if ((status == 124 || status == 137)); then
    wineserver -k || true
    die "$(basename "$1") did not finish within $seconds s"
  fi
  return "$status"
}

step "seed the demo workstation into a fresh Wine machine"
run_wine 300 "$WIN64/seed.exe" "$(winpath "$IMAGE")" || die "seed.exe failed (status $?)"

step "run purgent.exe /sn"
status=0
run_wine 300 "$WIN64/purgent.exe" /sn || status=$?
case $status in
  0) meaning="completed" ;;
  1) meaning="halted" ;;
  2) meaning="error" ;;
  *) meaning="unexpected" ;;
esac
echo "purgent.exe exit status: $status ($meaning)"

step "read the machine back"
run_wine 300 "$WIN64/snapshot.exe" "$(winpath "$IMAGE")" "$(winpath "$WORK/after")" ||
  die "snapshot.exe failed (status $?)"

# Keys of a .reg file (UTF-16LE or UTF-8), one a line, sorted.
reg_keys() {
  local file=$1
  [[ -f $file ]] || return 0
  if [[ $(head -c2 "$file" | od -An -tx1 | tr -d ' ') == fffe ]]; then
    iconv -f UTF-16LE -t UTF-8 "$file"
  else
    cat "$file"
  fi | tr -d '\r' | sed -n 's/^\[\([^-].*\)\]$/\1/p' | LC_ALL=C sort -u
}
# Files and folders (these with a trailing /) of an image's drive/ tree.
drive_files() {
  [[ -d $1/drive ]] || return 0
  (cd "$1/drive" && find . -mindepth 1 \( -type d -printf '%P/\n' -o -printf '%P\n' \) |
    LC_ALL=C sort)
}
# report <what> <before-list> <after-list>
report() {
  local gone kept
  gone=$(LC_ALL=C comm -23 "$2" "$3")
  kept=$(LC_ALL=C comm -12 "$2" "$3")
  printf '\n-- %s removed (%d):\n' "$1" "$(grep -c . <<<"$gone" || true)"
  [[ -n $gone ]] && sed 's/^/  - /' <<<"$gone"
  printf '\n-- %s still there (%d):\n' "$1" "$(grep -c . <<<"$kept" || true)"
  [[ -n $kept ]] && sed 's/^/  = /' <<<"$kept"
  return 0
}

step "what purgent.exe did"
reg_keys "$IMAGE/registry.reg" >"$WORK/keys.before"
reg_keys "$WORK/after/registry.reg" >"$WORK/keys.after"
drive_files "$IMAGE" >"$WORK/files.before"
drive_files "$WORK/after" >"$WORK/files.after"
report "registry keys" "$WORK/keys.before" "$WORK/keys.after"
report "files and folders" "$WORK/files.before" "$WORK/files.after"
# Each user's hive file holds that user's registry, as .reg text.
while IFS= read -r hive; do
  reg_keys "$IMAGE/drive/$hive" >"$WORK/hive.before"
  reg_keys "$WORK/after/drive/$hive" >"$WORK/hive.after"
  report "keys of $hive" "$WORK/hive.before" "$WORK/hive.after"
done < <(grep -i '/ntuser\.dat$' "$WORK/files.before" || true)

step "the same workstation, step by step (purgent-sim)"
build/native/purgent-sim --machine "$IMAGE" -- /sn || true
