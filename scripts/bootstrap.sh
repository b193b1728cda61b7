#!/usr/bin/env bash
# Installs, on Debian 12, whatever the machine lacks for what comes next.
# Safe to run again: it installs nothing that is present.
#   scripts/bootstrap.sh                building and running the programs
#   scripts/bootstrap.sh --for-package  and building the Debian package
#   scripts/bootstrap.sh --for-tests    and every test, packaging and fuzzing included
#   scripts/bootstrap.sh --with-x       and a real X server (any of the above may come with it)
set -euo pipefail

# Liberation Sans stands in for Arial; Symbola draws the control pictures
# that ASCII cells show for control codes.
packages=(cmake ninja-build g++ ccache qt6-base-dev qt6-serialport-dev fonts-liberation2 fonts-symbola)
package_tools=(dpkg-dev file lintian)
# The packaging tests check the installed files and the Debian package with
# the tools that desktops and Debian use; the fuzz targets (scripts/fuzz.sh,
# CI) are built with clang and libFuzzer.
test_tools=("${package_tools[@]}" desktop-file-utils appstream man-db shared-mime-info
    clang libclang-rt-14-dev)
# The window's screenshots and the start-up benchmark want a real X server.
x_tools=(xvfb imagemagick x11-utils)

for option in "$@"; do
    case "$option" in
    --for-package) packages+=("${package_tools[@]}") ;;
    --for-tests) packages+=("${test_tools[@]}") ;;
    --with-x) packages+=("${x_tools[@]}") ;;
    *)
        echo "bootstrap.sh: unknown option $option" >&2
        exit 2
        ;;
    esac
done

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
