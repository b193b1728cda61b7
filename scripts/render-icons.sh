#!/usr/bin/env bash
# Renders the icon's drawing into the PNG files beside it, which the window
# and the install use. Run it after changing packaging/icons/*.svg, and
# commit the PNG files with the drawing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
icons="$root/packaging/icons"
id=com.tq540.setup

if ! command -v rsvg-convert >/dev/null; then
    sudo=""
    if [[ "$(id -u)" -ne 0 ]]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends librsvg2-bin
fi

for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" "$icons/$id.svg" --output "$icons/$id-$size.png"
done
ls -l "$icons"
