#!/usr/bin/env bash
# Builds the Windows programs and their installer on Debian 12:
#   1. installs what is missing (MinGW-w64, Qt's host tools, NSIS, ...);
#   2. builds Qt 6.4.2 base for 64-bit Windows, statically, once, into a cache
#      outside the checkout ($TQ540_WINDOWS_CACHE, default ~/.cache/tq540-windows);
#   3. builds tq540setup.exe and tq540ctl.exe against it in build/windows;
#   4. packs them with NSIS into build/windows/TQ-540-Setup-2.5.exe.
#   scripts/build-windows.sh            all of it
#   scripts/build-windows.sh --qt-only  steps 1 and 2
#   scripts/build-windows.sh --tests    also builds the test programs (for test-windows.sh)
# It prints the installer's path last.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The user's home from the password database where HOME is not set (a bare
# CI environment), so that the cache is found whatever the environment.
home="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}"
cache="${TQ540_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/tq540-windows}"
qt_version=6.4.2
qt_prefix="$cache/qt-$qt_version-mingw64-static"
build="$root/build/windows"

qt_only=0
with_tests=OFF
for option in "$@"; do
    case "$option" in
    --qt-only) qt_only=1 ;;
    --tests) with_tests=ON ;;
    *)
        echo "build-windows.sh: unknown option $option" >&2
        exit 2
        ;;
    esac
done

sudo=""
if [[ "$(id -u)" -ne 0 ]]; then
    sudo="sudo"
fi

install_missing() {
    local missing=()
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# Qt's own tools (moc, rcc, uic) run on this machine: Debian's 6.4.2 ones.
install_missing cmake ninja-build g++ g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils nsis

# apt-get source needs a deb-src entry; add one for the mirror apt already
# uses, only when there is none.
has_deb_src() {
    grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

build_qt() {
    if [[ -f "$qt_prefix/lib/cmake/Qt6/Qt6Config.cmake" ]]; then
        echo "Qt $qt_version for Windows: cached in $qt_prefix"
        return
    fi
    local src="$cache/src"
    mkdir -p "$src"
    if [[ ! -d "$src/qtbase-everywhere-src-$qt_version" ]]; then
        if ! ls "$src"/qt6-base_"$qt_version"*.orig.tar.xz >/dev/null 2>&1; then
            if ! has_deb_src; then
                local list=/etc/apt/sources.list.d/tq540-deb-src.sources
                local mirror
                mirror="$(grep -rhoE '^URIs: *http[^ ]*debian/?$' /etc/apt/sources.list.d/ | head -1 | sed 's/^URIs: *//')"
                mirror="${mirror:-http://deb.debian.org/debian}"
                echo "No deb-src entry in apt's sources: adding $list for $mirror (bookworm main)."
                printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
                    "$mirror" | $sudo tee "$list" >/dev/null
                $sudo apt-get update -qq
            fi
            # Debian 12 serves one qt6-base, 6.4.2; apt-get source takes no
            # version pattern, so the tarball's name is checked instead.
            (cd "$src" && apt-get source --download-only qt6-base 2>&1 |
                grep -v '^W: Download is performed unsandboxed' || true)
            if ! ls "$src"/qt6-base_"$qt_version"*.orig.tar.xz >/dev/null 2>&1; then
                echo "build-windows.sh: apt did not give qt6-base $qt_version's source in $src" >&2
                exit 1
            fi
        fi
        (cd "$src" && tar xf qt6-base_"$qt_version"*.orig.tar.xz)
    fi

    local toolchain="$cache/mingw64-toolchain.cmake"
    cp "$root/cmake/mingw64.cmake" "$toolchain"

    local qt_build="$cache/qt-build"
    rm -rf "$qt_build"
    mkdir -p "$qt_build"
    echo "Building Qt $qt_version base for Windows into $qt_prefix (once; about 40 minutes of processor time)"
    # Debian's +dfsg source has no Wintab headers: the tablet backend goes
    # (tabletevent off); nothing here takes pen input.
    (cd "$qt_build" && "$src/qtbase-everywhere-src-$qt_version/configure" \
        -prefix "$qt_prefix" -release -static -static-runtime -no-opengl \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
        -no-feature-tabletevent -no-feature-sql -no-feature-network -no-dbus -no-icu \
        -nomake tests -nomake examples -xplatform win32-g++ -qt-host-path /usr \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$cache/qt-configure.log" 2>&1 || {
        tail -40 "$cache/qt-configure.log"
        echo "build-windows.sh: configuring Qt failed; the whole log is $cache/qt-configure.log" >&2
        exit 1
    }
    cmake --build "$qt_build" >"$cache/qt-build.log" 2>&1 || {
        tail -40 "$cache/qt-build.log"
        echo "build-windows.sh: building Qt failed; the whole log is $cache/qt-build.log" >&2
        exit 1
    }
    cmake --install "$qt_build" >"$cache/qt-install.log" 2>&1
    rm -rf "$qt_build"
    echo "Qt $qt_version for Windows: built into $qt_prefix"
}

version="$(sed -nE 's/^project\(tq540setup VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")"
installer="$build/TQ-540-Setup-$version.exe"

# tq540setup.exe and tq540ctl.exe (and with --tests every test program that
# Windows builds), statically linked: nothing to ship beside them.
build_programs() {
    mkdir -p "$build"
    cp "$root/cmake/mingw64.cmake" "$cache/mingw64-toolchain.cmake"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" \
        -DCMAKE_PREFIX_PATH="$qt_prefix" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_EXE_LINKER_FLAGS="-static" >"$build/configure.log" 2>&1 || {
        tail -30 "$build/configure.log"
        echo "build-windows.sh: configuring the Windows build failed; see $build/configure.log" >&2
        exit 1
    }
    local targets=(--target tq540setup tq540ctl)
    if [[ "$with_tests" == ON ]]; then
        targets=()
    fi
    cmake --build "$build" "${targets[@]}"
    x86_64-w64-mingw32-strip "$build/src/app/tq540setup.exe" "$build/src/ctl/tq540ctl.exe"
    # Only the system's own DLLs may be named.
    local dlls
    dlls="$(x86_64-w64-mingw32-objdump -p "$build/src/app/tq540setup.exe" "$build/src/ctl/tq540ctl.exe" |
        sed -nE 's/^\s*DLL Name: (.*)/\1/p' | sort -u)"
    if grep -qiE '^(libstdc|libgcc|libwinpthread|qt6)' <<<"$dlls"; then
        echo "build-windows.sh: the programs need DLLs that are not shipped:" $dlls >&2
        exit 1
    fi
}

# The installer: NSIS, 64-bit, from packaging/windows.
build_installer() {
    # The licence page shows Windows line ends.
    sed 's/$/\r/' "$root/LICENSE" >"$build/LICENSE.txt"
    makensis -V2 -DVERSION="$version" -DPROGRAMS="$build" -DSOURCE="$root" \
        -DOUTFILE="$installer" "$root/packaging/windows/tq540setup.nsi"
}

build_qt
if ((qt_only)); then
    exit 0
fi
build_programs
build_installer
echo "Windows installer: $installer"
