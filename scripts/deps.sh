#!/usr/bin/env bash
# Installs what building and testing need on Debian 12. Quiet and quick when
# everything is there already; needs root (or sudo) only when something is
# missing.
set -euo pipefail

# Each package the builds and tests use is named, also those that another
# package only recommends: an installation without recommended packages
# must not lose them.
#   fonts-liberation  Wine (which only recommends it) draws the program's
#                     fonts in Liberation Sans, and the end-to-end tests
#                     measure that text (scripts/wine-env.sh checks it)
#   fontconfig        fc-list, for that check
#   libgnutls30       Wine's bcrypt loads it for every cipher (AES-GCM of the
#                     shared history) and has none without it; libwine only
#                     recommends it
#   unison            the two-way file sync that keeps the shared-history
#                     test's two machines' folders in step
packages=(
  cmake ninja-build make g++ clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine fonts-liberation fontconfig libgnutls30
  xvfb xauth x11-utils xclip xdotool imagemagick libx11-dev
  unison
)

installed() {
  dpkg -s "$1" 2>/dev/null | grep -q '^Status: install ok installed'
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "deps: run as root to install: ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
