#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) for building and testing Purgent:
# Debian packages, libjpeg-turbo cross-built for both MinGW targets, the
# 32-bit Wine runner (setup-i386-wine.sh) and the template Wine prefixes of
# the end-to-end tests. Quick when already done.
#
# Cache folder (outside git): $PURGENT_CACHE, default /var/cache/purgent.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${PURGENT_CACHE:-/var/cache/purgent}"
# Bump when the way a cached item is built changes, so it is rebuilt.
JPEG_RECIPE="libjpeg-turbo static, SIMD off, v1"
PREFIX_RECIPE="win64 wineboot -i, mono/gecko off, wine fonts, v3"
PREFIX_WIN32_RECIPE="win32 wineboot -i under qemu-i386, mono/gecko off, wine fonts, v1"
PREFIX_WOW64_RECIPE="win64 with wine32 (WoW64) wineboot -i, mono/gecko off, wine fonts, v1"

PACKAGES=(
  cmake g++ make googletest libgtest-dev libgmock-dev libjpeg62-turbo-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine64 wine fonts-wine xvfb xauth x11-utils imagemagick clang libclang-rt-dev dpkg-dev zip unzip
)

log() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] ERROR: %s\n' "$*" >&2; exit 1; }

APT_UPDATED=no
apt_update_once() {
  if [[ $APT_UPDATED == no ]]; then
    log "apt-get update"
    apt-get update -qq
    APT_UPDATED=yes
  fi
}

install_packages() {
  local missing=() pkg status
  for pkg in "${PACKAGES[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)"
    [[ $status == installed ]] || missing+=("$pkg")
  done
  if ((${#missing[@]} == 0)); then
    log "Debian packages: all present"
    return
  fi
  [[ $(id -u) == 0 ]] || die "missing packages (${missing[*]}); run this script as root"
  apt_update_once
  log "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# apt-get source needs deb-src entries; mirror the machine's deb entries.
ensure_deb_src() {
  local deb822=/etc/apt/sources.list.d/debian.sources
  local ours=/etc/apt/sources.list.d/purgent-deb-src.sources
  [[ -e $ours ]] && return
  if grep -qs '^Types:.*deb-src' "$deb822" /etc/apt/sources.list.d/*.sources ||
     grep -qs '^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
    return
  fi
  if [[ -f $deb822 ]]; then
    sed 's/^Types: *deb *$/Types: deb-src/' "$deb822" >"$ours"
  elif [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list \
      >/etc/apt/sources.list.d/purgent-deb-src.list
  else
    die "no apt sources found to derive a deb-src entry from"
  fi
  log "added deb-src entries"
  APT_UPDATED=no
}

jpeg_source_dir() {
  find "$CACHE/src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n1
}

fetch_jpeg_source() {
  [[ -n $(jpeg_source_dir 2>/dev/null) ]] && return
  ensure_deb_src
  apt_update_once
  log "fetching Debian's libjpeg-turbo source package"
  rm -rf "$CACHE/src.tmp"
  mkdir -p "$CACHE/src.tmp"
  chown _apt "$CACHE/src.tmp" 2>/dev/null || true  # apt downloads as _apt
  (cd "$CACHE/src.tmp" && apt-get source -q libjpeg-turbo >/dev/null)
  rm -rf "$CACHE/src"
  mv "$CACHE/src.tmp" "$CACHE/src"
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

# make_wine_template <folder> <WINEARCH> <recipe>: a ready prefix in
# $CACHE/<folder>; each e2e test copies it instead of booting its own. A
# prefix made by another Wine version would be upgraded on every copy.
make_wine_template() {
  local name=$1 arch=$2 recipe
  local dest="$CACHE/$name" tmp="$CACHE/$name.tmp"
  recipe="$3, $(wine --version 2>/dev/null)"
  if [[ -f $dest.stamp && $(<"$dest.stamp") == "$recipe" ]]; then
    log "Wine template prefix $name: cached"
    return
  fi
  log "creating the Wine template prefix $name ($arch)"
  rm -rf "$tmp" "$dest.stamp"
  WINEPREFIX="$tmp" WINEARCH=$arch WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    timeout 600 xvfb-run -a sh -c 'wineboot -i && wineserver -w' \
      >"$dest.log" 2>&1 ||
    die "wineboot failed; see $dest.log"
  [[ -f $tmp/system.reg ]] || die "wineboot left no registry; see $dest.log"
  # This Wine build finds its own fonts (MS Sans Serif, Tahoma) only in the
  # prefix's Fonts folder; without them every window falls back to DejaVu.
  cp /usr/share/wine/fonts/* "$tmp/drive_c/windows/Fonts/"
  # Swapped in at the last moment: tests running meanwhile keep a template.
  rm -rf "$dest.old"
  if [[ -d $dest ]]; then mv "$dest" "$dest.old"; fi
  mv "$tmp" "$dest"
  rm -rf "$dest.old"
  printf '%s' "$recipe" >"$dest.stamp"
}

source "$ROOT/scripts/setup-i386-wine.sh"

main() {
  install_packages
  mkdir -p "$CACHE"
  build_jpeg i686
  build_jpeg x86_64
  # Made before i386 Wine is installed on a fresh machine: a 64-bit prefix
  # without the 32-bit half, the smaller copy for every win64 test.
  make_wine_template wineprefix win64 "$PREFIX_RECIPE"
  prepare_i386_wine
  make_wine_template wineprefix-win32 win32 "$PREFIX_WIN32_RECIPE"
  make_wine_template wineprefix-wow64 win64 "$PREFIX_WOW64_RECIPE"
  log "ready (cache: $CACHE)"
}

main "$@"
