#!/usr/bin/env bash
# setup.sh [win64|win32|browser|all]: prepares a Debian 12 machine (as root) for
# building and testing Purgent. Quick when already done.
#   win64  Debian packages for the native and win64 builds, libjpeg-turbo
#          cross-built for x86_64 MinGW, the win64 Wine template prefix
#          (all that scripts/demo.sh needs);
#   win32  the i686 MinGW build and libjpeg, and the 32-bit Wine runner
#          (setup-i386-root.sh) with its two template prefixes;
#   browser  Debian's chromium, which the browser tests render purgent-sim's
#          HTML report with, and imagemagick, which looks at the picture;
#   all    all three (the default).
# The host's apt sources, architectures and installed packages are never
# changed, only added to; the one machine-wide change beside packages is
# the binfmt_misc entry of the 32-bit runner.
#
# Cache folder (outside git): $PURGENT_CACHE, default /var/cache/purgent.
set -Eeuo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${PURGENT_CACHE:-/var/cache/purgent}"
# Bump when the way a cached item is built changes, so it is rebuilt.
JPEG_RECIPE="libjpeg-turbo static, SIMD off, v1"
PREFIX_RECIPE="win64 wineboot -i, mono/gecko off, wine fonts, own user folders, v4"
PREFIX_WIN32_RECIPE="win32 wineboot -i under qemu-i386 in the runner root, mono/gecko off, wine fonts, own user folders, v3"
PREFIX_WOW64_RECIPE="win64 with wine32 (WoW64) wineboot -i by wine64 in the runner root, mono/gecko off, wine fonts, own user folders, v4"

WIN64_PACKAGES=(
  cmake g++ make googletest libgtest-dev libgmock-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine64 wine fonts-wine xvfb xauth x11-utils imagemagick clang libclang-rt-dev dpkg-dev
)
WIN32_PACKAGES=(g++-mingw-w64-i686-posix debootstrap zip unzip git)
BROWSER_PACKAGES=(chromium imagemagick)

PART=setup
log() { printf '[setup] %s\n' "$*"; }
warn() { printf '[setup] WARNING: %s\n' "$*" >&2; }
die() { printf '[setup] ERROR in %s: %s\n' "$PART" "$*" >&2; exit 1; }
# Any other failing command ends the setup loudly too.
trap 'die "line $LINENO failed (status $?): $BASH_COMMAND"' ERR

source "$ROOT/scripts/apt.sh"

install_packages() {
  local missing=() pkg status
  for pkg; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)"
    [[ $status == installed ]] || missing+=("$pkg")
  done
  if ((${#missing[@]} == 0)); then
    log "Debian packages: all present"
    return
  fi
  [[ $(id -u) == 0 ]] || die "missing packages (${missing[*]}); run this script as root"
  apt_get_packages "$CACHE/apt.log" install "${missing[@]}"
}

jpeg_source_dir() {
  find "$CACHE/src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n1
}

# Debian's source package, through a private apt configuration with a
# deb-src entry for the machine's own archive.
fetch_jpeg_source() {
  [[ -n $(jpeg_source_dir 2>/dev/null) ]] && return
  local codename
  codename=$(host_codename)
  read_archive "$codename"
  local APT_GET APT_CACHE APT_UPDATED APT_FAILED_INDEXES
  apt_private "$CACHE/src.apt" "deb-src ${ARCHIVE_KEY:+[signed-by=$ARCHIVE_KEY] }$ARCHIVE_URI $codename main"
  log "fetching Debian's libjpeg-turbo source package"
  cd "$CACHE/src.apt/download"
  apt_get_packages "$CACHE/apt.log" source libjpeg-turbo
  cd "$ROOT"
  rm -rf "$CACHE/src"
  mkdir -p "$CACHE/src"
  find "$CACHE/src.apt/download" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' \
    -exec mv {} "$CACHE/src/" \;
  rm -rf "$CACHE/src.apt"
}

# build_jpeg <arch>: static libjpeg for the <arch>-w64-mingw32 target into
# $CACHE/libjpeg-<arch> (lib/libjpeg.a, include/).
build_jpeg() {
  local arch=$1
  local dest="$CACHE/libjpeg-$arch" build="$CACHE/build-libjpeg-$arch"
  if [[ -f $dest/.stamp && $(<"$dest/.stamp") == "$JPEG_RECIPE" ]]; then
    log "libjpeg for $arch: cached"
    return
  fi
  fetch_jpeg_source
  log "building libjpeg for $arch"
  rm -rf "$dest" "$build"
  cmake -S "$(jpeg_source_dir)" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch-mingw.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$dest" \
    -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >"$CACHE/build-libjpeg-$arch.log" 2>&1 ||
    die "libjpeg configure for $arch failed; see $CACHE/build-libjpeg-$arch.log"
  cmake --build "$build" -j2 --target jpeg-static >>"$CACHE/build-libjpeg-$arch.log" 2>&1 ||
    die "libjpeg build for $arch failed; see $CACHE/build-libjpeg-$arch.log"
  mkdir -p "$dest/lib" "$dest/include"
  cp "$build/libjpeg.a" "$dest/lib/"
  cp "$(jpeg_source_dir)/jpeglib.h" "$(jpeg_source_dir)/jmorecfg.h" \
    "$(jpeg_source_dir)/jerror.h" "$build/jconfig.h" "$dest/include/"
  rm -rf "$build"
  printf '%s' "$JPEG_RECIPE" >"$dest/.stamp"
}

# make_wine_template <folder> <WINEARCH> <recipe> [RUNNER]: a ready prefix in
# $CACHE/<folder>; each e2e test copies it instead of booting its own. A
# prefix made by another Wine version would be upgraded on every copy.
# Booted by the loader of its own bitness: started through the 32-bit one,
# a 64-bit prefix gets empty 64-bit system DLLs. RUNNER runs Wine elsewhere
# (the 32-bit runner's root).
make_wine_template() {
  local name=$1 arch=$2 recipe loader=/usr/lib/wine/wine64 runner=()
  if [[ -n ${4:-} ]]; then runner=("$4"); fi
  local dest="$CACHE/$name" tmp="$CACHE/$name.tmp"
  [[ $arch == win32 ]] && loader=/usr/lib/wine/wine
  # Not the `wine` script: with wine32 installed it needs the emulator.
  recipe="$3, $("${runner[@]}" /usr/lib/wine/wine64 --version)" || die "wine64 does not run"
  if [[ -f $dest.stamp && $(<"$dest.stamp") == "$recipe" ]]; then
    log "Wine template prefix $name: cached"
    return
  fi
  log "creating the Wine template prefix $name ($arch)"
  rm -rf "$tmp" "$dest.stamp"
  WINEPREFIX="$tmp" WINEARCH=$arch WINEDEBUG=-all LC_ALL=C.UTF-8 \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    timeout 600 xvfb-run -a "${runner[@]}" sh -c '"$0" wineboot -i && wineserver -w' "$loader" \
      >"$dest.log" 2>&1 ||
    die "wineboot failed; see $dest.log"
  [[ -f $tmp/system.reg ]] || die "wineboot left no registry; see $dest.log"
  [[ -s $tmp/drive_c/windows/system32/kernel32.dll ]] || die "wineboot left no kernel32.dll; see $dest.log"
  # This Wine build finds its own fonts (MS Sans Serif, Tahoma) only in the
  # prefix's Fonts folder; without them every window falls back to DejaVu.
  cp /usr/share/wine/fonts/* "$tmp/drive_c/windows/Fonts/"
  own_user_folders "$tmp"
  # Swapped in at the last moment: tests running meanwhile keep a template.
  rm -rf "$dest.old"
  if [[ -d $dest ]]; then mv "$dest" "$dest.old"; fi
  mv "$tmp" "$dest"
  rm -rf "$dest.old"
  printf '%s' "$recipe" >"$dest.stamp"
}

# Wine links the user's Desktop, Documents, Templates... to the home folder
# of whoever made the prefix: every copy of the template would seed shortcuts
# into, and clean them out of, that one folder outside it, shared by all
# tests running at once and holding the machine's own files. Empty folders of
# the prefix's own instead.
own_user_folders() {
  local link
  while IFS= read -r -d '' link; do
    rm "$link" && mkdir "$link"
  done < <(find "$1/drive_c/users" -type l -print0)
}

source "$ROOT/scripts/setup-i386-root.sh"

setup_win64() {
  PART="part win64 (native and win64 builds, win64 Wine)"
  install_packages "${WIN64_PACKAGES[@]}"
  build_jpeg x86_64
  make_wine_template wineprefix win64 "$PREFIX_RECIPE"
}

setup_win32() {
  PART="part win32 (win32 build, 32-bit Wine runner)"
  install_packages "${WIN64_PACKAGES[@]}" "${WIN32_PACKAGES[@]}"
  build_jpeg i686
  prepare_i386_root
  make_wine_template wineprefix-win32 win32 "$PREFIX_WIN32_RECIPE" "$IN_ROOT"
  make_wine_template wineprefix-wow64 win64 "$PREFIX_WOW64_RECIPE" "$IN_ROOT"
}

setup_browser() {
  PART="part browser (chromium for the browser tests)"
  install_packages "${BROWSER_PACKAGES[@]}"
}

main() {
  mkdir -p "$CACHE"
  case ${1:-all} in
    win64) setup_win64 ;;
    win32) setup_win32 ;;
    browser) setup_browser ;;
    all) setup_win64; setup_win32; setup_browser ;;
    *) printf 'usage: %s [win64|win32|browser|all]\n' "$0" >&2; exit 2 ;;
  esac
  log "ready: ${1:-all} (cache: $CACHE)"
}

main "$@"
