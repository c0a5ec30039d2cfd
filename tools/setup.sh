#!/usr/bin/env bash
# Installs what Kalvo's build and tests need on Debian 12 (run as root).
# Idempotent: every step checks first, so a second run takes seconds.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
deps="$repo/.deps"
export DEBIAN_FRONTEND=noninteractive

packages=(
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  cmake ninja-build g++ clang libclang-rt-14-dev tcl googletest dpkg-dev
  python3 python3-pil python3-cryptography fonts-dejavu-core openssl locales units
)
# The 32-bit Wine runs the 32-bit build. Without it that build is still built, and the tests
# say why it did not run; so a mirror that cannot serve the i386 packages does not stop
# everything else.
packages_i386=(wine32:i386 libgnutls30:i386)

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

ensure_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  dpkg --add-architecture i386
  touch "$deps/.apt-stale"
}

# 'apt-get source' needs deb-src entries. They are copies of the Debian archive entries this
# machine is already configured with (same archives, suites, components and keys), so the
# sources come from wherever its binary packages come from.
ensure_deb_src() {
  local dir=/etc/apt/sources.list.d wanted_sources wanted_list
  if [ -n "$(configured_targets 'Identifier: Sources' | grep -v "^$dir/kalvo-deb-src\.")" ]; then
    rm -f "$dir/kalvo-deb-src.sources" "$dir/kalvo-deb-src.list"
    return 0
  fi
  [ -n "$(configured_targets 'Identifier: Packages' 'Origin: Debian')" ] || update_package_lists
  wanted_sources=$(deb_src_entries sources)
  wanted_list=$(deb_src_entries list)
  if [ -z "$wanted_sources$wanted_list" ]; then
    echo "setup: no Debian archive is configured for apt, so SQLite's sources cannot be had" >&2
    return 1
  fi
  write_if_changed "$dir/kalvo-deb-src.sources" "$wanted_sources"
  write_if_changed "$dir/kalvo-deb-src.list" "$wanted_list"
}

# "FILE:N" for each configured index matching the filters: N counts deb822 stanzas in a
# .sources file and lines in a one-line .list file.
configured_targets() {
  apt-get indextargets --format '$(SOURCESENTRY)' "$@" | sort -u
}

# The Debian entries of one file format, turned from deb into deb-src.
deb_src_entries() {
  local format=$1 entry file n
  configured_targets 'Identifier: Packages' 'Origin: Debian' | while IFS= read -r entry; do
    file=${entry%:*}
    n=${entry##*:}
    case "$format:$file" in
      sources:*.sources)
        awk -v n="$n" 'BEGIN { RS = "" } NR == n' "$file" |
          sed -e '/^#/d' -e 's/^Types:.*/Types: deb-src/'
        echo ;;
      list:*.sources) ;;
      list:*) sed -n "${n}s/^deb\([[:space:]]\)/deb-src\1/p" "$file" ;;
    esac
  done
}

write_if_changed() {
  local file=$1 text=$2
  if [ -z "$text" ]; then
    [ ! -f "$file" ] || { rm -f "$file"; touch "$deps/.apt-stale"; }
    return 0
  fi
  [ -f "$file" ] && [ "$(cat "$file")" = "$text" ] && return 0
  printf '%s\n' "$text" >"$file"
  touch "$deps/.apt-stale"
}

# A mirror in the middle of a sync serves index files of the wrong size for a while: try
# again, then go on with the lists that did arrive; the install says what is still missing.
update_package_lists() {
  local attempt
  for attempt in 1 2 3; do
    apt-get update -qq && return 0
    [ "$attempt" = 3 ] || sleep 20
  done
  echo "setup: apt-get update failed three times; installing from the package lists it has" >&2
}

install_packages() {
  local need
  need=$(missing_packages "${packages[@]}" "${packages_i386[@]}")
  if [ -z "$need" ] && [ ! -f "$deps/.apt-stale" ]; then return 0; fi
  update_package_lists
  rm -f "$deps/.apt-stale"
  need=$(missing_packages "${packages[@]}")
  # shellcheck disable=SC2086
  [ -z "$need" ] || apt-get install -y -qq --no-install-recommends $need
  need=$(missing_packages "${packages_i386[@]}")
  # shellcheck disable=SC2086
  if [ -n "$need" ] && ! apt-get install -y -qq --no-install-recommends $need; then
    echo "setup: the 32-bit Wine (${need//$'\n'/ }) could not be installed, see apt's message above;" \
      "the 32-bit build will be built but not run" >&2
  fi
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

# The host tests sort names as an English speaker's system does.
ensure_english_locale() {
  locale -a | grep -qix 'en_US.utf8' && return 0
  localedef -i en_US -f UTF-8 en_US.UTF-8
}

mkdir -p "$deps"
ensure_i386
install_packages
ensure_deb_src
install_packages
ensure_sqlite
ensure_english_locale
echo "setup: done"
