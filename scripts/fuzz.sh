#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in build/fuzz
# and runs each for SECONDS (default 600), one after the other.
#   scripts/fuzz.sh [SECONDS]
# New inputs collect in build/fuzz/corpus; an input that breaks a check is
# saved as build/fuzz/artifacts/<target>-crash-...: add it to
# tests/fuzz/regressions/<target>/ so that the ordinary tests run it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is missing; scripts/bootstrap.sh --for-tests installs it" >&2
    exit 1
fi

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTQ540_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_settingsfile fuzz_upload fuzz_typing

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/artifacts"
for target in settingsfile upload typing; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== fuzz_$target for $seconds s"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "$root/tests/fuzz/corpus/$target" "$root/tests/fuzz/regressions/$target"
done
