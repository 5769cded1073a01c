#!/usr/bin/env bash
# check_package.sh <zip>: the release package holds purgent.exe, the README and
# a checksum file that matches both.
set -euo pipefail
zip=$1
[[ -f $zip ]] || { echo "no package at $zip (cmake --build --preset win32 --target package)" >&2; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" -d "$dir"
listing=$(cd "$dir" && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
[[ $listing == "README.md SHA256SUMS purgent.exe " ]] || { echo "package holds: $listing" >&2; exit 1; }
(cd "$dir" && sha256sum --quiet -c SHA256SUMS)
[[ $(grep -c . "$dir/SHA256SUMS") == 2 ]] || { echo "SHA256SUMS does not list both files" >&2; exit 1; }
echo "package ok: $listing"
