#!/usr/bin/env bash
# Builds the Debian package in build/package, checks it with lintian and
# prints the path of the .deb. Install it with: sudo apt install ./<that path>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" --for-package

build="$root/build/package"
# Debian's own compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_STRIP="$root/packaging/debian/strip.sh" >/dev/null
cmake --build "$build" --target tq540_package_contents >&2

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >&2)
debs=("$build"/*.deb)
deb="${debs[0]}"

echo "lintian:" >&2
lintian --display-info --fail-on error "$deb" >&2
echo "$deb"
