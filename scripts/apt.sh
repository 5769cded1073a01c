# Sourced by the set-up (uses its log, warn and die): apt-get as a careful
# administrator runs it. A mirror in the middle of a sync fails for a while,
# so each step is tried APT_TRIES times with APT_PAUSE seconds between; an
# index that still cannot be read is a warning as long as what is needed can
# be installed from what was read, and one message says what to do when not.
#
# APT_GET and APT_CACHE are the commands with their options: a caller may
# point them at a private configuration or into another root.

APT_TRIES=${PURGENT_APT_TRIES:-3}
APT_PAUSE=${PURGENT_APT_PAUSE:-20}
APT_GET=(apt-get)
APT_CACHE=(apt-cache)
APT_FAILED_INDEXES=()   # what the last update could not read
APT_UPDATED=no

# The index addresses in apt's "Failed to fetch URL  reason" lines.
apt_failed_indexes() {
  sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' | sort -u
}

# apt_update_try: one apt-get update; fills APT_FAILED_INDEXES. Status 0
# only when every index was read.
apt_update_try() {
  local output status=0
  output=$("${APT_GET[@]}" update -q 2>&1) || status=$?
  mapfile -t APT_FAILED_INDEXES < <(apt_failed_indexes <<<"$output")
  APT_UPDATED=yes
  if ((status == 0 && ${#APT_FAILED_INDEXES[@]} == 0)); then return 0; fi
  APT_LAST_ERROR=$(grep -E '^(E|W|Err):' <<<"$output" | tail -n 3 || true)
  return 1
}

# apt_update: tries until every index is read; what still fails after the
# last try is a warning, and the set-up goes on with what was read.
apt_update() {
  local try
  log "apt-get update"
  for ((try = 1; try <= APT_TRIES; try++)); do
    apt_update_try && return 0
    ((try < APT_TRIES)) || break
    warn "apt-get update: not every index could be read (try $try of $APT_TRIES); again in ${APT_PAUSE} s"
    sleep "$APT_PAUSE"
  done
  if ((${#APT_FAILED_INDEXES[@]})); then
    warn "going on without these package indexes, which could not be read: ${APT_FAILED_INDEXES[*]}"
  else
    warn "apt-get update failed; going on with the indexes apt already has: $APT_LAST_ERROR"
  fi
}

apt_update_once() {
  [[ $APT_UPDATED == yes ]] || apt_update
}

# The packages among "$@" that no readable index offers.
apt_unavailable() {
  local pkg candidate
  for pkg; do
    [[ $pkg != -* ]] || continue
    candidate=$("${APT_CACHE[@]}" policy "${pkg%%[/=]*}" 2>/dev/null | sed -n 's/^ *Candidate: *//p')
    [[ -n $candidate && $candidate != "(none)" ]] || printf '%s\n' "$pkg"
  done
}

# retry_command LOG WHAT COMMAND...: runs the command (its output appended
# to LOG) until it succeeds, APT_TRIES times at the most; RETRY_TRY counts.
retry_command() {
  local log_file=$1 what=$2
  shift 2
  for ((RETRY_TRY = 1; RETRY_TRY <= APT_TRIES; RETRY_TRY++)); do
    "$@" >>"$log_file" 2>&1 && return 0
    ((RETRY_TRY < APT_TRIES)) || break
    warn "$what failed (try $RETRY_TRY of $APT_TRIES); again in ${APT_PAUSE} s"
    sleep "$APT_PAUSE"
  done
  return 1
}

# After a failed try, the indexes are read again: the sync may have passed.
apt_get_fresh() {
  if ((RETRY_TRY > 1)); then apt_update_try || true; fi
  DEBIAN_FRONTEND=noninteractive "${APT_GET[@]}" -y -q -o DPkg::Lock::Timeout=600 "$@"
}

# apt_get_packages LOG ACTION [OPTION...] PACKAGE...: apt-get's install or
# download (into the working folder) of the packages, tried again while it
# fails. When it cannot, ends the set-up with one message: what could not be
# had, which indexes failed, what to do.
apt_get_packages() {
  local log_file=$1 action=$2 unavailable reason
  shift 2
  apt_update_once
  log "apt-get $action $*"
  retry_command "$log_file" "apt-get $action" apt_get_fresh "$action" "$@" && return 0
  unavailable=$(apt_unavailable "$@" | tr '\n' ' ')
  reason=$(grep -E '^E:|Depends:' "$log_file" | tail -n 6 | sed 's/^ */    /' || true)
  die "$(printf '%s\n' \
    "cannot $action: $*" \
    "  offered by no package index that could be read: ${unavailable:-none; apt could not fit them with what is installed}" \
    "  package indexes that could not be read: ${APT_FAILED_INDEXES[*]:-none}" \
    "  apt said:" "$reason" \
    "  what to do: a mirror in the middle of a sync serves stale indexes for a while, so run" \
    "  this again later; or point apt at another Debian mirror. apt's whole output: $log_file")"
}

# "URI<TAB>keyring" of the machine's own Debian archive entry for <codename>,
# from its deb822 sources or else its one-line ones.
debian_archive() {
  local codename=$1 found deb822=() one_line=() file
  for file in /etc/apt/sources.list.d/*.sources; do [[ -f $file ]] && deb822+=("$file"); done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file ]] && one_line+=("$file")
  done
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
    }' /dev/null "${deb822[@]}")
  [[ -n $found ]] || found=$(awk -v suite="$codename" '$1 == "deb" {
      key = ""; i = 2
      if ($2 ~ /^\[/) {
        for (; i <= NF && $i !~ /\]$/; i++) if ($i ~ /signed-by=/) key = $i
        if ($i ~ /signed-by=/) key = $i
        i++
      }
      sub(/.*signed-by=/, "", key); sub(/\]$/, "", key)
      if ($(i + 1) == suite) { print $i "\t" key; exit }
    }' /dev/null "${one_line[@]}")
  [[ -n $found ]] && printf '%s\n' "$found"
}

# Sets ARCHIVE_URI and ARCHIVE_KEY for <codename>, or ends the set-up.
read_archive() {
  IFS=$'\t' read -r ARCHIVE_URI ARCHIVE_KEY < <(debian_archive "$1") ||
    die "no Debian archive entry for $1 in the apt sources"
}

host_codename() { (. /etc/os-release && printf '%s' "$VERSION_CODENAME"); }

# apt_private DIR SOURCE-LINE...: points the helpers at a private apt
# configuration in DIR with these one-line sources, for the machine's
# architecture; the machine's own sources stay as they are. A caller declares
# APT_GET APT_CACHE APT_UPDATED APT_FAILED_INDEXES local first.
apt_private() {
  local dir=$1
  shift
  rm -rf "$dir"
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial" "$dir/parts" "$dir/download"
  chown _apt "$dir/download" 2>/dev/null || true  # apt downloads as _apt
  printf '%s\n' "$@" >"$dir/sources.list"
  local options=(-o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts="$dir/parts"
    -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache"
    -o APT::Architectures="$(dpkg --print-architecture)")
  APT_GET=(apt-get "${options[@]}")
  APT_CACHE=(apt-cache "${options[@]}")
  APT_UPDATED=no
  APT_FAILED_INDEXES=()
}
