#!/usr/bin/env bash
# run.sh DIR [COMMAND]: the README's commands as a new user meets them, in a
# brand-new Debian root (debootstrap minbase of the host's release from the
# host's own mirror, nothing else installed) made in DIR, with this checkout's
# HEAD cloned into it. COMMAND runs there in the checkout; by default both
# commands: bash scripts/demo.sh && bash scripts/test.sh. As root; the mounts
# live in a private namespace. The host is touched only where the set-up
# inside touches it (the binfmt_misc entry). Remove DIR afterwards.
set -euo pipefail
CHECKOUT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
log() { printf '[fresh-root] %s\n' "$*"; }
warn() { printf '[fresh-root] WARNING: %s\n' "$*" >&2; }
die() { printf '[fresh-root] ERROR: %s\n' "$*" >&2; exit 1; }
source "$CHECKOUT/scripts/apt.sh"

(($# >= 1)) || die "usage: $0 DIR [COMMAND]"
dir=$1
command=${2:-"bash scripts/demo.sh && bash scripts/test.sh"}
codename=$(host_codename)
read_archive "$codename"

if [[ ! -x $dir/usr/bin/apt-get ]]; then
  log "debootstrap --variant=minbase $codename from $ARCHIVE_URI into $dir"
  "$CHECKOUT/scripts/private-mounts.sh" debootstrap --variant=minbase \
    ${ARCHIVE_KEY:+--keyring="$ARCHIVE_KEY"} "$codename" "$dir" "$ARCHIVE_URI" >"$dir.debootstrap.log" 2>&1 ||
    die "debootstrap failed; see $dir.debootstrap.log"
fi
rm -rf "$dir/root/purgent"
git clone -q --no-hardlinks "$CHECKOUT" "$dir/root/purgent"
log "running in $dir/root/purgent: $command"
exec "$CHECKOUT/scripts/private-mounts.sh" bash -c '
  for d in /dev /proc /sys; do mount --rbind "$d" "$1$d"; done
  exec chroot "$1" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /root/purgent && $2"' fresh-root "$dir" "$command"
