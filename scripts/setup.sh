#!/usr/bin/env bash
# Installs every system package that building, running and testing the
# program needs on Debian 12. Safe to run again; runs apt-get only when
# something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-noto-cjk fonts-arphic-uming fonts-arphic-ukai
  poppler-utils xvfb xdotool xauth x11-utils
  python3 python3-pyftpdlib
  unixodbc unixodbc-dev libsqliteodbc sqlite3
  locales-all
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
