# Sourced by setup.sh (uses its log, die, apt_update_once and CACHE): the
# runner of the shipped 32-bit purgent.exe. These kernels execute no 32-bit
# x86 code, so i386 Wine runs under qemu-i386 user-mode emulation, registered
# in binfmt_misc. qemu must be version 10 (bookworm-backports): 7.2 takes the
# guest's MAP_FIXED_NOREPLACE for a hint, and each 32-bit Wine process then
# spends about a minute reserving its address space.

QEMU="$CACHE/qemu/qemu-i386"
QEMU_MIN_MAJOR=10
BINFMT=/proc/sys/fs/binfmt_misc
BINFMT_NAME=purgent-i386
# i386 ELF executables, as qemu's own binfmt entry matches them.
I386_ELF_MAGIC='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_ELF_MASK='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
WINE32_LOADER=/usr/lib/wine/wine
QEMU_REPLACED=no

# "URI<TAB>keyring" of the machine's own Debian archive entry for <codename>,
# from its deb822 sources or else its one-line ones.
debian_archive() {
  local codename=$1 found
  found=$(awk -v suite="$codename" 'BEGIN { RS = ""; FS = "\n" } {
      uri = ""; key = ""; deb = 0; match_suite = 0
      for (i = 1; i <= NF; i++) {
        n = split($i, word, /[ \t]+/)
        if (word[1] == "URIs:") uri = word[2]
        if (word[1] == "Signed-By:") key = word[2]
        for (j = 2; j <= n; j++) {
          if (word[1] == "Types:" && word[j] == "deb") deb = 1
          if (word[1] == "Suites:" && word[j] == suite) match_suite = 1
        }
      }
      if (deb && match_suite && uri != "") { print uri "\t" key; exit }
    }' /etc/apt/sources.list.d/*.sources 2>/dev/null)
  [[ -n $found ]] || found=$(awk -v suite="$codename" '$1 == "deb" {
      key = ""; i = 2
      if ($2 ~ /^\[/) {
        for (; i <= NF && $i !~ /\]$/; i++) if ($i ~ /signed-by=/) key = $i
        if ($i ~ /signed-by=/) key = $i
        i++
      }
      sub(/.*signed-by=/, "", key); sub(/\]$/, "", key)
      if ($(i + 1) == suite) { print $i "\t" key; exit }
    }' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null)
  [[ -n $found ]] || die "no Debian archive entry for $codename in the apt sources"
  printf '%s\n' "$found"
}

qemu_major() { "$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9]*\)\..*/\1/p'; }

# qemu-i386 alone, out of bookworm-backports' qemu-user package, through a
# private apt configuration: the machine's own sources stay as they are.
fetch_qemu() {
  local stamp="$CACHE/qemu/.stamp"
  if [[ -x $QEMU && -f $stamp && $(qemu_major "$QEMU") -ge $QEMU_MIN_MAJOR ]]; then
    log "qemu-i386 $(<"$stamp"): cached"
    return
  fi
  local apt="$CACHE/qemu.apt" uri key codename
  codename=$(. /etc/os-release && printf '%s' "$VERSION_CODENAME")
  IFS=$'\t' read -r uri key < <(debian_archive "$codename")
  rm -rf "$apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/download"
  printf 'deb %s%s %s-backports main\n' "${key:+[signed-by=$key] }" "$uri" "$codename" >"$apt/sources.list"
  local options=(-q -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts"
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
    -o APT::Architectures="$(dpkg --print-architecture)")
  log "downloading qemu-user from $codename-backports"
  apt-get "${options[@]}" update >"$CACHE/qemu.log" 2>&1 ||
    die "apt-get update of $codename-backports failed; see $CACHE/qemu.log"
  chown _apt "$apt/download" 2>/dev/null || true  # apt downloads as _apt
  (cd "$apt/download" && apt-get "${options[@]}" download "qemu-user/$codename-backports") >>"$CACHE/qemu.log" 2>&1 ||
    die "downloading qemu-user failed; see $CACHE/qemu.log"
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

# After the binfmt entry: the i386 packages' own scripts may run i386 programs.
install_wine32() {
  local status
  status="$(dpkg-query -W -f='${db:Status-Status}' wine32:i386 2>/dev/null || true)"
  if [[ $status != installed ]]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      log "adding the i386 architecture"
      dpkg --add-architecture i386
      APT_UPDATED=no
    fi
    apt_update_once
    log "installing wine32:i386"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=600 wine32:i386 >"$CACHE/wine32.log" 2>&1 ||
      die "installing wine32:i386 failed; see $CACHE/wine32.log"
  fi
  local version
  version=$(timeout 120 "$WINE32_LOADER" --version 2>&1) ||
    die "the i386 Wine loader does not run under qemu-i386: $version"
  log "i386 Wine: $version under qemu-i386"
}

prepare_i386_wine() {
  [[ $(id -u) == 0 ]] || die "the 32-bit runner needs root (binfmt_misc, wine32:i386)"
  fetch_qemu
  register_binfmt
  install_wine32
}
