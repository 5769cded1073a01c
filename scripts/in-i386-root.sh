#!/usr/bin/env bash
# in-i386-root.sh PROGRAM [ARGS...]: runs PROGRAM inside the 32-bit runner,
# the Debian root of its own that scripts/setup.sh keeps in the cache (wine64
# and wine32 of one version). The root sees the host's /tmp (Wine prefixes, the
# X server's socket, wineserver's sockets), /dev, /proc, /sys, this checkout
# and the cache at the same paths, so every path means the same on both sides.
# The mounts live in a private mount namespace and vanish with the program;
# the environment and the working folder are passed on.
#
# PURGENT_I386_ROOT names another root (setup uses it while building one).
set -euo pipefail

CHECKOUT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${PURGENT_CACHE:-/var/cache/purgent}"
ROOTFS="${PURGENT_I386_ROOT:-$CACHE/i386-root}"

if (($# == 0)); then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 2
fi
if [[ ! -x $ROOTFS/usr/bin/env ]]; then
  echo "in-i386-root.sh: no 32-bit runner at $ROOTFS; run: bash scripts/setup.sh win32" >&2
  exit 125
fi

# Runs in the new namespace: $1 the root, $2 the working folder, then the
# folders to share, "--", and the program with its arguments.
enter() {
  local rootfs=$1 cwd=$2 dir
  shift 2
  for dir in /dev /proc /sys; do
    mount --rbind "$dir" "$rootfs$dir"
  done
  while [[ $1 != -- ]]; do
    mkdir -p "$rootfs$1"
    mount --bind "$1" "$rootfs$1"
    shift
  done
  shift
  # A working folder the root does not have falls back to its /.
  exec chroot "$rootfs" /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$cwd" "$@"
}

shares=(/tmp "$CHECKOUT")
[[ -d $CACHE ]] && shares+=("$CACHE")
exec "$CHECKOUT/scripts/private-mounts.sh" \
  bash -c "$(declare -f enter); enter \"\$@\"" enter "$ROOTFS" "$PWD" "${shares[@]}" -- "$@"
