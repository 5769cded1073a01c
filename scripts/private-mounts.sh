#!/usr/bin/env bash
# private-mounts.sh COMMAND [ARGS...]: runs COMMAND in a mount namespace of its
# own whose mounts never show outside it, and vanish with it.
#
# unshare makes every mount private by remounting "/", which fails inside a
# chroot whose root is no mount point. There the namespace keeps the
# propagation it has, which is as private when no mount it sees is shared
# (a chroot made inside such a namespace, as the fresh-machine check makes);
# with a shared mount in sight nothing is mounted at all.
set -euo pipefail

if unshare --mount --propagation private true 2>/dev/null; then
  exec unshare --mount --propagation private "$@"
fi
if grep -q ' shared:' /proc/self/mountinfo; then
  echo "private-mounts.sh: cannot make a private mount namespace here (a chroot with shared mounts)" >&2
  exit 125
fi
exec unshare --mount --propagation unchanged "$@"
