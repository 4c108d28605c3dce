#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
# Quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  locales
  clang libclang-rt-14-dev
  libsqlite3-dev sqlite3
  libsuitesparse-dev
  qt6-base-dev qt6-svg-dev libemf2svg-dev libuemf-dev libfontconfig-dev fonts-liberation xvfb imagemagick
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# A decimal-comma locale lets the tests prove that numbers are read and
# written the same way whatever the user's locale is.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi
