#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6opengl6-dev qt6-charts-dev qt6-translations-l10n
  libjpeg62-turbo-dev fonts-liberation
  libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool openbox poppler-utils
  qt6-svg-dev desktop-file-utils appstream man-db dpkg-dev file lintian
  libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
