#!/usr/bin/env bash
# Installs on a fresh Debian 12 machine everything the project needs; safe to run again.
set -euo pipefail
packages=(cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg62-turbo-dev
  fonts-liberation2 fonts-dejavu-core xvfb xauth clang-format qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  # sudo only where it can work: without a password, or asking on a terminal.
  if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
    SUDO="sudo"
  else
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
