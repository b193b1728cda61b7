#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and the
# machine lacks. Safe to run again: it installs nothing that is present.
set -euo pipefail

# Liberation Sans stands in for Arial; Symbola draws the control pictures
# that ASCII cells show for control codes.
packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev fonts-liberation2 fonts-symbola)
# The packaging tests check the installed files and the Debian package with
# the tools that desktops and Debian use.
packages+=(desktop-file-utils appstream man-db dpkg-dev file lintian)
# The fuzz targets (scripts/fuzz.sh, CI) are built with clang and libFuzzer.
packages+=(clang libclang-rt-14-dev)
# The window's screenshots and the start-up benchmark want a real X server.
if [[ "${1:-}" == "--with-x" ]]; then
    packages+=(xvfb imagemagick x11-utils)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    sudo=""
    if [[ "$(id -u)" -ne 0 ]]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
