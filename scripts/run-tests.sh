#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/run-tests.sh             the normal build, in build/tests
#   scripts/run-tests.sh --sanitize  the same with ASan and UBSan, in build/asan
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh" --for-tests

build="$root/build/tests"
options=(-DCMAKE_BUILD_TYPE=Debug -DTQ540_WERROR=ON)
if [[ "${1:-}" == "--sanitize" ]]; then
    build="$root/build/asan"
    options+=(-DTQ540_SANITIZE=ON)
    # Only what Qt and fontconfig keep for the life of the process is suppressed.
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build"
cd "$build"
ctest --output-on-failure --timeout 300 -j2
