#!/usr/bin/env bash
# check_reproducible.sh [BUILD-DIR]: two clean builds of the checkout's win32
# release give the same bytes: purgent.exe, purgent-fleet.exe, the zip and
# the SHA256SUMS beside it. Builds twice in fresh folders elsewhere (a different path, so the build
# folder cannot leak in); given BUILD-DIR, a clean build already made there
# (as scripts/test.sh makes on a fresh machine) is the first of the two.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d /tmp/purgent-reproducible-XXXXXX)
trap 'rm -rf "$work"' EXIT

# build_release <dir>: the win32 preset without the e2e helpers, and its package.
build_release() {
  { cmake --preset win32 -S "$root" -B "$1" -DPURGENT_E2E_HELPERS=OFF &&
    cmake --build "$1" -j2 --target package; } >"$1.log" 2>&1 ||
    { tail -n 30 "$1.log" >&2; echo "the release build in $1 failed" >&2; exit 1; }
}

if (($# > 0)); then
  first=$(cd "$1" && pwd)
else
  first=$work/first
  build_release "$first"
fi
second=$work/second
build_release "$second"

different=0
for file in purgent.exe purgent-fleet.exe purgent-3.5-win32.zip SHA256SUMS; do
  if cmp -s "$first/$file" "$second/$file"; then
    echo "identical: $file ($(sha256sum <"$second/$file" | cut -c1-16)...)"
  else
    echo "DIFFERENT: $file ($first and $second)" >&2
    different=1
  fi
done
exit "$different"
