# Sourced by setup.sh (uses its log, warn, die, the apt helpers, ROOT and
# CACHE): the runner of the shipped 32-bit purgent.exe. These kernels execute
# no 32-bit x86 code, so i386 Wine runs under qemu-i386 user-mode emulation,
# registered in binfmt_misc. qemu must be version 10 (bookworm-backports):
# 7.2 takes the guest's MAP_FIXED_NOREPLACE for a hint, and each 32-bit Wine
# process then spends about a minute reserving its address space.
#
# Wine itself lives in a Debian root of its own in the cache (debootstrap
# from the machine's own mirror, amd64 with i386 added), so that wine64 and
# wine32 come from one consistent set of indexes whatever the host has
# installed, and the host's sources, architectures and packages stay as they
# are. scripts/in-i386-root.sh runs a program in it.

QEMU="$CACHE/qemu/qemu-i386"
QEMU_MIN_MAJOR=10
BINFMT=/proc/sys/fs/binfmt_misc
BINFMT_NAME=purgent-i386
# i386 ELF executables, as qemu's own binfmt entry matches them.
I386_ELF_MAGIC='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_ELF_MASK='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
ROOTFS="$CACHE/i386-root"
IN_ROOT="$ROOT/scripts/in-i386-root.sh"
# Bump when the way the root is made changes, so it is made again.
ROOTFS_RECIPE="minbase, i386 added, wine wine64 wine32:i386 fonts-wine without recommends, v1"
ROOTFS_PACKAGES=(wine wine64 wine32:i386 fonts-wine)
QEMU_REPLACED=no

qemu_major() { "$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9]*\)\..*/\1/p'; }

# qemu-i386 alone, out of bookworm-backports' qemu-user package, through a
# private apt configuration: the machine's own sources stay as they are.
fetch_qemu() {
  local stamp="$CACHE/qemu/.stamp"
  if [[ -x $QEMU && -f $stamp && $(qemu_major "$QEMU") -ge $QEMU_MIN_MAJOR ]]; then
    log "qemu-i386 $(<"$stamp"): cached"
    return
  fi
  local apt="$CACHE/qemu.apt" codename
  codename=$(host_codename)
  read_archive "$codename"
  # The helpers' state is this private configuration's while it is used.
  local APT_GET APT_CACHE APT_UPDATED APT_FAILED_INDEXES
  apt_private "$apt" "deb ${ARCHIVE_KEY:+[signed-by=$ARCHIVE_KEY] }$ARCHIVE_URI $codename-backports main"
  log "downloading qemu-user from $codename-backports"
  cd "$apt/download"
  apt_get_packages "$CACHE/qemu.log" download "qemu-user/$codename-backports"
  cd "$ROOT"
  rm -rf "$CACHE/qemu"
  mkdir -p "$CACHE/qemu"
  dpkg-deb --fsys-tarfile "$apt"/download/qemu-user_*.deb | tar -x -O ./usr/bin/qemu-i386 >"$QEMU.tmp" ||
    die "qemu-user holds no usr/bin/qemu-i386"
  chmod 755 "$QEMU.tmp"
  mv "$QEMU.tmp" "$QEMU"
  local major
  major=$(qemu_major "$QEMU")
  [[ $major -ge $QEMU_MIN_MAJOR ]] ||
    die "qemu-i386 from $codename-backports is version ${major:-unknown}; need $QEMU_MIN_MAJOR or later"
  dpkg-deb -f "$apt"/download/qemu-user_*.deb Version >"$CACHE/qemu/.stamp"
  rm -rf "$apt"
  QEMU_REPLACED=yes
}

# The F flag opens the interpreter now, so it also serves inside chroots and
# keeps working while the cache is rebuilt. Global to the machine: under a name
# of the project's own, replaced only when it is not ours as it should be.
register_binfmt() {
  if [[ ! -e $BINFMT/register ]]; then
    mount -t binfmt_misc binfmt_misc "$BINFMT" || die "cannot mount binfmt_misc on $BINFMT"
  fi
  [[ $(<"$BINFMT/status") == enabled ]] || echo 1 >"$BINFMT/status"
  local entry="$BINFMT/$BINFMT_NAME"
  if [[ $QEMU_REPLACED == no && -e $entry ]] && grep -qx enabled "$entry" &&
     grep -qx "interpreter $QEMU" "$entry" && grep -qx "flags: F" "$entry"; then
    log "binfmt_misc entry $BINFMT_NAME: registered"
    return
  fi
  [[ -e $entry ]] && echo -1 >"$entry"
  printf ':%s:M::%s:%s:%s:F' "$BINFMT_NAME" "$I386_ELF_MAGIC" "$I386_ELF_MASK" "$QEMU" >"$BINFMT/register" ||
    die "cannot register $QEMU in binfmt_misc"
  log "binfmt_misc entry $BINFMT_NAME: registered $QEMU"
}


in_new_root() { PURGENT_I386_ROOT=$1 "$IN_ROOT" "${@:2}"; }

# Leaves out of the root's sources every suite one of whose indexes could not
# be read: with multiarch, an i386 library must be at exactly the version of
# its amd64 twin, which only a suite read for both architectures promises.
drop_unreadable_suites() {
  local rootfs=$1 codename=$2 url suite
  for url in "${APT_FAILED_INDEXES[@]}"; do
    suite=$(sed -n 's|.*/dists/\([^/]*\)/.*|\1|p' <<<"$url")
    [[ -n $suite ]] || suite=$codename
    [[ $suite != "$codename" ]] ||
      die "the root's base suite $codename cannot be read ($url); run this again once the mirror has synced"
    warn "the 32-bit runner leaves out $suite: its index $url could not be read"
    sed -i "\|^deb .* $suite main\$|d" "$rootfs/etc/apt/sources.list"
  done
}

# The root's sources: the base suite, its updates and its security suite,
# from the machine's own mirror entries (the security one where it has one).
write_root_sources() {
  local rootfs=$1 codename=$2 uri=$3 security
  security=$(debian_archive "$codename-security" | cut -f1) || true
  {
    printf 'deb %s %s main\n' "$uri" "$codename" "$uri" "$codename-updates"
    [[ -z $security ]] || printf 'deb %s %s main\n' "$security" "$codename-security"
  } >"$rootfs/etc/apt/sources.list"
}

# In a mount namespace of its own: the mounts debootstrap makes inside the
# root never show on the host, even when it fails half-way.
bootstrap_root() {
  local dir=$1 codename=$2
  rm -rf "$dir"
  "$ROOT/scripts/private-mounts.sh" debootstrap --variant=minbase \
    ${ARCHIVE_KEY:+--keyring="$ARCHIVE_KEY"} "$codename" "$dir" "$ARCHIVE_URI"
}

make_i386_root() {
  local recipe="$ROOTFS_RECIPE, $(host_codename)"
  if [[ -f $ROOTFS.stamp && $(<"$ROOTFS.stamp") == "$recipe" ]]; then
    log "32-bit runner root: cached"
    return
  fi
  local tmp="$ROOTFS.tmp" codename
  codename=$(host_codename)
  read_archive "$codename"
  log "making the 32-bit runner root ($codename from $ARCHIVE_URI; log: $CACHE/i386-root.log)"
  rm -rf "$ROOTFS.stamp"
  : >"$CACHE/i386-root.log"
  retry_command "$CACHE/i386-root.log" debootstrap bootstrap_root "$tmp" "$codename" ||
    die "debootstrap of $codename failed; see $CACHE/i386-root.log"
  in_new_root "$tmp" dpkg --add-architecture i386
  write_root_sources "$tmp" "$codename" "$ARCHIVE_URI"
  local APT_GET=(in_new_root "$tmp" apt-get) APT_CACHE=(in_new_root "$tmp" apt-cache)
  local APT_UPDATED=no APT_FAILED_INDEXES=()
  apt_update
  if ((${#APT_FAILED_INDEXES[@]})); then
    drop_unreadable_suites "$tmp" "$codename"
    apt_update
    ((${#APT_FAILED_INDEXES[@]} == 0)) ||
      die "the 32-bit runner's indexes cannot be read: ${APT_FAILED_INDEXES[*]}"
  fi
  apt_get_packages "$CACHE/i386-root.log" install --no-install-recommends "${ROOTFS_PACKAGES[@]}"
  in_new_root "$tmp" apt-get clean
  rm -rf "$ROOTFS"
  mv "$tmp" "$ROOTFS"
  printf '%s' "$recipe" >"$ROOTFS.stamp"
}

prepare_i386_root() {
  fetch_qemu
  register_binfmt
  make_i386_root
  local version
  version=$(timeout 120 "$IN_ROOT" /usr/lib/wine/wine --version 2>&1) ||
    die "the i386 Wine loader does not run under qemu-i386: $version"
  log "i386 Wine: $version under qemu-i386"
}
