#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its build and its tests need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev
  libkainjow-mustache-dev libcurl4-openssl-dev libgmime-3.0-dev libsqlite3-dev libinih-dev libicu-dev
  fonts-dejavu-core fonts-liberation2
  googletest
  libpq-dev postgresql
  python3 python3-aiosmtpd python3-pyftpdlib
  poppler-utils sharutils xvfb xauth
  dpkg-dev fakeroot lintian desktop-file-utils appstream
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
