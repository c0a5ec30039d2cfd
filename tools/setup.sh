#!/usr/bin/env bash
# Installs what Kalvo's build and tests need on Debian 12 (run as root).
# Idempotent: every step checks first, so a second run takes seconds.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
deps="$repo/.deps"
export DEBIAN_FRONTEND=noninteractive

packages=(
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 libgnutls30:i386 xvfb xauth x11-utils xdotool imagemagick
  cmake ninja-build g++ clang libclang-rt-14-dev tcl googletest dpkg-dev
  python3 python3-pil fonts-dejavu-core openssl
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

ensure_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  dpkg --add-architecture i386
  touch "$deps/.apt-stale"
}

# 'apt-get source' needs a deb-src line beside the deb lines.
ensure_deb_src() {
  local f=/etc/apt/sources.list.d/kalvo-deb-src.sources
  [ -f "$f" ] && return 0
  cat >"$f" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  touch "$deps/.apt-stale"
}

install_packages() {
  local need
  need=$(missing_packages)
  if [ -z "$need" ] && [ ! -f "$deps/.apt-stale" ]; then return 0; fi
  apt-get update -qq
  rm -f "$deps/.apt-stale"
  need=$(missing_packages)
  [ -z "$need" ] && return 0
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $need
}

# The SQLite amalgamation, generated from Debian's source package by its own build.
ensure_sqlite() {
  [ -f "$deps/sqlite/sqlite3.c" ] && [ -f "$deps/sqlite/sqlite3.h" ] && return 0
  local work="$deps/sqlite-src"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source -qq sqlite3 >/dev/null)
  local src
  src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'sqlite3-*' | head -n 1)
  (cd "$src" && ./configure >/dev/null && make sqlite3.c >/dev/null)
  mkdir -p "$deps/sqlite"
  cp "$src/sqlite3.c" "$src/sqlite3.h" "$deps/sqlite/"
  rm -rf "$work"
}

mkdir -p "$deps"
ensure_i386
ensure_deb_src
install_packages
ensure_sqlite
echo "setup: done"
