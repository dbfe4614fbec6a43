#!/usr/bin/env bash
# Installs the Debian 12 packages Tavrel needs to build, run and test, and
# only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qtbase5-dev libqwt-qt5-dev libqt5svg5-dev
    xvfb xauth x11-utils fonts-wqy-microhei
    python3
)
# Callers may ask for more (for example the Windows cross tools).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
