#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  libcairo2-dev libpango1.0-dev libsdl2-dev
  libcurl4-openssl-dev libssl-dev openssl zlib1g-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev
  libxml2-dev libsqlite3-dev libxml2-utils libzip-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev python3 python3-openpyxl
  xvfb xauth poppler-utils curl xclip xdotool x11-utils
  fonts-liberation2 fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
