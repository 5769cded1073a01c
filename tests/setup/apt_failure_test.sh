#!/usr/bin/env bash
# The set-up's apt steps against a mirror caught in the middle of a sync: a
# file repository whose stale suite's index does not have the size its Release
# file states, beside a readable suite. Where what is needed can still be
# installed, the set-up warns and goes on; where a package cannot be had, it
# ends with one message naming the package and the unreadable index, and a
# non-zero status. apt sees only these two suites (none of the machine's
# sources or apt configuration, an empty dpkg status), so what the messages
# name cannot change with the state of the machine's mirror; nothing is
# installed, installs are only simulated.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { printf 'FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
show() { sed 's/^/    /' "$1" >&2; }
expect() {  # expect WHAT TEXT FILE: FILE holds TEXT
  grep -qF -- "$2" "$3" || { fail "$1: no \"$2\" in:"; show "$3"; }
}
# expect_named WHAT LABEL ITEM FILE: the list after "LABEL: " in FILE names
# ITEM; expect_unnamed: it does not (or there is no such list).
named() { sed -n "s/.*$2: //p" "$3" | tr ' ' '\n' | grep -qxF -- "$1"; }
expect_named() {
  named "$3" "$2" "$4" || { fail "$1: \"$2\" does not name $3 in:"; show "$4"; }
}
expect_unnamed() {
  ! named "$3" "$2" "$4" || { fail "$1: \"$2\" names $3 in:"; show "$4"; }
}

# suite NAME PACKAGE EXTRA-BYTES: a suite of the repository offering PACKAGE,
# its Release stating EXTRA-BYTES more than its index has.
repo=$work/repo arch=$(dpkg --print-architecture)
suite() {
  local index=$repo/dists/$1/main/binary-$arch/Packages
  mkdir -p "${index%/*}"
  printf 'Package: %s\nVersion: 1\nArchitecture: all\nFilename: pool/p.deb\nSize: 1\nDescription: probe\n\n' \
    "$2" >"$index"
  cat >"$repo/dists/$1/Release" <<EOF
Suite: $1
Codename: $1
Date: $(LC_ALL=C date -u -R)
Architectures: $arch
Components: main
SHA256:
 $(sha256sum "$index" | cut -d' ' -f1) $(($(stat -c %s "$index") + $3)) main/binary-$arch/Packages
EOF
}
suite local purgent-readable-probe 0
suite stale purgent-stale-probe 1
readable_index=file:$repo/dists/local/main/binary-$arch/Packages
stale_index=file:$repo/dists/stale/main/binary-$arch/Packages

# The private apt: APT_CONFIG is read before the machine's configuration,
# and points apt away from it. The repository is in a folder only its owner
# reads, so apt does not change to its download user.
apt=$work/apt
mkdir -p "$apt/etc/apt.conf.d" "$apt/etc/sources.list.d" "$apt/etc/preferences.d" \
  "$apt/state/lists/partial" "$apt/cache/archives/partial"
: >"$apt/state/status"
printf 'deb [trusted=yes] file:%s %s main\n' "$repo" local "$repo" stale >"$apt/etc/sources.list"
cat >"$apt/apt.conf" <<EOF
Dir::Etc "$apt/etc";
Dir::State "$apt/state";
Dir::State::status "$apt/state/status";
Dir::Cache "$apt/cache";
APT::Architectures { "$arch"; };
APT::Get::Simulate "true";
APT::Sandbox::User "root";
Debug::NoLocking "true";
EOF
export APT_CONFIG=$apt/apt.conf

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
    apt_update
    apt_get_packages "$work/apt.log" install "$@"
    log "installed: $*"
  ) >"$out" 2>&1
}

export PURGENT_APT_TRIES=2 PURGENT_APT_PAUSE=0

# What is needed comes from the readable suite: a warning, and on.
if ! run_setup_steps "$work/available.out" purgent-readable-probe; then
  fail "the set-up stopped though purgent-readable-probe can be had"
fi
going_on="going on without these package indexes, which could not be read"
expect "a stale index" "WARNING: apt-get update: not every index could be read (try 1 of 2)" "$work/available.out"
expect_named "a stale index" "$going_on" "$stale_index" "$work/available.out"
expect_unnamed "a stale index" "$going_on" "$readable_index" "$work/available.out"
expect "a stale index" "installed: purgent-readable-probe" "$work/available.out"

# What only the stale index offers: one message, and a non-zero status.
if run_setup_steps "$work/missing.out" purgent-readable-probe purgent-stale-probe; then
  fail "the set-up went on without purgent-stale-probe"
fi
not_offered="offered by no package index that could be read"
not_read="package indexes that could not be read"
expect "a package only the stale index has" "cannot install: purgent-readable-probe purgent-stale-probe" "$work/missing.out"
expect_named "a package only the stale index has" "$not_offered" purgent-stale-probe "$work/missing.out"
expect_unnamed "a package only the stale index has" "$not_offered" purgent-readable-probe "$work/missing.out"
expect_named "a package only the stale index has" "$not_read" "$stale_index" "$work/missing.out"
expect_unnamed "a package only the stale index has" "$not_read" "$readable_index" "$work/missing.out"
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
