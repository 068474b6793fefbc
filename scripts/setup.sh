#!/usr/bin/env bash
# Installs on a fresh Debian 12 machine everything the project needs; safe to run again.
# It names what is missing before installing it (through sudo when not root)
# and, where that cannot be done, the command that installs it as root.
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
echo "Missing Debian packages: ${missing[*]}" >&2
# Fetching the package lists first makes the command work on a fresh system too.
give_up() {
  echo "Install them as root: apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
}
# sudo clears the environment, so the variable that keeps debconf from asking
# on the terminal goes on its command line.
export DEBIAN_FRONTEND=noninteractive
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  # sudo only where it can work: without a password, or asking on a terminal.
  if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
    echo "Installing them through sudo, which may ask for your password." >&2
    as_root=(sudo DEBIAN_FRONTEND=noninteractive)
  else
    give_up
  fi
fi
if ! { "${as_root[@]}" apt-get update -qq && "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  give_up
fi
