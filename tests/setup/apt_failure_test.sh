#!/usr/bin/env bash
# The set-up's apt steps against a mirror caught in the middle of a sync: a
# local file repository whose index does not have the size its Release file
# states, beside the machine's real sources. Where what is needed can still be
# installed, the set-up warns and goes on; where a package cannot be had, it
# ends with one message naming the package and the unreadable index, and a
# non-zero status. Nothing is installed: a private apt configuration, and
# installs only simulated.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { printf 'FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
expect() {  # expect WHAT TEXT FILE: FILE holds TEXT
  grep -qF -- "$2" "$3" || { fail "$1: no \"$2\" in:"; sed 's/^/    /' "$3" >&2; }
}

# The stale repository: its Release states one byte more than Packages has.
repo=$work/repo
mkdir -p "$repo/dists/stale/main/binary-amd64"
printf 'Package: purgent-stale-probe\nVersion: 1\nArchitecture: all\nFilename: pool/p.deb\nSize: 1\nDescription: probe\n\n' \
  >"$repo/dists/stale/main/binary-amd64/Packages"
index=$repo/dists/stale/main/binary-amd64/Packages
cat >"$repo/dists/stale/Release" <<EOF
Suite: stale
Codename: stale
Date: $(LC_ALL=C date -u -R)
Architectures: amd64
Components: main
SHA256:
 $(sha256sum "$index" | cut -d' ' -f1) $(($(stat -c %s "$index") + 1)) main/binary-amd64/Packages
EOF

# The machine's real sources (and what apt has already read of them), and
# the stale repository beside them.
apt=$work/apt
mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache/archives/partial"
cp /etc/apt/sources.list "$apt/sources.list" 2>/dev/null || : >"$apt/sources.list"
cp /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list "$apt/parts/" 2>/dev/null || true
cp /var/lib/apt/lists/*_Release /var/lib/apt/lists/*_InRelease /var/lib/apt/lists/*_Packages* \
  "$apt/lists/" 2>/dev/null || true
chown -R _apt "$apt/lists/partial" "$apt/cache" 2>/dev/null || true
printf 'deb [trusted=yes arch=amd64] file:%s stale main\n' "$repo" >>"$apt/sources.list"
options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts"
  -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o Debug::NoLocking=true)

# run_setup_steps OUT PACKAGE...: the set-up's update and install, as it runs
# them, in a shell of their own; the status of that shell.
run_setup_steps() {
  local out=$1
  shift
  (
    log() { printf '[setup] %s\n' "$*"; }
    warn() { printf '[setup] WARNING: %s\n' "$*"; }
    die() { printf '[setup] ERROR: %s\n' "$*"; exit 1; }
    source "$ROOT/scripts/apt.sh"
    APT_GET=(apt-get "${options[@]}" -o APT::Get::Simulate=true)
    APT_CACHE=(apt-cache "${options[@]}")
    apt_update
    apt_get_packages "$work/apt.log" install "$@"
    log "installed: $*"
  ) >"$out" 2>&1
}

export PURGENT_APT_TRIES=2 PURGENT_APT_PAUSE=0

# What is needed comes from the readable sources: a warning, and on.
if ! run_setup_steps "$work/available.out" hello; then fail "the set-up stopped though hello can be had"; fi
expect "a stale index" "WARNING: apt-get update: not every index could be read (try 1 of 2)" "$work/available.out"
expect "a stale index" "going on without these package indexes, which could not be read: file:$index" "$work/available.out"
expect "a stale index" "installed: hello" "$work/available.out"

# What only the stale index offers: one message, and a non-zero status.
if run_setup_steps "$work/missing.out" hello purgent-stale-probe; then
  fail "the set-up went on without purgent-stale-probe"
fi
expect "a package only the stale index has" "cannot install: hello purgent-stale-probe" "$work/missing.out"
expect "a package only the stale index has" "offered by no package index that could be read: purgent-stale-probe" "$work/missing.out"
expect "a package only the stale index has" "package indexes that could not be read: file:$index" "$work/missing.out"
expect "a package only the stale index has" "what to do:" "$work/missing.out"
[[ $(grep -c 'ERROR' "$work/missing.out") == 1 ]] || fail "more than one error message"
[[ $(grep -c 'failed (try 1 of 2)' "$work/missing.out") == 1 ]] || fail "the install was not tried exactly twice"

# The 32-bit runner's root keeps only suites read for both architectures.
# drop_suites OUT FAILED-INDEX...: the root's sources after the rule.
drop_suites() {
  local out=$1
  shift
  mkdir -p "$work/root/etc/apt"
  printf 'deb http://m/debian bookworm main\ndeb http://m/debian bookworm-updates main\ndeb http://m/debian-security bookworm-security main\n' \
    >"$work/root/etc/apt/sources.list"
  (
    log() { :; }
    warn() { printf 'WARNING: %s\n' "$*"; }
    die() { printf 'ERROR: %s\n' "$*"; exit 1; }
    ROOT=$ROOT CACHE=$work/cache
    source "$ROOT/scripts/apt.sh"
    source "$ROOT/scripts/setup-i386-root.sh"
    APT_FAILED_INDEXES=("$@")
    drop_unreadable_suites "$work/root" bookworm
  ) >"$out" 2>&1 || echo "status $?" >>"$out"
  cat "$work/root/etc/apt/sources.list" >>"$out"
}
drop_suites "$work/security.out" http://m/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz
expect "an unreadable security suite" "leaves out bookworm-security" "$work/security.out"
expect "an unreadable security suite" "deb http://m/debian bookworm-updates main" "$work/security.out"
if grep -q 'bookworm-security main' "$work/security.out"; then fail "bookworm-security stayed in the root's sources"; fi
drop_suites "$work/base.out" http://m/debian/dists/bookworm/main/binary-i386/Packages.xz
expect "an unreadable base suite" "ERROR: the root's base suite bookworm cannot be read" "$work/base.out"
expect "an unreadable base suite" "status 1" "$work/base.out"

((failures == 0)) || exit 1
echo "apt failure handling ok"
