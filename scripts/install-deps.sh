#!/usr/bin/env bash
# Debian packages the program and its tests need. Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-serialport-dev
  libsodium-dev libxlsxwriter-dev libfreexl-dev libzip-dev
  fonts-noto-cjk qt6-translations-l10n
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev libpq-dev sqlite3 hyperfine
  postgresql
  xvfb xauth
  poppler-utils  # pdftotext, pdfinfo: the print tests read their PDFs back
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -y
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
